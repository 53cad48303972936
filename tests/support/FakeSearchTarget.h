// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A hex view stand-in for the search commands: bytes, cursor, selection, marks 1 to 8,
// the row layout, and a record of scrolling.
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "search/SearchTarget.h"

namespace qv::test {

class FakeSearchTarget : public ISearchTarget {
public:
    struct Mark {
        int64_t start = 0;
        int64_t length = 0;
        bool operator==(const Mark&) const = default;
    };

    explicit FakeSearchTarget(std::vector<uint8_t> bytes = {}) : bytes(std::move(bytes)) {}

    const IByteSource& Bytes() const override
    {
        if (largeSource) return *largeSource;
        source_.Reset(bytes.data(), Length());
        return source_;
    }
    int64_t Length() const { return largeSource ? largeSource->Size() : static_cast<int64_t>(bytes.size()); }
    int64_t CursorOffset() const override { return cursor; }
    std::optional<Range> Selection() const override { return selection; }

    void SetCursorOffset(int64_t offset) override
    {
        cursor = std::max<int64_t>(0, std::min<int64_t>(offset, Length() - 1));
        selection.reset();
    }
    void SelectTo(int64_t offset) override
    {
        if (cursor < offset)
            selection = Range{cursor, offset - 1};
        else if (offset != cursor)
            selection = Range{offset + 1, cursor};
        else
            selection.reset();
    }
    void SetMark(int index, int64_t start, int64_t length) override
    {
        if (index == -2) {
            marks.fill(Mark{});
            ++markClears;
        } else if (index >= 0 && index < 8) {
            marks[static_cast<size_t>(index)] = length > 0 ? Mark{start, length} : Mark{};
        }
    }
    Rows RowLayout() const override { return rows; }
    void ScrollToOffset(int64_t offset) override
    {
        scrolledTo.push_back(offset);
        rows.topLine = (offset + rows.rowPhase) / rows.bytesPerRow;
    }

    std::vector<uint8_t> bytes;
    const IByteSource* largeSource = nullptr;  // stands in for `bytes` when set
    int64_t cursor = 0;
    std::optional<Range> selection;
    std::array<Mark, 8> marks{};
    int markClears = 0;
    Rows rows;
    std::vector<int64_t> scrolledTo;

private:
    mutable BlockByteSource source_;
};

}  // namespace qv::test
