// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Algorithm A (reflected, 64-bit register) at memory speed. The register with polynomial
// R is the CRC modulo P(x) = x^64 + R(x) in reflected bit order for every width, so one
// engine serves all widths and gives exactly CrcUpdateA's result. Carry-less
// multiplication folds 64 bytes per step where the processor has it (checked at run
// time); elsewhere eight tables consume eight bytes per step.
#include <cstddef>
#include <cstdint>

#include "tools/CrcAlgorithms.h"

namespace qv {

// table must be CrcTableA(reflected).
uint64_t CrcFastUpdateA(const CrcTable& table, uint64_t reflected, uint64_t start, const uint8_t* data,
                        size_t length);

// The same, forced onto the portable eight-table path (for tests and benchmarks).
uint64_t CrcSlicedUpdateA(const CrcTable& table, uint64_t start, const uint8_t* data, size_t length);

// Whether CrcFastUpdateA folds with carry-less multiplication on this processor.
bool CrcCarrylessAvailable();

}  // namespace qv
