// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nine CRC results of the CRC tool: algorithms A, B and C, each with the start value,
// with 0 and with all w bits set. The tables are kept and rebuilt only when the width or
// the polynomial changes. A CRC register is linear in its start value, so each algorithm
// runs once over the bytes from start 0 and the start values are moved across them.
#include <array>
#include <cstddef>
#include <cstdint>

#include "tools/CrcAlgorithms.h"
#include "tools/CrcPeriodicFold.h"

namespace qv {

// Result order: A(S), A(0), A(M), B(S), B(0), B(M), C(S), C(0), C(M).
using CrcResults = std::array<uint64_t, 9>;

class CrcCalculator {
public:
    CrcCalculator();

    // Returns whether the tables were rebuilt (width or polynomial differed).
    bool SetPolynomial(unsigned width, uint64_t reflected, uint64_t normal);

    unsigned Width() const { return width_; }
    uint64_t Mask() const { return CrcMask(width_); }
    const CrcTable& Table(CrcAlgorithm algorithm) const;

    // start is used as given (the dialog masks it); with invert each result is xor-ed with M.
    CrcResults Compute(uint64_t start, bool invert, const uint8_t* data, size_t length) const;

    // One algorithm from start 0, by the fastest exact way for the length.
    uint64_t RunFromZero(CrcAlgorithm algorithm, const uint8_t* data, size_t length) const;

private:
    CrcMachine Machine(CrcAlgorithm algorithm) const;
    uint64_t PeriodOf(CrcAlgorithm algorithm) const;

    unsigned width_ = 0;
    uint64_t reflected_ = 0;
    uint64_t normal_ = 0;
    CrcTable tableA_{}, tableB_{}, tableC_{};
    // Periods of B and C for the current tables, found when first needed (0: not yet).
    mutable uint64_t periodB_ = 0, periodC_ = 0;
};

}  // namespace qv
