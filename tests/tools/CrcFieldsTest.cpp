// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tools/CrcFields.h"
#include "tools/CrcFormula.h"

namespace qv {
namespace {

CrcFields Opened(const char* start = "0xFFFFFFFF", const char* width = "32-Bit", const char* poly = "0xEDB88320")
{
    CrcFields fields;
    fields.startText = start;
    fields.widthText = width;
    fields.reflectedText = poly;
    fields.Update(CrcChange::Other);
    return fields;
}

TEST(CrcFormulaTest, RendersLeadingTermThenLowerPowers)
{
    EXPECT_EQ(RenderCrcFormula(32, 0xEDB88320),
              "x^32 + x^26 + x^23 + x^22 + x^16 + x^12 + x^11 + x^10 + x^8 + x^7 + x^5 + x^4 + x^2 + x + 1");
    EXPECT_EQ(RenderCrcFormula(16, 0x8408), "x^16 + x^12 + x^5 + 1");
    EXPECT_EQ(RenderCrcFormula(64, 0xD800000000000000ull), "x^64 + x^4 + x^3 + x + 1");
    EXPECT_EQ(RenderCrcFormula(1, 1), "x^1 + 1");
    EXPECT_EQ(RenderCrcFormula(8, 0), "x^8");
}

TEST(CrcFormulaTest, ReadsTheThreeWaysOfWritingAnExponent)
{
    for (const char* text : {"x^3 + x + 1", "x'3+x+1", "x3 + X + 1", "x ^ {3} + x + 1 =", "\r\n x^3\t+x+1"}) {
        const CrcFormula formula = ParseCrcFormula(text);
        EXPECT_TRUE(formula.valid) << text;
        EXPECT_EQ(formula.width, 3u) << text;
        EXPECT_EQ(formula.normal, 0x3u) << text;
    }
}

TEST(CrcFormulaTest, LeadingTermAndWidthLimits)
{
    CrcFormula ccitt = ParseCrcFormula("x^16+x^12+x^5+1");
    EXPECT_EQ(ccitt.width, 16u);
    EXPECT_EQ(ccitt.normal, 0x1021u);
    CrcFormula wide = ParseCrcFormula("x^64 + x^4 + x^3 + x + 1");
    EXPECT_EQ(wide.width, 64u);
    EXPECT_EQ(wide.normal, 0x1Bu);
    CrcFormula huge = ParseCrcFormula("x^70 + 1");
    EXPECT_TRUE(huge.valid);
    EXPECT_EQ(huge.width, 64u);
    EXPECT_EQ(huge.normal, 1u);
    EXPECT_EQ(ParseCrcFormula("x").width, 2u);
    EXPECT_EQ(ParseCrcFormula("x").normal, 2u);
}

TEST(CrcFormulaTest, RejectsOtherText)
{
    for (const char* text : {"xy + 1", "x^3 + 2", "x^3 - 1", "12", "y", "x^3 + 1a"})
        EXPECT_FALSE(ParseCrcFormula(text).valid) << text;
    EXPECT_TRUE(ParseCrcFormula("x^3 + 1 = junk").valid);
}

TEST(CrcFormulaTest, FormulaWithoutTermsIsValid)
{
    // Nothing but the end, blanks, "+" or "=": the polynomial without terms, width 1.
    for (const char* text : {"", "   ", " + \r\n", "= x^3"}) {
        const CrcFormula formula = ParseCrcFormula(text);
        EXPECT_TRUE(formula.valid) << text;
        EXPECT_EQ(formula.width, 1u) << text;
        EXPECT_EQ(formula.normal, 0u) << text;
    }
    CrcFields fields = Opened();
    fields.formulaText = "";
    fields.Update(CrcChange::Formula);
    EXPECT_FALSE(fields.FormulaInvalid());
    EXPECT_EQ(fields.widthText, "1-Bit");
    EXPECT_EQ(fields.Reflected(), 0u);
}

TEST(CrcFormulaTest, OddTermsStayWithinTheWidthLimits)
{
    struct Case {
        const char* text;
        bool valid;
        unsigned width;
        uint64_t normal;
    } cases[] = {
        {"x^", true, 2, 2},              // a caret without a number is plain x
        {"x^{7}+x^3+1", true, 7, 0x9},
        {"x^0", true, 1, 1},
        {"x^4294967295 + 1", true, 64, 1},
        {"x^99999999999999999999", true, 64, 0},  // read modulo 2^32, still beyond 64
        {"+ + 1", true, 1, 1},
        {"x^64 + x^63", true, 64, 1ull << 63},
        {"x^{7", true, 7, 0},
        {"x}", false, 1, 0},
        {"x^-3", false, 1, 0},
    };
    for (const Case& c : cases) {
        const CrcFormula formula = ParseCrcFormula(c.text);
        EXPECT_EQ(formula.valid, c.valid) << c.text;
        if (!c.valid) continue;
        EXPECT_EQ(formula.width, c.width) << c.text;
        EXPECT_EQ(formula.normal, c.normal) << c.text;
    }
    std::string longText;
    for (int i = 0; i < 5000; ++i) longText += "x^" + std::to_string(i % 80) + " + ";
    const CrcFormula many = ParseCrcFormula(longText + "1");
    EXPECT_TRUE(many.valid);
    EXPECT_EQ(many.width, 64u);
}

TEST(CrcFieldsTest, OpeningWithDefaultsSelectsCrc32)
{
    CrcFields fields = Opened();
    EXPECT_EQ(fields.catalogIndex, 16u);
    EXPECT_EQ(fields.Width(), 32u);
    EXPECT_EQ(fields.normalText, "0x04C11DB7");
    EXPECT_EQ(fields.widthText, "32-Bit");
    EXPECT_EQ(fields.startText, "0xFFFFFFFF");
    EXPECT_EQ(fields.formulaText.substr(0, 12), "x^32 + x^26 ");
}

TEST(CrcFieldsTest, TypedFormulaSetsEverythingAndSelectsTheCatalogue)
{
    CrcFields fields = Opened();
    fields.formulaText = "x^16+x^12+x^5+1";
    fields.Update(CrcChange::Formula);
    EXPECT_EQ(fields.Width(), 16u);
    EXPECT_EQ(fields.Normal(), 0x1021u);
    EXPECT_EQ(fields.Reflected(), 0x8408u);
    EXPECT_EQ(fields.catalogIndex, 10u);
    EXPECT_EQ(fields.formulaText, "x^16+x^12+x^5+1");  // the changed field keeps what was typed
    EXPECT_EQ(fields.reflectedText, "0x8408");
    EXPECT_EQ(fields.normalText, "0x1021");
    EXPECT_EQ(fields.widthText, "16-Bit");
    EXPECT_EQ(fields.startText, "0xFFFF");
    EXPECT_FALSE(fields.FormulaInvalid());
}

TEST(CrcFieldsTest, InvalidFormulaOnlyColoursItsField)
{
    CrcFields fields = Opened();
    fields.formulaText = "x^16+y";
    fields.Update(CrcChange::Formula);
    EXPECT_TRUE(fields.FormulaInvalid());
    EXPECT_EQ(fields.Width(), 32u);
    EXPECT_EQ(fields.Reflected(), 0xEDB88320u);
    EXPECT_EQ(fields.formulaText, "x^16+y");
    fields.Update(CrcChange::Other);  // another field rewrites the formula
    EXPECT_FALSE(fields.FormulaInvalid());
    EXPECT_EQ(fields.formulaText.substr(0, 4), "x^32");
}

TEST(CrcFieldsTest, NarrowingAndWideningTheWidthRestoresTypedBits)
{
    CrcFields fields = Opened();
    fields.widthText = "8-Bit";
    fields.Update(CrcChange::Width);
    EXPECT_EQ(fields.Width(), 8u);
    EXPECT_EQ(fields.reflectedText, "0x20");
    EXPECT_EQ(fields.startText, "0xFF");
    EXPECT_EQ(fields.widthText, "8-Bit");
    fields.widthText = "32-Bit";
    fields.Update(CrcChange::Width);
    EXPECT_EQ(fields.Reflected(), 0xEDB88320u);
    EXPECT_EQ(fields.Start(), 0xFFFFFFFFu);
    EXPECT_EQ(fields.catalogIndex, 16u);
}

TEST(CrcFieldsTest, TypedStartForgetsTheRememberedTexts)
{
    CrcFields fields = Opened();
    fields.widthText = "8";
    fields.Update(CrcChange::Width);
    fields.startText = "0x12";
    fields.Update(CrcChange::Start);
    fields.widthText = "32";
    fields.Update(CrcChange::Width);
    EXPECT_EQ(fields.Start(), 0x12u);
    EXPECT_EQ(fields.Reflected(), 0x20u);
    EXPECT_EQ(fields.catalogIndex, 0u);
}

TEST(CrcFieldsTest, EitherBitOrderDecidesTheOther)
{
    CrcFields fields = Opened();
    fields.normalText = "0x1021";
    fields.widthText = "16-Bit";  // read as well, as the dialog reads every field
    fields.Update(CrcChange::Normal);
    EXPECT_EQ(fields.Reflected(), 0x8408u);
    EXPECT_EQ(fields.normalText, "0x1021");
    EXPECT_EQ(fields.reflectedText, "0x8408");
    fields.reflectedText = "0xa001";
    fields.Update(CrcChange::Reflected);
    EXPECT_EQ(fields.Normal(), 0x8005u);
    EXPECT_EQ(fields.reflectedText, "0xa001");
    EXPECT_EQ(fields.catalogIndex, 11u);
}

TEST(CrcFieldsTest, CataloguePickKeepsItsSelectionAndTheStart)
{
    CrcFields fields = Opened("0x1234");
    fields.catalogIndex = 18;
    fields.Update(CrcChange::Catalog);
    EXPECT_EQ(fields.Width(), 64u);
    EXPECT_EQ(fields.normalText, "0x42F0E1EBA9EA3693");
    EXPECT_EQ(fields.startText, "0x0000000000001234");
    EXPECT_EQ(fields.catalogIndex, 18u);
    fields.catalogIndex = 0;
    fields.Update(CrcChange::Catalog);
    EXPECT_EQ(fields.Width(), 64u);
    EXPECT_EQ(fields.catalogIndex, 0u);
}

TEST(CrcFieldsTest, OddInputIsReadAsTheDialogReadsIt)
{
    CrcFields fields = Opened("-1", "abc", "junk");
    EXPECT_EQ(fields.Width(), 32u);  // non-numeric width reads as 0, which becomes 32
    EXPECT_EQ(fields.Start(), 0xFFFFFFFFu);
    EXPECT_EQ(fields.Reflected(), 0u);
    CrcFields wide = Opened("-1", "99-Bit", "0x1");
    EXPECT_EQ(wide.Width(), 64u);
    EXPECT_EQ(wide.startText, "0xFFFFFFFFFFFFFFFF");
    CrcFields narrow = Opened("0b1011", "1", "0x3");
    EXPECT_EQ(narrow.Mask(), 1u);
    EXPECT_EQ(narrow.startText, "0x1");
    EXPECT_EQ(narrow.reflectedText, "0x1");
}

}  // namespace
}  // namespace qv
