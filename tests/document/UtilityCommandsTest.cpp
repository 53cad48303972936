// SPDX-License-Identifier: GPL-3.0-or-later
// The document's utility commands: Base64 and GUID insert, the section dialog and the
// file path copy, against the real view and document with a fake clipboard.
#include "document/UtilityCommands.h"

#include <gtest/gtest.h>

#include "document/GuidText.h"
#include "document/HexDoc.h"
#include "document/SectionDialog.h"
#include "document/TextInputDialog.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/TempDir.h"
#include "tests/view/HexViewTesting.h"

namespace qv::test {
namespace {

using Bytes = std::vector<uint8_t>;

// The bytes 00 01 02 … as the registry and initialiser texts show them.
constexpr const char* kCountingGuid = "{03020100-0504-0706-0809-0A0B0C0D0E0F}";

class UtilityCommands : public testing::Test {
protected:
    void SetUp() override { h.Load(CountingBytes(32)); }
    void Select(int32_t first, int32_t afterLast)
    {
        h.view.SetCursorOffset(static_cast<uint32_t>(first), false);
        h.view.SelectTo(static_cast<uint32_t>(afterLast), false);
    }
    void AnswerGuid(const std::string& text)
    {
        dialogs.steps.push_back([this, text](DialogModel& model) {
            auto& dialog = static_cast<TextInputDialog&>(model);
            proposal = dialog.text;
            if (text != "=") dialog.text = text;
            return true;
        });
    }

    HexViewHarness h;
    FakeClipboard clipboard;
    FakeDialogService dialogs;
    std::string proposal;
};

TEST(GuidText, BothFormsReadAndWrite)
{
    const Bytes counting = CountingBytes(16);
    GuidBytes guid{};
    std::copy(counting.begin(), counting.end(), guid.begin());
    EXPECT_EQ(GuidRegistryText(guid), kCountingGuid);
    EXPECT_EQ(GuidInitialiserText(guid), "0x03020100,0x0504,0x0706,0x08,0x09,0x0A,0x0B,0x0C,0x0D,0x0E,0x0F");
    EXPECT_EQ(ParseGuidRegistryText("{03020100-0504-0706-0809-0a0b0c0d0e0f}"), guid);
    EXPECT_EQ(ParseGuidAnswer(std::string(kCountingGuid) + "  " + GuidInitialiserText(guid)), guid);
    EXPECT_EQ(ParseGuidAnswer(GuidInitialiserText(guid)), guid);
    EXPECT_EQ(ParseGuidAnswer(" 03020100-0504-0706-0809-0A0B0C0D0E0F "), guid);
    EXPECT_EQ(ParseGuidAnswer("{{03020100-0504-0706-0809-0A0B0C0D0E0F"), guid);  // every brace is dropped
    EXPECT_EQ(ParseGuidAnswer("0X1"), (GuidBytes{1}));
    EXPECT_EQ(ParseGuidAnswer("0x1,0x10002"), (GuidBytes{1, 0, 0, 0, 2}));  // a field keeps its low bits

    for (const char* bad : {"", "   ", "0302010-0504-0706-0809-0A0B0C0D0E0F", "03020100-05040-706-0809-0A0B0C0D0E0F",
                            "03020100-0504-0706-0809-0A0B0C0D0E0G",
                            "03020100-0504-0706-0809-0A0B0C0D0E0F0", "xyz 0x12"})
        EXPECT_FALSE(ParseGuidAnswer(bad)) << bad;
}

TEST_F(UtilityCommands, Base64OverwritesTheSelectionOnlyAsOneUndoStep)
{
    clipboard.text = "AAECAwQFBgcICQ==";  // 10 bytes 00..09
    h.Load(Bytes(32, 0xFF));
    Select(2, 6);
    InsertBase64(h.view, clipboard, h.prompt);
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].text, "Es wurden 4 Bytes eingefügt.");
    EXPECT_EQ(h.prompt.shown[0].caption, "Information");
    const Bytes bytes = h.Bytes();
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 7), (Bytes{0xFF, 0xFF, 0, 1, 2, 3, 0xFF}));
    EXPECT_TRUE(h.view.IsModified());
    ASSERT_EQ(h.view.Undo().UndoCount(), 1);
    h.view.UndoRedo(-1);
    EXPECT_EQ(h.Bytes(), Bytes(32, 0xFF));
    EXPECT_FALSE(h.view.IsModified());
}

TEST_F(UtilityCommands, Base64BeyondTheEndAsksFirst)
{
    clipboard.text = "AAECAwQFBgcICQ==";
    h.view.SetCursorOffset(26, false);
    h.prompt.answers = {PromptAnswer::Cancel};
    InsertBase64(h.view, clipboard, h.prompt);
    EXPECT_EQ(h.Bytes(), CountingBytes(32));
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].text, "Die 10 Byte des Base64-Strings passen nicht vollstänig in den Speicherbereich !");
    EXPECT_EQ(h.prompt.shown[0].caption, "Warnung");

    InsertBase64(h.view, clipboard, h.prompt);  // OK: the last 6 bytes
    EXPECT_EQ(h.prompt.shown.back().text, "Es wurden 6 Bytes eingefügt.");
    const Bytes bytes = h.Bytes();
    EXPECT_EQ(bytes.size(), 32u);
    EXPECT_EQ(Bytes(bytes.begin() + 25, bytes.end()), (Bytes{25, 0, 1, 2, 3, 4, 5}));
}

