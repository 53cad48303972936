// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tests/view/HexViewTesting.h"

namespace qv::test {
namespace {

class HexViewEdit : public testing::Test {
protected:
    void SetUp() override { h.Load(std::vector<uint8_t>(40, 0)); }
    HexViewHarness h;
};

TEST_F(HexViewEdit, TwoHexDigitsOverwriteOneByte)
{
    h.Type("A5");
    EXPECT_EQ(h.Bytes()[0], 0xA5);
    EXPECT_EQ(h.Bytes().size(), 40u);
    EXPECT_EQ(h.view.CursorOffset(), 1);
    EXPECT_EQ(h.view.FirstDigit(), 1);
    EXPECT_FALSE(h.view.OnSecondDigit());
    EXPECT_TRUE(h.view.IsModified());
}

TEST_F(HexViewEdit, InvalidCharactersBeepAndChangeNothing)
{
    h.Type("g");
    h.view.HandleChar(0x07, 1, 0);
    EXPECT_EQ(h.prompt.beeps, 2);
    EXPECT_EQ(h.Bytes(), std::vector<uint8_t>(40, 0));
    EXPECT_FALSE(h.view.IsModified());
    EXPECT_FALSE(h.view.CanUndo());
}

TEST_F(HexViewEdit, InsertModeTypingInsertsAByte)
{
    h.SetInsertMode(true);
    EXPECT_EQ(h.view.CaretMode(), CaretShown | CaretThin);
    h.view.SetCursorOffset(3, false);
    h.Type("7");
    EXPECT_EQ(h.Bytes().size(), 41u);
    EXPECT_EQ(h.Bytes()[3], 0x70);
    EXPECT_TRUE(h.view.OnSecondDigit());
    h.Type("1");  // the second digit overwrites the low nibble
    EXPECT_EQ(h.Bytes()[3], 0x71);
    EXPECT_EQ(h.Bytes().size(), 41u);
    EXPECT_EQ(h.view.CursorOffset(), 4);
}

TEST_F(HexViewEdit, TextTypingOverwritesAndInserts)
{
    h.ToTextArea();
    h.Type("Hi");
    EXPECT_EQ(h.Bytes()[0], 'H');
    EXPECT_EQ(h.Bytes()[1], 'i');
    EXPECT_EQ(h.view.CursorOffset(), 2);
    h.SetInsertMode(true);
    h.view.SetCursorOffset(1, false);
    h.Type("\xE4");
    EXPECT_EQ(h.Bytes().size(), 41u);
    EXPECT_EQ(h.Bytes()[1], 0xE4);
    EXPECT_EQ(h.Bytes()[2], 'i');
}

TEST_F(HexViewEdit, TypingAtTheEndAppendsInInsertModeOnly)
{
    h.ToTextArea();
    h.view.SetCursorOffset(39, false);
    h.Type("xy");
    EXPECT_EQ(h.Bytes().size(), 40u);
    EXPECT_EQ(h.Bytes()[39], 'y');
    EXPECT_EQ(h.prompt.beeps, 0);

    h.SetInsertMode(true);
    h.Key(KeyRight);
    EXPECT_EQ(h.view.CursorOffset(), 40);
    h.Type("z");
    EXPECT_EQ(h.Bytes().size(), 41u);
    EXPECT_EQ(h.Bytes()[40], 'z');
    EXPECT_EQ(h.view.CursorOffset(), 41);

    // Insert mode off while after the last byte: back onto the last byte.
    h.SetInsertMode(false);
    EXPECT_EQ(h.view.CursorOffset(), 40);
    EXPECT_EQ(h.view.CaretMode(), CaretShown);
}

TEST_F(HexViewEdit, TypingOnLimitedLastByteActsOnTheShownDigit)
{
    h.view.SetCursorOffset(39, false);
    h.Key(KeyRight);
    h.Key(KeyRight);  // limited: the caret stays on the second digit of the last byte
    EXPECT_EQ(h.view.CursorOffset(), 39);
    EXPECT_EQ(h.view.FirstDigit(), 1);
    EXPECT_TRUE(h.view.OnSecondDigit());
    h.Type("7");
    EXPECT_EQ(h.Bytes()[39], 0x07);
}

TEST_F(HexViewEdit, BackspaceAtStartBeepsInInsertMode)
{
    h.SetInsertMode(true);
    h.view.HandleChar(KeyBack, 1, 0);
    EXPECT_EQ(h.prompt.beeps, 1);
    EXPECT_EQ(h.Bytes().size(), 40u);
    EXPECT_FALSE(h.view.CanUndo());
}

TEST_F(HexViewEdit, BackspaceWithoutInsertModeMovesLeft)
{
    h.view.SetCursorOffset(5, false);
    h.view.HandleChar(KeyBack, 1, 0);
    EXPECT_EQ(h.Bytes().size(), 40u);
    EXPECT_EQ(h.view.CursorOffset(), 4);
    EXPECT_TRUE(h.view.OnSecondDigit());
}

TEST_F(HexViewEdit, BackspaceAndDeleteRemoveBytes)
{
    h.Load(CountingBytes(40));
    h.SetInsertMode(true);
    h.view.SetCursorOffset(10, false);
    h.view.HandleChar(KeyBack, 1, 0);  // removes byte 9
    EXPECT_EQ(h.Bytes().size(), 39u);
    EXPECT_EQ(h.Bytes()[9], 10);
    EXPECT_EQ(h.view.CursorOffset(), 9);
    h.Key(KeyDelete);  // removes the byte under the cursor (10)
    EXPECT_EQ(h.Bytes().size(), 38u);
    EXPECT_EQ(h.Bytes()[9], 11);
    EXPECT_EQ(h.view.CursorOffset(), 9);

    h.ToTextArea();
    h.Key(KeyDelete);
    EXPECT_EQ(h.Bytes()[9], 12);
    EXPECT_EQ(h.view.CursorOffset(), 9);
}

TEST_F(HexViewEdit, UndoOfDeletedSelectionRestoresBytesAndLength)
{
    h.Load(CountingBytes(40));
    h.SetInsertMode(true);
    h.view.SetCursorOffset(5, false);
    h.view.SelectTo(15, false);
    h.view.HandleChar(KeyBack, 1, 0);
    EXPECT_EQ(h.Bytes().size(), 30u);
    EXPECT_EQ(h.Bytes()[5], 15);
    ASSERT_TRUE(h.view.UndoRedo(-1));
    EXPECT_EQ(h.Bytes(), CountingBytes(40));
    EXPECT_EQ(h.view.CursorOffset(), 5);
    EXPECT_FALSE(h.view.IsModified());
    ASSERT_TRUE(h.view.UndoRedo(+1));
    EXPECT_EQ(h.Bytes().size(), 30u);
    EXPECT_TRUE(h.view.IsModified());
}

TEST_F(HexViewEdit, UndoRedoPlaceCursorOnTheEditedDigit)
{
    h.view.SetCursorOffset(4, false);
    h.Type("3");  // high nibble of byte 4; the caret moves to its second digit
    h.Type("C");  // low nibble; the caret moves to byte 5
    ASSERT_EQ(h.Bytes()[4], 0x3C);
    h.view.UndoRedo(-1);
    EXPECT_EQ(h.Bytes()[4], 0x30);
    EXPECT_EQ(h.view.CursorOffset(), 4);
    EXPECT_TRUE(h.view.OnSecondDigit());
    h.view.UndoRedo(-1);
    EXPECT_EQ(h.Bytes()[4], 0x00);
    EXPECT_FALSE(h.view.OnSecondDigit());
    EXPECT_FALSE(h.view.IsModified());
    h.view.UndoRedo(+1);
    EXPECT_EQ(h.Bytes()[4], 0x30);
    EXPECT_TRUE(h.view.OnSecondDigit());
    h.view.UndoRedo(+1);
    EXPECT_EQ(h.Bytes()[4], 0x3C);
    EXPECT_EQ(h.view.CursorOffset(), 5);
    EXPECT_FALSE(h.view.CanRedo());
}

TEST_F(HexViewEdit, RingKeepsLast255StepsAndChangedMarkAfterOverflow)
{
    h.ToTextArea();
    for (int i = 0; i < 300; ++i) {
        h.view.SetCursorOffset(static_cast<uint32_t>(i % 40), false);
        h.Type(std::string(1, static_cast<char>('a' + i % 26)));
    }
    int undone = 0;
    while (h.view.UndoRedo(-1)) ++undone;
    EXPECT_EQ(undone, 255);
    EXPECT_TRUE(h.view.IsModified());
    // The 45 oldest edits stay: offsets 0..39 and 0..4 of the first round.
    EXPECT_EQ(h.Bytes()[0], 'a' + 40 % 26);
    EXPECT_EQ(h.Bytes()[5], 'a' + 5);
}

TEST_F(HexViewEdit, UndoingEverythingOfFreshFileClearsChangedMark)
{
    h.Type("12");
    h.ToTextArea();
    h.Type("ab");
    ASSERT_TRUE(h.view.IsModified());
    while (h.view.UndoRedo(-1)) {
    }
    EXPECT_FALSE(h.view.IsModified());
    EXPECT_EQ(h.Bytes(), std::vector<uint8_t>(40, 0));
}

TEST_F(HexViewEdit, ChangedMarkFollowsTheSavePoint)
{
    h.Type("1");
    h.view.SetModified(false);  // saved with the first edit
    h.Type("2");
    h.view.UndoRedo(-1);
    EXPECT_FALSE(h.view.IsModified());  // back at the saved bytes
    h.view.UndoRedo(-1);
    EXPECT_TRUE(h.view.IsModified());   // undone past the save: differs from the file
    h.view.UndoRedo(+1);
    EXPECT_FALSE(h.view.IsModified());  // redone back to the save point
    h.view.UndoRedo(+1);
    EXPECT_TRUE(h.view.IsModified());

    // A new edit after undoing past the save point drops the way back to it.
    h.view.UndoRedo(-1);
    h.view.UndoRedo(-1);
    h.Type("7");
    h.view.UndoRedo(-1);
    EXPECT_TRUE(h.view.IsModified());
    EXPECT_EQ(h.Bytes()[0], 0x00);  // the saved file holds 0x10 here

    // Typing a byte's own value leaves the file's bytes as they are.
    h.Load(std::vector<uint8_t>(4, 0x33));
    h.Type("3");
    EXPECT_FALSE(h.view.IsModified());
    h.view.UndoRedo(-1);
    h.view.UndoRedo(+1);
    EXPECT_FALSE(h.view.IsModified());
}

TEST_F(HexViewEdit, SavePointLostByRingOverflowKeepsTheMark)
{
    h.ToTextArea();
    // 255 steps after the save still reach it; one more pushes it out of the ring.
    for (int steps : {255, 256}) {
        h.Load(std::vector<uint8_t>(40, 0));
        h.Type("s");
        h.view.SetModified(false);
        for (int i = 0; i < steps; ++i) {
            h.view.SetCursorOffset(static_cast<uint32_t>(1 + i % 30), false);
            h.Type(std::string(1, static_cast<char>('a' + i % 26)));
        }
        while (h.view.UndoRedo(-1)) {
        }
        EXPECT_EQ(h.view.IsModified() != 0, steps == 256) << steps;
        EXPECT_EQ(h.Bytes()[0], 's');
    }
}

TEST_F(HexViewEdit, NewEditDropsRedo)
{
    h.Type("11");
    h.view.UndoRedo(-1);
    ASSERT_TRUE(h.view.CanRedo());
    h.Type("2");
    EXPECT_FALSE(h.view.CanRedo());
}

TEST_F(HexViewEdit, ReadOnlyViewIgnoresEdits)
{
    h.Load(std::vector<uint8_t>(8, 0), ViewOwnsBuffer);
    EXPECT_NE(h.view.QueryHexFlags() & FlagReadOnly, 0u);
    h.Type("ff");
    h.ToTextArea();
    h.Type("x");
    EXPECT_EQ(h.Bytes(), std::vector<uint8_t>(8, 0));
    EXPECT_FALSE(h.view.InsertBytes(0, 1));
    EXPECT_FALSE(h.view.DeleteBytes(0, 1));
    EXPECT_EQ(h.view.RecordOverwrite(0, 4, false), 0);
    EXPECT_FALSE(h.view.CanUndo());
    EXPECT_EQ(h.prompt.beeps, 0);
}

TEST_F(HexViewEdit, InsertAndDeleteLimits)
{
    EXPECT_FALSE(h.view.InsertBytes(-1, 1));
    EXPECT_FALSE(h.view.InsertBytes(41, 1));
    EXPECT_FALSE(h.view.InsertBytes(0, 0));
    EXPECT_FALSE(h.view.InsertBytes(0, kInsertLimit + 1));
    EXPECT_TRUE(h.view.InsertBytes(40, 2));
    EXPECT_EQ(h.view.Length(), 42);
    EXPECT_EQ(h.view.LineCount(), 3);
    EXPECT_FALSE(h.view.DeleteBytes(42, 1));
    EXPECT_TRUE(h.view.DeleteBytes(30, 100));  // limited to the end
    EXPECT_EQ(h.view.Length(), 30);
    EXPECT_EQ(h.view.LineCount(), 2);
}

TEST_F(HexViewEdit, InsertionBeyondLimitBeeps)
{
    h.Load(std::vector<uint8_t>(kInsertLimit, 0));
    h.SetInsertMode(true);
    ASSERT_TRUE(h.view.InsertActive());
    h.view.SetCursorOffset(kInsertLimit - 1, false);
    h.Key(KeyRight);
    h.Key(KeyRight);
    ASSERT_EQ(h.view.CursorOffset(), kInsertLimit);
    h.Type("5");
    EXPECT_EQ(h.prompt.beeps, 1);
    EXPECT_EQ(h.view.Length(), kInsertLimit);
}

TEST_F(HexViewEdit, FailedReinsertionChangesNothingAndStays)
{
    // Grow past the limit by inserting at the start, then delete the very last byte.
    h.Load(std::vector<uint8_t>(kInsertLimit, 0x11));
    h.SetInsertMode(true);
    h.Type("2");
    ASSERT_EQ(h.view.Length(), kInsertLimit + 1);
    h.view.SetCursorOffset(kInsertLimit, false);
    h.Key(KeyDelete);
    ASSERT_EQ(h.view.Length(), kInsertLimit);
    const std::vector<uint8_t> before = h.Bytes();

    EXPECT_FALSE(h.view.UndoRedo(-1));
    EXPECT_EQ(h.prompt.beeps, 1);
    EXPECT_EQ(h.Bytes(), before);
    EXPECT_TRUE(h.view.CanUndo());
    EXPECT_EQ(h.view.Undo().UndoCount(), 2);
}

TEST_F(HexViewEdit, RecordOverwriteSavesBytesForUndo)
{
    h.Load(CountingBytes(40), HexViewHarness::kEditable, 0x100);
    EXPECT_EQ(h.view.RecordOverwrite(0x100 + 38, 5, true), 2);
    EXPECT_EQ(h.view.RecordOverwrite(-2, 5, false), 3);
    EXPECT_EQ(h.view.RecordOverwrite(40, 1, false), 0);
    int64_t length = 0;
    uint8_t* data = h.view.GetBuffer(&length, nullptr);
    data[0] = data[1] = data[2] = 0xEE;
    h.view.UndoRedo(-1);
    EXPECT_EQ(h.Bytes(), CountingBytes(40));
}

TEST_F(HexViewEdit, NewBlockClearsUndoAndSetsCaret)
{
    h.Type("1");
    h.Load(std::vector<uint8_t>(4, 0), ViewWritable | ViewOwnsBuffer | InsertAllowed | InsertOn);
    EXPECT_FALSE(h.view.CanUndo());
    EXPECT_EQ(h.view.CaretMode(), CaretShown | CaretThin);
    h.view.SetInsertAllowed(-1, 0);
    EXPECT_EQ(h.view.CaretMode(), CaretShown);
    h.view.SetInsertAllowed(-1, 32);
    EXPECT_EQ(h.view.CaretMode(), CaretShown | CaretThin);
}


// Replays every change the view announces on its own copy of the bytes, reading the
// bytes about to go from the view's block as a journal would.
class ReplayingListener : public IByteEditListener {
public:
    ReplayingListener(CHexView& view, std::vector<uint8_t> start) : bytes(std::move(start)), view_(view) {}
    void OnBytesChanging(const ByteEdit& edit) override
    {
        const uint8_t* block = view_.GetBuffer(nullptr, nullptr);
        const auto at = static_cast<ptrdiff_t>(edit.offset);
        EXPECT_TRUE(std::equal(block + at, block + at + edit.removedCount, bytes.begin() + at));
        bytes.erase(bytes.begin() + at, bytes.begin() + at + edit.removedCount);
        const std::vector<uint8_t> inserted =
            edit.inserted ? std::vector<uint8_t>(edit.inserted, edit.inserted + edit.insertedCount)
                          : std::vector<uint8_t>(static_cast<size_t>(edit.insertedCount), 0);
        bytes.insert(bytes.begin() + at, inserted.begin(), inserted.end());
        ++changes;
    }
    std::vector<uint8_t> bytes;
    int changes = 0;

private:
    CHexView& view_;
};

TEST_F(HexViewEdit, EditListenerHearsEveryChangeOnceAndInOrder)
{
    h.Load(CountingBytes(40));
    ReplayingListener listener(h.view, CountingBytes(40));
    h.view.SetEditListener(&listener);
    h.SetInsertMode(true);
    h.view.SetCursorOffset(3, false);
    h.Type("7a5");
    EXPECT_EQ(listener.bytes, h.Bytes());
    h.view.SelectTo(20, false);
    h.view.HandleChar(KeyBack, 1, 0);
    EXPECT_EQ(listener.bytes, h.Bytes());
    h.SetInsertMode(false);
    h.Type("c");
    EXPECT_EQ(listener.bytes, h.Bytes());

    // Undoing an insert takes its bytes out: a single change, however they were typed.
    while (h.view.UndoRedo(-1)) EXPECT_EQ(listener.bytes, h.Bytes());
    EXPECT_EQ(h.Bytes(), CountingBytes(40));
    while (h.view.UndoRedo(+1)) EXPECT_EQ(listener.bytes, h.Bytes());
    listener.changes = 0;
    ASSERT_TRUE(h.view.UndoRedo(-1));  // the overwrite
    ASSERT_TRUE(h.view.UndoRedo(-1));  // the deletion of the selection
    const int beforeInsertUndo = listener.changes;
    ASSERT_TRUE(h.view.UndoRedo(-1));  // the inserted byte of "5"
    EXPECT_EQ(listener.changes, beforeInsertUndo + 1);
    EXPECT_EQ(listener.bytes, h.Bytes());
    h.view.SetEditListener(nullptr);
}
}  // namespace
}  // namespace qv::test
