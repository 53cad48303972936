// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline scan loops (SSE2 on x86-64, plain bytes elsewhere) and the run-time choice
// of the widest variant the processor offers.
#include "search/ScanKernel.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace qv {
namespace detail {
namespace {

#if defined(__x86_64__)
struct Vec {
    using V = __m128i;
    static constexpr int kWidth = 16;
    static V Load(const uint8_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
    static V Splat(uint8_t byte) { return _mm_set1_epi8(static_cast<char>(byte)); }
    static V Eq(V a, V b) { return _mm_cmpeq_epi8(a, b); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static uint32_t MoveMask(V a) { return static_cast<uint32_t>(_mm_movemask_epi8(a)); }
};
#else
// One byte per "vector": the same loops without vector instructions.
struct Vec {
    using V = uint8_t;
    static constexpr int kWidth = 1;
    static V Load(const uint8_t* at) { return *at; }
    static V Splat(uint8_t byte) { return byte; }
    static V Eq(V a, V b) { return a == b ? 0xFF : 0; }
    static V And(V a, V b) { return a & b; }
    static V Or(V a, V b) { return a | b; }
    static uint32_t MoveMask(V a) { return a >> 7; }
};
#endif

#include "search/ScanKernelBody.h"

}  // namespace

int64_t ScanUpPortable(const ScanJob& job, int64_t lo, int64_t hi)
{
    return job.probe.plain ? ScanUpT<true>(job, lo, hi) : ScanUpT<false>(job, lo, hi);
}

int64_t ScanDownPortable(const ScanJob& job, int64_t lo, int64_t hi)
{
    return job.probe.plain ? ScanDownT<true>(job, lo, hi) : ScanDownT<false>(job, lo, hi);
}

#if defined(__x86_64__)
bool CpuHasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

namespace {
bool wideVectorsAllowed = true;
}

void AllowWideVectors(bool allowed) { wideVectorsAllowed = allowed; }

}  // namespace detail

int64_t ScanUp(const ScanJob& job, int64_t lo, int64_t hi)
{
#if defined(__x86_64__)
    if (detail::wideVectorsAllowed && detail::CpuHasAvx2()) return detail::ScanUpAvx2(job, lo, hi);
#endif
    return detail::ScanUpPortable(job, lo, hi);
}

int64_t ScanDown(const ScanJob& job, int64_t lo, int64_t hi)
{
#if defined(__x86_64__)
    if (detail::wideVectorsAllowed && detail::CpuHasAvx2()) return detail::ScanDownAvx2(job, lo, hi);
#endif
    return detail::ScanDownPortable(job, lo, hi);
}

}  // namespace qv