TEST_F(UtilityCommands, Base64WithoutUsableTextWritesNothing)
{
    InsertBase64(h.view, clipboard, h.prompt);  // no text
    clipboard.text = "!!! ~~~";
    InsertBase64(h.view, clipboard, h.prompt);
    EXPECT_EQ(h.prompt.shown.back().text, "Es wurden 0 Bytes eingefügt.");
    EXPECT_EQ(h.Bytes(), CountingBytes(32));
    EXPECT_FALSE(h.view.CanUndo());

    h.Load(Bytes(4, 0), ViewOwnsBuffer);  // read-only
    clipboard.text = "AAEC";
    InsertBase64(h.view, clipboard, h.prompt);
    EXPECT_EQ(h.Bytes(), Bytes(4, 0));
}

TEST_F(UtilityCommands, GuidProposalWritesTheSameBytes)
{
    AnswerGuid("=");
    InsertGuid(h.view, dialogs, h.prompt);
    EXPECT_EQ(proposal, std::string(kCountingGuid) +
                            "  0x03020100,0x0504,0x0706,0x08,0x09,0x0A,0x0B,0x0C,0x0D,0x0E,0x0F");
    EXPECT_EQ(h.Bytes(), CountingBytes(32));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"TextInput"});
}

TEST_F(UtilityCommands, GuidGrowsTheSelectionToTheWrittenBytes)
{
    Select(4, 8);
    AnswerGuid("0x1");
    InsertGuid(h.view, dialogs, h.prompt);
    Bytes expected = CountingBytes(32);
    std::fill(expected.begin() + 4, expected.begin() + 20, 0);
    expected[4] = 1;
    EXPECT_EQ(h.Bytes(), expected);
    int64_t length = 0;
    EXPECT_EQ(h.view.GetSelection(false, &length), 4u);
    EXPECT_EQ(length, 16);
    EXPECT_TRUE(h.view.IsModified());
    EXPECT_EQ(h.view.Undo().UndoCount(), 1);
}

TEST_F(UtilityCommands, GuidNearTheEndAndBadAnswers)
{
    h.view.SetCursorOffset(28, false);
    AnswerGuid("FFFFFFFF-0000-0000-0000-000000000000");
    InsertGuid(h.view, dialogs, h.prompt);
    EXPECT_EQ(proposal.substr(0, 10), "{1F1E1D1C-");  // four bytes padded with zeros
    const Bytes bytes = h.Bytes();
    EXPECT_EQ(bytes.size(), 32u);
    EXPECT_EQ(Bytes(bytes.begin() + 27, bytes.end()), (Bytes{27, 0xFF, 0xFF, 0xFF, 0xFF}));

    h.Load(CountingBytes(32));
    AnswerGuid("1234-5678");
    InsertGuid(h.view, dialogs, h.prompt);
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].text, "Die GUID konnte nicht erstellen !");
    EXPECT_EQ(h.prompt.shown[0].caption, "Fehler");
    EXPECT_EQ(h.Bytes(), CountingBytes(32));
    EXPECT_FALSE(h.view.CanUndo());
}

TEST(SectionDialog, TheUntypedFieldFollows)
{
    SectionDialog dialog(0x100, 0x20);
    EXPECT_EQ(dialog.EndText(), "0x120");
    dialog.ChangeAddress("0x200");
    EXPECT_EQ(dialog.EndText(), "0x220");
    dialog.ChangeLength("16");
    EXPECT_EQ(dialog.EndText(), "0x210");
    dialog.ChangeLengthTyped(false);
    dialog.ChangeEnd("0x300");
    EXPECT_EQ(dialog.LengthText(), "0x100");
    dialog.ChangeLength("5");  // not typed now: nothing follows it
    EXPECT_EQ(dialog.EndText(), "0x300");
    dialog.ChangeAddress("0x100+0x80");  // the live update reads the first number only, OK the expression
    EXPECT_EQ(dialog.Address(), 0x180u);
    EXPECT_EQ(dialog.Length(), 0x180u);
}

TEST(DocumentUtilities, SectionAndFilePath)
{
    TempDir dir;
    FakePrompt prompt;
    FakeDialogService dialogs;
    FakeClipboard clipboard;
    DocumentServices services;
    services.prompt = &prompt;
    services.dialogs = &dialogs;
    CHexView view;
    CHexDoc doc(services);
    doc.AttachView(&view);
    ASSERT_TRUE(doc.NewDocument());
    CopyFilePath(doc, clipboard);
    EXPECT_FALSE(clipboard.utf8Text) << "an untitled document has no path";

    Bytes quarters(0x400);
    for (size_t i = 0; i < quarters.size(); ++i) quarters[i] = static_cast<uint8_t>(i / 4);
    const std::string path = dir.Write("d\xC3\xA4t-\xCE\xA9.bin", quarters);  // "dät-Ω.bin"
    ASSERT_TRUE(doc.FileOpen(path));
    CopyFilePath(doc, clipboard);
    EXPECT_EQ(clipboard.utf8Text, path) << "the copied path names the file";

    dialogs.steps.push_back([](DialogModel& model) {
        auto& dialog = static_cast<SectionDialog&>(model);
        EXPECT_EQ(dialog.LengthText(), "0x400");
        dialog.ChangeAddress("0x100");
        dialog.ChangeLength("0x20");
        return true;
    });
    ShowSectionDialog(doc, view, dialogs);
    EXPECT_EQ(view.Length(), 0x20);
    EXPECT_EQ(view.BaseAddress(), 0x100u);
    EXPECT_EQ(view.GetBuffer(nullptr, nullptr)[0], 0x40);  // the file's byte 0x100
}

}  // namespace
}  // namespace qv::test
