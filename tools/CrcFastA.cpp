// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcFastA.h"

#include <bit>
#include <cstring>

#include "common/Bits.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QV_CRC_CLMUL 1
#endif

namespace qv {

namespace {

uint64_t LoadLittle64(const uint8_t* p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

}  // namespace

uint64_t CrcSlicedUpdateA(const CrcTable& table, uint64_t start, const uint8_t* data, size_t length)
{
    constexpr size_t kMinimum = 256;  // below this building the tables costs more than it saves
    if (length < kMinimum) return CrcUpdateA(table, start, data, length);
    // slice[k][i]: the register contribution of byte value i followed by k zero bytes.
    static thread_local CrcTable slice[8];
    slice[0] = table;
    for (int k = 1; k < 8; ++k)
        for (int i = 0; i < 256; ++i) slice[k][i] = (slice[k - 1][i] >> 8) ^ table[slice[k - 1][i] & 0xFF];
    uint64_t c = start;
    size_t pos = 0;
    for (; pos + 8 <= length; pos += 8) {
        const uint64_t x = c ^ LoadLittle64(data + pos);
        c = slice[7][x & 0xFF] ^ slice[6][(x >> 8) & 0xFF] ^ slice[5][(x >> 16) & 0xFF] ^
            slice[4][(x >> 24) & 0xFF] ^ slice[3][(x >> 32) & 0xFF] ^ slice[2][(x >> 40) & 0xFF] ^
            slice[1][(x >> 48) & 0xFF] ^ slice[0][x >> 56];
    }
    return CrcUpdateA(table, c, data + pos, length - pos);
}

#ifdef QV_CRC_CLMUL

namespace {

// x^exponent modulo P in reflected form (bit i stands for x^(63-i)); P = x^64 + R.
uint64_t PowerOfX(uint64_t reflected, unsigned exponent)
{
    const uint64_t normal = ReflectBits(reflected, 64);
    uint64_t value = 1;
    for (unsigned i = 0; i < exponent; ++i) {
        const bool carry = (value >> 63) != 0;
        value <<= 1;
        if (carry) value ^= normal;
    }
    return ReflectBits(value, 64);
}

// Multiplier pair that moves a 128-bit block `distance` bits further along the message.
// The low half of a block holds the higher powers; a reflected carry-less product comes
// out one power short, which the exponents (distance + 63, distance - 1) make up.
__m128i FoldConstants(uint64_t reflected, unsigned distance)
{
    return _mm_set_epi64x(static_cast<long long>(PowerOfX(reflected, distance - 1)),
                          static_cast<long long>(PowerOfX(reflected, distance + 63)));
}

__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i block, __m128i constants)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(block, constants, 0x00), _mm_clmulepi64_si128(block, constants, 0x11));
}

__attribute__((target("pclmul,sse4.1"))) uint64_t FoldedUpdateA(const CrcTable& table, uint64_t reflected,
                                                                 uint64_t start, const uint8_t* data, size_t length)
{
    const __m128i by512 = FoldConstants(reflected, 512);
    const __m128i by384 = FoldConstants(reflected, 384);
    const __m128i by256 = FoldConstants(reflected, 256);
    const __m128i by128 = FoldConstants(reflected, 128);
    auto load = [](const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };

    // The start value enters as if xor-ed into the first eight message bytes.
    __m128i x0 = _mm_xor_si128(load(data), _mm_set_epi64x(0, static_cast<long long>(start)));
    __m128i x1 = load(data + 16), x2 = load(data + 32), x3 = load(data + 48);
    size_t pos = 64;
    for (; pos + 64 <= length; pos += 64) {
        x0 = _mm_xor_si128(Fold(x0, by512), load(data + pos));
        x1 = _mm_xor_si128(Fold(x1, by512), load(data + pos + 16));
        x2 = _mm_xor_si128(Fold(x2, by512), load(data + pos + 32));
        x3 = _mm_xor_si128(Fold(x3, by512), load(data + pos + 48));
    }
    __m128i x = _mm_xor_si128(_mm_xor_si128(Fold(x0, by384), Fold(x1, by256)), _mm_xor_si128(Fold(x2, by128), x3));
    for (; pos + 16 <= length; pos += 16) x = _mm_xor_si128(Fold(x, by128), load(data + pos));

    // The folded 16 bytes stand for everything read so far; the table reduces them.
    uint8_t folded[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(folded), x);
    const uint64_t c = CrcUpdateA(table, 0, folded, sizeof folded);
    return CrcUpdateA(table, c, data + pos, length - pos);
}

}  // namespace

bool CrcCarrylessAvailable()
{
    static const bool available = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return available;
}

uint64_t CrcFastUpdateA(const CrcTable& table, uint64_t reflected, uint64_t start, const uint8_t* data,
                        size_t length)
{
    constexpr size_t kMinimum = 1024;  // below this the constants cost more than they save
    if (length >= kMinimum && CrcCarrylessAvailable()) return FoldedUpdateA(table, reflected, start, data, length);
    return CrcSlicedUpdateA(table, start, data, length);
}

#else

bool CrcCarrylessAvailable()
{
    return false;
}

uint64_t CrcFastUpdateA(const CrcTable& table, uint64_t, uint64_t start, const uint8_t* data, size_t length)
{
    return CrcSlicedUpdateA(table, start, data, length);
}

#endif

}  // namespace qv
