// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing a view style's font and colour entries in a settings store:
// "<section>/Font" (44 raw bytes) and "<section>/Colors/<index>" with "Name", "BG",
// "TX" and "Font".
#include <optional>
#include <string>

#include "platform/SettingsStore.h"
#include "view/ColorTable.h"
#include "view/FontSpec.h"

namespace qv {

inline constexpr int kMaxStoredColorEntries = 256;

std::optional<FontSpec> LoadFontSpec(const ISettingsStore& store, const std::string& section);
void StoreFontSpec(ISettingsStore& store, const std::string& section, const FontSpec& spec);

// Applies the stored entries: an entry with a stored index takes the stored colours
// and style, an unknown index is appended. Subsections whose name is not a positive
// number, or that have no "Name", are ignored; at most 256 are read.
void LoadColorEntries(const ISettingsStore& store, const std::string& section, ColorTable& table);
// Writes every entry with an index above 0.
void StoreColorEntries(ISettingsStore& store, const std::string& section, const ColorTable& table);

}  // namespace qv
