// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The extra status-bar panes a view defines: how many there are and how wide each is.
#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

inline constexpr int32_t kMaxExtraPanes = 8;
inline constexpr uint32_t kPaneCheckAnswer = 0x12345678;

// Width of one "character" for pane widths given in characters: the average character
// width of the status font, or two thirds of its height when it has none; at most 25
// pixels, 7 when the font could not be read.
int32_t PaneCharacterWidth(std::optional<int32_t> averageWidth, std::optional<int32_t> height);

// Pixel widths of the panes to define. count -1 counts the values up to the first 0;
// counts above 8 are cut to 8; without widths each pane is 50 pixels; a negative width is
// that many character widths. An empty result removes the extra panes.
std::vector<int32_t> ResolvePaneWidths(const std::vector<int32_t>& values, const std::vector<int32_t>* widths,
                                       int32_t count, int32_t characterWidth);

// The pane a text goes to: negative indexes count from the last pane; nothing when the
// index is out of range.
std::optional<int32_t> ResolvePaneIndex(int32_t index, int32_t paneCount);

}  // namespace qv
