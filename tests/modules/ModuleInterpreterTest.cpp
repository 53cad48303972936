// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>

#include "common/CodePage.h"
#include "tests/modules/ModuleTestHelpers.h"

namespace qv::test {
namespace {

std::vector<std::string> Texts(const std::vector<Row>& rows)
{
    std::vector<std::string> texts;
    for (const auto& row : rows) texts.push_back(row.text);
    return texts;
}

TEST(ModuleInterpreter, RunsTheExampleModule)
{
    ModuleFixture f;
    f.Compile(Utf8ToCp1252("MODUL \"Beispiel\"\nBLOCK \"Kopf\"\nWORD \"Kennung\" #HX\n:size DWORD \"Dateigröße\"\n"
                           "DWORD \"Reserviert\" #H8\n:body DWORD \"Daten Start\" #H\nIF size < 14 EXIT\n"
                           "SEEK body #MA\nBYTE \"Daten\" 16 #H2\nEXIT"));
    ASSERT_EQ(f.set.ErrorCount(), 0);
    ASSERT_EQ(f.set.EntryPointName(0), "Kopf");
    std::vector<uint8_t> data = Bytes({'B', 'M', 40, 0, 0, 0, 0, 0, 0, 0, 14, 0, 0, 0});
    for (int i = 0; i < 16; ++i) data.push_back(static_cast<uint8_t>(0xF0 + i));
    auto rows = f.Run(data);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].name, "Kennung");
    EXPECT_EQ(rows[0].text, "4D42h ");
    EXPECT_EQ(rows[1].name, Utf8ToCp1252("Dateigröße"));
    EXPECT_EQ(rows[1].text, "40 ");
    EXPECT_EQ(rows[2].text, "0x00000000 ");
    EXPECT_EQ(rows[3].text, "0xE ");
    EXPECT_EQ(rows[4].name, "Daten");
    EXPECT_EQ(rows[4].text, "0x0E 0x00 0x00 0x00 0xF0 0xF1 0xF2 0xF3 0xF4 0xF5 0xF6 0xF7 0xF8 0xF9 0xFA 0xFB ");
    EXPECT_EQ(rows[4].offset, 10);
    EXPECT_EQ(rows[4].size, 16);
    // A small size ends the run after the header.
    data[2] = 10;
    EXPECT_EQ(f.Run(data).size(), 4u);
}

TEST(ModuleInterpreter, NumberFieldsReadLittleEndianAndShowTheirForms)
{
    struct Case {
        const char* line;
        std::vector<uint8_t> data;
        const char* text;
    };
    for (const auto& c : {
             Case{"DWORD \"x\" #H", Bytes({31, 0, 0, 0}), "0x1F "},
             Case{"DWORD \"x\" #HS", Bytes({31, 0, 0, 0}), "0x1F 31 "},
             Case{"BYTE \"x\" 3 #HS", Bytes({1, 2, 3}), "0x1 1 , 0x2 2 , 0x3 3 "},
             Case{"BYTE \"x\" 2 #H4", Bytes({1, 2}), "0x0001 0x0002 "},
             Case{"DWORD \"x\"", Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "-1 "},
             Case{"DWORD \"x\" #U", Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "4294967295 "},
             Case{"BYTE \"x\"", Bytes({0xFF}), "255 "},
             Case{"WORD \"x\" #HM", Bytes({0x12, 0x34}), "0x1234 "},
             Case{"WORD \"x\" #H", Bytes({0x12, 0x34}), "0x3412 "},
             Case{"RWORD \"x\" #H", Bytes({1, 2, 3, 4}), "0x30201 "},
             Case{"QWORD \"x\" #HS", Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
                  "0xFFFFFFFFFFFFFFFE -2 "},
             Case{"QWORD \"x\" #U", Bytes({0, 0, 0, 0, 1, 0, 0, 0}), "4294967296 "},
             Case{"BYTE \"x\" #HX", Bytes({0x1F}), "1Fh "},
             Case{"BYTE \"x\" #BX", Bytes({5}), "101b "},
             Case{"BYTE \"x\" #O", Bytes({15}), "0o17 "},
             Case{"BYTE \"x\" #B8", Bytes({5}), "0b00000101 "},
             Case{"BYTE \"x\" #HK", Bytes({0xAB}), "AB "},
             Case{"BYTE \"x\" #HBO", Bytes({9}), "0x9 0b1001 0o11 "},
             Case{"BYTE \"x\" #C", Bytes({'A'}), "'A' "},
             Case{"BYTE \"x\" #C", Bytes({10}), "'\\n' "},
             Case{"BYTE \"x\" #C", Bytes({'\''}), "'\\'' "},
             Case{"BYTE \"x\" #C", Bytes({1}), "'\\x01' "},
             Case{"BYTE \"x\" #HP", Bytes({1}), "@0x1 "},
             Case{"BYTE \"x\" 2 #HSP", Bytes({1, 2}), "@0x1 1 , 0x2 2 "},
             Case{"WORD \"x\" #H4\"0:aus:1:an\"", Bytes({0, 0}), "0x0000 aus"},
             Case{"DWORD \"v\" #HU\"1:eins:?:sonst\"", Bytes({1, 0, 0, 0}), "0x1 1 eins"},
             Case{"DWORD \"v\" #HU\"1:eins:?:sonst\"", Bytes({2, 0, 0, 0}), "0x2 2 sonst"},
             Case{"BYTE \"v\" #\"1:eins\"", Bytes({1}), "eins"},
             Case{"BYTE \"v\" #\"1:eins\"", Bytes({7}), "7 "},
             Case{"BYTE \"v\" #S\"1:eins\"", Bytes({1}), "1 eins"},
         }) {
        ModuleFixture f;
        auto rows = f.Decode(c.line, c.data);
        ASSERT_EQ(rows.size(), 1u) << c.line;
        EXPECT_EQ(rows[0].text, c.text) << c.line;
        EXPECT_EQ(f.set.ErrorCount(), 0) << c.line;
    }
}

