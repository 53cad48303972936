// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FloatConverter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv {
namespace {

FloatConverterModel Zeros() { return FloatConverterModel(nullptr, 0); }

// The C library's "%g" as the reference for the value fields.
std::string GeneralDoubleForTest(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

TEST(FloatConverter, OpensOnDoubleOne)
{
    const uint8_t bytes[] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    FloatConverterModel m(bytes, 8);
    EXPECT_EQ(m.Text(FloatField::DoubleValue), "1");
    EXPECT_EQ(m.Text(FloatField::DoubleExponent), "0  >3FFh");
    EXPECT_EQ(m.Text(FloatField::DoubleMantissa), "0  >0000h");
    EXPECT_EQ(m.Text(FloatField::FloatValue), "0");
    EXPECT_EQ(m.Text(FloatField::FloatExponent), "-127  >00h");
    EXPECT_EQ(m.Text(FloatField::FloatMantissa), "0  >0000h");
    EXPECT_EQ(m.Text(FloatField::HexDump), ":00 00 00 00 00 00 F0 3F ");
    EXPECT_EQ(m.Source(), FloatSource::HexDump);
}

TEST(FloatConverter, ShortLaunchBytesArePadded)
{
    const uint8_t bytes[] = {0x00, 0x00, 0x80, 0x3F};
    FloatConverterModel m(bytes, 4);
    EXPECT_EQ(m.Text(FloatField::FloatValue), "1");
    EXPECT_EQ(m.Text(FloatField::HexDump), ":00 00 80 3F 00 00 00 00 ");
}

TEST(FloatConverter, TypingTheFloat)
{
    FloatConverterModel m = Zeros();
    m.EditField(FloatField::FloatValue, "1");
    EXPECT_EQ(m.Text(FloatField::HexDump), ":00 00 80 3F ");
    EXPECT_EQ(m.Text(FloatField::FloatExponent), "0  >7Fh");
    EXPECT_EQ(m.Source(), FloatSource::Float);
    EXPECT_EQ(m.Text(FloatField::FloatValue), "1");  // the edited field is left as typed
    m.EditField(FloatField::FloatValue, "1e300");
    EXPECT_EQ(m.Text(FloatField::HexDump), ":00 00 80 3F ");  // letters and digits: the integer 1
    m.EditField(FloatField::FloatValue, "1.0e300");
    EXPECT_TRUE(std::isinf(m.FloatValue()));
    EXPECT_EQ(m.Text(FloatField::DoubleValue), GeneralDoubleForTest(m.DoubleValue()));
}

TEST(FloatConverter, FloatValuesNearTheLargestRoundAsC)
{
    // 3.4028235e38 lies above FLT_MAX but rounds down to it; infinity starts only half a
    // step above. The C library's strtof is the reference.
    for (const char* text : {"3.4028235e38", "-3.4028235e38", "3.40282356e38", "3.4028236e38", "-3.5e38",
                             "3.4028234e38", "1.0e39", "1.17549435e-38"}) {
        FloatConverterModel m = Zeros();
        m.EditField(FloatField::FloatValue, text);
        EXPECT_EQ(m.FloatValue(), std::strtof(text, nullptr)) << text;
    }
    FloatConverterModel m = Zeros();
    m.EditField(FloatField::FloatValue, "3.4028235e38");
    EXPECT_EQ(m.Text(FloatField::HexDump), ":FF FF 7F 7F ");
}

TEST(FloatConverter, ValueTexts)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0x10", 16},       {"FFh", 255},      {"16#FF", 255},  {"-0x10", -16},   {"1e5", 1},
        {"1.0e5", 100000},  {" 2.5 ", 2.5},    {"2.5abc", 2.5}, {"-1.5", -1.5},   {"+3", 3},
        {"", 0},            {"abc.", 0},       {"7  >1Ah", 7},  {"1.5e999", INFINITY}, {"1.5e-999", 0},
        {"0.1", 0.1},       {"2#101", 5},      {"10#12", 12},   {"1#", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadFloatValueText(c.text), c.value) << c.text;
}

TEST(FloatConverter, TypingTheDouble)
{
    FloatConverterModel m = Zeros();
    m.EditField(FloatField::DoubleValue, "0x10");
    EXPECT_EQ(m.DoubleValue(), 16.0);
    EXPECT_EQ(m.Text(FloatField::DoubleExponent), "4  >403h");
    EXPECT_EQ(m.Text(FloatField::HexDump), ":00 00 00 00 00 00 30 40 ");
    EXPECT_EQ(m.Source(), FloatSource::Double);
    m.EditField(FloatField::DoubleValue, "1.0e5");
    EXPECT_EQ(m.DoubleValue(), 100000.0);
    m.EditField(FloatField::DoubleValue, "0.1");
    EXPECT_EQ(m.Text(FloatField::DoubleMantissa), "2702159776422298  >999999999999Ah");
}

TEST(FloatConverter, ExponentFields)
{
    FloatConverterModel m = Zeros();
    m.EditField(FloatField::FloatExponent, "1");
    EXPECT_EQ(m.FloatValue(), 2.0f);
    EXPECT_EQ(m.Text(FloatField::HexDump), ":00 00 00 40 ");
    EXPECT_TRUE(m.IsValid(FloatField::FloatExponent));

    FloatConverterModel raw = Zeros();
    raw.EditField(FloatField::FloatExponent, ">80h");
    EXPECT_EQ(raw.Bytes(), m.Bytes());

    m.EditField(FloatField::FloatExponent, "200");  // 327: cut to 8 bits, marked
    EXPECT_FALSE(m.IsValid(FloatField::FloatExponent));
    EXPECT_EQ(m.ColourOf(FloatField::FloatExponent), kFloatInvalidColour);
    EXPECT_EQ(m.Text(FloatField::FloatValue), GeneralDoubleForTest(std::ldexp(1.0, 327 - 256 - 127)));
    m.EditField(FloatField::FloatExponent, "-128");
    EXPECT_FALSE(m.IsValid(FloatField::FloatExponent));
    m.EditField(FloatField::FloatExponent, "0");
    EXPECT_TRUE(m.IsValid(FloatField::FloatExponent));
    EXPECT_EQ(m.ColourOf(FloatField::FloatExponent), kFloatValidColour);

    FloatConverterModel d = Zeros();
    d.EditField(FloatField::DoubleExponent, "10");
    EXPECT_EQ(d.DoubleValue(), 1024.0);
    EXPECT_EQ(d.Source(), FloatSource::Double);
    d.EditField(FloatField::DoubleExponent, ">7FFh");
    EXPECT_TRUE(d.IsValid(FloatField::DoubleExponent));
    EXPECT_TRUE(std::isinf(d.DoubleValue()));
    d.EditField(FloatField::DoubleExponent, ">800h");
    EXPECT_FALSE(d.IsValid(FloatField::DoubleExponent));
    EXPECT_EQ(d.DoubleValue(), 0.0);
}

TEST(FloatConverter, MantissaFields)
{
    FloatConverterModel m = Zeros();
    m.EditField(FloatField::FloatExponent, "0");
    m.EditField(FloatField::FloatMantissa, ">400000h");
    EXPECT_EQ(m.FloatValue(), 1.5f);
    EXPECT_TRUE(m.IsValid(FloatField::FloatMantissa));
    m.EditField(FloatField::FloatMantissa, "0x800001");
    EXPECT_FALSE(m.IsValid(FloatField::FloatMantissa));
    EXPECT_EQ(m.Text(FloatField::HexDump), ":01 00 80 3F ");

    FloatConverterModel d = Zeros();
    d.EditField(FloatField::DoubleExponent, "0");
    d.EditField(FloatField::DoubleMantissa, "1<<51");
    EXPECT_EQ(d.DoubleValue(), 1.5);
    d.EditField(FloatField::DoubleMantissa, "0x10000000000000");
    EXPECT_FALSE(d.IsValid(FloatField::DoubleMantissa));
    EXPECT_EQ(d.DoubleValue(), 1.0);
    d.EditField(FloatField::DoubleMantissa, "-1");
    EXPECT_FALSE(d.IsValid(FloatField::DoubleMantissa));
}

TEST(FloatConverter, FocusShowsOnlyTheNumber)
{
    FloatConverterModel m = Zeros();
    m.EditField(FloatField::FloatValue, "1");
    m.FocusField(FloatField::FloatExponent);
    EXPECT_EQ(m.Text(FloatField::FloatExponent), "0");
    m.LeaveField(FloatField::FloatExponent);
    EXPECT_EQ(m.Text(FloatField::FloatExponent), "0  >7Fh");
    m.FocusField(FloatField::FloatValue);
    EXPECT_EQ(m.Text(FloatField::FloatValue), "1");
}

TEST(FloatConverter, HexDumpEditing)
{
    FloatConverterModel m = Zeros();
    m.EditField(FloatField::HexDump, "00 00 80 3F");
    EXPECT_EQ(m.Text(FloatField::FloatValue), "1");
    EXPECT_EQ(m.Text(FloatField::HexDump), "00 00 80 3F");
    m.EditField(FloatField::HexDump, ":01 02 03 04 05 06 07 08 09 0A");
    EXPECT_EQ(m.Bytes()[7], 8);
    m.EditField(FloatField::HexDump, "zz");
    EXPECT_EQ(m.DoubleValue(), 0.0);
}

TEST(FloatConverter, SwapButtons)
{
    struct Case {
        void (FloatConverterModel::*press)();
        const char* dump;
    };
    const Case cases[] = {
        {&FloatConverterModel::SwapQWords, ":05 06 07 08 01 02 03 04 "},
        {&FloatConverterModel::SwapWords, ":03 04 01 02 07 08 05 06 "},
        {&FloatConverterModel::SwapBytes, ":02 01 04 03 06 05 08 07 "},
    };
    for (const Case& c : cases) {
        FloatConverterModel m = Zeros();
        m.EditField(FloatField::HexDump, ":01 02 03 04 05 06 07 08");
        (m.*c.press)();
        EXPECT_EQ(m.Text(FloatField::HexDump), c.dump);
        EXPECT_EQ(m.Source(), FloatSource::HexDump);
    }
    FloatConverterModel noColon = Zeros();
    noColon.EditField(FloatField::HexDump, "01 02 03 04");
    noColon.SwapQWords();
    EXPECT_EQ(noColon.Text(FloatField::HexDump), "00 00 00 00 01 02 03 04 ");
    EXPECT_EQ(noColon.Text(FloatField::DoubleValue), GeneralDoubleForTest(noColon.DoubleValue()));

    FloatConverterModel fromFloat = Zeros();
    fromFloat.EditField(FloatField::FloatValue, "1");  // the dump shows four bytes
    fromFloat.SwapQWords();
    EXPECT_EQ(fromFloat.Text(FloatField::HexDump), ":00 00 00 00 00 00 80 3F ");
}

}  // namespace
}  // namespace qv
