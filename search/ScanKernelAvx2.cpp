// SPDX-License-Identifier: GPL-3.0-or-later
// The scan loops with 32-byte AVX2 vectors, chosen at run time on processors that have them.
#include "search/ScanKernel.h"

#if defined(__x86_64__)
#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace qv::detail {
namespace {

struct Vec {
    using V = __m256i;
    static constexpr int kWidth = 32;
    static V Load(const uint8_t* at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)); }
    static V Splat(uint8_t byte) { return _mm256_set1_epi8(static_cast<char>(byte)); }
    static V Eq(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static uint32_t MoveMask(V a) { return static_cast<uint32_t>(_mm256_movemask_epi8(a)); }
};

#include "search/ScanKernelBody.h"

}  // namespace

int64_t ScanUpAvx2(const ScanJob& job, int64_t lo, int64_t hi)
{
    return job.probe.plain ? ScanUpT<true>(job, lo, hi) : ScanUpT<false>(job, lo, hi);
}

int64_t ScanDownAvx2(const ScanJob& job, int64_t lo, int64_t hi)
{
    return job.probe.plain ? ScanDownT<true>(job, lo, hi) : ScanDownT<false>(job, lo, hi);
}

}  // namespace qv::detail

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif
