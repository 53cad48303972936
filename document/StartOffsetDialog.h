// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Start-Offset" dialog of the Intel HEX reader: one field with the offset at which
// the file's first bytes are placed, pre-set to the proposal.
#include <cstdint>
#include <string>

#include "platform/DialogService.h"

namespace qv {

class StartOffsetDialog : public DialogModel {
public:
    explicit StartOffsetDialog(uint32_t proposal);

    const char* DialogName() const override { return "StartOffset"; }
    static constexpr const char* kCaption = "Start-Offset";
    static constexpr const char* kLabel = "Offset der ersten Bytes :";

    // The input field (8-bit text), pre-set to "0x" and upper-case hex digits.
    std::string text;

    // The field read as the offset (ReadTypedNumber: blanks, an optional sign, then a
    // number with a 0x/0o/0b prefix, an h/o/b suffix, or decimal digits), on 32 bits.
    uint32_t Offset() const;
};

}  // namespace qv
