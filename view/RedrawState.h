// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A view's pending redraw request, one 32-bit word: a few flags plus at most one
// "which lines" form. Requests that do not fit one form widen to a form that covers them
// all, at worst to "everything" (so do lines beyond the form's 22 bits: "everything"
// repaints only the visible rows, whatever line they show).
#include <cstdint>

namespace qv {

inline constexpr uint32_t RedrawAll = 0x80000000;
inline constexpr uint32_t RedrawCaret = 0x40000000;       // the caret's position must be refreshed
inline constexpr uint32_t RedrawCursorLine = 0x20000000;
inline constexpr uint32_t RedrawFromOldEnd = 0x10000000;  // from the end of the old text on
inline constexpr uint32_t RedrawLineBeforeCursor = 0x08000000;
inline constexpr uint32_t RedrawLineRun = 0x04000000;     // first line bits 0-16, count bits 17-21
inline constexpr uint32_t RedrawFromLine = 0x02000000;    // line bits 0-21 to the end
inline constexpr uint32_t RedrawOneLine = 0x01000000;     // line bits 0-21
inline constexpr uint32_t RedrawBatch = 0x00400000;       // an update batch is open: draw when it closes

inline constexpr uint32_t kRedrawLineMask = 0x003FFFFF;
inline constexpr uint32_t kRedrawRunFirstMask = 0x0001FFFF;
inline constexpr int32_t kRedrawRunMaxCount = 31;

class RedrawState {
public:
    RedrawState() = default;
    explicit RedrawState(uint32_t bits) : bits_(bits) {}

    uint32_t Bits() const { return bits_; }
    // Something to draw (the batch flag alone is not).
    bool Pending() const { return (bits_ & ~RedrawBatch) != 0; }
    bool InBatch() const { return (bits_ & RedrawBatch) != 0; }
    bool All() const { return (bits_ & RedrawAll) != 0; }

    void RequestAll() { Merge(RedrawAll); }
    void RequestLine(int64_t line);
    void RequestLines(int64_t first, int64_t count);
    void RequestFrom(int64_t line);
    // Merges another request word (flags and at most one lines form).
    void Merge(uint32_t request);

    void SetBatch(bool on);
    // Forgets the request, keeping an open batch.
    void Clear() { bits_ &= RedrawBatch; }

    // The lines of the "which lines" form as [first, last] (last = INT64_MAX: to the
    // end); false when the word holds no such form.
    bool LineRange(int64_t& first, int64_t& last) const;

private:
    void MergeRange(int64_t first, int64_t last);

    uint32_t bits_ = 0;
};

}  // namespace qv
