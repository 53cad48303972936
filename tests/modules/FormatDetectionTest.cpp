// SPDX-License-Identifier: GPL-3.0-or-later
// The format table (its lines, masks, and the user's lines before the shipped ones) and the
// data window's pages of detected formats.
#include <gtest/gtest.h>

#include "common/CodePage.h"
#include "modules/DataWindow.h"
#include "modules/FormatTable.h"
#include "modules/ModuleSet.h"
#include "modules/DataWindowDialogs.h"
#include "tests/modules/BmpModule.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/TempDir.h"
#include "view/ByteSource.h"

namespace qv {
namespace {

std::vector<std::string> Found(const FormatTable& table, const std::string& bytes)
{
    BlockByteSource source(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int64_t>(bytes.size()));
    std::vector<std::string> names;
    for (const FormatRule* rule : DetectFormats(table, source)) names.push_back(rule->entryPoint);
    return names;
}

TEST(FormatTable, ReadsMagicBytesMasksAndModulesAndNamesBadLines)
{
    FormatTable table;
    table.Parse("# Kommentar\n"
                "0 \"AB\\x00C\"   a.dfm  Text mit Blank\r\n"
                "  0x10 F0F0 F0FF /abs/b.dfm B\n"
                "\n"
                "0x8000000000000000 00 a.dfm A\n"
                "0 0G a.dfm A\n"
                "0 00 FFFF a.dfm A\n"
                "0 00 a.txt A\n"
                "0 00 a.dfm\n"
                "; auch ein Kommentar\n"
                "x 00 a.dfm A\n"
                "0x 00 a.dfm A\n"
                "18446744073709551617 00 a.dfm A\n",
                "/mod", "t.txt");
    ASSERT_EQ(table.rules.size(), 2u);
    EXPECT_EQ(table.rules[0].magic, (std::vector<uint8_t>{'A', 'B', 0, 'C'}));
    EXPECT_EQ(table.rules[0].mask, std::vector<uint8_t>(4, 0xFF));
    EXPECT_EQ(table.rules[0].module, "/mod/a.dfm");
    EXPECT_EQ(table.rules[0].entryPoint, "Text mit Blank");
    EXPECT_EQ(table.rules[1].offset, 0x10);
    EXPECT_EQ(table.rules[1].module, "/abs/b.dfm");
    EXPECT_EQ(table.errors, (std::vector<std::string>{"t.txt(5): Ungültiger Offset", "t.txt(6): Ungültige Kennbytes",
                                                      "t.txt(7): Die Maske passt nicht zu den Kennbytes",
                                                      "t.txt(8): Modul fehlt", "t.txt(9): Einstiegspunkt fehlt",
                                                      "t.txt(11): Ungültiger Offset", "t.txt(12): Ungültiger Offset",
                                                      "t.txt(13): Ungültiger Offset"}));
}

TEST(FormatTable, DetectsByMaskedBytesInTableOrderAndTheUsersLineReplacesTheShippedOne)
{
    FormatTable table;
    table.Parse("0 F0F0 F0FF own.dfm Eigen\n", "/user", "user");
    table.Parse("2 \"XY\" x.dfm XY\n0 F0F0 F0FF shipped.dfm Mitgeliefert\n0 \"ZZZ\" z.dfm Z\n", "/ship", "ship");
    EXPECT_EQ(Found(table, std::string("\xF7\xF0XY", 4)), (std::vector<std::string>{"Eigen", "XY"}));
    EXPECT_EQ(Found(table, std::string("\xF7\xF1XY", 4)), std::vector<std::string>{"XY"});
    EXPECT_TRUE(Found(table, "ZZ").empty());  // the magic would run past the end
    EXPECT_TRUE(Found(table, "").empty());
}

class FormatPagesTest : public ::testing::Test {
protected:
    std::unique_ptr<DataWnd> Create()
    {
        DataWndServices services;
        services.settings = &settings;
        services.prompt = &prompt;
        services.dialogs = &dialogs;
        services.formatTables = {dir.File("fehlt/formats.txt"), table};
        services.documentBytes = [this](uint64_t& base) -> const IByteSource* {
            base = 0x400;
            return document ? &bytes : nullptr;
        };
        return std::make_unique<DataWnd>(8, kMainFrameDataStyle, services);
    }
    void Open(const std::vector<uint8_t>& contents)
    {
        data = contents;
        bytes.Reset(data.data(), static_cast<int64_t>(data.size()));
    }

