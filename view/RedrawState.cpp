// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/RedrawState.h"

#include <algorithm>
#include <limits>

namespace qv {

namespace {

constexpr uint32_t kFormBits = RedrawLineRun | RedrawFromLine | RedrawOneLine;
constexpr int64_t kToEnd = std::numeric_limits<int64_t>::max();

// Decodes the lines form of a word; false when it has none.
bool DecodeRange(uint32_t bits, int64_t& first, int64_t& last)
{
    switch (bits & kFormBits) {
    case RedrawOneLine:
        first = last = bits & kRedrawLineMask;
        return true;
    case RedrawFromLine:
        first = bits & kRedrawLineMask;
        last = kToEnd;
        return true;
    case RedrawLineRun: {
        first = bits & kRedrawRunFirstMask;
        int64_t count = std::max<int64_t>(1, (bits >> 17) & 0x1F);
        last = first + count - 1;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace

void RedrawState::RequestLine(int64_t line)
{
    MergeRange(line, line);
}

void RedrawState::RequestLines(int64_t first, int64_t count)
{
    if (count <= 0) return;
    MergeRange(first, first + count - 1);
}

void RedrawState::RequestFrom(int64_t line)
{
    MergeRange(line, kToEnd);
}

void RedrawState::Merge(uint32_t request)
{
    uint32_t form = request & kFormBits;
    bits_ |= request & ~kFormBits & ~(kRedrawLineMask);
    if (form == 0) {
        // nothing more
    } else if (form != RedrawOneLine && form != RedrawFromLine && form != RedrawLineRun) {
        bits_ |= RedrawAll;  // two forms in one word: no single form holds them
    } else {
        int64_t first = 0;
        int64_t last = 0;
        DecodeRange(request, first, last);
        MergeRange(first, last);
    }
    if (bits_ & RedrawAll) bits_ &= ~(kFormBits | kRedrawLineMask);
}

void RedrawState::SetBatch(bool on)
{
    if (on)
        bits_ |= RedrawBatch;
    else
        bits_ &= ~RedrawBatch;
}

bool RedrawState::LineRange(int64_t& first, int64_t& last) const
{
    return DecodeRange(bits_, first, last);
}

void RedrawState::MergeRange(int64_t first, int64_t last)
{
    if (bits_ & RedrawAll) return;
    first = std::max<int64_t>(first, 0);
    if (last < first) return;
    int64_t oldFirst = 0;
    int64_t oldLast = 0;
    if (DecodeRange(bits_, oldFirst, oldLast)) {
        first = std::min(first, oldFirst);
        last = std::max(last, oldLast);
    }
    bits_ &= ~(kFormBits | kRedrawLineMask);
    if (first > static_cast<int64_t>(kRedrawLineMask)) {
        bits_ |= RedrawAll;
    } else if (last >= kToEnd) {
        bits_ |= RedrawFromLine | static_cast<uint32_t>(first);
    } else if (first == last) {
        bits_ |= RedrawOneLine | static_cast<uint32_t>(first);
    } else if (last - first + 1 <= kRedrawRunMaxCount && first <= static_cast<int64_t>(kRedrawRunFirstMask)) {
        bits_ |= RedrawLineRun | static_cast<uint32_t>(first) | static_cast<uint32_t>(last - first + 1) << 17;
    } else {
        // Too long for a run: drawing on to the end covers it.
        bits_ |= RedrawFromLine | static_cast<uint32_t>(first);
    }
}

}  // namespace qv
