// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Puts the cursor and selection on a field, as the data window and other programs ask for
// it: the cursor goes to offset (from the first byte of the block, base address not
// included); with a length of 1 to 255 the bytes offset .. offset + length - 1 are selected.
#include <cstdint>

namespace qv {

class CHexView;

void SelectRange(CHexView& view, int64_t offset, int64_t length);

}  // namespace qv
