// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ModuleNumber.h"

#include "common/NumberText.h"

namespace qv {

int32_t ReadModuleNumber(std::string_view text, size_t& pos, bool plusIsSign)
{
    uint32_t mode = kNumberAuto | kNumberNoLeadingBlanks;
    if (plusIsSign && pos < text.size() && text[pos] == '+') {
        ++pos;
        mode |= kNumberNoSign;
    }
    if (pos >= text.size()) return 0;
    size_t consumed = 0;
    int32_t value = ParseNumber(text.substr(pos), mode, &consumed);
    // A lone sign still counts as read, so that the caller moves on.
    if (consumed == 0 && text[pos] == '-') consumed = 1;
    pos += consumed;
    return value;
}

}  // namespace qv
