// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inner loop of the search: tests two probe bytes of a value at many start positions
// at once with vector instructions and runs the full comparison only where both agree.
#include <cstdint>

namespace qv {

// A probe byte passes when ((byte AND andMask) OR orMask) == want; this covers exact
// bytes (FF, 00), case-folded letters (FF, 20) and masked bytes (mask, 00).
struct ScanProbe {
    int offsetA = 0, offsetB = 0;  // positions within the value
    uint8_t andA = 0xFF, orA = 0, wantA = 0;
    uint8_t andB = 0xFF, orB = 0, wantB = 0;
    bool plain = true;  // both probes are plain equality tests
};

// Full comparison at a candidate position; null when the probes already decide.
using VerifyAt = bool (*)(const void* context, const uint8_t* at);

struct ScanJob {
    const uint8_t* data = nullptr;
    ScanProbe probe;
    VerifyAt verify = nullptr;
    const void* context = nullptr;
};

// Lowest (ScanUp) or highest (ScanDown) start position p in [lo, hi) that passes, or -1.
// The caller guarantees that data[p + offsetA] and data[p + offsetB] exist for every p.
int64_t ScanUp(const ScanJob& job, int64_t lo, int64_t hi);
int64_t ScanDown(const ScanJob& job, int64_t lo, int64_t hi);

namespace detail {
// The variants behind the dispatch, exposed so that tests can check each one.
int64_t ScanUpPortable(const ScanJob& job, int64_t lo, int64_t hi);
int64_t ScanDownPortable(const ScanJob& job, int64_t lo, int64_t hi);
#if defined(__x86_64__)
int64_t ScanUpAvx2(const ScanJob& job, int64_t lo, int64_t hi);
int64_t ScanDownAvx2(const ScanJob& job, int64_t lo, int64_t hi);
bool CpuHasAvx2();
#endif
// Tests switch the wide variants off to check the baseline through the same entry points.
void AllowWideVectors(bool allowed);
}  // namespace detail

}  // namespace qv
