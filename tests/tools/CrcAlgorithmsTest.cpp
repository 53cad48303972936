// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "common/Bits.h"
#include "tools/CrcAlgorithms.h"
#include "tools/CrcCalculator.h"
#include "tools/CrcCatalog.h"

namespace qv {
namespace {

const uint8_t* Check() { return reinterpret_cast<const uint8_t*>("123456789"); }

// Bit by bit, least significant bit first, as CRCs are usually defined.
uint64_t BitwiseReflected(unsigned width, uint64_t reflected, uint64_t start, const uint8_t* data, size_t n)
{
    uint64_t c = start;
    for (size_t i = 0; i < n; ++i) {
        c ^= data[i];
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ reflected : c >> 1;
    }
    return c & CrcMask(width);
}

// Bit by bit, most significant bit first.
uint64_t BitwiseNormal(unsigned width, uint64_t normal, uint64_t start, const uint8_t* data, size_t n)
{
    const uint64_t top = 1ull << (width - 1);
    uint64_t c = start;
    for (size_t i = 0; i < n; ++i)
        for (int bit = 7; bit >= 0; --bit) {
            const bool feed = ((c & top) != 0) != (((data[i] >> bit) & 1) != 0);
            c = (c << 1) & CrcMask(width);
            if (feed) c ^= normal;
        }
    return c;
}

CrcResults ResultsFor(size_t catalogIndex, uint64_t start, bool invert, const uint8_t* data = Check(),
                      size_t n = 9)
{
    const CrcCatalogEntry& entry = CrcCatalogAt(catalogIndex);
    CrcCalculator calculator;
    calculator.SetPolynomial(entry.width, entry.reflected, ReflectBits(entry.reflected, entry.width));
    return calculator.Compute(start & CrcMask(entry.width), invert, data, n);
}

enum { kA = 0, kA0 = 1, kAM = 2, kB = 3, kB0 = 4, kBM = 5, kC = 6, kC0 = 7, kCM = 8 };

TEST(CrcAlgorithmsTest, DocumentedCheckValues)
{
    const CrcResults crc32 = ResultsFor(16, 0xFFFFFFFF, true);
    EXPECT_EQ(crc32[kAM], 0xCBF43926u);
    EXPECT_EQ(crc32[kA0], 0xD202D277u);
    EXPECT_EQ(crc32[kA], 0xCBF43926u);

    const CrcResults ccitt = ResultsFor(10, 0, false);
    EXPECT_EQ(ccitt[kB0], 0x31C3u);
    EXPECT_EQ(ccitt[kA0], 0x2189u);
    EXPECT_EQ(ccitt[kAM], 0x6F91u);

    EXPECT_EQ(ResultsFor(4, 0, false)[kC0], 0x75u);
}

// Published check values of the standard CRCs that the catalogue rows compute.
TEST(CrcAlgorithmsTest, CatalogueRowsGiveTheirStandardCheckValues)
{
    struct Case {
        size_t row;
        int result;
        bool invert;
        uint64_t expected;
    } cases[] = {
        {1, kA0, false, 0x7},                     // 4-bit, reflected, start 0
        {2, kAM, true, 0x19},                     // USB token CRC
        {3, kA0, false, 0x07},                    // 5-bit 0x15, reflected
        {5, kA0, false, 0xA1},                    // 1-Wire
        {6, kAM, false, 0xD0},                    // 8-bit 0x07 reflected, start all ones
        {11, kA0, false, 0xBB3D},                 // 16-bit 0x8005 reflected
        {11, kAM, false, 0x4B37},                 // the same from all ones
        {11, kB0, false, 0xFEE8},                 // 16-bit 0x8005, most significant bit first
        {13, kA0, true, 0xEA82},                  // DNP
        {14, kB0, false, 0xBDF4},                 // 16-bit 0x6F63, most significant bit first
        {17, kAM, true, 0xB90956C775A41001ull},   // 64-bit ISO
        {18, kAM, true, 0x995DC9BBDF1939FAull},   // 64-bit ECMA, reflected
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultsFor(c.row, ~0ull, c.invert)[c.result], c.expected) << CrcCatalogAt(c.row).name;
}

TEST(CrcAlgorithmsTest, CatalogueNormalFormsAreTheReversedPolynomials)
{
    const uint64_t normals[] = {0,    0x3,    0x05,   0x15,   0x09,   0x31,       0x07,
                                0x1D, 0x80F,  0x4599, 0x1021, 0x8005, 0x8408,     0x3D65,
                                0x6F63, 0x864CFB, 0x04C11DB7, 0x1B, 0x42F0E1EBA9EA3693ull};
    ASSERT_EQ(sizeof normals / sizeof normals[0], kCrcCatalogSize);
    EXPECT_STREQ(CrcCatalogAt(0).name, "Frei definiert");
    for (size_t i = 1; i < kCrcCatalogSize; ++i) {
        const CrcCatalogEntry& entry = CrcCatalogAt(i);
        EXPECT_EQ(ReflectBits(entry.reflected, entry.width), normals[i]) << entry.name;
        EXPECT_EQ(FindCrcCatalogEntry(entry.width, entry.reflected), i);
    }
    EXPECT_EQ(FindCrcCatalogEntry(32, 0x12345), 0u);
    EXPECT_STREQ(CrcCatalogAt(99).name, "Frei definiert");
}

TEST(CrcAlgorithmsTest, AlgorithmAIsTheReflectedCrcForEveryWidth)
{
    std::mt19937_64 random(3);
    std::vector<uint8_t> bytes(300);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    for (unsigned width = 1; width <= 64; ++width) {
        const uint64_t poly = random() & CrcMask(width);
        const uint64_t start = random() & CrcMask(width);
        EXPECT_EQ(CrcUpdateA(CrcTableA(poly), start, bytes.data(), bytes.size()),
                  BitwiseReflected(width, poly, start, bytes.data(), bytes.size()))
            << "width " << width;
    }
}

TEST(CrcAlgorithmsTest, AlgorithmBIsTheUsualCrcFromNineToSixteenBitsOnly)
{
    std::mt19937_64 random(4);
    std::vector<uint8_t> bytes(100);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    for (unsigned width = 9; width <= 16; ++width) {
        const uint64_t poly = (random() & CrcMask(width)) | 1;
        const uint64_t start = random() & CrcMask(width);
        const CrcTable table = CrcTableB(poly, width);
        const uint64_t b = CrcUpdateB(table, width, start, bytes.data(), bytes.size());
        if (width == 16) {
            EXPECT_EQ(b, BitwiseNormal(width, poly, start, bytes.data(), bytes.size()));
        }
        EXPECT_EQ(b & ~CrcMask(width), 0u);
    }
    // At 24 bits the register moves by 16 per byte: not the usual CRC-24.
    const CrcTable table24 = CrcTableB(0x864CFB, 24);
    EXPECT_NE(CrcUpdateB(table24, 24, 0, Check(), 9), BitwiseNormal(24, 0x864CFB, 0, Check(), 9));
}

TEST(CrcAlgorithmsTest, AlgorithmBAboveThirtyTwoBits)
{
    for (unsigned width : {33u, 40u, 48u, 63u, 64u}) {
        const CrcTable table = CrcTableB(0x42F0E1EBA9EA3693ull & CrcMask(width), width);
        for (uint64_t entry : table) ASSERT_EQ(entry, 0u) << "width " << width;
    }
    CrcCalculator calculator;
    calculator.SetPolynomial(64, 0xC96C5795D7870F42ull, 0x42F0E1EBA9EA3693ull);
    const uint8_t one = 0x5A;
    const uint64_t start = 0x1122334455667788ull;
    const CrcResults single = calculator.Compute(start, false, &one, 1);
    EXPECT_EQ(single[kB], start << 56);
    EXPECT_EQ(single[kBM], 0xFFull << 56);
    EXPECT_EQ(single[kB0], 0u);
    const CrcResults two = calculator.Compute(start, false, Check(), 2);
    EXPECT_EQ(two[kB], 0u);
    EXPECT_EQ(two[kBM], 0u);
    const CrcResults inverted = calculator.Compute(start, true, Check(), 9);
    EXPECT_EQ(inverted[kB], ~0ull);
    EXPECT_EQ(inverted[kB0], ~0ull);
}

TEST(CrcAlgorithmsTest, TableBBuildsTheIndexInThirtyTwoBits)
{
    // 32 bits: V = 24, i << 24 still fits; table entries are the usual MSB-first ones.
    const CrcTable table = CrcTableB(0x04C11DB7, 32);
    for (unsigned i = 0; i < 256; ++i) {
        const uint8_t byte = static_cast<uint8_t>(i);
        ASSERT_EQ(table[i], BitwiseNormal(32, 0x04C11DB7, 0, &byte, 1)) << i;
    }
    EXPECT_EQ(CrcShiftB(32), 24u);
    EXPECT_EQ(CrcShiftB(12), 8u);
    EXPECT_EQ(CrcShiftB(8), 0u);
    EXPECT_EQ(CrcShiftB(64), 56u);
}

TEST(CrcAlgorithmsTest, AlgorithmCDependsOnSevenRegisterBitsOnly)
{
    const CrcTable table = CrcTableC(0x09, 7);
    std::mt19937 random(5);
    std::vector<uint8_t> bytes(77);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    EXPECT_EQ(CrcUpdateC(table, 0, bytes.data(), bytes.size()), BitwiseNormal(7, 0x09, 0, bytes.data(), bytes.size()));
    EXPECT_EQ(CrcUpdateC(table, 0x7F, Check(), 9), CrcUpdateC(table, 0xFF, Check(), 9));
    EXPECT_NE(CrcUpdateC(table, 0x01, Check(), 9), CrcUpdateC(table, 0x00, Check(), 9));
    // At 64 bits the leading term has no room and the test bit is absent.
    const CrcTable wide = CrcTableC(0x1B, 64);
    for (unsigned i = 0; i < 256; ++i) ASSERT_EQ(wide[i], uint64_t(i) << 7);
}

TEST(CrcAlgorithmsTest, NoInputGivesTheStartValues)
{
    CrcCalculator calculator;
    calculator.SetPolynomial(16, 0x8408, 0x1021);
    const CrcResults plain = calculator.Compute(0x1234, false, nullptr, 0);
    EXPECT_EQ(plain, (CrcResults{0x1234, 0, 0xFFFF, 0x1234, 0, 0xFFFF, 0x1234, 0, 0xFFFF}));
    const CrcResults inverted = calculator.Compute(0x1234, true, nullptr, 0);
    EXPECT_EQ(inverted[kA], 0x1234u ^ 0xFFFF);
    EXPECT_EQ(inverted[kC0], 0xFFFFu);
}

TEST(CrcAlgorithmsTest, TablesAreRebuiltOnlyForANewPolynomial)
{
    CrcCalculator calculator;
    EXPECT_TRUE(calculator.SetPolynomial(32, 0xEDB88320, 0x04C11DB7));
    EXPECT_FALSE(calculator.SetPolynomial(32, 0xEDB88320, 0x04C11DB7));
    EXPECT_EQ(calculator.Table(CrcAlgorithm::A)[1], 0x77073096u);
    EXPECT_TRUE(calculator.SetPolynomial(16, 0xEDB88320 & 0xFFFF, 0x04C11DB7 & 0xFFFF));
}

}  // namespace
}  // namespace qv
