// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed catalogue of standard CRCs offered by the CRC dialog. Index 0 ("Frei
// definiert") stands for a polynomial that matches no entry. Polynomials are stored in
// reflected form (bit 0 stands for the highest power below x^width).
#include <cstddef>
#include <cstdint>

namespace qv {

struct CrcCatalogEntry {
    const char* name;  // UTF-8, as shown in the list
    uint32_t width;
    uint64_t reflected;
};

inline constexpr size_t kCrcCatalogSize = 19;

// Entry 0 has width 0 and polynomial 0.
const CrcCatalogEntry& CrcCatalogAt(size_t index);

// The entry with this width and reflected polynomial, searched from the last entry down
// to entry 1; 0 when none matches.
size_t FindCrcCatalogEntry(uint32_t width, uint64_t reflected);

}  // namespace qv
