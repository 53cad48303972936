// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Checksumme": a 3 x 3 grid of read-only fields (rows "BYTE :", "WORD :",
// "DWORD :"; columns "Addiert", "Subtrahiert", "Xor") and the check box "Big Endian".
// The sums are computed once; the check box only chooses which ones are shown.
#include <string>

#include "platform/DialogService.h"
#include "tools/Checksum.h"

namespace qv {

class ChecksumDialogModel : public DialogModel {
public:
    static constexpr int kRows = 3;
    static constexpr int kColumns = 3;

    explicit ChecksumDialogModel(const Checksums& sums) : sums_(sums) {}

    const char* DialogName() const override { return "Checksum"; }

    static const char* RowLabel(int row);        // "BYTE :", "WORD :", "DWORD :"
    static const char* ColumnLabel(int column);  // "Addiert", "Subtrahiert", "Xor"

    bool BigEndian() const { return bigEndian_; }
    void SetBigEndian(bool on) { bigEndian_ = on; }

    // The value of one field as shown: "0x" and eight upper-case hex digits. The byte row
    // never changes; the word and double-word rows follow the "Big Endian" check box.
    std::string FieldText(int row, int column) const;
    uint32_t FieldValue(int row, int column) const;

    const Checksums& Sums() const { return sums_; }

private:
    Checksums sums_;
    bool bigEndian_ = false;
};

}  // namespace qv
