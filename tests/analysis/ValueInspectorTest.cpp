// SPDX-License-Identifier: GPL-3.0-or-later
// The value inspector's rows against the calculator, the float converter and the time
// converter's known stamps; typed values back into bytes; writing into a view.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "analysis/ValueInspector.h"
#include "common/CodePage.h"
#include "common/NumberText.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/view/HexViewTesting.h"
#include "tools/CalculatorModel.h"
#include "tools/FloatConverter.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

std::string Row(InspectorRow row, const Bytes& bytes, bool bigEndian = false)
{
    return InspectorRowText(row, bytes, bigEndian);
}

Bytes Typed(InspectorRow row, std::string_view text, bool bigEndian = false)
{
    return InspectorRowBytes(row, text, bigEndian).value_or(Bytes{0xEE, 0xEE});
}

TEST(InspectorRows, TheBytesOfOneFloatInBothOrders)
{
    const Bytes bytes = {0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(Row(InspectorRow::Float32, bytes), "1.0");
    EXPECT_EQ(Row(InspectorRow::Int32, bytes), "1065353216");
    EXPECT_EQ(Row(InspectorRow::Int16, bytes), "0");
    EXPECT_EQ(Row(InspectorRow::Int16, bytes, true), "0");
    EXPECT_EQ(Row(InspectorRow::UInt16, {0x3F, 0x80}, true), "16256");
    EXPECT_EQ(Row(InspectorRow::Float32, {0x3F, 0x80, 0x00, 0x00}, true), "1.0");
    EXPECT_EQ(Row(InspectorRow::Float64, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}), "1.0");
    EXPECT_EQ(Row(InspectorRow::Binary, bytes), "00000000");
    EXPECT_EQ(Row(InspectorRow::Binary, {0x3F}), "00111111");
}

TEST(InspectorRows, TooFewBytesShowADash)
{
    const Bytes three = {1, 2, 3};
    EXPECT_EQ(Row(InspectorRow::Int32, three), "-");
    EXPECT_EQ(Row(InspectorRow::Float64, three), "-");
    EXPECT_EQ(Row(InspectorRow::FileTime, three), "-");
    EXPECT_EQ(Row(InspectorRow::Int16, three), "513");
    EXPECT_EQ(Row(InspectorRow::Int8, {}), "-");
    EXPECT_EQ(Row(InspectorRow::Utf8, {0xE2, 0x82}), "-");
    EXPECT_EQ(Row(InspectorRow::Utf16, {0x3D, 0xD8}), "-");
}

// The integer rows read as the calculator reads the same bytes (its launch value is the
// first four bytes, little endian); the character row is a literal the calculator reads as the byte.
TEST(InspectorRows, IntegersAndCharactersAgreeWithTheCalculator)
{
    std::mt19937 random(11);
    for (int i = 0; i < 200; ++i) {
        Bytes bytes(4);
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
        const CalculatorResult four =
            EvaluateCalculatorInput(FormatNumber(static_cast<int32_t>(CalculatorModel::InitialValue(bytes.data(), 4)),
                                                 kStyleHexPrefix));
        EXPECT_EQ(Row(InspectorRow::Int32, bytes), four.decimal);
        const CalculatorResult one =
            EvaluateCalculatorInput(FormatNumber(static_cast<int32_t>(CalculatorModel::InitialValue(bytes.data(), 1)),
                                                 kStyleHexPrefix));
        EXPECT_EQ(Row(InspectorRow::UInt8, bytes), one.decimal);
        const std::string character = Row(InspectorRow::Character, bytes);
        EXPECT_EQ(static_cast<uint8_t>(EvaluateCalculatorInput(Utf8ToCp1252(character)).value), bytes[0]) << character;
        // The same bytes written back from the row's text.
        EXPECT_EQ(Typed(InspectorRow::Int32, four.decimal), bytes);
        EXPECT_EQ(Typed(InspectorRow::Character, Row(InspectorRow::Character, bytes)), Bytes{bytes[0]});
    }
    EXPECT_EQ(Row(InspectorRow::Int8, {0xFF}), "-1");
    EXPECT_EQ(Row(InspectorRow::UInt64, Bytes(8, 0xFF)), "18446744073709551615");
    EXPECT_EQ(Row(InspectorRow::Int64, {0, 0, 0, 0, 0, 0, 0, 0x80}), "-9223372036854775808");
}