TEST(ModuleInterpreter, FieldThatDoesNotFitShowsNoRowAndTheRunGoesOn)
{
    ModuleFixture f;
    auto rows = f.Decode("DWORD \"a\" 3\nBYTE \"b\" #H", Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0x42, 0}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "b");
    EXPECT_EQ(rows[0].offset, 8);
    EXPECT_EQ(rows[0].text, "0x42 ");
}

TEST(ModuleInterpreter, LongFieldsAreCutAndStillConsumeEveryElement)
{
    ModuleFixture f;
    std::vector<uint8_t> data(4000, 0x11);
    data[3996] = 0x77;
    auto rows = f.Decode(":v DWORD \"v\" 1000 #HBS\nBYTE \"n\"", data);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].size, 4000);
    EXPECT_LE(rows[0].text.size(), 1023u);
    EXPECT_GT(rows[0].text.size(), 900u);
    EXPECT_EQ(f.ValueOf("v"), 0x11111177);
}

TEST(ModuleInterpreter, BitFieldsShareBytesAndWholeByteFieldsSkipThePartlyUsedByte)
{
    ModuleFixture f;
    // 0b1_0110_101 -> a = 101b, b = 6 bits from bit 3: 0b10110 plus bit 0 of the next byte.
    auto rows = f.Decode("BIT \"a\" 3\nBIT \"b\" 6\nBYTE \"c\" #H", Bytes({0xB5, 0x01, 0x7C}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, "5 ");
    EXPECT_EQ(rows[1].text, "54 ");
    EXPECT_EQ(rows[1].offset, 0);
    EXPECT_EQ(rows[1].size, 1);
    EXPECT_EQ(rows[2].text, "0x7C ");
    EXPECT_EQ(rows[2].offset, 1);
    EXPECT_EQ(rows[2].size, 2);
}

TEST(ModuleInterpreter, BitWidthsZeroAndAbove32)
{
    ModuleFixture f;
    auto rows = f.Decode("BIT \"a\" 0\nBIT \"b\" 7 #H\nBIT \"c\" 40 #H", Bytes({0xFF, 0x78, 0x56, 0x34, 0x12}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, "1 ");
    EXPECT_EQ(rows[1].text, "0x7F ");
    EXPECT_EQ(rows[2].text, "0x12345678 ");
    EXPECT_EQ(rows[2].size, 4);
}

TEST(ModuleInterpreter, RestReadsTheBitsUpToTheAlignment)
{
    std::vector<uint8_t> data(16, 0);
    for (auto [start, size] : {std::pair{6, 2}, {8, 4}, {9, 3}}) {
        ModuleFixture f;
        auto rows = f.Decode("SEEK " + std::to_string(start) + "\nREST \"r\" 4\nOFFSET \"o\"", data);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0].size, size) << start;
        EXPECT_EQ(rows[1].text, std::to_string(start + size) + " ");
    }
    ModuleFixture g;
    auto rows = g.Decode("SEEK 5\nREST \"r\" 8 1\nOFFSET \"o\"", data);  // origin 1: next is 9
    EXPECT_EQ(rows[1].text, "9 ");
}

