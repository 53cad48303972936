// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/UndoRing.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

void Push(UndoRing& ring, int32_t offset)
{
    UndoRecord& record = ring.Pending();
    record = UndoRecord{};
    record.offset = offset;
    ring.Commit();
}

TEST(UndoRing, EmptyRingHasNothingToUndoOrRedo)
{
    UndoRing ring;
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_FALSE(ring.CanRedo());
    Push(ring, 7);
    EXPECT_TRUE(ring.CanUndo());
    EXPECT_EQ(ring.At(ring.UndoIndex()).offset, 7);
    ring.Clear();
    EXPECT_FALSE(ring.CanUndo());
}

TEST(UndoRing, KeepsTheLast255Steps)
{
    UndoRing ring;
    for (int i = 0; i < 300; ++i) Push(ring, i);
    EXPECT_EQ(ring.UndoCount(), 255);
    int undone = 0;
    while (ring.CanUndo()) {
        EXPECT_EQ(ring.At(ring.UndoIndex()).offset, 299 - undone);
        ring.StepBack();
        ++undone;
    }
    EXPECT_EQ(undone, 255);
    EXPECT_EQ(ring.RedoCount(), 255);
}

TEST(UndoRing, NewStepDropsRedoableSteps)
{
    UndoRing ring;
    for (int i = 0; i < 5; ++i) Push(ring, i);
    ring.StepBack();
    ring.StepBack();
    EXPECT_EQ(ring.RedoCount(), 2);
    ring.At(ring.RedoIndex() + 1).data = {1, 2, 3};
    Push(ring, 42);
    EXPECT_FALSE(ring.CanRedo());
    EXPECT_EQ(ring.UndoCount(), 4);
    EXPECT_EQ(ring.At(ring.UndoIndex()).offset, 42);
    EXPECT_TRUE(ring.At(ring.RedoIndex() + 1).data.empty());  // released
    ring.StepForward();  // walking back over the dropped slot is the caller's error; the ring stays consistent
    EXPECT_EQ(ring.UndoCount(), 5);
}

}  // namespace
}  // namespace qv
