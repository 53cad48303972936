// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three table-driven CRC algorithms of the CRC tool, byte by byte. These are the
// definitions: the fast engines (CrcFastA, CrcSmallStateRun) must give the same results.
//   A: reflected (least significant bit first), 64-bit register, polynomial R.
//   B: most significant bit first, the register shifted by V = (width rounded up to a
//      multiple of 8) - 8; the table index is built in 32 bits, so above 32 bits every
//      entry is 0. Polynomial N in normal form.
//   C: a 7-bit register scheme (the SD card CRC-7 at width 7). Polynomial N.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

using CrcTable = std::array<uint64_t, 256>;

// The w low bits set (all 64 for w = 64); w is 1..64.
uint64_t CrcMask(unsigned width);
// V: the width rounded up to a multiple of 8, less 8.
unsigned CrcShiftB(unsigned width);

CrcTable CrcTableA(uint64_t reflected);
uint64_t CrcUpdateA(const CrcTable& table, uint64_t start, const uint8_t* data, size_t length);

CrcTable CrcTableB(uint64_t normal, unsigned width);
uint64_t CrcUpdateB(const CrcTable& table, unsigned width, uint64_t start, const uint8_t* data, size_t length);

CrcTable CrcTableC(uint64_t normal, unsigned width);
uint64_t CrcUpdateC(const CrcTable& table, uint64_t start, const uint8_t* data, size_t length);

}  // namespace qv
