// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ModuleSourceText.h"

#include <algorithm>

#include "common/CodePage.h"

namespace qv {

std::string ModuleSourceText(std::string_view fileBytes)
{
    bool hasNonAscii = std::any_of(fileBytes.begin(), fileBytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (hasNonAscii && IsValidUtf8(fileBytes)) return Utf8ToCp1252(fileBytes);
    return std::string(fileBytes);
}

}  // namespace qv
