// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two status texts of the focused hex view: cursor address with selection length,
// and the value under the cursor.
#include <cstdint>
#include <string>

#include "view/ByteSource.h"

namespace qv {

// StatusbarMode bits.
enum StatusbarModeBits : uint32_t {
    StatusValueSize = 0x3,    // 0 byte, 1 word, 2 (and 3) dword
    StatusDirty = 0x1000,     // the panes must be rewritten
    HexDistances = 0x2000,    // the selection length in hex
    BigEndianValue = 0x4000,  // the value is read big-endian
    UnsignedValue = 0x8000,   // the value is shown unsigned
};

struct StatusSelection {
    bool active = false;
    int64_t anchor = 0;
    int64_t end = 0;
};

// " Adr: 0x<address> / <signed address>" or, with a selection, " / M: +<length>" ("M: -"
// when it was made backwards), the length in hex with HexDistances. The address is shown
// whole; its decimal reading is signed at 32 bits, or at 64 bits for a block whose addresses
// go beyond 32 bits (wideAddresses), so that the addresses of one block read alike.
std::string AddressPaneText(uint64_t cursorAddress, const StatusSelection& selection, uint32_t statusMode,
                            bool wideAddresses = false);

// The value shown for a selection (its lower end, 1..4 bytes) or the cursor (the size of
// StatusValueSize). Bytes outside the block count as described for the status line.
int32_t StatusValue(const IByteSource& bytes, int64_t cursorOffset, const StatusSelection& selection,
                    uint32_t statusMode);

// " Wert: 0x<hex> / <decimal>".
std::string ValuePaneText(int32_t value, uint32_t statusMode);

}  // namespace qv
