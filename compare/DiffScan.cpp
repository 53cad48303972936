// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/DiffScan.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv {

namespace {

constexpr size_t kStep = 64;

// The loops that count bits have a second build for processors with POPCNT and BMI (all of
// the last decade), chosen when the program loads; the baseline has no bit count instruction.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_ADDRESS__)
#define QV_BIT_COUNTING __attribute__((target_clones("default", "arch=x86-64-v3")))
#else
#define QV_BIT_COUNTING
#endif

#if defined(__SSE2__)
inline __m128i Equal16(const uint8_t* a, const uint8_t* b)
{
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(b)));
}
#endif

// Bit i set where a[i] != b[i], for 64 bytes.
inline uint64_t DiffMask64(const uint8_t* a, const uint8_t* b)
{
#if defined(__SSE2__)
    uint64_t equal = 0;
    for (int k = 0; k < 4; ++k)
        equal |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(Equal16(a + 16 * k, b + 16 * k))))
                 << (16 * k);
    return ~equal;
#else
    uint64_t mask = 0;
    for (size_t i = 0; i < kStep; ++i) mask |= static_cast<uint64_t>(a[i] != b[i]) << i;
    return mask;
#endif
}

// The same for fewer than 64 bytes; the bits past n stay clear.
inline uint64_t DiffMaskShort(const uint8_t* a, const uint8_t* b, size_t n)
{
    uint64_t mask = 0;
    for (size_t i = 0; i < n; ++i) mask |= static_cast<uint64_t>(a[i] != b[i]) << i;
    return mask;
}

inline uint64_t LowBits(size_t n)
{
    return n >= kStep ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
}

// Whether 64 bytes are equal: the common case, cheaper than the mask.
inline bool Equal64(const uint8_t* a, const uint8_t* b)
{
#if defined(__SSE2__)
    const __m128i all = _mm_and_si128(_mm_and_si128(Equal16(a, b), Equal16(a + 16, b + 16)),
                                      _mm_and_si128(Equal16(a + 32, b + 32), Equal16(a + 48, b + 48)));
    return _mm_movemask_epi8(all) == 0xFFFF;
#else
    return std::memcmp(a, b, kStep) == 0;
#endif
}

}  // namespace

size_t FirstDifference(const uint8_t* a, const uint8_t* b, size_t n)
{
    // Equal stretches go through the C library's compare (the widest loads the processor
    // has); the 4 KiB that differ are searched for the first differing byte.
    constexpr size_t kBlock = 4096;
    size_t i = 0;
    while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock) == 0) i += kBlock;
    for (; i < n; i += kStep) {
        const size_t count = n - i < kStep ? n - i : kStep;
        const uint64_t mask = count == kStep ? DiffMask64(a + i, b + i) : DiffMaskShort(a + i, b + i, count);
        if (mask) return i + static_cast<size_t>(std::countr_zero(mask));
    }
    return n;
}

size_t FirstEquality(const uint8_t* a, const uint8_t* b, size_t n)
{
    for (size_t i = 0; i < n; i += kStep) {
        const size_t count = n - i < kStep ? n - i : kStep;
        const uint64_t mask = count == kStep ? DiffMask64(a + i, b + i) : DiffMaskShort(a + i, b + i, count);
        const uint64_t equal = ~mask & LowBits(count);
        if (equal) return i + static_cast<size_t>(std::countr_zero(equal));
    }
    return n;
}

namespace {

// The last index whose bit is set in `select(mask)`, walking from the end in steps of 64.
template <typename Select>
size_t LastMatching(const uint8_t* a, const uint8_t* b, size_t n, Select select)
{
    size_t end = n;
    while (end > 0) {
        const size_t count = end < kStep ? end : kStep;
        const size_t start = end - count;
        const uint64_t mask = count == kStep ? DiffMask64(a + start, b + start) : DiffMaskShort(a + start, b + start, count);
        const uint64_t hits = select(mask) & LowBits(count);
        if (hits) return start + 63 - static_cast<size_t>(std::countl_zero(hits));
        end = start;
    }
    return n;
}

}  // namespace

size_t LastDifference(const uint8_t* a, const uint8_t* b, size_t n)
{
    return LastMatching(a, b, n, [](uint64_t mask) { return mask; });
}

size_t LastEquality(const uint8_t* a, const uint8_t* b, size_t n)
{
    return LastMatching(a, b, n, [](uint64_t mask) { return ~mask; });
}

QV_BIT_COUNTING DiffTally TallyDifferences(const uint8_t* a, const uint8_t* b, size_t n, bool previousDiffers)
{
    DiffTally tally;
    uint64_t carry = previousDiffers ? 1 : 0;
    for (size_t i = 0; i < n; i += kStep) {
        const size_t count = n - i < kStep ? n - i : kStep;
        if (count == kStep && Equal64(a + i, b + i)) {
            carry = 0;
            continue;
        }
        const uint64_t mask = count == kStep ? DiffMask64(a + i, b + i) : DiffMaskShort(a + i, b + i, count);
        // A run starts where a byte differs and the one before it does not.
        const uint64_t starts = mask & ~((mask << 1) | carry);
        tally.bytes += std::popcount(mask);
        tally.runs += std::popcount(starts);
        carry = mask >> 63;
    }
    return tally;
}

QV_BIT_COUNTING void CollectRuns(const uint8_t* a, const uint8_t* b, size_t n, int64_t base, int64_t& open,
                 std::vector<DiffRun>& runs)
{
    // The places where runs start or end, a piece of 4 KiB at a time: first every edge of
    // the piece, without a branch that depends on the bytes, then the runs from the edges.
    constexpr size_t kPiece = 4096;
    constexpr int kUnconditional = 4;
    int64_t edges[kPiece + kStep];
    uint64_t carry = open >= 0 ? 1 : 0;
    for (size_t piece = 0; piece < n; piece += kPiece) {
        const size_t end = n - piece < kPiece ? n : piece + kPiece;
        if (!carry && end - piece == kPiece && std::memcmp(a + piece, b + piece, kPiece) == 0) continue;
        size_t count = 0;
        for (size_t i = piece; i < end; i += kStep) {
            const size_t bytes = end - i < kStep ? end - i : kStep;
            const uint64_t mask = bytes == kStep ? DiffMask64(a + i, b + i) : DiffMaskShort(a + i, b + i, bytes);
            uint64_t bits = (mask ^ ((mask << 1) | carry)) & LowBits(bytes);
            carry = mask >> 63;
            const int64_t at = base + static_cast<int64_t>(i);
            const int total = std::popcount(bits);
            // A few places are written whether they exist or not: 64 bytes rarely hold more.
            for (int k = 0; k < kUnconditional; ++k, bits &= bits - 1) edges[count + k] = at + std::countr_zero(bits);
            for (int k = kUnconditional; k < total; ++k, bits &= bits - 1) edges[count + k] = at + std::countr_zero(bits);
            count += static_cast<size_t>(total);
        }
        for (size_t k = 0; k < count; ++k) {
            if (open < 0) {
                open = edges[k];
            } else {
                runs.push_back({open, edges[k] - open});
                open = -1;
            }
        }
    }
}

void MarkDifferences(const uint8_t* a, const uint8_t* b, size_t n, uint8_t* flags)
{
    for (size_t i = 0; i < n; ++i) flags[i] = a[i] != b[i] ? 1 : 0;
}

}  // namespace qv
