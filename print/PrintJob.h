// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One print job of a line view: it takes the page settings and the printer's geometry,
// works out the metrics, page table and print colours, and draws any page through the
// view's PrintLine hook on a print surface.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "view/ColorTable.h"
#include "print/HeaderFooterText.h"
#include "view/LineDrawing.h"
#include "print/PrintLayout.h"
#include "print/PrintSettings.h"

namespace qv {

class CAnsiView;

// A printer page: the lines in the printer fonts, frames, and header and footer texts in
// their own font, black on a transparent background.
class IPrintSurface {
public:
    virtual ~IPrintSurface() = default;
    virtual ILineDrawing& Lines() = 0;
    // A rectangle with a 2-pixel black pen, hollow or filled light grey.
    virtual void DrawFrame(const LineRect& rect, bool filled) = 0;
    virtual int32_t HeaderLineHeight() const = 0;
    virtual int32_t HeaderTextWidth(std::string_view text) const = 0;
    virtual void DrawHeaderText(int32_t x, int32_t y, std::string_view text) = 0;
};

struct PrintJobSetup {
    PrintSettings settings;
    PrinterGeometry printer;
    PrintRange range;
    bool selectionOnly = false;    // no header or footer then
    HeaderFooterValues notes;      // path, user and time; the page numbers are the job's
};

// All lines of a view of `lineCount` lines.
PrintRange WholePrintRange(int64_t lineCount);

// A job of the view with the process's page settings: the selection's rows when one is
// given (without header and footer), else all lines.
PrintJobSetup MakePrintJobSetup(const CAnsiView& view, const PrinterGeometry& printer,
                                const std::optional<PrintRange>& selection, const HeaderFooterValues& notes);

class PrintJob {
public:
    PrintJob(CAnsiView& view, const PrintJobSetup& setup);

    int32_t PageCount() const { return pages_.PageCount(); }
    // The page (from 0) holding the view's top line: where a preview opens.
    int32_t FirstPageShown() const;
    const PageMetrics& Metrics() const { return metrics_; }
    const PrintJobSetup& Setup() const { return setup_; }
    const ColorTable& Colors() const { return colors_; }
    // Page from 0.
    void PrintPage(IPrintSurface& surface, int32_t page);

private:
    void DrawFrames(IPrintSurface& surface, bool header, bool footer, int32_t footerTop) const;
    std::vector<PlacedHeaderFooterPart> PlaceNotes(const IPrintSurface& surface, std::string_view text,
                                                   int32_t page) const;
    int32_t MmAcross(int32_t mm) const;
    int32_t MmDown(int32_t mm) const;

    CAnsiView& view_;
    PrintJobSetup setup_;
    PageMetrics metrics_;
    PageTable pages_;
    ColorTable colors_;
};

}  // namespace qv
