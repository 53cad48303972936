// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcCalculator.h"

#include "tools/CrcFastA.h"
#include "tools/CrcLinearMap.h"

namespace qv {

namespace {

// From this many bytes on, B and C fold the input by their period (finding the period of
// a 16-bit state costs about as much as a byte-by-byte pass over 2 MiB).
constexpr size_t kFoldInput = 2u << 20;
// The state B and C carry between bytes has at most 16 bits, whose maps repeat within 2^16 steps.
constexpr uint64_t kMaxPeriod = 1u << 17;
constexpr uint64_t kNoPeriod = ~0ull;

}  // namespace

CrcCalculator::CrcCalculator()
{
    SetPolynomial(32, 0, 0);
}

bool CrcCalculator::SetPolynomial(unsigned width, uint64_t reflected, uint64_t normal)
{
    width = width < 1 ? 1 : width > 64 ? 64 : width;
    if (width == width_ && reflected == reflected_ && normal == normal_) return false;
    width_ = width;
    reflected_ = reflected;
    normal_ = normal;
    tableA_ = CrcTableA(reflected);
    tableB_ = CrcTableB(normal, width);
    tableC_ = CrcTableC(normal, width);
    periodB_ = periodC_ = 0;
    return true;
}

const CrcTable& CrcCalculator::Table(CrcAlgorithm algorithm) const
{
    switch (algorithm) {
    case CrcAlgorithm::A: return tableA_;
    case CrcAlgorithm::B: return tableB_;
    case CrcAlgorithm::C: break;
    }
    return tableC_;
}

CrcMachine CrcCalculator::Machine(CrcAlgorithm algorithm) const
{
    return {algorithm, &Table(algorithm), width_};
}

uint64_t CrcCalculator::PeriodOf(CrcAlgorithm algorithm) const
{
    uint64_t& period = algorithm == CrcAlgorithm::B ? periodB_ : periodC_;
    if (period == 0) {
        const uint64_t found = FindCrcPeriod(Machine(algorithm), kMaxPeriod);
        period = found != 0 ? found : kNoPeriod;
    }
    return period == kNoPeriod ? 0 : period;
}

CrcCalculator::Pass::Pass(const CrcCalculator& calculator, uint64_t length)
    : calculator_(calculator),
      b_(calculator.Machine(CrcAlgorithm::B), length >= kFoldInput ? calculator.PeriodOf(CrcAlgorithm::B) : 0, length),
      c_(calculator.Machine(CrcAlgorithm::C), length >= kFoldInput ? calculator.PeriodOf(CrcAlgorithm::C) : 0, length)
{
}

void CrcCalculator::Pass::Add(const uint8_t* data, size_t length)
{
    a_ = CrcFastUpdateA(calculator_.tableA_, calculator_.reflected_, a_, data, length);
    // Above 32 bits B's table is empty: from 0 its register never leaves 0.
    if (calculator_.width_ <= 32) b_.Add(data, length);
    c_.Add(data, length);
}

CrcFromZero CrcCalculator::Pass::Result() const
{
    return {a_, calculator_.width_ <= 32 ? b_.Result() : 0, c_.Result()};
}

CrcResults CrcCalculator::EachAlgorithm(bool invert, const StartResults& three) const
{
    const uint64_t flip = invert ? Mask() : 0;
    CrcResults results{};
    const CrcAlgorithm algorithms[3] = {CrcAlgorithm::A, CrcAlgorithm::B, CrcAlgorithm::C};
    for (int k = 0; k < 3; ++k) {
        uint64_t* out = &results[3 * k];
        three(algorithms[k], k, out);
        for (int i = 0; i < 3; ++i) out[i] ^= flip;
    }
    return results;
}

CrcResults CrcCalculator::Combine(uint64_t start, bool invert, const CrcFromZero& fromZero, uint64_t length) const
{
    const uint64_t mask = Mask();
    return EachAlgorithm(invert, [&](CrcAlgorithm algorithm, int k, uint64_t* out) {
        const CrcMachine machine = Machine(algorithm);
        const CrcLinearMap step = CrcLinearMap::FromStep([&](uint64_t v) { return machine.ZeroStep(v); });
        out[0] = fromZero[k] ^ step.ApplyPower(start, length);
        out[1] = fromZero[k];
        out[2] = fromZero[k] ^ step.ApplyPower(mask, length);
        if (algorithm == CrcAlgorithm::B) {
            out[0] &= mask;
            out[2] &= mask;
        }
    });
}

CrcResults CrcCalculator::Compute(uint64_t start, bool invert, const uint8_t* data, size_t length) const
{
    if (length >= kCrcShortInput) {
        Pass pass = StartPass(length);
        pass.Add(data, length);
        return Combine(start, invert, pass.Result(), length);
    }
    return EachAlgorithm(invert, [&](CrcAlgorithm algorithm, int, uint64_t* out) {
        const CrcMachine machine = Machine(algorithm);
        out[0] = machine.Run(start, data, length);
        out[1] = machine.Run(0, data, length);
        out[2] = machine.Run(Mask(), data, length);
    });
}

}  // namespace qv
