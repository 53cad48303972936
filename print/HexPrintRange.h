// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows a print of some of the hex view's bytes covers.
#include <cstdint>
#include <optional>

#include "print/PrintLayout.h"

namespace qv {

class CHexView;

// Whole rows from the row of offset `first` to that of `last` (either order, both limited
// to the block); nothing when the block is empty.
std::optional<PrintRange> BytesPrintRange(const CHexView& view, int64_t first, int64_t last);
// The rows of the selection; nothing without one.
std::optional<PrintRange> SelectionPrintRange(const CHexView& view);

}  // namespace qv
