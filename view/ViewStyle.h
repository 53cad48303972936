// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Font and colours shared by every line view of one view name. The style lives as long
// as a view of its name holds it; the last one to let go releases it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "view/ColorTable.h"
#include "view/FontSpec.h"
#include "view/LineDrawing.h"

namespace qv {

struct ViewStyle {
    int32_t group = 0;      // identifies the style; views with the same group share it
    FontSpec font;          // as requested and stored
    bool fontCreated = false;  // false until a font was made for the style (a new style)
    // The font actually made for each variant (the face that worked, the variant's
    // style bits); a variant whose cell differs from the base font is the base font.
    std::array<FontSpec, kFontVariantCount> variants{};
    CellMetrics cell;       // of the base font, both at least 1
    ColorTable colors;
    std::string viewName;
    std::string settingsPath;  // settings section of the style: the view name

    // Number of views holding the style.
    long RefCount(const std::shared_ptr<ViewStyle>& self) const { return self.use_count(); }
};

// Returns the style of the view name, creating it (with the "Standard" colour entry)
// when no view of that name exists.
std::shared_ptr<ViewStyle> AcquireViewStyle(std::string_view viewName);

}  // namespace qv
