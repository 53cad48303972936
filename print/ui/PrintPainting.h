// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing a line view's pages on a Qt paint device (a printer, a PDF writer or the
// preview's pages): the printer fonts with their fall-backs, the header font, frames,
// and the lines through the same drawing interface the screen uses.
#include <QPagedPaintDevice>
#include <cstdint>
#include <functional>
#include <memory>

class QPainter;

#include "view/FontSpec.h"
#include "print/PrintJob.h"

namespace qv {

// Printable area of the device in pixels and millimetres, and its resolution.
PrinterGeometry GeometryOf(const QPaintDevice& device);

// Draws single pages of a job with the printer fonts made for `device` (measured on it);
// the painter may paint on the device itself or, scaled, on a preview image.
class PagePainter {
public:
    PagePainter(PrintJob& job, const FontSpec& viewFont, const QPaintDevice& device);
    ~PagePainter();
    PagePainter(const PagePainter&) = delete;
    PagePainter& operator=(const PagePainter&) = delete;

    void Paint(QPainter& painter, int32_t page);

private:
    struct Fonts;
    PrintJob& job_;
    const QPaintDevice& device_;
    std::unique_ptr<Fonts> fonts_;
};

// Asked before each page with the pages done and the pages to do; false cancels the job.
using PrintProgress = std::function<bool(int32_t done, int32_t total)>;

// Draws pages first..last (from 0) of the job, each on a page of its own. `viewFont` is
// the view's font as it is stored. False when the device cannot be painted on, a new page
// cannot be started (a printer that failed or was cancelled) or `progress` cancelled the
// job; a printer then drops what it got.
bool PrintPages(QPagedPaintDevice& device, PrintJob& job, const FontSpec& viewFont, int32_t first, int32_t last,
                const PrintProgress& progress = nullptr);

}  // namespace qv
