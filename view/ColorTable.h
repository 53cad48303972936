// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The named colour entries of a view style. An entry's position is the drawing
// attribute; its index is the stable number used for storage and lookup.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "view/LineDrawing.h"

namespace qv {

struct ColorEntry {
    Color background = kDefaultColor;
    Color text = kDefaultColor;
    int32_t index = 0;      // unique, > 0; 0 = not stored
    int32_t fontStyle = 0;  // bold 0x1, italic 0x2, underline 0x4; with 0x100 bits 4..7 the print style
    std::string name;       // Windows-1252

    bool operator==(const ColorEntry&) const = default;
};

// Index of the entry every line view registers at position 0.
inline constexpr int32_t kStandardColorIndex = 1;
inline constexpr const char* kStandardColorName = "Standard";

class ColorTable {
public:
    // Appends an entry and returns its position. An index already taken becomes 0.
    int32_t Add(Color text, Color background, std::string_view name, int32_t index, int32_t fontStyle);
    // Adds those of the given entries whose index is not registered yet (in order);
    // entries already present keep their (possibly user-set) values.
    void AddDefaults(const std::vector<ColorEntry>& defaults);

    // Position of the entry, or -1.
    int32_t FindByName(std::string_view name) const;
    int32_t FindByIndex(int32_t index) const;
    // Copies colours, style and name into the entry of entry.index; false when there is none.
    bool UpdateByIndex(const ColorEntry& entry);

    int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
    const std::vector<ColorEntry>& Entries() const { return entries_; }
    ColorEntry& At(int32_t position) { return entries_.at(static_cast<size_t>(position)); }
    const ColorEntry& At(int32_t position) const { return entries_.at(static_cast<size_t>(position)); }
    // The entry drawn for an attribute; attributes outside the table draw as position 0.
    // Precondition: the table is not empty (every style holds "Standard").
    const ColorEntry& ForAttribute(int attribute) const;

    bool operator==(const ColorTable&) const = default;

private:
    std::vector<ColorEntry> entries_;
};

}  // namespace qv