TEST(ModuleInterpreter, EightBitStrings)
{
    struct Case {
        const char* line;
        std::string data;
        std::string text;
        int size;
    };
    for (const auto& c : {
             Case{"STRING \"s\"", std::string("AB\0", 3), "\"AB\"", 3},
             Case{"STRING \"s\"", std::string("A\n\0", 3), "\"A\\n\"", 3},
             Case{"STRING \"s\"", std::string("\"\\\t\x01\x7F\xE4\0", 7), "\"\\\"\\\\\\t\\x001\x7F\xE4\"", 7},
             Case{"STRING \"s\" #K", std::string("\t\n\0", 3), "\"\\x009\\n\"", 3},
             Case{"STRING \"s\" 2", std::string("ABCD", 4), "\"AB\"", 2},
             Case{"STRING \"s\" 9", std::string("A\0CD", 4), "\"A\"", 4},
             Case{"STRING_D \"s\"", std::string("ab$c", 4), "\"ab\"", 3},
             Case{"STRING_P \"s\"", std::string("\3\0abcd", 6), "\"abc\"", 5},
             Case{"STRING_P \"s\" 4", std::string("\3\0abcd", 6), "\"ab\"", 4},
             Case{"STRING_B \"s\"", std::string("\2xyz", 4), "\"xy\"", 3},
             Case{"STRING_K \"k\"", std::string("a\0bc\0\0z", 7), "\"a\"  ,  \"bc\"", 6},
             Case{"STRING \"s\" UNTIL \"--\"", std::string("ab--cd", 6), "\"ab\"", 4},
             Case{"STRING \"s\" UNTIL 0D 0A", std::string("x\r\ny", 4), "\"x\"", 3},
             Case{"STRING \"s\" UNTIL 00 +1", std::string("xy\0\0", 4), "\"xy\"", 3},
             Case{"STRING \"s\" #S", std::string("\xC3\xA4\xE2\x82\xAC\0", 6), "\"\xE4\x80\"", 6},
         }) {
        ModuleFixture f;
        auto rows = f.Decode(c.line, BytesOf(c.data));
        ASSERT_EQ(rows.size(), 1u) << c.line;
        EXPECT_EQ(rows[0].text, c.text) << c.line;
        EXPECT_EQ(rows[0].size, c.size) << c.line;
    }
}

TEST(ModuleInterpreter, Utf16Strings)
{
    struct Case {
        const char* line;
        std::vector<uint8_t> data;
        std::string text;
        int size;
        int32_t value;
    };
    for (const auto& c : {
             Case{"STRING \"s\" #U", Bytes({'A', 0, 0x20, 0x20, 0xE4, 0, 0, 0}), "\"A.\xE4\"", 8, 3},
             Case{"STRING \"s\" #UM", Bytes({0, 'A', 0, 'B', 0, 0}), "\"AB\"", 6, 2},
             Case{"STRING_B \"b\" #U", Bytes({2, 'h', 0, 'i', 0}), "\"hi\"", 5, 3},
             Case{"STRING_P \"p\" #U", Bytes({2, 0, 'h', 0, 'i', 0}), "\"hi\"", 6, 3},
             Case{"STRING \"s\" #U UNTIL 00 00", Bytes({'A', 0, 'B', 0, 0, 0, 'C', 0}), "\"AB\"", 6, 2},
             Case{"STRING_K \"k\" #U", Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}), "\"a\"  ,  \"b\"", 10, 4},
         }) {
        ModuleFixture f;
        auto rows = f.Decode(c.line, c.data);
        ASSERT_EQ(rows.size(), 1u) << c.line;
        EXPECT_EQ(rows[0].text, c.text) << c.line;
        EXPECT_EQ(rows[0].size, c.size) << c.line;
        EXPECT_EQ(f.set.statements[8].value, c.value) << c.line;
    }
}

TEST(ModuleInterpreter, FloatsUseAThreeDigitExponent)
{
    float one = 1.5f;
    double two = -2.25e-5;
    std::vector<uint8_t> data(12);
    std::memcpy(data.data(), &one, 4);
    std::memcpy(data.data() + 4, &two, 8);
    ModuleFixture f;
    auto rows = f.Decode(":f FLOAT \"f\"\n:d DOUBLE \"d\"\nDOUBLE \"fehlt\"\nBYTE \"b\"", data);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "1.500000e+000");
    EXPECT_EQ(rows[1].text, "-2.250000e-005");
    EXPECT_EQ(f.ValueOf("f"), 1);
    std::vector<uint8_t> pair(8);
    std::memcpy(pair.data(), &one, 4);
    std::memcpy(pair.data() + 4, &one, 4);
    ModuleFixture g;
    EXPECT_EQ(g.Decode("FLOAT \"f\" 2", pair)[0].text, "1.500000e+000  ,  1.500000e+000");
}

TEST(ModuleInterpreter, OffsetLenPrintAndText)
{
    ModuleFixture f;
    auto rows = f.Decode(":a WORD \"a\"\nWORD \"b\"\nOFFSET \"o\"\nOFFSET \"oa\" a 1\nLEN \"l\"\nLEN \"la\" #A\n"
                         "PRINT \"p\" a #H\nPRINT \"q\" a 2\nTEXT \"t\" #H",
                         Bytes({7, 0, 9, 0, 1, 1}));
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(Texts(rows), (std::vector<std::string>{"7 ", "9 ", "4 ", "1 ", "2 ", "6 ", "0x7 ", "7 ", ""}));
    EXPECT_EQ(rows[7].offset, 0);
    EXPECT_EQ(rows[7].size, 2);
    EXPECT_EQ(rows[8].name, "t");
    EXPECT_EQ(rows[8].size, 0);
}

TEST(ModuleInterpreter, IndentFollowsUpAndDown)
{
    ModuleFixture f;
    auto rows = f.Decode("BYTE \"a\"\nDOWN\nBYTE \"b\"\nDOWN \"tiefer\"\nBYTE \"c\"\nUP\nUP \"hoch\"\nUP\nBYTE \"d\"",
                         Bytes({1, 2, 3, 4}));
    ASSERT_EQ(rows.size(), 6u);
    std::vector<int> indents;
    for (const auto& row : rows) indents.push_back(row.indent);
    EXPECT_EQ(indents, (std::vector<int>{0, 1, 1, 2, 1, 0}));
    EXPECT_EQ(rows[2].name, "tiefer");
    EXPECT_EQ(rows[4].name, "hoch");
}

TEST(ModuleInterpreter, Arithmetic)
{
    struct Case {
        const char* statements;
        int32_t expected;
    };
    for (const auto& c : {
             Case{"MOV x 7\nADD x 5", 12},
             Case{"MOV x 7\nSUB x 9", -2},
             Case{"MOV x 7\nMUL x -3", -21},
             Case{"MOV x 0x10000\nMUL x 0x10000", 0},
             Case{"MOV x 6\nAND x 3", 2},
             Case{"MOV x -7\nDIV x 2", -3},
             Case{"MOV x 7\nDIV x 0", 7},
             Case{"MOV x -7\nMOD x 3", -1},
             Case{"MOV x 7\nMOD x -3", 1},
             Case{"MOV x 7\nMOD x 0", 0},
             Case{"MOV x 0x80000000\nDIV x -1", INT32_MIN},
             Case{"MOV x 0x80000000\nMOD x -1", 0},
             Case{"MOV y 3\nBIN x y", 8},
             Case{"BIN x 4", 20},
             Case{"MOV y 3\nBIN x 1 y", 3},
             Case{"MOV x 4\nBIN x", 1},
             Case{"MOV y 40\nMOV x y", 40},
             Case{"MOV y 40\nMOV x y 2", 2},
             Case{"MOV y 40\nADD x y 2", 42},
             Case{"MOV y 5\nMOV x 3\nSUB x y", -2},
             Case{"SEEK 3\n:p BYTE\nMOV x p #O", 5},  // two bytes for x and y come first
         }) {
        ModuleFixture f;
        f.Compile(std::string(":x BYTE \"x\" #N\n:y BYTE \"y\" #N\n") + c.statements);
        ASSERT_EQ(f.set.ErrorCount(), 0) << c.statements;
        f.Run(std::vector<uint8_t>(8));
        EXPECT_EQ(f.ValueOf("x"), c.expected) << c.statements;
    }
    ModuleFixture g;
    g.Compile(":x BYTE \"x\" #N\n:z ADD x 5 #A");
    g.Run(std::vector<uint8_t>(2, 3));
    EXPECT_EQ(g.ValueOf("x"), 3);
    EXPECT_EQ(g.set.statements[9].value, 8);
}

TEST(ModuleInterpreter, IfActions)
{
    ModuleFixture f;
    auto rows = f.Decode(":x BYTE \"x\"\n:y BYTE \"y\" #N\nIF x == 5 MOV y 7\nIF x != 5 EXIT\nIF y >= 7 ADD y 3\n"
                         "IF y & 0x8 GOTO weiter\nTEXT \"übersprungen\"\n:weiter IF x ! > 9 SEEK x -1\nBYTE \"z\" #H",
                         Bytes({5, 0, 0, 0, 0, 0, 0xAA}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(f.ValueOf("y"), 10);
    EXPECT_EQ(rows[1].text, "0xAA ");  // SEEK by x - 1 = 4 bytes from position 2
    ModuleFixture g;
    auto none = g.Decode(":x BYTE \"x\"\nIF x != 5 EXIT\nBYTE \"weiter\"", Bytes({4, 1}));
    EXPECT_EQ(none.size(), 1u);
}

TEST(ModuleInterpreter, IfSeekActionUsesItsOperandsAndFactor)
{
    ModuleFixture f;
    auto rows = f.Decode(":x BYTE \"x\"\nIF x == 2 SEEK x 1 #3\n:o OFFSET \"o\"\nIF o UNTIL 77 SEEK 2 #A\nOFFSET \"p\"",
                         std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x77, 0, 0, 0});
    ASSERT_EQ(f.set.ErrorCount(), 0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].text, "10 ");  // 1 + (2 + 1) * 3
    EXPECT_EQ(rows[2].text, "12 ");  // matched at 10: SEEK to o (10) + 2, absolute
}

TEST(ModuleInterpreter, IfCountsUpAndDownAfterTheTest)
{
    ModuleFixture f;
    f.Compile(":n BYTE \"n\" #N\n:s BYTE \"s\" #N\nIF n == 2 MOV s 1 #U\nIF n == 3 ADD s 10 #U\nIF n == 9 EXIT #D");
    f.Run(Bytes({2, 0}));
    EXPECT_EQ(f.ValueOf("s"), 11);
    EXPECT_EQ(f.ValueOf("n"), 3);
}

TEST(ModuleInterpreter, IfWithPatternTestsAtThePositionAndSkips)
{
    ModuleFixture f;
    auto rows = f.Decode("IF weiter UNTIL \"MZ\" GOTO\nTEXT \"kein MZ\"\nEXIT\n:weiter BYTE \"nach MZ\" #H",
                         BytesOf("MZ\x33"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "0x33 ");
    ModuleFixture g;
    rows = g.Decode("IF weiter UNTIL \"MZ\" GOTO\nTEXT \"kein MZ\"\nEXIT\n:weiter BYTE \"nach MZ\" #H", BytesOf("PE\x33"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "kein MZ");
}

TEST(ModuleInterpreter, LoopCountsPositionsFromEachIteration)
{
    ModuleFixture f;
    auto rows = f.Decode("LOOP body 3\nBYTE \"nach\" #H\nEXIT\n:body WORD \"w\" #H\nRETURN",
                         Bytes({1, 0, 2, 0, 3, 0, 9}));
    ASSERT_EQ(rows.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i].offset, 0);
        EXPECT_EQ(rows[i].address, 2 * i);
        EXPECT_EQ(rows[i].text, "0x" + std::to_string(i + 1) + " ");
    }
    EXPECT_EQ(rows[3].text, "0x9 ");
    EXPECT_EQ(rows[3].address, 6);
    ModuleFixture g;
    rows = g.Decode(":n BYTE \"n\"\nLOOP n body #G\nEXIT\n:body BYTE \"b\"\nRETURN", Bytes({2, 7, 8}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].offset, 2);  // G keeps the caller's counting
}

TEST(ModuleInterpreter, CallAndReturnRestoreBaseIndentAndPosition)
{
    ModuleFixture f;
    auto rows = f.Decode("BYTE \"a\"\nCALL sub\nBYTE \"c\"\nEXIT\n:sub DOWN\nBYTE \"b\"\nOFFSET \"o\"\nRETURN",
                         Bytes({1, 2, 3}));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].name, "b");
    EXPECT_EQ(rows[1].offset, 0);
    EXPECT_EQ(rows[1].address, 1);
    EXPECT_EQ(rows[1].indent, 1);
    EXPECT_EQ(rows[2].text, "1 ");
    EXPECT_EQ(rows[3].name, "c");
    EXPECT_EQ(rows[3].offset, 2);
    EXPECT_EQ(rows[3].indent, 0);
}

TEST(ModuleInterpreter, RecursiveCallStopsAfterSixteenLevels)
{
    ModuleFixture f;
    auto rows = f.Decode(":self TEXT \"t\"\nCALL self", Bytes({0}));
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows.back().text, Utf8ToCp1252("CALL Überlauf !!!"));
    EXPECT_EQ(rows.back().name, "???");
    EXPECT_EQ(rows.back().size, 0);
}

TEST(ModuleInterpreter, ReturnWithoutFrameAndExitStop)
{
    ModuleFixture f;
    EXPECT_EQ(f.Decode("BYTE \"a\"\nRETURN\nBYTE \"b\"", Bytes({1, 2})).size(), 1u);
}

TEST(ModuleInterpreter, SeekModes)
{
    struct Case {
        const char* statements;
        int32_t expected;  // OFFSET afterwards
    };
    for (const auto& c : {
             Case{"SEEK 16 #A", 16},
             Case{"SEEK 5\nSEEK 3", 8},
             Case{"SEEK -4", 0},
             Case{"SEEK 2 #4", 8},
             Case{"SEEK 3\nSEEK 4 #R", 4},
             Case{"SEEK 4\nSEEK 4 #R", 8},
             Case{"SEEK 4\nSEEK 4 #RN", 4},
             Case{"SEEK 0\nSEEK 4 #ZN", 0},
             Case{"SEEK 5\nSEEK 0 #R", 6},
             Case{"SEEK 20\nSEEK 100 #B", 0},
             Case{"SEEK 30 #A\nSEEK 10", 40},
             Case{":x BYTE \"x\" #N\nSEEK x 1 #A", 8},
             Case{"SEEK 9\n:m BYTE\nSEEK 3\nSEEK m #MA", 9},
         }) {
        ModuleFixture f;
        f.Compile(std::string(c.statements) + "\nOFFSET \"o\"");
        ASSERT_EQ(f.set.ErrorCount(), 0) << c.statements;
        auto rows = f.Run(std::vector<uint8_t>(48, 7));
        ASSERT_FALSE(rows.empty()) << c.statements;
        EXPECT_EQ(rows.back().text, std::to_string(c.expected) + " ") << c.statements;
    }
}

TEST(ModuleInterpreter, SeekBeyondTheDataEndsTheRun)
{
    ModuleFixture f;
    EXPECT_TRUE(f.Decode("SEEK 100\nTEXT \"t\"", Bytes({1, 2})).empty());
    ModuleFixture g;
    EXPECT_EQ(g.Decode("SEEK 2\nTEXT \"am Ende\"", Bytes({1, 2})).size(), 1u);
}

