// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page settings every line view prints with: one record for the whole process, kept
// with the view's settings as "Print" (128 raw bytes), "Header" and "Footer".
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace qv {

inline constexpr uint32_t PrintBlackOnWhite = 0x1;
inline constexpr uint32_t PrintGreyLevels = 0x2;
inline constexpr uint32_t PrintColors = 0x4;
inline constexpr uint32_t PrintWrapLines = 0x8;
inline constexpr uint32_t PrintOneFont = 0x10;
inline constexpr uint32_t PrintFrame = 0x20;
inline constexpr uint32_t PrintFillFrame = 0x40;

inline constexpr size_t kPrintRecordSize = 128;
inline constexpr size_t kMaxHeaderLength = 255;
inline constexpr int32_t kMinLinesPerPage = 20;
inline constexpr int32_t kMaxLinesPerPage = 250;
inline constexpr int32_t kMaxMargin = 100;

struct PrintSettings {
    int32_t linesPerPage = 60;
    int32_t topMargin = 20;  // millimetres
    int32_t bottomMargin = 10;
    int32_t leftMargin = 20;
    int32_t rightMargin = 10;
    uint32_t flags = PrintBlackOnWhite | PrintWrapLines;
    std::string header;  // UTF-8 (names and typed texts keep every character), at most 255 characters
    std::string footer;

    // The 128-byte record; the texts are stored on their own.
    std::vector<uint8_t> ToBytes() const;
    // Takes the numbers of a 128-byte record; anything else leaves the settings as they are.
    bool FromBytes(const std::vector<uint8_t>& bytes);
    // Lines per page 20..250 and every margin 0..100 mm.
    bool InRange() const;

    bool operator==(const PrintSettings&) const = default;
};

// The one record of the process.
PrintSettings& ProcessPrintSettings();

void LoadPrintSettings(const ISettingsStore& store, const std::string& section, PrintSettings& settings);
void StorePrintSettings(ISettingsStore& store, const std::string& section, const PrintSettings& settings);

}  // namespace qv
