// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard commands of the hex view and the number entry, against a fake clipboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/NumberEntryDialog.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/view/HexViewTesting.h"

namespace qv::test {
namespace {

using Bytes = std::vector<uint8_t>;

class HexViewClipboard : public testing::Test {
protected:
    void SetUp() override { h.Load(Bytes(40, 0)); }

    void Select(int32_t first, int32_t afterLast)
    {
        h.view.SetCursorOffset(static_cast<uint32_t>(first), false);
        h.view.SelectTo(static_cast<uint32_t>(afterLast), false);
    }
    void Paste(const std::string& text, bool dump = false)
    {
        clipboard.text = text;
        h.view.PasteFromClipboard(clipboard, dump);
    }
    Bytes Range(size_t first, size_t count) const
    {
        Bytes all = h.Bytes();
        return Bytes(all.begin() + static_cast<long>(first), all.begin() + static_cast<long>(first + count));
    }

    HexViewHarness h;
    FakeClipboard clipboard;
};

TEST_F(HexViewClipboard, CopyGivesCharactersFromTheTextAreaElseTheDump)
{
    h.Load({'H', 'e', 'l', 'l', 'o', 0, 0x80, 0xE4});
    h.view.CopyToClipboard(clipboard);
    EXPECT_FALSE(clipboard.text) << "nothing is selected";

    Select(0, 5);
    h.view.CopyToClipboard(clipboard);
    EXPECT_EQ(clipboard.text, ":48 65 6C 6C 6F");
    h.ToTextArea();
    Select(0, 5);
    h.view.CopyToClipboard(clipboard);
    EXPECT_EQ(clipboard.text, "Hello");
    Select(6, 8);  // bytes above 0x7F stay characters
    h.view.CopyToClipboard(clipboard);
    EXPECT_EQ(clipboard.text, "\x80\xE4");
    Select(3, 8);  // the zero byte forces the dump
    h.view.CopyToClipboard(clipboard);
    EXPECT_EQ(clipboard.text, ":6C 6F 00 80 E4");
}

TEST_F(HexViewClipboard, PasteNumberOverwritesAsOneUndoStep)
{
    h.view.SetCursorOffset(2, false);
    Paste("0x1234");
    EXPECT_EQ(Range(0, 7), (Bytes{0, 0, 0x34, 0x12, 0, 0, 0}));
    EXPECT_EQ(h.view.CursorOffset(), 2) << "the cursor does not move";
    EXPECT_TRUE(h.view.IsModified());
    EXPECT_EQ(h.view.Undo().UndoCount(), 1);
    Paste("0xFFFFFFFFFF");  // more than 8 digits: 8 bytes
    EXPECT_EQ(Range(2, 8), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0}));
    ASSERT_TRUE(h.view.UndoRedo(-1));
    ASSERT_TRUE(h.view.UndoRedo(-1));
    EXPECT_EQ(h.Bytes(), Bytes(40, 0));
    EXPECT_FALSE(h.view.IsModified());
}

TEST_F(HexViewClipboard, PasteIsCutToTheSelectionAndTheEnd)
{
    Select(4, 7);
    Paste(":01 02 03 04 05 06 07 08");
    EXPECT_EQ(Range(3, 5), (Bytes{0, 1, 2, 3, 0}));
    h.view.SetCursorOffset(39, false);
    Paste("\"abc\"");
    EXPECT_EQ(h.Bytes().size(), 40u);
    EXPECT_EQ(h.Bytes()[39], 'a');
    EXPECT_EQ(h.view.Undo().UndoCount(), 2);
}

TEST_F(HexViewClipboard, PasteInInsertModeInsertsAndUndoRemoves)
{
    h.SetInsertMode(true);
    h.view.SetCursorOffset(1, false);
    Paste("\"a\\tb\"");
    EXPECT_EQ(Range(0, 5), (Bytes{0, 'a', '\t', 'b', 0}));
    EXPECT_EQ(h.Bytes().size(), 43u);
    ASSERT_TRUE(h.view.UndoRedo(-1));
    EXPECT_EQ(h.Bytes(), Bytes(40, 0));
    ASSERT_TRUE(h.view.UndoRedo(+1));
    EXPECT_EQ(h.Bytes().size(), 43u);

    Paste(":");  // no bytes: the beep, nothing inserted
    EXPECT_EQ(h.prompt.beeps, 1);
    EXPECT_EQ(h.Bytes().size(), 43u);
    Paste(std::string(200000, 'x'));  // beyond the insert limit: refused whole
    EXPECT_EQ(h.prompt.beeps, 2);
    EXPECT_EQ(h.Bytes().size(), 43u);
    EXPECT_EQ(h.view.Undo().UndoCount(), 1);
}

