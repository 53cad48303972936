// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/FontSpec.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

void PutInt(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t GetInt(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool SameFace(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string FontSpec::FaceName() const
{
    return std::string(face, strnlen(face, kFontFaceSize));
}

void FontSpec::SetFaceName(std::string_view name)
{
    std::memset(face, 0, kFontFaceSize);
    std::memcpy(face, name.data(), std::min(name.size(), kFontFaceSize - 1));
}

std::vector<uint8_t> FontSpec::ToBytes() const
{
    std::vector<uint8_t> out;
    out.reserve(kFontSpecSize);
    PutInt(out, static_cast<uint32_t>(width));
    PutInt(out, static_cast<uint32_t>(height));
    PutInt(out, style);
    std::string name = FaceName();
    name.resize(kFontFaceSize, '\0');
    out.insert(out.end(), name.begin(), name.end());
    return out;
}

std::optional<FontSpec> FontSpec::FromBytes(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != kFontSpecSize) return std::nullopt;
    FontSpec spec;
    spec.width = static_cast<int32_t>(GetInt(bytes.data()));
    spec.height = static_cast<int32_t>(GetInt(bytes.data() + 4));
    spec.style = GetInt(bytes.data() + 8);
    const char* name = reinterpret_cast<const char*>(bytes.data() + 12);
    spec.SetFaceName(std::string_view(name, strnlen(name, kFontFaceSize)));
    return spec;
}

bool FontSpec::operator==(const FontSpec& other) const
{
    return width == other.width && height == other.height && style == other.style && FaceName() == other.FaceName();
}

std::vector<std::string> FontFaceFallbacks(std::string_view wanted)
{
    std::vector<std::string> faces;
    for (std::string_view face : {wanted, std::string_view("Courier"), std::string_view("Terminal"),
                                  std::string_view("Fixedsys")}) {
        if (face.empty()) continue;
        bool seen = std::any_of(faces.begin(), faces.end(), [&](const std::string& f) { return SameFace(f, face); });
        if (!seen) faces.emplace_back(face);
    }
    faces.emplace_back();  // the system's default face
    return faces;
}

}  // namespace qv
