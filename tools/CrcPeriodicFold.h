// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fast runs of algorithms B and C from start 0 over long inputs. Both are linear machines
// whose state, as later bytes see it, is small (C: 7 bits; B: at most 16 bits up to 32
// bits of width, nothing above). The powers of such a step map repeat with a period p
// after at most 64 steps, so every byte more than 64 bytes before the end meets the same
// map as the byte p (or any multiple L of p) later. Xor-ing the input into an L-byte
// block therefore loses nothing: running the machine over that block and then over the
// last 64 real bytes gives exactly the byte-by-byte result.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/CrcAlgorithms.h"

namespace qv {

enum class CrcAlgorithm { A, B, C };

// One of the three machines with its table, as the byte-by-byte definitions run it.
struct CrcMachine {
    CrcAlgorithm algorithm;
    const CrcTable* table;
    unsigned width;

    uint64_t Run(uint64_t start, const uint8_t* data, size_t length) const;
    // One step with a zero input byte: a linear map of the register.
    uint64_t ZeroStep(uint64_t value) const;
};

// Steps after which the powers of any step map of a 64-bit register repeat.
inline constexpr uint64_t kCrcPreperiod = 64;

// The smallest p <= maxPeriod with step^(64 + p) == step^64, or 0 when there is none.
uint64_t FindCrcPeriod(const CrcMachine& machine, uint64_t maxPeriod);

// The machine's result from start 0 over `length` bytes that arrive in pieces, in order,
// folding them into a block of a multiple of the period of at least minimumBlock bytes.
// Without a period, or for inputs too short to fold, the machine runs byte by byte.
class CrcPeriodicFolder {
public:
    CrcPeriodicFolder(const CrcMachine& machine, uint64_t period, uint64_t length, size_t minimumBlock = 4096);
    void Add(const uint8_t* data, size_t length);
    uint64_t Result() const;

private:
    CrcMachine machine_;
    uint64_t seen_ = 0;
    uint64_t register_ = 0;  // the byte-by-byte run, when not folding
    size_t block_ = 0;       // 0: not folding
    uint64_t prefix_ = 0;    // the bytes folded; the rest runs exactly
    size_t head_ = 0;        // prefix_ % block_: the first bytes fill the block's end
    std::vector<uint8_t> folded_;
    uint8_t tail_[kCrcPreperiod] = {};
};

// The same over one block of bytes.
uint64_t CrcPeriodicRun(const CrcMachine& machine, uint64_t period, const uint8_t* data, size_t length,
                        size_t minimumBlock = 4096);

}  // namespace qv