TEST_F(HexViewClipboard, PasteDumpReadsCAndColonSeparatedDumps)
{
    Paste("  0x12, 0x34,\r\n0X56", true);
    EXPECT_EQ(Range(0, 4), (Bytes{0x12, 0x34, 0x56, 0}));
    h.view.SetCursorOffset(10, false);
    Paste("ab:cd\xA0" "ef 1", true);
    EXPECT_EQ(Range(10, 5), (Bytes{0xAB, 0xCD, 0xEF, 0x01, 0}));
    h.view.SetCursorOffset(20, false);
    Paste("123", true);  // odd digit count: the last digit is a byte of its own
    EXPECT_EQ(Range(20, 3), (Bytes{0x12, 0x03, 0}));
}

TEST_F(HexViewClipboard, LongCopiesPasteBackWhole)
{
    Bytes bytes(3000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
    bytes.resize(6000, 0);
    h.Load(bytes);
    Select(0, 3000);
    h.view.CopyToClipboard(clipboard);
    h.view.SetCursorOffset(3000, false);
    h.view.PasteFromClipboard(clipboard, false);
    EXPECT_EQ(Range(3000, 3000), Range(0, 3000));

    h.Load(Bytes(2000, 0));
    h.ToTextArea();
    clipboard.text = std::string(1500, 'q');
    h.view.PasteFromClipboard(clipboard, false);
    EXPECT_EQ(Range(0, 1501), [] { Bytes b(1500, 'q'); b.push_back(0); return b; }());
}

TEST_F(HexViewClipboard, BadClipboardTextNeverWritesPastTheEnd)
{
    std::string junk(10 * 1024 * 1024, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131 + 7) % 255 + 1);
    for (bool dump : {false, true}) {
        h.Load(Bytes(40, 0));
        h.view.SetCursorOffset(30, false);
        Paste(junk, dump);
        EXPECT_EQ(h.Bytes().size(), 40u);
        EXPECT_EQ(Range(0, 30), Bytes(30, 0));
        EXPECT_LE(h.view.Undo().UndoCount(), 1);
        h.view.UndoRedo(-1);
        EXPECT_EQ(h.Bytes(), Bytes(40, 0));
    }
    for (const char* text : {"", "   ", "\r\n"}) {
        Paste(text);
        Paste(text, true);
    }
    EXPECT_EQ(h.Bytes(), Bytes(40, 0));
    EXPECT_FALSE(h.view.CanUndo());
    h.Load({});
    Paste("0x1234");
    EXPECT_TRUE(h.Bytes().empty());
}

TEST_F(HexViewClipboard, ReadOnlyViewBeepsOnPasteAndStillCopies)
{
    h.Load({1, 2, 3, 4}, ViewOwnsBuffer);
    Paste("0x55");
    EXPECT_EQ(h.prompt.beeps, 1);
    h.Key('V', KeyFlagCtrl);  // the key of the disabled command answers with the beep too
    EXPECT_EQ(h.prompt.beeps, 2);
    EXPECT_EQ(h.Bytes(), (Bytes{1, 2, 3, 4}));
    Select(0, 2);
    h.view.CopyToClipboard(clipboard);
    EXPECT_EQ(clipboard.text, ":01 02");
}

TEST_F(HexViewClipboard, CopyAsStringEscapesAndKeepsEveryByte)
{
    h.Load({0x41, 0x0A, 0x01, 0x22, 0x5C});
    Select(0, 5);
    h.view.CopyAsCString(clipboard);
    EXPECT_EQ(clipboard.text, "A\\n\\x01\\\"\\\\");

    h.Load(Bytes(100, '\\'));
    Select(0, 100);
    h.view.CopyAsCString(clipboard);
    EXPECT_EQ(clipboard.text->size(), 200u);
}

