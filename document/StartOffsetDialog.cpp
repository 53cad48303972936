// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/StartOffsetDialog.h"

#include <string_view>

#include "common/NumberText.h"

namespace qv {

StartOffsetDialog::StartOffsetDialog(uint32_t proposal) : text(FormatNumber(static_cast<int32_t>(proposal), kStyleHexPrefix)) {}

uint32_t StartOffsetDialog::Offset() const
{
    std::string_view field(text);
    size_t start = field.find_first_not_of(" \t");
    if (start == std::string_view::npos) return 0;
    field.remove_prefix(start);
    // The number reader takes a "-" itself; a "+" only needs skipping.
    if (!field.empty() && field[0] == '+') field.remove_prefix(1);
    return static_cast<uint32_t>(ParseNumber(field, kNumberSuffixes));
}

}  // namespace qv
