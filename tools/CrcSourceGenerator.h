// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// C source for a table-driven CRC: a type, the precomputed 256-entry table of the chosen
// algorithm, a function computing the CRC of a memory block with it and a function that
// rebuilds the table. Lines end in CR LF; the text has no line end after its last "}".
#include <string>

#include "tools/CrcAlgorithms.h"
#include "tools/CrcPeriodicFold.h"

namespace qv {

struct CrcSourceInput {
    unsigned width = 32;
    uint64_t normal = 0;          // N, masked
    uint64_t start = 0;           // S, masked
    std::string reflectedText;    // the text of the reflected polynomial field
    std::string normalText;       // the text of the normal polynomial field
    const CrcTable* table = nullptr;  // TA, TB or TC of the chosen algorithm
};

std::string GenerateCrcSource(CrcAlgorithm algorithm, const CrcSourceInput& input);

// "0x" and (w + 3) / 4 upper-case hex digits with leading zeros; longer values print all.
std::string FormatCrcValue(uint64_t value, unsigned width);

}  // namespace qv
