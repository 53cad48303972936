// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcPeriodicFold.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tools/CrcLinearMap.h"

namespace qv {

uint64_t CrcMachine::Run(uint64_t start, const uint8_t* data, size_t length) const
{
    switch (algorithm) {
    case CrcAlgorithm::A: return CrcUpdateA(*table, start, data, length);
    case CrcAlgorithm::B: return CrcUpdateB(*table, width, start, data, length);
    case CrcAlgorithm::C: return CrcUpdateC(*table, start, data, length);
    }
    return 0;
}

uint64_t CrcMachine::ZeroStep(uint64_t value) const
{
    // For B, Run() masks the result, which a single step does not; the next step masks
    // first, so the masked value is an equally valid register.
    static const uint8_t zero = 0;
    return Run(value, &zero, 1);
}

uint64_t FindCrcPeriod(const CrcMachine& machine, uint64_t maxPeriod)
{
    const CrcLinearMap step = CrcLinearMap::FromStep([&](uint64_t v) { return machine.ZeroStep(v); });
    // Images of the unit vectors after the preperiod; only the non-zero ones need following.
    uint64_t settled[64];
    uint64_t current[64];
    unsigned count = 0;
    const CrcLinearMap preperiod = step.Power(kCrcPreperiod);
    for (unsigned k = 0; k < 64; ++k) {
        const uint64_t image = preperiod.Apply(1ull << k);
        if (image != 0) settled[count++] = image;
    }
    std::memcpy(current, settled, sizeof(uint64_t) * count);
    for (uint64_t p = 1; p <= maxPeriod; ++p) {
        bool same = true;
        for (unsigned k = 0; k < count; ++k) {
            current[k] = machine.ZeroStep(current[k]);
            same = same && current[k] == settled[k];
        }
        if (same) return p;
    }
    return 0;
}

namespace {

void XorInto(uint8_t* target, const uint8_t* source, size_t length)
{
    typedef uint64_t Lanes __attribute__((vector_size(32)));
    size_t i = 0;
    for (; i + 32 <= length; i += 32) {
        Lanes a, b;
        std::memcpy(&a, target + i, sizeof a);
        std::memcpy(&b, source + i, sizeof b);
        a ^= b;
        std::memcpy(target + i, &a, sizeof a);
    }
    for (; i < length; ++i) target[i] ^= source[i];
}

}  // namespace

// The last kCrcPreperiod bytes run exactly; before them, byte i meets the map
// step^(distance to the prefix end) and distances equal modulo `block` meet the same map,
// so the prefix is xor-ed into one block aligned to its end.
CrcPeriodicFolder::CrcPeriodicFolder(const CrcMachine& machine, uint64_t period, uint64_t length, size_t minimumBlock)
    : machine_(machine)
{
    if (period == 0) return;
    const size_t block = static_cast<size_t>(period * ((minimumBlock + period - 1) / period));
    if (length <= block + kCrcPreperiod) return;
    block_ = block;
    prefix_ = length - kCrcPreperiod;
    head_ = static_cast<size_t>(prefix_ % block_);
    folded_.assign(block_, 0);
}

void CrcPeriodicFolder::Add(const uint8_t* data, size_t length)
{
    if (block_ == 0) {
        register_ = machine_.Run(register_, data, length);
        seen_ += length;
        return;
    }
    while (length > 0) {
        size_t take;
        if (seen_ < prefix_) {
            const size_t at = static_cast<size_t>((seen_ + block_ - head_) % block_);
            take = static_cast<size_t>(std::min<uint64_t>({length, block_ - at, prefix_ - seen_}));
            XorInto(folded_.data() + at, data, take);
        } else {
            const size_t at = static_cast<size_t>(seen_ - prefix_);
            if (at >= sizeof tail_) return;  // more than the length given: not part of the input
            take = std::min(length, sizeof tail_ - at);
            std::memcpy(tail_ + at, data, take);
        }
        data += take;
        length -= take;
        seen_ += take;
    }
}

uint64_t CrcPeriodicFolder::Result() const
{
    if (block_ == 0) return register_;
    const uint64_t c = machine_.Run(0, folded_.data(), block_);
    return machine_.Run(c, tail_, kCrcPreperiod);
}

uint64_t CrcPeriodicRun(const CrcMachine& machine, uint64_t period, const uint8_t* data, size_t length,
                        size_t minimumBlock)
{
    CrcPeriodicFolder folder(machine, period, length, minimumBlock);
    folder.Add(data, length);
    return folder.Result();
}

}  // namespace qv
