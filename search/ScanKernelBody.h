// SPDX-License-Identifier: GPL-3.0-or-later
// The scan loops, written once over a vector type `Vec` that the including file defines
// (SSE2 or AVX2). Included inside an anonymous namespace: each instance stays private to
// its file, so the AVX2 code can never be picked for a function of the baseline build.
// Uses builtins only: no standard-library inline functions are instantiated here.

inline bool ProbePasses(const ScanJob& job, const uint8_t* at)
{
    const ScanProbe& p = job.probe;
    return ((at[p.offsetA] & p.andA) | p.orA) == p.wantA && ((at[p.offsetB] & p.andB) | p.orB) == p.wantB;
}

inline bool Accept(const ScanJob& job, const uint8_t* at)
{
    return job.verify == nullptr || job.verify(job.context, at);
}

// Candidate bits of the 64 start positions from `at` on (bit i: position at + i). Most
// blocks have none: one mask test over all of them settles those.
template <bool Plain>
inline uint64_t ProbeBlock(const ScanJob& job, const uint8_t* at, const typename Vec::V (&splat)[6])
{
    constexpr int kVectors = 64 / Vec::kWidth;
    typename Vec::V hit[kVectors];
    typename Vec::V any = Vec::Splat(0);
    for (int k = 0; k < kVectors; ++k) {
        typename Vec::V a = Vec::Load(at + k * Vec::kWidth + job.probe.offsetA);
        typename Vec::V b = Vec::Load(at + k * Vec::kWidth + job.probe.offsetB);
        if (!Plain) {
            a = Vec::Or(Vec::And(a, splat[0]), splat[1]);
            b = Vec::Or(Vec::And(b, splat[3]), splat[4]);
        }
        hit[k] = Vec::And(Vec::Eq(a, splat[2]), Vec::Eq(b, splat[5]));
        any = Vec::Or(any, hit[k]);
    }
    if (Vec::MoveMask(any) == 0) return 0;
    uint64_t bits = 0;
    for (int k = 0; k < kVectors; ++k) bits |= static_cast<uint64_t>(Vec::MoveMask(hit[k])) << (k * Vec::kWidth);
    return bits;
}

inline void MakeSplats(const ScanProbe& p, typename Vec::V (&splat)[6])
{
    splat[0] = Vec::Splat(p.andA);
    splat[1] = Vec::Splat(p.orA);
    splat[2] = Vec::Splat(p.wantA);
    splat[3] = Vec::Splat(p.andB);
    splat[4] = Vec::Splat(p.orB);
    splat[5] = Vec::Splat(p.wantB);
}

template <bool Plain>
int64_t ScanUpT(const ScanJob& job, int64_t lo, int64_t hi)
{
    typename Vec::V splat[6];
    MakeSplats(job.probe, splat);
    int64_t p = lo;
    for (; p + 64 <= hi; p += 64) {
        uint64_t bits = ProbeBlock<Plain>(job, job.data + p, splat);
        while (bits != 0) {
            int64_t q = p + __builtin_ctzll(bits);
            if (Accept(job, job.data + q)) return q;
            bits &= bits - 1;
        }
    }
    for (; p < hi; ++p)
        if (ProbePasses(job, job.data + p) && Accept(job, job.data + p)) return p;
    return -1;
}

template <bool Plain>
int64_t ScanDownT(const ScanJob& job, int64_t lo, int64_t hi)
{
    typename Vec::V splat[6];
    MakeSplats(job.probe, splat);
    int64_t p = hi;  // positions below p are still to be tried
    for (; p - 64 >= lo; p -= 64) {
        uint64_t bits = ProbeBlock<Plain>(job, job.data + p - 64, splat);
        while (bits != 0) {
            int top = 63 - __builtin_clzll(bits);
            int64_t q = p - 64 + top;
            if (Accept(job, job.data + q)) return q;
            bits &= ~(uint64_t{1} << top);
        }
    }
    for (int64_t q = p - 1; q >= lo; --q)
        if (ProbePasses(job, job.data + q) && Accept(job, job.data + q)) return q;
    return -1;
}
