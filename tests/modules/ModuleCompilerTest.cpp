// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "common/CodePage.h"
#include "modules/ModuleCompiler.h"
#include "modules/ModuleSet.h"
#include "tests/modules/ModuleTestHelpers.h"

namespace qv::test {
namespace {

// The statement compiled from the first source line (after the eight variables).
const StatementRecord& FirstStatement(const ModuleFixture& f) { return f.set.statements[8]; }

struct MessageCase {
    const char* source;
    const char* expected;  // the whole sink text, UTF-8
};

class CompilerMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(CompilerMessages, WritesTheLineWithTextAndLineNumber)
{
    ModuleFixture f;
    f.Compile(GetParam().source);
    EXPECT_EQ(Cp1252ToUtf8(f.sink.Text()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, CompilerMessages,
    ::testing::Values(
        MessageCase{":x DWORD\n:X BYTE", "Fehler(2)\tDoppelte Marke 'X' gefunden\r\n"},
        MessageCase{"\"a\" DWORD", "Fehler(1)\tErwarte Befehl\r\n"},
        MessageCase{"  #x", "Fehler(1)\tErwarte Befehl\r\n"},
        MessageCase{"BY 1", "Fehler(1)\tUnbekannter Befehl\r\n"},
        MessageCase{"DWORD \"a\" \"b\"", "Fehler(1)\tName ist bereits angegeben\r\n"},
        MessageCase{"DWORD #H #B", "Fehler(1)\tFlags bereits definiert.\r\n"},
        MessageCase{"DWORD #>", "Fehler(1)\tLeere Marke in Flags\r\n"},
        MessageCase{":x DWORD\nGOTO x #>x", "Fehler(2)\tMarken sind in den Flags nicht erlaubt\r\n"},
        MessageCase{":x DWORD #>x>x", "Fehler(1)\tEinen Marke ist in den Flags bereits definiert\r\n"},
        MessageCase{"DWORD #>nix", "Fehler(1)\tUnbekannte Marke :nix\r\n"},
        MessageCase{"DWORD \"a\" 1Fh", "Fehler(1)\tUnbekannte Marke :Fh\r\n"},
        MessageCase{"BLOCK \"b\" 1 2 3", "Fehler(1)\tZuviele Zahlen definiert\r\n"},
        MessageCase{":a DWORD\nSPRINT a a a", "Fehler(2)\tZuviele Marken definiert\r\n"},
        MessageCase{"STRING UNTIL 00 UNTIL 01", "Fehler(1)\tBis-Dump bereits definiert.\r\n"},
        MessageCase{":a DWORD\nIF a GOTO EXIT", "Fehler(2)\tEXIT ist nicht erlaubt.\r\n"},
        MessageCase{":a DWORD\nIF a EXIT CALL", "Fehler(2)\tCALL ist nicht erlaubt.\r\n"},
        MessageCase{":a DWORD\nIF a EXIT SEEK", "Fehler(2)\tSEEK ist nicht erlaubt.\r\n"},
        MessageCase{":a DWORD\nIF a EXIT GOTO", "Fehler(2)\tGOTO ist nicht erlaubt.\r\n"},
        MessageCase{":a DWORD\nIF a EXIT return", "Fehler(2)\tRETURN ist nicht erlaubt.\r\n"},
        MessageCase{":a DWORD\nIF a EXIT MOV", "Fehler(2)\tMOV ist nicht erlaubt.\r\n"},
        MessageCase{":a DWORD\nIF a EXIT Add", "Fehler(2)\tADD ist nicht erlaubt.\r\n"},
        MessageCase{":a DWORD\nIF a == 1 != EXIT", "Fehler(2)\tUnerlaubte Vergleichsfunktion.\r\n"},
        MessageCase{":a DWORD\nIF a ! ! EXIT", "Fehler(2)\tNot Zeichen bereits definiert.\r\n"},
        MessageCase{"DWORD \"a\" $ ~", "Fehler(1)\tUnbekanntes Zeichen\r\n"},
        MessageCase{"DWORD \"a\" = 1", "Fehler(1)\tUnbekanntes Zeichen\r\n"},
        MessageCase{"GOTO", "Fehler(1)\tSyntaxfehler, fehlente Angaben\r\n"},
        MessageCase{"EXIT 5", "Fehler(1)\tSyntaxfehler, zuviele  Angaben\r\n"},
        MessageCase{":x DWORD\nADD 5 x", "Fehler(2)\tSyntaxfehler, fehlente Angaben\r\n"},
        MessageCase{"; note\n\n  ;\nNOPE", "Fehler(4)\tUnbekannter Befehl\r\n"},
        MessageCase{"A\rB\r\nC\nD", "Fehler(1)\tUnbekannter Befehl\r\nFehler(2)\tUnbekannter Befehl\r\n"
                                   "Fehler(3)\tUnbekannter Befehl\r\nFehler(4)\tUnbekannter Befehl\r\n"},
        MessageCase{"DWORD 1 2", "Fehler(1)\tSyntaxfehler, zuviele  Angaben\r\n"},
        MessageCase{"TEXT", "Fehler(1)\tSyntaxfehler, fehlente Angaben\r\n"},
        MessageCase{"DWORD \"Länge\"#H", ""},
        MessageCase{"", ""}));

TEST(ModuleCompiler, ErrorCountCountsEveryLineAndNothingIsWrittenWithoutSink)
{
    ModuleSet set;
    ModuleCompiler compiler(set);
    EXPECT_EQ(compiler.Compile("FOO\nBAR\nDWORD \"a\" \"b\" 1 2", "m"), ModuleCompiler::kCompiled);
    EXPECT_EQ(set.ErrorCount(), 4);  // two commands, second name, forbidden second number
    ErrorSink sink;
    set.SetErrorSink(&sink);
    compiler.Compile("DWORD", "n");
    EXPECT_EQ(set.ErrorCount(), 0);
    EXPECT_TRUE(sink.Text().empty());
}

TEST(ModuleCompiler, KeywordsAreWholeWordsWithoutRegardToCase)
{
    struct Case {
        const char* line;
        int code;  // -1: no statement
    };
    for (auto c : {Case{"BY", -1}, Case{"Dw", -1}, Case{"STRING_", -1}, Case{"DWORDS", -1}, Case{"dword", kCodeDWord},
                   Case{"Dword", kCodeDWord}, Case{"mod x", kCodeMod}, Case{"modul \"m\"", kCodeModul},
                   Case{"string_k", kCodeStringK}, Case{"rWord", kCodeRWord}, Case{"Rva x", kCodeRva}}) {
        ModuleFixture f;
        f.Compile(std::string(":x BYTE\n") + c.line);
        size_t expected = c.code < 0 ? 10 : 11;  // variables, BYTE, [statement], EXIT
        ASSERT_EQ(f.set.statements.size(), expected) << c.line;
        if (c.code >= 0) {
            EXPECT_EQ(f.set.statements[9].code, c.code) << c.line;
        }
    }
}

TEST(ModuleCompiler, ReadsNumbersInEveryForm)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    for (auto c : {Case{"-0x10", -16}, Case{"+7", 7}, Case{"08", 8}, Case{"0X1f", 31}, Case{"0b101", 5},
                   Case{"0B11", 3}, Case{"0o17", 15}, Case{"0d99", 99}, Case{"4294967295", -1},
                   Case{"4294967296", 0}, Case{"-", 0}}) {
        ModuleFixture f;
        f.Compile(std::string("BLOCK \"b\" ") + c.text);
        EXPECT_EQ(FirstStatement(f).number1, c.value) << c.text;
        EXPECT_TRUE(FirstStatement(f).flags & kHasNumber1);
        EXPECT_EQ(f.set.ErrorCount(), 0) << c.text;
    }
}

TEST(ModuleCompiler, RecordsOperandsAndTheirGivenBits)
{
    ModuleFixture f;
    f.Compile(":cnt BYTE\nDWORD \"Werte\" 0x10 cnt #H UNTIL 00");
    const StatementRecord& s = f.set.statements[9];
    EXPECT_EQ(s.name, "Werte");
    EXPECT_EQ(s.number1, 16);
    EXPECT_EQ(s.label1, 8);
    EXPECT_EQ(s.sourceMark, kCodeDWord);
    EXPECT_EQ(s.flags & 0xFFF, unsigned(kHasName | kHasNumber1 | kHasLabel1 | kHasFlags | kHasPattern));
    EXPECT_TRUE(s.flags & kFlagH);
    ASSERT_GE(s.pattern, 0);
    EXPECT_EQ(f.set.statements[8].name, "???");
    EXPECT_EQ(f.set.ErrorCount(), 0);
}

TEST(ModuleCompiler, MarksALabelThatComesBeforeAnyNumber)
{
    ModuleFixture f;
    f.Compile(":x BYTE\nADD x 5\nRVA x\nOFFSET 3 x");
    EXPECT_TRUE(f.set.statements[9].flags & kLabelFirst);
    EXPECT_TRUE(f.set.statements[10].flags & kLabelFirst);
    EXPECT_FALSE(f.set.statements[11].flags & kLabelFirst);
    EXPECT_EQ(f.set.ErrorCount(), 0);
}

TEST(ModuleCompiler, IfReadsNotSignComparisonAndAction)
{
    ModuleFixture f;
    f.Compile(":x BYTE\nIF x ! == 3 EXIT\nIF x>=2 GOTO x\nIF x & 4 MOV x 7");
    const auto& s = f.set.statements;
    EXPECT_TRUE(s[9].flags & kHasNot);
    EXPECT_EQ(s[9].condition, (kActExit << kActionShift) | kCmpEqual);
    EXPECT_TRUE(s[9].flags & kHasCompare);
    EXPECT_EQ(s[10].condition, (kActGoto << kActionShift) | kCmpGreaterEqual);
    EXPECT_EQ(s[10].label2, 8);
    EXPECT_EQ(s[11].condition, (kActMov << kActionShift) | kCmpAnd);
    EXPECT_EQ(s[11].number2, 7);
    EXPECT_EQ(f.set.ErrorCount(), 0);
}

TEST(ModuleCompiler, FlagsSetLettersDigitFieldRowLabelAndValueList)
{
    struct Case {
        const char* line;
        uint32_t flags;  // the flag letters and digit field (bits 0x1000 and above)
    };
    for (auto c : {Case{"DWORD #H4", kFlagH | 0x3000}, Case{"DWORD #25", 0x8000}, Case{"DWORD #0", 0xF000},
                   Case{"DWORD #17", 0}, Case{"DWORD #hxkvfs", kFlagH | kFlagX | kFlagK | kFlagS},
                   Case{"DWORD #J", kFlagA | kFlagI}, Case{"DWORD #zGcmpnud", kFlagR | kFlagG | kFlagC | kFlagM |
                                                                                 kFlagP | kFlagN | kFlagU | kFlagD},
                   Case{"DWORD #H4B8", kFlagH | kFlagB | 0x7000}, Case{"SEEK #25", 24 << 12},
                   Case{"SEEK #0", 2047u << 12}, Case{"SEEK #HUB3", kFlagB | (2 << 12)},
                   Case{"SEEK #A99R", kFlagA | kFlagR | (98 << 12)}}) {
        ModuleFixture f;
        f.Compile(c.line);
        EXPECT_EQ(FirstStatement(f).flags & 0xFFFFF000u, c.flags) << c.line;
        EXPECT_EQ(f.set.ErrorCount(), 0) << c.line;
    }
}

TEST(ModuleCompiler, SecondFlagsOperandIsDroppedWhole)
{
    ModuleFixture f;
    f.Compile("DWORD #H #B>nix\"1:eins\"");
    EXPECT_EQ(f.set.ErrorCount(), 1);  // only "Flags bereits definiert."
    EXPECT_TRUE(FirstStatement(f).flags & kFlagH);
    EXPECT_FALSE(FirstStatement(f).flags & kFlagB);
    EXPECT_EQ(FirstStatement(f).valueTexts, -1);
    EXPECT_TRUE(f.set.valueTexts.empty());
}

TEST(ModuleCompiler, FlagsEndAtTheFirstCharacterThatIsNoFlag)
{
    ModuleFixture f;
    f.Compile(":e BYTE\nDWORD #HE");  // "E" is read as the label e
    EXPECT_EQ(f.set.statements[9].label1, 8);
    EXPECT_TRUE(f.set.statements[9].flags & kFlagH);
    EXPECT_EQ(f.set.ErrorCount(), 0);
}

TEST(ModuleCompiler, ValueTextListIsSplitIntoPairs)
{
    ModuleFixture f;
    f.Compile("DWORD #H4\"0:aus:1:an:-0x2:minus:?:sonst\" \"Name\"");
    const StatementRecord& s = FirstStatement(f);
    EXPECT_EQ(s.name, "Name");  // the list ends the flags operand
    ASSERT_EQ(s.valueTexts, 0);
    const ValueTextList& list = f.set.valueTexts[0];
    EXPECT_EQ(list.source, "0:aus:1:an:-0x2:minus:?:sonst");
    ASSERT_EQ(list.entries.size(), 4u);
    EXPECT_EQ(*list.Find(0), "aus");
    EXPECT_EQ(*list.Find(1), "an");
    EXPECT_EQ(*list.Find(-2), "minus");
    EXPECT_EQ(*list.Find(77), "sonst");
}

TEST(ModuleCompiler, RowLabelInFlagsRefersToTheOwnLabelOfItsStatement)
{
    ModuleFixture f;
    f.Compile(":zeta DWORD \"z\"\n:Alpha\n\nBYTE \"a\" #N>zeta");
    const auto& s = f.set.statements;
    // Sorted: Alpha, LOCAL_0..3, PARAM_0..3, zeta.
    EXPECT_EQ(s[8].ownLabel, 9);
    EXPECT_EQ(s[9].ownLabel, 0);  // a label on a line of its own names the next statement
    EXPECT_EQ(s[9].rowLabel, 9);
    EXPECT_TRUE(s[9].flags & kHasLabel2);
    EXPECT_EQ(s[4].ownLabel, 5);  // PARAM_0
    EXPECT_EQ(f.set.modules[0].labelCount, 10);
}

TEST(ModuleCompiler, LabelsSortShorterNamesFirstAndIgnoreCase)
{
    ModuleFixture f;
    f.Compile(":abc BYTE\n:AB BYTE\n:a BYTE\n:Äx BYTE\n:äy BYTE");
    const auto& s = f.set.statements;
    EXPECT_EQ(s[10].ownLabel, 0);  // a
    EXPECT_EQ(s[9].ownLabel, 1);   // AB
    EXPECT_EQ(s[8].ownLabel, 2);   // abc
    ModuleFixture g;
    g.Compile(Utf8ToCp1252(":Größe BYTE\nGOTO grÖße"));
    EXPECT_EQ(g.set.statements[9].label1, 8);
    EXPECT_EQ(g.set.ErrorCount(), 0);
}

TEST(ModuleCompiler, DuplicateLabelKeepsBothAndReferencesFindTheFirst)
{
    ModuleFixture f;
    f.Compile(":x BYTE\n:x WORD\nGOTO x");
    EXPECT_EQ(f.set.ErrorCount(), 1);
    EXPECT_EQ(f.set.statements[10].label1, 8);
    EXPECT_EQ(f.set.modules[0].labelCount, 10);
    EXPECT_NE(f.set.statements[8].ownLabel, f.set.statements[9].ownLabel);
}

TEST(ModuleCompiler, LabelsMayBeUsedBeforeTheirDefinitionAndNameTheClosingExit)
{
    ModuleFixture f;
    f.Compile("GOTO weiter\nBYTE\n:weiter\n; end");
    EXPECT_EQ(f.set.statements[8].label1, 10);
    EXPECT_EQ(f.set.modules[0].closingStatement, 10);
    EXPECT_EQ(f.set.ErrorCount(), 0);
}

TEST(ModuleCompiler, LoneColonIsSkipped)
{
    ModuleFixture f;
    f.Compile(": DWORD \"a\"");
    EXPECT_EQ(f.set.ErrorCount(), 0);
    EXPECT_EQ(FirstStatement(f).code, kCodeDWord);
}

TEST(ModuleCompiler, EleventhOperandIsIgnoredAndAThirdNumberDoesNotStopTheLine)
{
    ModuleFixture f;
    f.Compile("BLOCK \"b\" 1 2 3 4 5 6 7 8 9 $");
    EXPECT_EQ(f.set.ErrorCount(), 7);
    EXPECT_EQ(f.sink.Text().find("Unbekanntes Zeichen"), std::string::npos);
    ModuleFixture g;
    g.Compile("OFFSET 1 2 3 #H");
    EXPECT_TRUE(FirstStatement(g).flags & kFlagH);
}

TEST(ModuleCompiler, NameIsCutAndAnOpenQuoteGivesAnEmptyName)
{
    ModuleFixture f;
    f.Compile("DWORD \"" + std::string(300, 'n') + "\"\nDWORD \"offen #H");
    EXPECT_EQ(f.set.statements[8].name, std::string(255, 'n'));
    EXPECT_EQ(f.set.statements[9].name, "");
    EXPECT_TRUE(f.set.statements[9].flags & kHasName);
    EXPECT_FALSE(f.set.statements[9].flags & kFlagH);
}

TEST(ModuleCompiler, CommentEndsTheOperands)
{
    ModuleFixture f;
    f.Compile("DWORD \"a\" ; \"b\" ???\nDWORD \"c\";x");
    EXPECT_EQ(f.set.ErrorCount(), 0);
    EXPECT_EQ(f.set.statements[8].name, "a");
}

struct PatternCase {
    const char* text;
    std::vector<int> values;
    std::vector<int> masks;
    int skip;
};

TEST(ModuleCompiler, CompilesEveryPatternForm)
{
    for (const auto& c : {PatternCase{"0D 0A", {0x0D, 0x0A}, {0xFF, 0xFF}, 2},
                          PatternCase{"00 +1", {0}, {0xFF}, 1},
                          PatternCase{"\"END\"", {'E', 'N', 'D'}, {0xFF, 0xFF, 0xFF}, 3},
                          PatternCase{"\" a\\n\\\"\\q\"", {'a', '\n', '"', 'q'}, {0xFF, 0xFF, 0xFF, 0xFF}, 4},
                          PatternCase{"?F", {0x0F}, {0x0F}, 1},
                          PatternCase{"4?", {0}, {0}, 1},
                          PatternCase{"~1???????", {0x80}, {0x80}, 1},
                          PatternCase{"~101", {0x05}, {0xFF}, 1},
                          PatternCase{"4d5", {0xD5}, {0xFF}, 1},
                          PatternCase{"4D5A+-2", {0x5A}, {0xFF}, -2},
                          PatternCase{"41 #H", {0x41}, {0xFF}, 1}}) {
        ModuleFixture f;
        f.Compile(std::string("STRING UNTIL ") + c.text);
        ASSERT_EQ(FirstStatement(f).pattern, 0) << c.text;
        const BytePattern& p = f.set.patterns[0];
        ASSERT_EQ(p.count, static_cast<int>(c.values.size())) << c.text;
        for (int i = 0; i < p.count; ++i) {
            EXPECT_EQ(p.values[i], c.values[i]) << c.text << " byte " << i;
            EXPECT_EQ(p.masks[i], c.masks[i]) << c.text << " byte " << i;
        }
        EXPECT_EQ(p.skip, c.skip) << c.text;
    }
}

TEST(ModuleCompiler, PatternPositionPartAndLimits)
{
    ModuleFixture f;
    f.Compile(":v BYTE\nSTRING UNTIL >v-3 41\nSTRING UNTIL >70000 41\nSTRING UNTIL " + std::string(40, '1') +
              "\nSTRING UNTIL +3\nSTRING UNTIL \"" + std::string(300, 'x') + "\"");
    const auto& s = f.set.statements;
    const BytePattern& p = f.set.patterns[static_cast<size_t>(s[9].pattern)];
    EXPECT_EQ(p.positionVariable, 8);
    EXPECT_EQ(p.positionOffset, -3);
    EXPECT_EQ(f.set.patterns[static_cast<size_t>(s[10].pattern)].positionOffset, static_cast<int16_t>(70000));
    EXPECT_EQ(f.set.patterns[static_cast<size_t>(s[11].pattern)].count, 1);  // a long digit run is one byte
    EXPECT_EQ(s[12].pattern, -1);  // no bytes: no pattern
    EXPECT_TRUE(s[12].flags & kHasPattern);
    EXPECT_EQ(f.set.patterns[static_cast<size_t>(s[13].pattern)].count, kMaxPatternBytes);
}

TEST(ModuleCompiler, EntryPointsForBlocksAndTheMainEntry)
{
    struct Case {
        const char* source;
        std::vector<std::string> entries;
    };
    for (const auto& c : {Case{"", {"Modul - Test"}},
                          Case{"BLOCK \"b\"\nEXIT", {"b"}},
                          Case{"MODUL \"x\"\nBLOCK \"b\"", {"b"}},
                          Case{"BYTE\nBLOCK \"b\"", {"b", "Modul - Test"}},
                          Case{"BLOCK \"b\" 0 1\nBLOCK \"c\" 5", {"c", "Modul - Test"}},
                          Case{"MODUL \"Neu\"\nBYTE", {"Modul - Neu"}}}) {
        ModuleFixture f;
        EXPECT_EQ(f.Compile(c.source), ModuleCompiler::kCompiled);
        std::vector<std::string> names;
        for (const auto& e : f.set.entryPoints) names.push_back(e.name);
        EXPECT_EQ(names, c.entries) << c.source;
    }
}

TEST(ModuleCompiler, EmptyModuleEntryStartsAtTheClosingExit)
{
    ModuleFixture f;
    f.Compile("");
    ASSERT_EQ(f.set.modules.size(), 1u);
    const ModuleRecord& m = f.set.modules[0];
    EXPECT_EQ(m.firstStatement, 8);
    EXPECT_EQ(m.closingStatement, 8);
    EXPECT_EQ(f.set.entryPoints[0].firstStatement, 8);
    const StatementRecord& exit = f.set.statements[8];
    EXPECT_EQ(exit.code, kCodeExit);
    EXPECT_EQ(exit.sourceMark, 0);
    EXPECT_EQ(exit.flags, 0u);
    EXPECT_EQ(exit.name, "");
    EXPECT_EQ(f.set.statements[4].name, "PARAM_0");
    EXPECT_EQ(f.set.statements[7].name, "PARAM_3");
}

TEST(ModuleCompiler, ModuleNamesAndTwoModulesSideBySide)
{
    ModuleFixture f;
    f.Compile("BLOCK \"eins\"\nBLOCK \"zwei\"", "A");
    f.Compile("MODUL \"" + std::string(80, 'm') + "\"\nBLOCK \"drei\"", "B");
    f.Compile("BYTE", "");
    ASSERT_EQ(f.set.modules.size(), 3u);
    EXPECT_EQ(f.set.ModuleName(1), std::string(63, 'm'));
    EXPECT_EQ(f.set.ModuleName(2), "3");
    EXPECT_EQ(f.set.ModuleName(3), "");
    EXPECT_EQ(f.set.modules[1].firstStatement, 8 + 2 + 1 + 4);  // after A, its EXIT and B's PARAMs
    EXPECT_EQ(f.set.EntryPointRange(0), std::make_pair(0, 2));
    EXPECT_EQ(f.set.EntryPointRange(1), std::make_pair(2, 3));
    EXPECT_EQ(f.set.EntryPointRange(2), std::make_pair(3, 4));
    EXPECT_EQ(f.set.EntryPointName(3), "Modul - 3");
    EXPECT_EQ(f.set.FindModule("A"), 0);
    EXPECT_EQ(f.set.FindModule("a"), -1);
    EXPECT_EQ(f.set.FindEntryPoint("zwei", 0, 2), 1);
    EXPECT_EQ(f.set.FindEntryPoint("zwei", 2, 4), -1);
    EXPECT_EQ(f.set.FindEntryPoint("Zwei", 0, 4), -1);
    EXPECT_EQ(f.set.entryPoints[2].module, 1);
    f.set.ClearAll();
    EXPECT_EQ(f.set.statements.size(), 4u);
    EXPECT_TRUE(f.set.entryPoints.empty());
    EXPECT_TRUE(f.set.modules.empty());
    EXPECT_EQ(f.Compile("BYTE", "A"), ModuleCompiler::kCompiled);
    EXPECT_EQ(f.set.modules[0].firstStatement, 8);
}

class ModuleFiles : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("qv_modules_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(ModuleFiles, LoadingTwiceIsRefusedWithAWarningAndLeavesTheSetAsItWas)
{
    std::string path = Write("kopf.v2.dfm", ":x BYTE \"a\" #H\"1:eins\"\nSTRING UNTIL 00\nGOTO x");
    ModuleFixture f;
    ModuleCompiler compiler(f.set);
    EXPECT_EQ(compiler.Load(path), ModuleCompiler::kCompiled);
    EXPECT_EQ(f.set.ModuleName(0), "kopf");
    size_t statements = f.set.statements.size(), patterns = f.set.patterns.size(), lists = f.set.valueTexts.size();
    f.sink.Clear();
    EXPECT_EQ(compiler.Load(path), ModuleCompiler::kAlreadyLoaded);
    EXPECT_EQ(f.sink.Text(), "Warnung(0)\tModul ist bereits geladen.\r\n");
    EXPECT_EQ(f.set.ErrorCount(), 1);
    EXPECT_EQ(f.set.statements.size(), statements);
    EXPECT_EQ(f.set.patterns.size(), patterns);
    EXPECT_EQ(f.set.valueTexts.size(), lists);
    EXPECT_EQ(f.set.entryPoints.size(), 1u);
    EXPECT_EQ(compiler.Load(path, "anders"), ModuleCompiler::kCompiled);
    EXPECT_EQ(f.set.ModuleName(1), "anders");
}

TEST_F(ModuleFiles, MissingFileIsReportedOnLineZero)
{
    ModuleFixture f;
    EXPECT_EQ(ModuleCompiler(f.set).Load((dir_ / "fehlt.dfm").string()), ModuleCompiler::kNotOpened);
    EXPECT_EQ(Cp1252ToUtf8(f.sink.Text()), "Fehler(0)\tKann Datei nicht öffnen.\r\n");
    EXPECT_EQ(f.set.ErrorCount(), 1);
    EXPECT_TRUE(f.set.modules.empty());
}

TEST_F(ModuleFiles, Utf8FilesAreConvertedAndOtherFilesReadAsWindows1252)
{
    ModuleFixture f;
    ModuleCompiler compiler(f.set);
    compiler.Load(Write("utf.dfm", "DWORD \"Größe\""));
    compiler.Load(Write("ansi.dfm", "DWORD \"Gr\xF6\xDF" "e\""));
    compiler.Load(Write("Übersicht.dfm", "BYTE"));
    EXPECT_EQ(f.set.statements[8].name, "Gr\xF6\xDF" "e");
    EXPECT_EQ(f.set.statements[8 + 2 + 4].name, "Gr\xF6\xDF" "e");
    EXPECT_EQ(f.set.ModuleName(2), "\xDC" "bersicht");
    EXPECT_EQ(ModuleNameFromPath("/a.b/" + std::string(70, 'q') + ".dfm"), std::string(63, 'q'));
}

}  // namespace
}  // namespace qv::test