    test::TempDir dir;
    test::FakeSettingsStore settings;
    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    std::string table = dir.Write("formats.txt", "0 \"BM\" bmp.dfm Bitmap\n0 \"BM\" nix.dfm Fehlt\n"
                                                 "0 \"BM\" bmp.dfm Kein Einstieg\n0 \"GIF8\" bmp.dfm Bitmap\n");
    std::string module = dir.Write("bmp.dfm", test::kBmpModule);
    std::vector<uint8_t> data;
    BlockByteSource bytes;
    bool document = true;
};

TEST_F(FormatPagesTest, AFormatFoundIsDecodedOnAPageOfItsOwnAfterTheUsersPages)
{
    auto window = Create();
    window->SelectPage(3);
    Open(test::MakeBitmap(2, 2, 8, {0x112233}, {0, 0, 0, 0, 0, 0, 0, 0}));
    window->DetectFormats();
    // A missing module or entry point adds no page, nor does a second rule for the same entry point.
    ASSERT_EQ(window->PageCount(), 9);
    EXPECT_TRUE(window->IsFormatPage(8));
    EXPECT_EQ(window->CurrentPage(), 8);
    EXPECT_EQ(window->PageLabel(8), "Bitmap");
    EXPECT_EQ(window->PageLabel(0), "Daten 1");  // the user's pages are as they were
    EXPECT_EQ(window->ColumnText(8, 0, kColumnName), "Dateikopf");
    EXPECT_EQ(window->ColumnText(8, 0, kColumnAddress), "0x400");
    EXPECT_TRUE(window->Modules().modules.empty());
    EXPECT_EQ(window->FormatModules().modules.size(), 1u);

    // The same format again (an edit that replaced the block): decoded again, the page the user chose stays.
    window->SelectPage(2);
    window->ForgetBuffers();
    EXPECT_EQ(window->RowCount(8), 0);
    window->DetectFormats();
    EXPECT_EQ(window->CurrentPage(), 2);
    EXPECT_GT(window->RowCount(8), 0);
    window->ClearModules();  // the user's modules only
    EXPECT_GT(window->RowCount(8), 0);

    // Another document without a format: the page goes, the user's page comes back.
    window->SelectPage(8);
    Open(std::vector<uint8_t>(16, 0));
    window->DetectFormats();
    EXPECT_EQ(window->PageCount(), 8);
    EXPECT_EQ(window->CurrentPage(), 2);
}

TEST_F(FormatPagesTest, DetectionCanBeSwitchedOffAndTheChoiceIsKept)
{
    Open(test::MakeBitmap(1, 1, 24, {}, {1, 2, 3, 0}));
    {
        auto window = Create();
        EXPECT_TRUE(window->AutoDetect());
        window->DetectFormats();
        ASSERT_EQ(window->PageCount(), 9);
        window->SetAutoDetect(false);
        EXPECT_EQ(window->PageCount(), 8);
        EXPECT_EQ(window->CurrentPage(), 0);
        window->DetectFormats();
        EXPECT_EQ(window->PageCount(), 8);
    }
    EXPECT_EQ(settings.ReadDword("DataWindow", "AutoDetect"), 0u);
    auto window = Create();
    EXPECT_FALSE(window->AutoDetect());
    window->SetAutoDetect(true);  // switched on again: looks at the document at once
    EXPECT_EQ(window->PageCount(), 9);
    EXPECT_EQ(window->CurrentPage(), 8);
}

TEST_F(FormatPagesTest, BadLinesOfATableAreOfferedOnceAndTheGoodLinesStillWork)
{
    table = dir.Write("formats.txt", "0 \"BM\" bmp.dfm Bitmap\n0 XY bmp.dfm Bitmap\n");
    Open(test::MakeBitmap(1, 1, 24, {}, {1, 2, 3, 0}));
    auto window = Create();
    prompt.answers = {PromptAnswer::Yes};
    std::string caption, text;
    dialogs.steps.push_back([&](DialogModel& model) {
        caption = static_cast<ModuleErrorDialog&>(model).caption;
        text = static_cast<ModuleErrorDialog&>(model).text;
        return true;
    });
    window->DetectFormats();
    EXPECT_EQ(window->PageCount(), 9);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Die Formattabelle ist fehlerhaft\nFehler anzeigen ?");
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Error);
    EXPECT_EQ(caption, "Fehler in formats.txt");
    EXPECT_EQ(text, Utf8ToCp1252(table + "(2): Ungültige Kennbytes") + "\r\n");

    window->DetectFormats();  // the next document: asked no more
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(dialogs.opened.size(), 1u);
}

}  // namespace
}  // namespace qv
