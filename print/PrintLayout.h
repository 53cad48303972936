// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where printed lines go: the page metrics taken from the printer and the page settings,
// the range of lines to print, and the page table that tells each page's first line
// and column.
#include <cstdint>
#include <functional>
#include <vector>

#include "print/PrintSettings.h"

namespace qv {

// What the printer reports: printable pixels and millimetres across and down, and its
// pixels per inch.
struct PrinterGeometry {
    int32_t pixelsAcross = 0;
    int32_t pixelsDown = 0;
    int32_t mmAcross = 0;
    int32_t mmDown = 0;
    int32_t dpiX = 0;
    int32_t dpiY = 0;
};

struct PageMetrics {
    int32_t lineHeight = 1;
    int32_t charWidth = 1;
    int32_t textLeft = 0;
    int32_t textTop = 0;
    int32_t footerTop = 0;
    int32_t headerTop = 0;
    int32_t charsPerLine = 1;
};

// Every size is at least one pixel or character, so that a tiny or odd page still prints.
PageMetrics ComputePageMetrics(const PrinterGeometry& printer, const PrintSettings& settings);

// Lines firstLine .. firstLine + lineCount - 1; the first starts at firstColumn, the last
// ends before endColumn. Lines are 64-bit, as the view's.
struct PrintRange {
    int64_t firstLine = 0;
    int64_t lineCount = 0;
    int32_t firstColumn = 0;
    int32_t endColumn = 10000;
};

struct PageStart {
    int64_t line = 0;
    int32_t column = 0;
    bool operator==(const PageStart&) const = default;
};

// One printed row: `count` columns of `line` from `column`.
struct PrintedRow {
    int64_t line = 0;
    int32_t column = 0;
    int32_t count = 0;
};

class PageTable {
public:
    // lineLength gives the length of a line (wrapping only). When all lines have one length
    // (sameLength), it is asked once and each page's start is computed rather than listed,
    // so that a range of billions of lines needs neither a table nor a walk over its lines.
    PageTable(const PrintRange& range, int32_t linesPerPage, int32_t charsPerLine, bool wrap,
              const std::function<int32_t(int64_t)>& lineLength, bool sameLength = false);

    int32_t PageCount() const { return pageCount_; }
    // Page (from 0) holding the line; the first or last page for lines outside the range.
    int32_t PageOfLine(int64_t line) const;
    // The rows printed on a page, top to bottom.
    std::vector<PrintedRow> RowsOfPage(int32_t page) const;

private:
    int32_t EndOfLine(int64_t line) const;
    // Printed rows of a line of the range, and (one length only) the row it starts on.
    int64_t RowsOfLine(int64_t line) const;
    int64_t FirstRowOfLine(int64_t line) const;
    PageStart StartOfPage(int32_t page) const;

    PrintRange range_;
    int32_t linesPerPage_;
    int32_t charsPerLine_;
    bool wrap_;
    int32_t pageCount_ = 1;
    std::vector<int32_t> lengths_;  // wrapping: the length of each line of the range
    std::vector<PageStart> starts_;  // wrapping: where each page begins
    int32_t sameLength_ = -1;        // wrapping with one length for all lines: that length
};

}  // namespace qv
