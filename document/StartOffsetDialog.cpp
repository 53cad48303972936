// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/StartOffsetDialog.h"

#include "common/NumberText.h"

namespace qv {

StartOffsetDialog::StartOffsetDialog(uint32_t proposal) : text(FormatNumber(static_cast<int32_t>(proposal), kStyleHexPrefix)) {}

uint32_t StartOffsetDialog::Offset() const
{
    return static_cast<uint32_t>(ReadTypedNumber(text).Bits());
}

}  // namespace qv