// A float row's text reads back as exactly the value the float converter shows for the bytes.
TEST(InspectorRows, FloatsAgreeWithTheFloatConverter)
{
    std::mt19937_64 random(12);
    for (int i = 0; i < 500; ++i) {
        Bytes bytes(8);
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
        const FloatConverterModel converter(bytes.data(), bytes.size());
        const std::string single = Row(InspectorRow::Float32, bytes);
        const std::string wide = Row(InspectorRow::Float64, bytes);
        if (std::isfinite(converter.FloatValue())) {
            EXPECT_EQ(std::strtof(single.c_str(), nullptr), converter.FloatValue()) << single;
            EXPECT_EQ(Typed(InspectorRow::Float32, single), Bytes(bytes.begin(), bytes.begin() + 4)) << single;
        }
        if (std::isfinite(converter.DoubleValue())) {
            EXPECT_EQ(std::strtod(wide.c_str(), nullptr), converter.DoubleValue()) << wide;
            EXPECT_EQ(Typed(InspectorRow::Float64, wide), bytes) << wide;
        }
    }
}

TEST(InspectorRows, TimeStampsAsTheTimeConverterShowsThemInUniversalTime)
{
    EXPECT_EQ(Row(InspectorRow::UnixTime32, {0x80, 0x43, 0x6D, 0x38}), "Sa 01.Jan.2000  00:00:00");
    EXPECT_EQ(Row(InspectorRow::UnixTime32, {0x38, 0x6D, 0x43, 0x80}, true), "Sa 01.Jan.2000  00:00:00");
    EXPECT_EQ(Row(InspectorRow::DosTime, {0x00, 0x00, 0x21, 0x28}), "Sa 01.Jan.2000  00:00:00");
    EXPECT_EQ(Row(InspectorRow::DosTime, {0xFF, 0xFF, 0xFF, 0xFF}), "ungültig");
    // 125911584000000000 and the OLE date 36526.5.
    EXPECT_EQ(Row(InspectorRow::FileTime, {0x00, 0x40, 0x6D, 0x25, 0xEB, 0x53, 0xBF, 0x01}), "Sa 01.Jan.2000 00:00:00");
    EXPECT_EQ(Row(InspectorRow::OleTime, {0, 0, 0, 0, 0xD0, 0xD5, 0xE1, 0x40}), "Sa 01.Jan.2000 12:00:00");

    EXPECT_EQ(Typed(InspectorRow::UnixTime32, "1.1.2000 0"), (Bytes{0x80, 0x43, 0x6D, 0x38}));
    EXPECT_EQ(Typed(InspectorRow::UnixTime32, "1.1.2000 0", true), (Bytes{0x38, 0x6D, 0x43, 0x80}));
    EXPECT_EQ(Typed(InspectorRow::DosTime, "1.1.2000 0"), (Bytes{0x00, 0x00, 0x21, 0x28}));
    EXPECT_EQ(Typed(InspectorRow::FileTime, "Sa 01.Jan.2000  00:00:00"),
              (Bytes{0x00, 0x40, 0x6D, 0x25, 0xEB, 0x53, 0xBF, 0x01}));
    EXPECT_FALSE(InspectorRowBytes(InspectorRow::UnixTime32, "1.1.1960", false));  // before 1970
    EXPECT_FALSE(InspectorRowBytes(InspectorRow::DosTime, "kein Datum", false));
}

