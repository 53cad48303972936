// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nine CRC results of the CRC tool: algorithms A, B and C, each with the start value,
// with 0 and with all w bits set. The tables are kept and rebuilt only when the width or
// the polynomial changes. A CRC register is linear in its start value, so each algorithm
// runs once over the bytes from start 0 and the start values are moved across them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "tools/CrcAlgorithms.h"
#include "tools/CrcPeriodicFold.h"

namespace qv {

// Result order: A(S), A(0), A(M), B(S), B(0), B(M), C(S), C(0), C(M).
using CrcResults = std::array<uint64_t, 9>;
// A, B and C from start 0.
using CrcFromZero = std::array<uint64_t, 3>;

// Below this many bytes three plain passes are cheaper than moving start values.
inline constexpr size_t kCrcShortInput = 4096;

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

    // One pass of the three algorithms from start 0, by the fastest exact way for the
    // length, over an input that arrives in pieces, in order. It uses the calculator's
    // tables: the polynomial must not change while it runs.
    class Pass {
    public:
        void Add(const uint8_t* data, size_t length);
        CrcFromZero Result() const;

    private:
        friend class CrcCalculator;
        Pass(const CrcCalculator& calculator, uint64_t length);
        const CrcCalculator& calculator_;
        uint64_t a_ = 0;
        CrcPeriodicFolder b_, c_;
    };
    // A pass over `length` bytes (at least kCrcShortInput; shorter inputs go to Compute).
    Pass StartPass(uint64_t length) const { return Pass(*this, length); }

    // The nine results over `length` bytes from the pass over them, for any start value.
    CrcResults Combine(uint64_t start, bool invert, const CrcFromZero& fromZero, uint64_t length) const;

private:
    // Fills the results of each algorithm (index k) for the start values S, 0 and M, then
    // inverts them all when asked.
    using StartResults = std::function<void(CrcAlgorithm algorithm, int k, uint64_t* out)>;
    CrcResults EachAlgorithm(bool invert, const StartResults& three) const;
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