TEST(ModuleInterpreter, SeekInsideACallCountsFromTheBlockBase)
{
    ModuleFixture f;
    auto rows = f.Decode("SEEK 2\nCALL sub\nEXIT\n:sub SEEK 1 #A\nBYTE \"b\" #H\nOFFSET \"abs\" #G", Bytes({0, 1, 2, 3, 4}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "0x3 ");
    EXPECT_EQ(rows[1].text, "4 ");
}

TEST(ModuleInterpreter, ElementNaming)
{
    ModuleFixture f;
    auto rows = f.Decode(":i BYTE \"i\" #N\nDWORD \"e\" 3 i #I\nDWORD \"h\" 2 i #J\nBYTE \"k\" i #I",
                         Bytes({10, 1, 0, 0, 0, 2, 0, 0, 0, 3}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "e[010]");
    EXPECT_EQ(rows[1].name, "h[0Ah]");
    EXPECT_EQ(rows[2].name, "k[10]");
    EXPECT_EQ(rows[2].size, 1);
}

TEST(ModuleInterpreter, RowLabelsAndSprintWriteIntoEarlierRows)
{
    ModuleFixture f;
    auto rows = f.Decode(":kopf WORD \"Kopf\" #H\n:n BYTE \"n\" #HN>kopf\n:s BYTE \"s\" #N\nSPRINT n s\n"
                         "BYTE \"leer\" #N>kopf\nSPRINT n nix #R\n:nix TEXT \"Feld\"\nSPRINT s nix #R",
                         Bytes({1, 2, 0x33, 9}));
    ASSERT_EQ(f.set.ErrorCount(), 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "0x33 ");  // from n; "leer" reads nothing and changes nothing
    EXPECT_EQ(rows[1].name, "Feld");
    EXPECT_EQ(rows[1].size, 9);
    ModuleFixture g;
    rows = g.Decode(":kopf WORD \"Kopf\" #H\n:s BYTE \"s\" #N\nSPRINT s kopf", Bytes({1, 2, 0x44}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "68 ");
}

TEST(ModuleInterpreter, RvaConvertsThroughTheSectionTable)
{
    std::vector<uint8_t> data(700, 0);
    auto put = [&](size_t at, uint32_t v) { std::memcpy(data.data() + at, &v, 4); };
    put(0, 0x2010);  // the RVA
    // Section headers from offset 4: (virtual size, virtual address, raw pointer).
    put(4 + 8, 0x100);
    put(4 + 12, 0x1000);
    put(4 + 20, 0x400);
    put(44 + 8, 0x201);  // rounds up to 0x400
    put(44 + 12, 0x2000);
    put(44 + 20, 0x600);
    ModuleFixture f;
    auto rows = f.Decode("SEEK 4\n:tab TEXT \"Sektionen\"\nSEEK 0 #A\n:r RVA tab #H\nRVA tab 0x1050 #HS\n"
                         "SEEK 0 #A\n:v DWORD \"v\" #N\nRVA tab v #HA\nRVA tab 0x3000",
                         data);
    ASSERT_EQ(f.set.ErrorCount(), 0);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1].text, "0x2010 ");
    EXPECT_EQ(rows[1].size, 4);
    EXPECT_EQ(rows[2].text, "0x450 1104 ");
    EXPECT_EQ(rows[3].text, "0x2010 ");
    EXPECT_EQ(f.ValueOf("v"), 0x610);
    EXPECT_EQ(f.set.statements[f.set.statements.size() - 2].value, 0);  // 0x3000 lies in no section
}

TEST(ModuleInterpreter, LocalsAreResetEachRunAndParamsKeepTheirValues)
{
    ModuleFixture f;
    f.Compile("ADD LOCAL_0 1\nADD PARAM_0 1\nPRINT \"l\" LOCAL_0\nPRINT \"p\" PARAM_0");
    f.Run(Bytes({0}));
    auto rows = f.Run(Bytes({0}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "1 ");
    EXPECT_EQ(rows[1].text, "2 ");
}

TEST(ModuleInterpreter, LimitsAndFailures)
{
    ModuleFixture f;
    f.Compile("LOOP body 100\nEXIT\n:body BYTE \"b\"\nRETURN");
    // The rows limit ends the run with a row that says so, named after the field it stopped at.
    auto limited = f.Run(std::vector<uint8_t>(200), 0, 5);
    ASSERT_EQ(limited.size(), 6u);
    EXPECT_EQ(limited[4].name, "b");
    EXPECT_EQ(limited[5].name, "b");
    EXPECT_EQ(limited[5].text, "Modul nach 5 Zeilen angehalten");
    EXPECT_EQ(limited[5].address, 5);
    EXPECT_TRUE(f.Run(std::vector<uint8_t>(200), 0, 0).empty());
    // A run that ends with its last allowed row needs no such row.
    ModuleFixture exact;
    exact.Compile("LOOP body 5\nTEXT \"n\" #N\nEXIT\n:body BYTE \"b\"\nRETURN");
    EXPECT_EQ(exact.Run(std::vector<uint8_t>(200), 0, 5).size(), 5u);

    ModuleFixture g;
    g.statementLimit = 1000;
    auto rows = g.Decode(":l GOTO l", Bytes({0}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "Modul nach 1000 Befehlen angehalten");

    ModuleFixture p;
    p.patternTestLimit = 100;
    rows = p.Decode(":l STRING \"s\" UNTIL 01 #N\nSEEK 0 #A\nGOTO l", std::vector<uint8_t>(40));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "Modul nach zu vielen Mustervergleichen angehalten");

    ModuleFixture h;
    rows = h.Decode("BYTE \"a\"\nGOTO nirgends", Bytes({0, 1}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].text, "Programmfehler");
    EXPECT_EQ(rows[1].offset, -1);
    EXPECT_EQ(rows[1].name, "LOCAL_0");
}

TEST(ModuleInterpreter, RefusedRunsLeaveTheSlotAlone)
{
    ModuleFixture f;
    f.Compile("BYTE \"a\"");
    auto data = Bytes({1});
    ASSERT_EQ(f.Run(data, 0, 10, 0, 3).size(), 1u);
    ModuleInterpreter interpreter(f.set);
    EXPECT_EQ(interpreter.Run(16, data.data(), 1, 0, 10, 0), 0);
    EXPECT_EQ(interpreter.Run(3, data.data(), 0, 0, 10, 0), 0);
    EXPECT_EQ(interpreter.Run(3, data.data(), 1, 1, 10, 0), 0);
    EXPECT_EQ(interpreter.Run(-1, data.data(), 1, 0, 10, 0), 0);
    EXPECT_EQ(f.set.slots[3].rows.size(), 1u);
    EXPECT_EQ(f.set.Row(3, 1).row, nullptr);
    EXPECT_EQ(f.set.Row(16, 0).row, nullptr);
    EXPECT_TRUE(f.set.Row(3, -1).name.empty());
    // A start offset beyond the data runs nothing.
    EXPECT_EQ(interpreter.Run(3, data.data(), 1, 0, 10, 5), 0);
}

TEST(ModuleInterpreter, PatternEndsNumberFieldsAndUsesThePositionPart)
{
    ModuleFixture f;
    auto rows = f.Decode("BYTE \"b\" UNTIL FF #H\nBYTE \"n\" #H", Bytes({1, 2, 0xFF, 9}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "0x1 0x2 ");
    EXPECT_EQ(rows[0].size, 3);
    EXPECT_EQ(rows[1].text, "0x9 ");
    ModuleFixture g;
    rows = g.Decode(":d BYTE \"d\" #N\nSTRING \"s\" UNTIL >d-1 \"!\"", BytesOf("\2abc!e"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, "\"ab\"");  // tested two bytes further on, minus one
}

TEST(ModuleInterpreter, LoopCountFromAVariableAndCallKeepingTheBase)
{
    ModuleFixture f;
    auto rows = f.Decode(":n BYTE \"n\"\nLOOP n body\nCALL sub #G\nEXIT\n:body BYTE \"b\"\nRETURN\n"
                         ":sub OFFSET \"o\"\nRETURN",
                         Bytes({2, 5, 6, 7}));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].address, 1);
    EXPECT_EQ(rows[2].address, 2);
    EXPECT_EQ(rows[3].text, "3 ");  // G: the called block counts from the data start
}

TEST(ModuleInterpreter, StringLengthPrefixBeyondTheDataShowsNoRow)
{
    ModuleFixture f;
    auto rows = f.Decode("SEEK 1\nSTRING_P \"p\"\nSTRING_B \"b\"\nTEXT \"weiter\"", Bytes({0, 3}));
    // The 8-bit length still lies inside: its string is empty and runs past the end.
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "b");
    EXPECT_EQ(rows[0].text, "\"\"");
    EXPECT_EQ(rows[0].size, 4);
}

TEST(ModuleInterpreter, FieldWithoutElementsKeepsItsValue)
{
    ModuleFixture f;
    f.Compile(":a BYTE \"a\"\n:z BYTE \"z\" 0\nMOV z a\n:k BYTE \"k\" 0\nDWORD \"d\"");
    auto rows = f.Run(Bytes({9, 1}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].size, 0);
    EXPECT_EQ(rows[1].text, "");
    EXPECT_EQ(f.ValueOf("z"), 9);
    f.Run(Bytes({4}));
    EXPECT_EQ(f.ValueOf("z"), 4);
}

}  // namespace
}  // namespace qv::test
