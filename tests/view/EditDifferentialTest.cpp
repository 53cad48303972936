// SPDX-License-Identifier: GPL-3.0-or-later
// Drives long random sequences of moves, typing, inserts, deletes, undos and redos against
// the hex view and against a plain reference model, comparing after every step.
#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "tests/view/HexViewTesting.h"

namespace qv::test {
namespace {

constexpr int32_t kRow = 16;

// The reference: a byte vector, a cursor (offset and digit), and a history of whole
// snapshots (at most 255 steps) instead of the view's ring of exchanged bytes. The changed
// mark is judged by content: it is clear exactly when the bytes equal the saved ones and
// every state on the way back to the saved state did too.
class ReferenceEditor {
public:
    struct Step {
        std::vector<uint8_t> before;
        std::vector<uint8_t> after;
        int32_t offset;
        int digit;  // 0 text, 2 high nibble, 3 low nibble (as typed)
    };

    std::vector<uint8_t> bytes;
    int32_t offset = 0;
    bool second = false;
    bool text = false;
    bool insert = false;
    int beeps = 0;
    std::vector<uint8_t> saved;  // the bytes in the file

    // The file holds what the user sees now: the bytes are written out.
    void Save()
    {
        saved = bytes;
        savedAt_ = static_cast<long>(current_);
    }

    // Whether the view must show the changed mark. Stepping through the history from the
    // saved state to the current one must never leave the saved bytes; a saved state that
    // fell out of the history (overflow, or dropped redo steps) cannot be reached again.
    bool Modified() const
    {
        if (savedAt_ < 0) return true;
        const size_t from = std::min(static_cast<size_t>(savedAt_), current_);
        const size_t to = std::max(static_cast<size_t>(savedAt_), current_);
        for (size_t i = from; i < to; ++i)
            if (steps_[i].before != saved || steps_[i].after != saved) return true;
        return bytes != saved;
    }

    int32_t Length() const { return static_cast<int32_t>(bytes.size()); }

    // Where a move ends that ran past the last byte (or before the first).
    void Settle()
    {
        if (offset >= Length()) {
            if (insert) {
                offset = Length();
                second = false;
            } else {
                offset = Length() - 1;
                second = !text;
            }
        }
        if (offset < 0) {
            offset = 0;
            second = false;
        }
    }

    void Right()
    {
        if (text) {
            ++offset;
        } else if (offset >= Length()) {
            second = false;  // the position after the last byte has one digit
        } else if (!second) {
            second = true;
        } else {
            ++offset;
            second = false;
        }
        Settle();
    }

    void Left()
    {
        if (!text && second) {
            second = false;
        } else if (offset == 0) {
            second = false;
        } else {
            --offset;
            second = !text;
        }
        Settle();
    }

    void Vertical(int rows)
    {
        offset += rows * kRow;
        Settle();
    }

    void GoTo(int32_t target)
    {
        offset = std::clamp(target, 0, std::max(Length() - 1, 0));
        second = false;
    }

    void TypeHex(int value)
    {
        if (insert && !second) bytes.insert(bytes.begin() + offset, 0);
        if (offset >= Length()) {
            ++beeps;
            return;
        }
        const std::vector<uint8_t> old = Snapshot(insert && !second);
        uint8_t& b = bytes[static_cast<size_t>(offset)];
        const uint8_t edited =
            second ? static_cast<uint8_t>((b & 0xF0) | value) : static_cast<uint8_t>((value << 4) | (b & 0x0F));
        b = edited;
        Push(old, second ? 3 : 2);
        Right();
    }

    void TypeText(uint8_t c)
    {
        if (insert) {
            bytes.insert(bytes.begin() + offset, 0);
        } else if (offset >= Length()) {
            ++beeps;
            return;
        }
        const std::vector<uint8_t> old = Snapshot(insert);
        uint8_t& b = bytes[static_cast<size_t>(offset)];
        b = c;
        Push(old, 0);
        Right();
    }

    void Backspace()
    {
        if (!insert) return Left();
        const int32_t start = (text || !second) ? offset - 1 : offset;
        if (start < 0 || start >= Length()) {
            ++beeps;
            return;
        }
        const std::vector<uint8_t> old = bytes;
        bytes.erase(bytes.begin() + start);
        Push(old, text ? 0 : (second ? 3 : 2), start);
        offset = start;
        second = false;
        Settle();
    }

    void Delete()
    {
        if (text || !second) Right();
        Backspace();
    }

    void Tab()
    {
        text = !text;
        second = false;
    }

    void SetInsert(bool on)
    {
        insert = on;
        Settle();
    }

    bool Undo()
    {
        if (current_ == 0) return false;
        Step& step = steps_[--current_];
        bytes = step.before;
        PlaceAfter(step.offset, step.digit == 3 ? 1 : 0);
        return true;
    }

