// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ChecksumDialogModel.h"

#include "common/FormatText.h"

namespace qv {

const char* ChecksumDialogModel::RowLabel(int row)
{
    static const char* const labels[kRows] = {"BYTE :", "WORD :", "DWORD :"};
    return row >= 0 && row < kRows ? labels[row] : "";
}

const char* ChecksumDialogModel::ColumnLabel(int column)
{
    static const char* const labels[kColumns] = {"Addiert", "Subtrahiert", "Xor"};
    return column >= 0 && column < kColumns ? labels[column] : "";
}

uint32_t ChecksumDialogModel::FieldValue(int row, int column) const
{
    const ChecksumTriple* triple = nullptr;
    switch (row) {
    case 0: triple = &sums_.bytes; break;
    case 1: triple = bigEndian_ ? &sums_.wordsBig : &sums_.wordsLittle; break;
    case 2: triple = bigEndian_ ? &sums_.dwordsBig : &sums_.dwordsLittle; break;
    default: return 0;
    }
    switch (column) {
    case 0: return triple->added;
    case 1: return triple->subtracted;
    case 2: return triple->xored;
    default: return 0;
    }
}

std::string ChecksumDialogModel::FieldText(int row, int column) const
{
    return FormatTextString("0x%08X", FieldValue(row, column));
}

}  // namespace qv
