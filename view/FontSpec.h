// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font of a line view style as it is stored: 44 bytes, little-endian
// (width, height, style bits, face name of 32 bytes, zero-terminated).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr uint32_t FontBold = 0x1;
inline constexpr uint32_t FontItalic = 0x2;
inline constexpr uint32_t FontUnderline = 0x4;
inline constexpr uint32_t FontFixedPitch = 0x8;
inline constexpr uint32_t FontSpecialClipping = 0x10;

inline constexpr size_t kFontSpecSize = 44;
inline constexpr size_t kFontFaceSize = 32;
inline constexpr int32_t kMinFontHeight = 6;
inline constexpr int32_t kMaxFontHeight = 48;

struct FontSpec {
    int32_t width = 0;    // pixels, 0 = natural
    int32_t height = 15;  // pixels; negative: character height as the font dialog gives it
    uint32_t style = FontFixedPitch;
    char face[kFontFaceSize] = "Courier";

    std::string FaceName() const;
    // Longer names are cut so that the terminating zero always fits.
    void SetFaceName(std::string_view name);

    std::vector<uint8_t> ToBytes() const;
    // nullopt unless exactly 44 bytes; the face is always terminated.
    static std::optional<FontSpec> FromBytes(const std::vector<uint8_t>& bytes);

    bool operator==(const FontSpec& other) const;
};

// The faces tried in order when a font is made: the wanted one, then the classic
// fixed-pitch names, then the system's default face (empty name).
std::vector<std::string> FontFaceFallbacks(std::string_view wanted);

}  // namespace qv
