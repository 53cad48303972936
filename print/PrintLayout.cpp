// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintLayout.h"

#include <algorithm>

namespace qv {

namespace {

int32_t AtLeast1(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, 1, INT32_MAX));
}

int32_t NonNegative(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, INT32_MAX));
}

}  // namespace

PageMetrics ComputePageMetrics(const PrinterGeometry& printer, const PrintSettings& settings)
{
    const int64_t hr = printer.pixelsAcross, vr = printer.pixelsDown;
    const int64_t hs = std::max(1, printer.mmAcross), vs = std::max(1, printer.mmDown);
    const int64_t px = std::max(1, printer.dpiX), py = std::max(1, printer.dpiY);
    const int64_t lines = std::max(1, settings.linesPerPage);
    PageMetrics m;
    m.lineHeight = AtLeast1(vr * (vs - settings.topMargin - settings.bottomMargin) / vs / lines);
    m.charWidth = AtLeast1(int64_t{m.lineHeight} * px * 27 / (py * 48));
    m.textLeft = NonNegative(settings.leftMargin * hr / hs);
    m.textTop = NonNegative(vr * settings.topMargin / vs);
    m.footerTop = NonNegative(vr * (vs - 6) / vs);
    m.headerTop = NonNegative(vr * ((settings.topMargin - 4) / 2) / vs);
    m.charsPerLine = AtLeast1((hs - settings.rightMargin - settings.leftMargin) * hr / hs / m.charWidth);
    return m;
}

PageTable::PageTable(const PrintRange& range, int32_t linesPerPage, int32_t charsPerLine, bool wrap,
                     const std::function<int32_t(int64_t)>& lineLength, bool sameLength)
    : range_(range), linesPerPage_(std::max(1, linesPerPage)), charsPerLine_(std::max(1, charsPerLine)), wrap_(wrap)
{
    range_.lineCount = std::max<int64_t>(0, range_.lineCount);
    if (!wrap_) {
        pageCount_ = AtLeast1((range_.lineCount + linesPerPage_ - 1) / linesPerPage_);
        return;
    }
    if (sameLength) {
        sameLength_ = std::max(0, lineLength(range_.firstLine));
        const int64_t last = range_.firstLine + range_.lineCount - 1;
        const int64_t rows = range_.lineCount == 0 ? 0 : FirstRowOfLine(last) + RowsOfLine(last);
        pageCount_ = AtLeast1((rows + linesPerPage_ - 1) / linesPerPage_);
        return;
    }
    lengths_.reserve(static_cast<size_t>(range_.lineCount));
    starts_.push_back({range_.firstLine, range_.firstColumn});
    int64_t rows = 0;
    for (int64_t i = 0; i < range_.lineCount; ++i) {
        const int64_t line = range_.firstLine + i;
        lengths_.push_back(std::max(0, lineLength(line)));
        const int32_t begin = i == 0 ? range_.firstColumn : 0;
        const int64_t lineRows = RowsOfLine(line);
        for (int32_t r = 0; r < lineRows; ++r, ++rows) {
            if (rows > 0 && rows % linesPerPage_ == 0) starts_.push_back({line, begin + r * charsPerLine_});
        }
    }
    pageCount_ = static_cast<int32_t>(starts_.size());
}

int32_t PageTable::EndOfLine(int64_t line) const
{
    const int32_t length = sameLength_ >= 0 ? sameLength_ : lengths_.at(static_cast<size_t>(line - range_.firstLine));
    return line == range_.firstLine + range_.lineCount - 1 ? std::min(length, range_.endColumn) : length;
}

int64_t PageTable::RowsOfLine(int64_t line) const
{
    const int32_t begin = line == range_.firstLine ? range_.firstColumn : 0;
    const int32_t printed = std::max(0, EndOfLine(line) - begin);
    return std::max(1, (printed + charsPerLine_ - 1) / charsPerLine_);
}

int64_t PageTable::FirstRowOfLine(int64_t line) const
{
    // Every line between the first and the last takes the rows of a whole line.
    if (line <= range_.firstLine) return 0;
    const int32_t whole = std::max(1, (sameLength_ + charsPerLine_ - 1) / charsPerLine_);
    return RowsOfLine(range_.firstLine) + (line - range_.firstLine - 1) * whole;
}

PageStart PageTable::StartOfPage(int32_t page) const
{
    if (sameLength_ < 0) return starts_[static_cast<size_t>(page)];
    const int64_t row = int64_t{page} * linesPerPage_;
    const int64_t firstRows = RowsOfLine(range_.firstLine);
    if (row < firstRows || range_.lineCount < 2)
        return {range_.firstLine, range_.firstColumn + static_cast<int32_t>(row) * charsPerLine_};
    const int32_t whole = std::max(1, (sameLength_ + charsPerLine_ - 1) / charsPerLine_);
    const int64_t past = row - firstRows;
    return {range_.firstLine + 1 + past / whole, static_cast<int32_t>(past % whole) * charsPerLine_};
}

int32_t PageTable::PageOfLine(int64_t line) const
{
    if (!wrap_)
        return static_cast<int32_t>(std::clamp<int64_t>((line - range_.firstLine) / linesPerPage_, 0, pageCount_ - 1));
    if (sameLength_ >= 0) {
        // The last page that starts on this line or before it.
        if (line < range_.firstLine || range_.lineCount == 0) return 0;
        const int64_t at = std::min(line, range_.firstLine + range_.lineCount - 1);
        const int64_t lastRow = FirstRowOfLine(at) + RowsOfLine(at) - 1;
        return static_cast<int32_t>(std::clamp<int64_t>(lastRow / linesPerPage_, 0, pageCount_ - 1));
    }
    auto after = std::upper_bound(starts_.begin(), starts_.end(), line,
                                  [](int64_t value, const PageStart& start) { return value < start.line; });
    return std::max(0, static_cast<int32_t>(after - starts_.begin()) - 1);
}

std::vector<PrintedRow> PageTable::RowsOfPage(int32_t page) const
{
    std::vector<PrintedRow> rows;
    if (page < 0 || page >= pageCount_) return rows;
    const int64_t endLine = range_.firstLine + range_.lineCount;
    if (!wrap_) {
        for (int32_t i = 0; i < linesPerPage_; ++i) {
            const int64_t line = range_.firstLine + int64_t{page} * linesPerPage_ + i;
            if (line >= endLine) break;
            const int32_t column = line == range_.firstLine ? range_.firstColumn : 0;
            int32_t count = charsPerLine_;
            if (line == endLine - 1) count = std::min(count, range_.endColumn - column);
            rows.push_back({line, column, std::max(0, count)});
        }
        return rows;
    }
    PageStart at = StartOfPage(page);
    while (static_cast<int32_t>(rows.size()) < linesPerPage_ && at.line < endLine) {
        const int32_t end = EndOfLine(at.line);
        rows.push_back({at.line, at.column, std::clamp(end - at.column, 0, charsPerLine_)});
        at.column += charsPerLine_;
        if (at.column >= end) at = {at.line + 1, 0};
    }
    return rows;
}

}  // namespace qv
