// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintJob.h"

#include <algorithm>
#include <climits>

#include "view/AnsiView.h"
#include "print/PrintColors.h"
#include "view/RunJoiningDrawing.h"

namespace qv {

namespace {

// PrintLine's flags while printing: bit 0, and the text's x position from bit 12 on.
uint32_t PrintLineFlags(int32_t x)
{
    return 1u | static_cast<uint32_t>(x) << 12;
}

// The view draws with the job's colours while a page is printed.
class PrintColorsInUse {
public:
    PrintColorsInUse(CAnsiView& view, const ColorTable& colors) : view_(view) { view_.SetPrintColors(&colors); }
    ~PrintColorsInUse() { view_.SetPrintColors(nullptr); }
    PrintColorsInUse(const PrintColorsInUse&) = delete;
    PrintColorsInUse& operator=(const PrintColorsInUse&) = delete;

private:
    CAnsiView& view_;
};

}  // namespace

PrintRange WholePrintRange(int64_t lineCount)
{
    return {0, lineCount, 0, INT32_MAX};
}

PrintJobSetup MakePrintJobSetup(const CAnsiView& view, const PrinterGeometry& printer,
                                const std::optional<PrintRange>& selection, const HeaderFooterValues& notes)
{
    PrintJobSetup setup;
    setup.settings = ProcessPrintSettings();
    setup.printer = printer;
    setup.range = selection ? *selection : WholePrintRange(view.LineCount());
    setup.selectionOnly = selection.has_value();
    setup.notes = notes;
    return setup;
}

PrintJob::PrintJob(CAnsiView& view, const PrintJobSetup& setup)
    : view_(view),
      setup_(setup),
      metrics_(ComputePageMetrics(setup.printer, setup.settings)),
      pages_(setup.range, setup.settings.linesPerPage, metrics_.charsPerLine,
             (setup.settings.flags & PrintWrapLines) != 0, [&view](int64_t line) { return view.GetLineLength(line); },
             view.LinesOfOneLength()),
      colors_(MakePrintColorTable(view.Colors(), setup.settings.flags))
{
}

int32_t PrintJob::FirstPageShown() const
{
    return pages_.PageOfLine(view_.TopLine());
}

int32_t PrintJob::MmAcross(int32_t mm) const
{
    return static_cast<int32_t>(int64_t{mm} * setup_.printer.pixelsAcross / std::max(1, setup_.printer.mmAcross));
}

int32_t PrintJob::MmDown(int32_t mm) const
{
    return static_cast<int32_t>(int64_t{mm} * setup_.printer.pixelsDown / std::max(1, setup_.printer.mmDown));
}

void PrintJob::PrintPage(IPrintSurface& surface, int32_t page)
{
    if (page < 0 || page >= PageCount()) return;
    const bool notes = !setup_.selectionOnly;
    const bool header = notes && !setup_.settings.header.empty();
    const bool footer = notes && !setup_.settings.footer.empty();
    const std::vector<PlacedHeaderFooterPart> headerParts =
        header ? PlaceNotes(surface, setup_.settings.header, page) : std::vector<PlacedHeaderFooterPart>();
    const std::vector<PlacedHeaderFooterPart> footerParts =
        footer ? PlaceNotes(surface, setup_.settings.footer, page) : std::vector<PlacedHeaderFooterPart>();
    // A footer of several rows grows upwards: its last row stays where a single one stands.
    const int32_t footerTop = metrics_.footerTop - (HeaderFooterRows(footerParts) - 1) * surface.HeaderLineHeight();
    if (setup_.settings.flags & PrintFrame) DrawFrames(surface, header, footer, footerTop);

    PrintColorsInUse inUse(view_, colors_);
    RunJoiningDrawing lines(surface.Lines());
    int32_t y = metrics_.textTop;
    for (const PrintedRow& row : pages_.RowsOfPage(page)) {
        const int32_t x = metrics_.textLeft;
        const LineRect rect{x, y, x + row.count * metrics_.charWidth, y + metrics_.lineHeight};
        view_.PrintLine(lines, rect, row.line, row.column, row.count, PrintLineFlags(x));
        y += metrics_.lineHeight;
    }
    lines.Flush();
    for (const PlacedHeaderFooterPart& part : headerParts)
        surface.DrawHeaderText(part.x, metrics_.headerTop + part.row * surface.HeaderLineHeight(), part.text);
    for (const PlacedHeaderFooterPart& part : footerParts)
        surface.DrawHeaderText(part.x, footerTop + part.row * surface.HeaderLineHeight(), part.text);
}

void PrintJob::DrawFrames(IPrintSurface& surface, bool header, bool footer, int32_t footerTop) const
{
    const bool filled = (setup_.settings.flags & PrintFillFrame) != 0;
    const int32_t left = metrics_.textLeft - MmAcross(3);
    const int32_t right = metrics_.textLeft + metrics_.charsPerLine * metrics_.charWidth + MmAcross(2);
    const int32_t textFrameTop = metrics_.textTop - MmDown(3);
    const int32_t footerFrameTop = footerTop - MmDown(3);
    surface.DrawFrame({left, textFrameTop, right, footerFrameTop}, filled);
    if (header) surface.DrawFrame({left, metrics_.headerTop - MmDown(3), right, textFrameTop}, filled);
    if (footer) surface.DrawFrame({left, footerFrameTop, right, setup_.printer.pixelsDown}, filled);
}

std::vector<PlacedHeaderFooterPart> PrintJob::PlaceNotes(const IPrintSurface& surface, std::string_view text,
                                                         int32_t page) const
{
    HeaderFooterValues values = setup_.notes;
    values.page = page + 1;
    values.pages = PageCount();
    const int32_t left = metrics_.textLeft;
    const int32_t right = left + metrics_.charsPerLine * metrics_.charWidth;
    return PlaceHeaderFooter(ExpandHeaderFooter(text, values), left, right,
                             [&surface](std::string_view part) { return surface.HeaderTextWidth(part); });
}

}  // namespace qv