TEST(InspectorRows, CodePointsOfUtf8AndUtf16)
{
    EXPECT_EQ(Row(InspectorRow::Utf8, {0x41, 0x42}), "U+0041  A");
    EXPECT_EQ(Row(InspectorRow::Utf8, {0xE2, 0x82, 0xAC}), "U+20AC  \xE2\x82\xAC");
    EXPECT_EQ(Row(InspectorRow::Utf8, {0x0A}), "U+000A");
    EXPECT_EQ(Row(InspectorRow::Utf8, {0x80}), "ungültig");
    EXPECT_EQ(Row(InspectorRow::Utf8, {0xE2, 0x41, 0x41}), "ungültig");
    EXPECT_EQ(Row(InspectorRow::Utf16, {0x3D, 0xD8, 0x00, 0xDE}), "U+1F600  \xF0\x9F\x98\x80");
    EXPECT_EQ(Row(InspectorRow::Utf16, {0xD8, 0x3D, 0xDE, 0x00}, true), "U+1F600  \xF0\x9F\x98\x80");
    EXPECT_EQ(Row(InspectorRow::Utf16, {0x00, 0xDC}), "ungültig");

    EXPECT_EQ(Typed(InspectorRow::Utf8, "U+20AC"), (Bytes{0xE2, 0x82, 0xAC}));
    EXPECT_EQ(Typed(InspectorRow::Utf8, "\xE2\x82\xAC"), (Bytes{0xE2, 0x82, 0xAC}));
    EXPECT_EQ(Typed(InspectorRow::Utf16, "U+1F600", true), (Bytes{0xD8, 0x3D, 0xDE, 0x00}));
    EXPECT_EQ(Typed(InspectorRow::Utf16, "\xC3\xA4"), (Bytes{0xE4, 0x00}));
    EXPECT_FALSE(InspectorRowBytes(InspectorRow::Utf8, "U+D800", false));
    EXPECT_FALSE(InspectorRowBytes(InspectorRow::Utf8, "ab", false));
}

TEST(InspectorRows, TypedTextsThatAreNoValueOfTheTypeAreRefused)
{
    EXPECT_EQ(Typed(InspectorRow::Int8, "-128"), Bytes{0x80});
    EXPECT_EQ(Typed(InspectorRow::Int8, "0xFF"), Bytes{0xFF});
    EXPECT_EQ(Typed(InspectorRow::UInt16, "0x1234", true), (Bytes{0x12, 0x34}));
    EXPECT_EQ(Typed(InspectorRow::Int64, "-2"), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Typed(InspectorRow::Float32, "1.5"), (Bytes{0x00, 0x00, 0xC0, 0x3F}));
    EXPECT_EQ(Typed(InspectorRow::Binary, "101"), Bytes{0x05});
    EXPECT_EQ(Typed(InspectorRow::Character, "\\n"), Bytes{0x0A});
    EXPECT_EQ(Typed(InspectorRow::Character, "'\\x1F'"), Bytes{0x1F});
    EXPECT_EQ(Row(InspectorRow::Character, {0x80}), "'\xE2\x82\xAC'");
    EXPECT_EQ(Typed(InspectorRow::Character, "\xE2\x82\xAC"), Bytes{0x80});

    for (auto [row, text] : std::vector<std::pair<InspectorRow, std::string>>{
             {InspectorRow::Int8, "256"},       {InspectorRow::Int8, "-129"},   {InspectorRow::UInt8, "-1"},
             {InspectorRow::UInt64, "-1"},      {InspectorRow::Int32, "12x"},   {InspectorRow::Int32, ""},
             {InspectorRow::Float32, "1.5x"},   {InspectorRow::Float32, "1e40"}, {InspectorRow::Float64, "abc"},
             {InspectorRow::Binary, "100000000"}, {InspectorRow::Character, "AB"}, {InspectorRow::Character, "\xE2\x82\xBF"},
             // Numbers beyond 64 bits, which 64-bit arithmetic would wrap into the type's range.
             {InspectorRow::UInt64, "18446744073709551616"}, {InspectorRow::Int64, "-9223372036854775809"},
             {InspectorRow::Int8, "18446744073709551615"},   {InspectorRow::UInt16, "0x10000000000000001"},
         })
        EXPECT_FALSE(InspectorRowBytes(row, text, false)) << InspectorRowName(row) << " \"" << text << "\"";
}

