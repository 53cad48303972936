// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcAlgorithms.h"

namespace qv {

uint64_t CrcMask(unsigned width)
{
    return width >= 64 ? ~0ull : (1ull << width) - 1;
}

unsigned CrcShiftB(unsigned width)
{
    return (width + 7) / 8 * 8 - 8;
}

CrcTable CrcTableA(uint64_t reflected)
{
    CrcTable table;
    for (unsigned i = 0; i < 256; ++i) {
        uint64_t x = i;
        for (int bit = 0; bit < 8; ++bit) x = (x >> 1) ^ ((x & 1) ? reflected : 0);
        table[i] = x;
    }
    return table;
}

uint64_t CrcUpdateA(const CrcTable& table, uint64_t start, const uint8_t* data, size_t length)
{
    uint64_t c = start;
    for (size_t i = 0; i < length; ++i) c = (c >> 8) ^ table[(c ^ data[i]) & 0xFF];
    return c;
}

CrcTable CrcTableB(uint64_t normal, unsigned width)
{
    const unsigned shift = CrcShiftB(width) % 32;
    const uint64_t top = 1ull << (width - 1);
    const uint64_t mask = CrcMask(width);
    CrcTable table;
    for (uint32_t i = 0; i < 256; ++i) {
        uint64_t u = 0;
        uint32_t e = i << shift;  // a 32-bit quantity: bits beyond 32 are lost
        for (int bit = 0; bit < 8; ++bit) {
            u = ((u ^ e) & top) ? (u << 1) ^ normal : u << 1;
            e <<= 1;
        }
        table[i] = u & mask;
    }
    return table;
}

uint64_t CrcUpdateB(const CrcTable& table, unsigned width, uint64_t start, const uint8_t* data, size_t length)
{
    const unsigned shift = CrcShiftB(width);
    const uint64_t mask = CrcMask(width);
    uint64_t c = start;
    for (size_t i = 0; i < length; ++i) {
        c &= mask;
        const unsigned j = ((c >> shift) & 0xFF) ^ data[i];
        c = (c << shift) ^ table[j];
    }
    return c & mask;
}

CrcTable CrcTableC(uint64_t normal, unsigned width)
{
    // Below 64 bits the leading term x^width takes part; at 64 there is no room for it.
    const uint64_t poly = width < 64 ? normal | (1ull << width) : normal;
    const uint64_t test = width < 64 ? 1ull << width : 0;
    CrcTable table;
    for (uint64_t i = 0; i < 256; ++i) {
        uint64_t x = (i & test) ? i ^ poly : i;
        for (int bit = 0; bit < 7; ++bit) {
            x <<= 1;
            if (x & test) x ^= poly;
        }
        table[i] = x;
    }
    return table;
}

uint64_t CrcUpdateC(const CrcTable& table, uint64_t start, const uint8_t* data, size_t length)
{
    uint64_t c = start;
    for (size_t i = 0; i < length; ++i) c = table[(data[i] ^ ((c & 0x7F) << 1)) & 0xFF];
    return c;
}

}  // namespace qv
