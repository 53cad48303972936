// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The choices of the source-text export ("CppCopyDlg"), shared by the clipboard copy and
// the C-file export: read before NumberEntryDialog opens, written back on OK.
#include <cstdint>

#include "document/NumberEntryDialog.h"
#include "platform/SettingsStore.h"

namespace qv {

struct NumberEntrySettings {
    static constexpr const char* kSection = "CppCopyDlg";

    uint32_t hexDisplay = 0;  // "BigEndian": 1 shows the number "0x" hexadecimal (not the byte order)
    int valueSize = 1;        // "ValueSize": 1, 2, 4 or 8
    uint32_t lineSize = 16;   // "LineSize": values per line, low 8 bits used
    int format = 0;           // "Format": 0 C/C++, 1 Assembler, 2 Texttypen, 3 Dump

    // The user's values, else the machine-wide ones, else the defaults; unknown sizes and
    // formats fall back to the defaults.
    static NumberEntrySettings Load(const SettingsStores& stores);
    void Save(ISettingsStore& user) const;

    // Fills the dialog's number (the line size), size and format.
    void ApplyTo(NumberEntryDialog& dialog) const;
    // Takes the choices of a confirmed dialog.
    void TakeFrom(const NumberEntryDialog& dialog);

    int LineSize8() const { return static_cast<int>(lineSize & 0xFF); }
};

}  // namespace qv
