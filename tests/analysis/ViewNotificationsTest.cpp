// SPDX-License-Identifier: GPL-3.0-or-later
// What the inspector and the entropy strip learn from the hex view: every move of the cursor
// to another byte, and every edit step with the bytes it touched.
#include <gtest/gtest.h>

#include <array>

#include "tests/view/HexViewTesting.h"

namespace qv {
namespace {

using Triple = std::array<int64_t, 3>;

Triple Values(const test::RecordedNotification& n)
{
    return {n.a, n.b, n.c};
}

class ViewNotifications : public ::testing::Test {
protected:
    void SetUp() override
    {
        h.Load(test::CountingBytes(64));
        h.view.SetEvents(&events);
    }

    std::vector<test::RecordedNotification> Take(int code)
    {
        std::vector<test::RecordedNotification> taken;
        for (const auto& n : events.seen)
            if (n.code == code) taken.push_back(n);
        events.seen.clear();
        return taken;
    }

    test::HexViewHarness h;
    test::RecordingEvents events;
};

TEST_F(ViewNotifications, EveryMoveToAnotherByteIsToldOnce)
{
    h.Key(KeyRight);  // the second digit of byte 0
    EXPECT_TRUE(Take(NotifyCursorOffsetChanged).empty());
    h.Key(KeyRight);
    auto moves = Take(NotifyCursorOffsetChanged);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].a, 1);
    h.view.SetCursorOffset(40, false);  // also the moves that tell no selection change
    moves = Take(NotifyCursorOffsetChanged);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].a, 40);
    h.view.ScrollToOffset(32, false);
    EXPECT_TRUE(Take(NotifyCursorOffsetChanged).empty());
}

TEST_F(ViewNotifications, EditStepsTellTheirBytesAndWhetherTheRestMoved)
{
    h.view.SetCursorOffset(5, false);
    h.Type("A");
    auto edits = Take(NotifyBytesEdited);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(Values(edits[0]), (Triple{5, 1, 0}));

    const uint8_t bytes[3] = {1, 2, 3};
    h.view.OverwriteBytes(10, bytes, 3);
    edits = Take(NotifyBytesEdited);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(Values(edits[0]), (Triple{10, 3, 0}));

    h.SetInsertMode(true);
    h.view.SetCursorOffset(20, false);
    h.Type("7");
    edits = Take(NotifyBytesEdited);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(Values(edits[0]), (Triple{20, 1, 1}));

    ASSERT_TRUE(h.view.UndoRedo(-1));  // the insert taken back
    edits = Take(NotifyBytesEdited);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(Values(edits[0]), (Triple{20, 1, 1}));
    ASSERT_TRUE(h.view.UndoRedo(-1));  // the overwrite taken back
    edits = Take(NotifyBytesEdited);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(Values(edits[0]), (Triple{10, 3, 0}));
}

}  // namespace
}  // namespace qv
