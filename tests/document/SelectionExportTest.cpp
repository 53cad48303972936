// SPDX-License-Identifier: GPL-3.0-or-later
// The selection export commands 32830 (source text) and 32829 (bytes), driven with
// scripted dialogs and answers against real files.
#include "document/SelectionExport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "document/CTextGenerator.h"
#include "document/NumberEntryDialog.h"
#include "document/SelectionExportSaveDialog.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

using test::FakeDialogService;
using test::FakePrompt;
using test::FakeSettingsStore;
using test::TempDir;

class SelectionExportTest : public ::testing::Test {
protected:
    SelectionExportTest()
    {
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    }

    SelectionExport& Export()
    {
        if (!exporter) exporter.emplace(SelectionExportServices{&prompt, &dialogs, {&user, nullptr}, write});
        return *exporter;
    }
    SelectedBytes Selection() const { return {data.data(), data.size()}; }

    // Scripts the number dialog: format, value size, line size text.
    void AnswerNumberDialog(int format, int size, const std::string& line, bool bigEndian = false)
    {
        dialogs.steps.push_back([=](DialogModel& model) {
            auto& dialog = dynamic_cast<NumberEntryDialog&>(model);
            EXPECT_EQ(dialog.Caption(), "Speichere im C++ Format");
            EXPECT_EQ(dialog.label, "Spaltenbreite");
            EXPECT_TRUE(dialog.withFormatGroup);
            EXPECT_FALSE(dialog.HasPreview());
            dialog.ChangeFormat(format);
            dialog.ChangeValueSize(size);
            dialog.ChangeText(line);
            dialog.ChangeBigEndian(bigEndian);
            return true;
        });
    }
    // Scripts the save dialog; records what it was shown.
    void AnswerSaveDialog(const std::string& path)
    {
        dialogs.steps.push_back([=, this](DialogModel& model) {
            auto& dialog = dynamic_cast<SelectionExportSaveDialog&>(model);
            shownTitle = dialog.title;
            shownFilter = dialog.filter;
            shownProposal = dialog.proposedPath;
            dialog.chosenPath = path;
            return true;
        });
    }
    std::string ReadText(const std::string& path) const
    {
        const auto bytes = TempDir::Read(path);
        return std::string(bytes.begin(), bytes.end());
    }
    std::string Expected(int size, int format, int line) const
    {
        std::string text;
        GenerateCTextFile(data.data(), data.size(), size, format, line, [&](const char* p, size_t n) {
            text.append(p, n);
            return true;
        });
        return text;
    }

    TempDir dir;
    std::vector<uint8_t> data = std::vector<uint8_t>(20000);
    FakePrompt prompt;
    FakeDialogService dialogs;
    FakeSettingsStore user;
    WriteFunction write;
    std::optional<SelectionExport> exporter;
    std::string shownTitle, shownFilter, shownProposal;
};

TEST_F(SelectionExportTest, CancelledNumberDialogChangesNothing)
{
    Export().SaveSelectionAsText(Selection(), dir.File("doc.bin"));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"NumberEntry"});
    EXPECT_TRUE(user.values.empty());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(SelectionExportTest, WithoutSelectionSettingsAreStillStored)
{
    AnswerNumberDialog(kCTextDump, 2, "8");
    Export().SaveSelectionAsText({}, dir.File("doc.bin"));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Es ist kein Bereich markiert !");
    EXPECT_EQ(prompt.shown[0].caption, "Quarnival");
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "Format"), 3u);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "ValueSize"), 2u);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "LineSize"), 8u);
}

TEST_F(SelectionExportTest, WritesAssemblerTextOfMoreThan8K)
{
    const std::string target = dir.File("out.asm");
    AnswerNumberDialog(kCTextAssembler, 1, "16");
    AnswerSaveDialog(target);
    Export().SaveSelectionAsText(Selection(), dir.Path() + "/doc.bin");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(shownTitle, "Markierung speichern");
    EXPECT_EQ(shownFilter, SelectionExport::kTextFilter);
    EXPECT_EQ(shownProposal, dir.Path() + "/*.asm");
    const std::string text = ReadText(target);
    EXPECT_GT(text.size(), kCTextPiece);
    EXPECT_EQ(text, Expected(1, kCTextAssembler, 16));
}