TEST_F(HexViewClipboard, CopyAsSourceUsesAndStoresTheDialogChoices)
{
    h.Load({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
    FakeSettingsStore user;
    user.WriteDword("CppCopyDlg", "LineSize", 4);
    FakeDialogService dialogs;
    std::string caption, preview;
    dialogs.steps.push_back([&](DialogModel& model) {
        auto& dialog = static_cast<NumberEntryDialog&>(model);
        caption = dialog.Caption();
        EXPECT_EQ(dialog.Number(), 4);
        EXPECT_TRUE(dialog.HasPreview());
        dialog.ChangeValueSize(2);
        dialog.ChangeBigEndian(true);
        return true;
    });
    Select(0, 8);
    h.view.CopyAsSource(clipboard, dialogs, {&user, nullptr}, nullptr);
    EXPECT_EQ(caption, "Kopiere im C++ Format");
    EXPECT_EQ(clipboard.text, "0x0123,0x4567,0x89AB,0xCDEF,\n");
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "ValueSize"), 2u);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "LineSize"), 4u);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "Format"), 0u);

    clipboard.text.reset();
    h.view.CopyAsSource(clipboard, dialogs, {&user, nullptr}, nullptr);  // cancelled
    EXPECT_FALSE(clipboard.text);
}

TEST_F(HexViewClipboard, CutCopiesSayHowMuchWasCopiedAndUnreadableTextBeeps)
{
    RecordingStatusPanes panes;
    h.view.SetStatusPanes(&panes);
    h.Load(Bytes(40000, 'a'));
    Select(0, 32768);
    h.view.CopyAsCString(clipboard);
    EXPECT_TRUE(panes.messages.empty()) << "the whole selection was copied";
    Select(0, 40000);
    h.view.CopyAsCString(clipboard);
    EXPECT_EQ(clipboard.text->size(), 32768u);
    ASSERT_EQ(panes.messages.size(), 1u);
    EXPECT_EQ(panes.messages[0], "Nur 32768 von 40000 Bytes kopiert.");

    h.Load(Bytes((4 << 20) + 1, 0));
    Select(0, (4 << 20) + 1);
    h.view.CopyToClipboard(clipboard);
    ASSERT_EQ(panes.messages.size(), 2u);
    EXPECT_EQ(panes.messages[1], "Nur 4194304 von 4194305 Bytes kopiert.");
    h.view.SetStatusPanes(nullptr);

    // A clipboard that gave no readable text: nothing is written, and the user hears it.
    h.Load(Bytes(4, 0));
    clipboard.text.reset();
    h.view.PasteFromClipboard(clipboard, false);
    EXPECT_EQ(h.prompt.beeps, 1);
    EXPECT_EQ(h.Bytes(), Bytes(4, 0));
}

TEST_F(HexViewClipboard, InsertNumberOverwritesWithTheChosenOrder)
{
    FakeDialogService dialogs;
    auto answer = [&](const char* text, int size, bool bigEndian) {
        dialogs.steps.push_back([=](DialogModel& model) {
            auto& dialog = static_cast<NumberEntryDialog&>(model);
            dialog.ChangeText(text);
            dialog.ChangeValueSize(size);
            dialog.ChangeBigEndian(bigEndian);
            return true;
        });
    };
    h.SetInsertMode(true);  // the number overwrites in insert mode too
    h.view.SetCursorOffset(4, false);
    answer("0x1234", 2, true);
    h.view.InsertNumber(dialogs);
    EXPECT_EQ(Range(3, 4), (Bytes{0, 0x12, 0x34, 0}));
    EXPECT_EQ(h.Bytes().size(), 40u);
    EXPECT_EQ(h.view.Undo().UndoCount(), 1);

    h.view.SetCursorOffset(38, false);
    answer("0x11223344", 4, false);
    h.view.InsertNumber(dialogs);
    EXPECT_EQ(Range(38, 2), (Bytes{0x44, 0x33}));
    EXPECT_EQ(h.Bytes().size(), 40u);

    Select(4, 6);  // the selected bytes are the proposal
    std::string proposed;
    dialogs.steps.push_back([&](DialogModel& model) {
        proposed = static_cast<NumberEntryDialog&>(model).Text();
        return false;
    });
    h.view.InsertNumber(dialogs);
    EXPECT_EQ(proposed, "0x3412");

    h.Load({1, 2, 3, 4}, ViewOwnsBuffer);
    answer("7", 1, false);
    h.view.InsertNumber(dialogs);
    ASSERT_EQ(h.prompt.shown.size(), 1u);
    EXPECT_EQ(h.prompt.shown[0].text, "Die Daten sind schreibgeschützt !");
    EXPECT_EQ(h.Bytes(), (Bytes{1, 2, 3, 4}));
}

}  // namespace
}  // namespace qv::test
