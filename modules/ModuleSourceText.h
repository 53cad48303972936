// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Module files are Windows-1252 text; a file that is valid UTF-8 and holds non-ASCII
// characters is taken as UTF-8 and converted.
#include <string>
#include <string_view>

namespace qv {

std::string ModuleSourceText(std::string_view fileBytes);

}  // namespace qv