TEST_F(SelectionExportTest, ProposesPatternByFormatThenTheLastName)
{
    const std::vector<std::pair<int, std::string>> patterns = {{kCTextC, "*.h"}, {kCTextTypes, "*.txt"},
                                                               {kCTextDump, "*.txt"}};
    for (const auto& [format, pattern] : patterns) {
        exporter.reset();
        AnswerNumberDialog(format, 1, "16");
        dialogs.steps.push_back([&](DialogModel& model) {
            shownProposal = dynamic_cast<SelectionExportSaveDialog&>(model).proposedPath;
            return false;
        });
        Export().SaveSelectionAsText(Selection(), "/some/folder/doc.bin");
        EXPECT_EQ(shownProposal, "/some/folder/" + pattern);
    }
    AnswerNumberDialog(kCTextC, 1, "16");
    AnswerSaveDialog(dir.File("first.h"));
    AnswerNumberDialog(kCTextAssembler, 1, "16");
    AnswerSaveDialog(dir.File("second.asm"));
    Export().SaveSelectionAsText(Selection(), "/some/folder/doc.bin");
    Export().SaveSelectionAsText(Selection(), "/some/folder/doc.bin");
    EXPECT_EQ(shownProposal, dir.File("first.h"));
}

TEST_F(SelectionExportTest, BigEndianAndTextTypesAsBase64)
{
    data = {0x01, 0x23, 0x45, 0x67};
    AnswerNumberDialog(kCTextC, 2, "16", true);
    AnswerSaveDialog(dir.File("be.h"));
    AnswerNumberDialog(kCTextTypes, kTextChars, "4");
    AnswerSaveDialog(dir.File("b64.txt"));
    Export().SaveSelectionAsText(Selection(), "");
    Export().SaveSelectionAsText(Selection(), "");
    EXPECT_EQ(ReadText(dir.File("be.h")), "0x0123,0x4567,");
    EXPECT_EQ(ReadText(dir.File("b64.txt")), "ASNFZw==\n");
}

TEST_F(SelectionExportTest, ExistingFileAsksBeforeOverwriting)
{
    const std::string target = dir.Write("old.h", std::string("old contents"));
    AnswerNumberDialog(kCTextC, 1, "16");
    AnswerSaveDialog(target);
    prompt.answers = {PromptAnswer::Cancel};
    Export().SaveSelectionAsText(Selection(), "");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Die Datei " + target + "\nexistiert bereits ?\n\nÜberschreiben ?");
    EXPECT_EQ(prompt.shown[0].caption, "Fehler");
    EXPECT_EQ(prompt.shown[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::Question);
    EXPECT_EQ(ReadText(target), "old contents");

    AnswerNumberDialog(kCTextC, 1, "16");
    AnswerSaveDialog(target);
    prompt.answers = {PromptAnswer::Ok};
    Export().SaveSelectionAsText(Selection(), "");
    EXPECT_EQ(ReadText(target), Expected(1, kCTextC, 16));
}

TEST_F(SelectionExportTest, FailedWriteKeepsTheOldFileWhole)
{
    const std::string target = dir.Write("keep.h", std::string("old contents"));
    std::vector<size_t> pieces;
    write = [&](int fd, const void* bytes, size_t size) -> ssize_t {
        pieces.push_back(size);
        if (pieces.size() == 2) return -1;
        return ::write(fd, bytes, size);
    };
    AnswerNumberDialog(kCTextC, 1, "16");
    AnswerSaveDialog(target);
    prompt.answers = {PromptAnswer::Ok};
    Export().SaveSelectionAsText(Selection(), "");
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text, "Fehler beim Speichern");
    EXPECT_EQ(prompt.shown[1].icon, PromptIcon::Error);
    EXPECT_EQ(ReadText(target), "old contents");
    EXPECT_EQ(pieces[0], kCTextPiece);
}

TEST_F(SelectionExportTest, UnopenableFileIsReported)
{
    AnswerNumberDialog(kCTextC, 1, "16");
    AnswerSaveDialog(dir.File("missing-folder/out.h"));
    Export().SaveSelectionAsText(Selection(), "");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Fehler beim Öffnen der Datei");
}

TEST_F(SelectionExportTest, SaveSelectionLimitedTo4MB)
{
    data.assign(SelectionExport::kMaxBytes + 10, 0xAB);
    const std::string target = dir.File("big.bin");
    dialogs.steps.push_back([&](DialogModel& model) {
        auto& dialog = dynamic_cast<SelectionExportSaveDialog&>(model);
        EXPECT_EQ(dialog.filter, SelectionExport::kBinaryFilter);
        EXPECT_EQ(dialog.title, "Markierung speichern");
        EXPECT_EQ(dialog.proposedPath, "/docs/*.*");
        dialog.chosenPath = target;
        return true;
    });
    Export().SaveSelection(Selection(), "/docs/doc.bin");
    EXPECT_EQ(TempDir::Read(target).size(), SelectionExport::kMaxBytes);
}

TEST_F(SelectionExportTest, SaveSelectionWritesBytesUnchanged)
{
    Export().SaveSelection({}, "");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Es ist kein Bereich markiert !");
    EXPECT_TRUE(dialogs.opened.empty());

    AnswerSaveDialog(dir.File("sel.bin"));
    Export().SaveSelection(Selection(), "");
    EXPECT_EQ(TempDir::Read(dir.File("sel.bin")), data);
    EXPECT_EQ(shownProposal, "*.*");
}

}  // namespace
}  // namespace qv
