// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the checksum and CRC tools work on, and what their dialogs share: the selected
// bytes, or the start of the document when nothing is selected; the light-yellow
// background of their result fields; and where a remembered dialog position may be used.
#include <cstddef>
#include <cstdint>

namespace qv {

class CHexView;

// Without a selection the tools read at most this many bytes from the document's start.
inline constexpr size_t kToolUnselectedLimit = 0x100000;

// Background of the read-only result fields, 0x00BBGGRR (red 255, green 255, blue 155).
inline constexpr uint32_t kToolResultColor = 0x009BFFFF;

struct ToolBytes {
    const uint8_t* data = nullptr;
    size_t length = 0;
};

// The selection [selectionStart, selectionStart + selectionLength) clipped to the buffer,
// or, with selectionLength 0, the first bytes of the buffer up to kToolUnselectedLimit.
ToolBytes ToolInputBytes(const uint8_t* buffer, size_t bufferLength, size_t selectionStart, size_t selectionLength);

// The input of a tool command: the view's selection, or the start of its block.
ToolBytes ToolInputOfView(const CHexView& view);

// A dialog reopens where it was last closed while its left edge lies from -99 to the screen
// width less 101 and its top edge from -9 to the screen height less 101.
bool IsRememberedPlaceUsable(int left, int top, int screenWidth, int screenHeight);

}  // namespace qv
