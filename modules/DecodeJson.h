// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of a run as a JSON tree for scripts: an array of fields, each
// {"name", "value", "offset", "size", "address", "children"}; a row is a child of the
// nearest row before it with a smaller indent. Texts are converted to UTF-8.
#include <string>
#include <string_view>

namespace qv {

class ModuleSet;

std::string DecodeRowsJson(const ModuleSet& set, int slot);
// A Windows-1252 text as a JSON string in UTF-8, quotes included.
std::string JsonString(std::string_view cp1252);

}  // namespace qv
