// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the search commands need of the hex view: its bytes, cursor and selection, the
// highlight marks and the row layout for scrolling. The Qt layer implements it over
// CHexView; tests use a fake.
#include <cstdint>
#include <optional>

#include "view/ByteSource.h"

namespace qv {

class ISearchTarget {
public:
    virtual ~ISearchTarget() = default;

    // The document's bytes; a search reads them on the runner's thread.
    virtual const IByteSource& Bytes() const = 0;
    virtual int64_t CursorOffset() const = 0;

    struct Range {
        int64_t lowest = 0;   // first byte
        int64_t highest = 0;  // last byte (inclusive)
    };
    // The selected bytes, whichever way the selection was made; nothing without one.
    virtual std::optional<Range> Selection() const = 0;

    // Moves the cursor without a selection and scrolls it into view.
    virtual void SetCursorOffset(int64_t offset) = 0;
    // Selects from the cursor up to (not including) the offset.
    virtual void SelectTo(int64_t offset) = 0;
    // Highlight marks 1 to 8 by index 0..7; length 0 clears one, index -2 clears all.
    virtual void SetMark(int index, int64_t start, int64_t length) = 0;

    struct Rows {
        int bytesPerRow = 16;
        int rowPhase = 0;             // row alignment: offset o lies in line (o + rowPhase) / bytesPerRow
        int64_t topLine = 0;
        int fullyVisibleLines = 1;
    };
    virtual Rows RowLayout() const = 0;
    // Makes the row that starts at this offset the top row.
    virtual void ScrollToOffset(int64_t offset) = 0;
};

}  // namespace qv