    bool Redo()
    {
        if (current_ == steps_.size()) return false;
        Step& step = steps_[current_++];
        bytes = step.after;
        PlaceAfter(step.offset, step.digit == 2 ? 1 : step.digit == 3 ? 2 : 0);
        return true;
    }

private:
    // The block before the edit at the cursor; an insertion is undone from the grown block.
    std::vector<uint8_t> Snapshot(bool inserted) const
    {
        std::vector<uint8_t> old = bytes;
        if (inserted) old.erase(old.begin() + offset);
        return old;
    }

    void Push(const std::vector<uint8_t>& old, int digit, int32_t at = -1)
    {
        if (savedAt_ > static_cast<long>(current_)) savedAt_ = -1;  // its redo steps are gone
        steps_.resize(current_);
        steps_.push_back({old, bytes, at >= 0 ? at : offset, digit});
        if (steps_.size() > 255) {
            steps_.pop_front();
            savedAt_ = savedAt_ > 0 ? savedAt_ - 1 : -1;
        }
        current_ = steps_.size();
    }

    void PlaceAfter(int32_t target, int rightMoves)
    {
        GoTo(target);
        if (text) return;
        for (int i = 0; i < rightMoves; ++i) Right();
    }

    std::deque<Step> steps_;
    size_t current_ = 0;
    long savedAt_ = 0;  // history position of the saved state; -1 when it cannot be reached
};

class EditDifferential : public testing::TestWithParam<uint32_t> {};

TEST_P(EditDifferential, ViewMatchesReferenceModel)
{
    std::mt19937 random(GetParam());
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };

    HexViewHarness h;
    ReferenceEditor model;
    model.bytes.resize(static_cast<size_t>(20 + pick(60)));
    for (uint8_t& b : model.bytes) b = static_cast<uint8_t>(pick(256));
    h.Load(model.bytes);
    model.Save();

    static const char kHex[] = "0123456789abcdefABCDEF";
    for (int step = 0; step < 10000; ++step) {
        const int action = pick(100);
        std::string what;
        if (action < 12) {
            what = "right";
            h.Key(KeyRight);
            model.Right();
        } else if (action < 22) {
            what = "left";
            h.Key(KeyLeft);
            model.Left();
        } else if (action < 27) {
            what = "down";
            h.Key(KeyDown);
            model.Vertical(1);
        } else if (action < 32) {
            what = "up";
            h.Key(KeyUp);
            model.Vertical(-1);
        } else if (action < 36) {
            const int32_t target = pick(model.Length() + 3);
            what = "goto " + std::to_string(target);
            h.view.SetCursorOffset(static_cast<uint32_t>(target), false);
            model.GoTo(target);
        } else if (action < 58) {
            if (model.text) {
                const uint8_t c = static_cast<uint8_t>(0x20 + pick(0xE0));
                what = "text " + std::to_string(c);
                h.view.HandleChar(c, 1, 0);
                model.TypeText(c);
            } else {
                const char c = kHex[pick(22)];
                what = std::string("hex ") + c;
                h.view.HandleChar(static_cast<uint8_t>(c), 1, 0);
                const int value = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
                model.TypeHex(value);
            }
        } else if (action < 66) {
            what = "backspace";
            h.view.HandleChar(KeyBack, 1, 0);
            model.Backspace();
        } else if (action < 72) {
            what = "delete";
            h.Key(KeyDelete);
            model.Delete();
        } else if (action < 82) {
            what = "undo";
            EXPECT_EQ(h.view.UndoRedo(-1), model.Undo());
        } else if (action < 89) {
            what = "redo";
            EXPECT_EQ(h.view.UndoRedo(+1), model.Redo());
        } else if (action < 93) {
            what = "tab";
            h.view.HandleChar(KeyTab, 1, 0);
            if (h.view.ActiveArea() == AreaAddress) h.view.HandleChar(KeyTab, 1, 0);
            model.Tab();
        } else if (action < 96) {
            what = "insert key";
            h.Key(KeyInsert);
            model.SetInsert(!model.insert);
        } else {
            what = "save";
            h.view.SetModified(false);
            model.Save();
        }

        ASSERT_EQ(h.Bytes(), model.bytes) << "step " << step << " " << what;
        ASSERT_EQ(h.view.Length(), model.Length()) << "step " << step << " " << what;
        ASSERT_EQ(h.view.CursorOffset(), model.offset) << "step " << step << " " << what;
        ASSERT_EQ(h.view.OnSecondDigit(), model.second) << "step " << step << " " << what;
        // The mark may never claim "unchanged" while the bytes differ from the file.
        if (h.Bytes() != model.saved) {
            ASSERT_TRUE(h.view.IsModified()) << "step " << step << " " << what;
        }
        ASSERT_EQ(h.view.IsModified() != 0, model.Modified()) << "step " << step << " " << what;
        ASSERT_EQ(h.prompt.beeps, model.beeps) << "step " << step << " " << what;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditDifferential, testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace qv::test
