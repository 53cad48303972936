// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the checksum and CRC tools work on, and what their dialogs share: the selected
// bytes, or the start of the document when nothing is selected, read through the
// document's byte source; the light-yellow background of their result fields; and where a
// remembered dialog position may be used.
#include <cstdint>
#include <functional>
#include <span>

#include "platform/LongTask.h"
#include "view/ByteSource.h"

namespace qv {

class CHexView;

// Without a selection the tools read at most this many bytes from the document's start.
inline constexpr int64_t kToolUnselectedLimit = 0x100000;

// Background of the read-only result fields, 0x00BBGGRR (red 255, green 255, blue 155).
inline constexpr uint32_t kToolResultColor = 0x009BFFFF;

// A range of a byte source.
struct ToolBytes {
    const IByteSource* source = nullptr;
    int64_t offset = 0;
    int64_t length = 0;
};

// The selection [selectionStart, selectionStart + selectionLength) clipped to the source,
// or, with selectionLength 0, the first bytes of the source up to kToolUnselectedLimit.
ToolBytes ToolInputBytes(const IByteSource& source, int64_t selectionStart, int64_t selectionLength);

// The input of a tool command: the view's selection, or the start of its bytes.
ToolBytes ToolInputOfView(const CHexView& view);

// Hands the bytes to `visit` in order, window by window, and reports how far it got after
// each; false when the work was cancelled (it stops after the window at hand).
bool ReadToolBytes(const ToolBytes& input, TaskProgress& progress,
                   const std::function<void(std::span<const uint8_t>)>& visit);

// A dialog reopens where it was last closed while its left edge lies from -99 to the screen
// width less 101 and its top edge from -9 to the screen height less 101.
bool IsRememberedPlaceUsable(int left, int top, int screenWidth, int screenHeight);

}  // namespace qv