// A row's text typed back gives the row's bytes again, so that confirming a row unchanged or
// copying a value from one place to another writes what was shown. The time rows are left
// out: they show less than their bytes hold (OLE days, FILETIME's 100 ns steps).
TEST(InspectorRows, EveryShownValueReadsBackAsItsBytes)
{
    const std::vector<Bytes> samples = {
        {0x00, 0x00, 0x80, 0x7F},                          // float32 infinity
        {0x00, 0x00, 0xC0, 0xFF},                          // float32 negative quiet NaN
        {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0xFF},  // float64 minus infinity
        {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x7F},  // float64 quiet NaN
        {0xE2, 0x82, 0xAC, 0x41},                          // € in UTF-8
        {0x3D, 0xD8, 0x00, 0xDE},                          // a UTF-16 surrogate pair
        {0xC3, 0xA4, 0x00, 0x00, 0x80, 0x43, 0x6D, 0x38},
    };
    for (const Bytes& bytes : samples)
        for (bool bigEndian : {false, true})
            for (int i = 0; i <= static_cast<int>(InspectorRow::Utf16); ++i) {
                const auto row = static_cast<InspectorRow>(i);
                const std::string text = Row(row, bytes, bigEndian);
                if (text == kInspectorMissing || text == kInspectorInvalid) continue;
                const auto back = InspectorRowBytes(row, text, bigEndian);
                ASSERT_TRUE(back) << InspectorRowName(row) << " \"" << text << "\"";
                EXPECT_EQ(*back, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(back->size())))
                    << InspectorRowName(row) << " \"" << text << "\"";
            }
}

class ValueInspectorView : public ::testing::Test {
protected:
    void SetUp() override { h.Load({0x00, 0x00, 0x80, 0x3F, 0x11, 0x22}); }
    test::HexViewHarness h;
    ValueInspector inspector;
};

TEST_F(ValueInspectorView, ShowsTheCursorOrTheSelectionStartAndFollowsTheByteOrder)
{
    inspector.ShowView(h.view);
    EXPECT_EQ(inspector.Text(InspectorRow::Float32), "1.0");
    h.view.SetCursorOffset(4, false);
    inspector.ShowView(h.view);
    EXPECT_EQ(inspector.Position(), 4);
    EXPECT_EQ(inspector.Text(InspectorRow::UInt16), "8721");
    EXPECT_EQ(inspector.Text(InspectorRow::Int32), "-");
    inspector.SetBigEndian(true);
    EXPECT_EQ(inspector.Text(InspectorRow::UInt16), "4386");
    h.view.SelectTo(2, false);  // bytes 3 and 4, made backwards
    inspector.ShowView(h.view);
    EXPECT_EQ(inspector.Position(), 3);

    test::FakeSettingsStore settings;
    inspector.Save(&settings);
    ValueInspector next;
    next.Load(&settings);
    EXPECT_TRUE(next.BigEndian());
}

TEST_F(ValueInspectorView, ATypedValueIsOneUndoStep)
{
    h.view.SetCursorOffset(0, false);
    ASSERT_TRUE(inspector.Write(h.view, h.prompt, InspectorRow::Float32, "1.5"));
    EXPECT_EQ(h.Bytes(), (Bytes{0x00, 0x00, 0xC0, 0x3F, 0x11, 0x22}));
    EXPECT_EQ(inspector.Text(InspectorRow::Float32), "1.5");
    EXPECT_TRUE(h.view.IsModified());
    ASSERT_TRUE(h.view.UndoRedo(-1));
    EXPECT_EQ(h.Bytes(), (Bytes{0x00, 0x00, 0x80, 0x3F, 0x11, 0x22}));
    EXPECT_FALSE(h.view.CanUndo());
    EXPECT_TRUE(h.prompt.shown.empty());
}

TEST_F(ValueInspectorView, RefusesWithAMessageAndLeavesTheBytes)
{
    const Bytes before = h.Bytes();
    h.view.SetCursorOffset(4, false);
    EXPECT_FALSE(inspector.Write(h.view, h.prompt, InspectorRow::Int32, "1"));
    EXPECT_FALSE(inspector.Write(h.view, h.prompt, InspectorRow::Int16, "70000"));
    ASSERT_EQ(h.prompt.shown.size(), 2u);
    EXPECT_EQ(h.prompt.shown[0].text,
              "Der Wert braucht 4 Bytes, bis zum Ende des Dokuments sind es nur noch 2.\nDer Wert wird nicht geschrieben.");
    EXPECT_EQ(h.prompt.shown[1].text, "\"70000\" ist kein Wert vom Typ int16.");

    h.Load(before, ViewOwnsBuffer);  // read-only
    EXPECT_FALSE(inspector.Write(h.view, h.prompt, InspectorRow::Int8, "1"));
    EXPECT_EQ(h.prompt.shown.back().text, "Das Dokument ist schreibgeschützt.\nDer Wert wird nicht geschrieben.");
    EXPECT_EQ(h.Bytes(), before);
}

}  // namespace
}  // namespace qv
