// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ViewStyle.h"

#include <map>

namespace qv {

std::shared_ptr<ViewStyle> AcquireViewStyle(std::string_view viewName)
{
    // Styles stay alive only while a view holds them; the registry keeps weak links.
    static std::map<std::string, std::weak_ptr<ViewStyle>, std::less<>> styles;
    static int32_t lastGroup = 0;

    auto it = styles.find(viewName);
    if (it != styles.end()) {
        if (auto style = it->second.lock()) return style;
    }
    auto style = std::make_shared<ViewStyle>();
    style->group = ++lastGroup;
    style->viewName = std::string(viewName);
    style->settingsPath = std::string(viewName);
    style->colors.Add(kDefaultColor, kDefaultColor, kStandardColorName, kStandardColorIndex, 0);
    for (int v = 0; v < kFontVariantCount; ++v) style->variants[static_cast<size_t>(v)].style |= static_cast<uint32_t>(v);
    styles[std::string(viewName)] = style;
    return style;
}

}  // namespace qv
