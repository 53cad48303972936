#pragma once
// Printing a line view's pages on a Qt paint device (a printer, a PDF writer or the
// preview's pages): the printer fonts with their fall-backs, the header font, frames,
// and the lines through the same drawing interface the screen uses.
#include <QPagedPaintDevice>
#include <cstdint>

#include "view/FontSpec.h"
#include "view/PrintJob.h"

namespace qv {

// Printable area of the device in pixels and millimetres, and its resolution.
PrinterGeometry GeometryOf(const QPaintDevice& device);

// Draws pages first..last (from 0) of the job, each on a page of its own. `viewFont` is
// the view's font as it is stored. False when the device cannot be painted on or a new
// page cannot be started (a printer that failed or was cancelled).
bool PrintPages(QPagedPaintDevice& device, PrintJob& job, const FontSpec& viewFont, int32_t first, int32_t last);

}  // namespace qv
