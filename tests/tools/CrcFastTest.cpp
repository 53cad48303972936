// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "common/Bits.h"
#include "tools/CrcCalculator.h"
#include "tools/CrcFastA.h"
#include "tools/CrcLinearMap.h"
#include "tests/support/RandomBytes.h"
#include "tools/CrcPeriodicFold.h"

namespace qv {
namespace {

using test::RandomBytes;

TEST(CrcFastTest, FoldedAndSlicedAEqualTheTableForEveryWidth)
{
    std::mt19937_64 random(11);
    const std::vector<uint8_t> bytes = RandomBytes(70001, 1);
    for (unsigned width = 1; width <= 64; ++width) {
        const uint64_t poly = random() & CrcMask(width);
        const uint64_t start = random() & CrcMask(width);
        const CrcTable table = CrcTableA(poly);
        for (size_t length : {size_t(0), size_t(7), size_t(1023), size_t(1024), size_t(1089), size_t(70001)}) {
            const uint64_t expected = CrcUpdateA(table, start, bytes.data(), length);
            ASSERT_EQ(CrcFastUpdateA(table, poly, start, bytes.data(), length), expected)
                << "width " << width << " length " << length;
            ASSERT_EQ(CrcSlicedUpdateA(table, start, bytes.data(), length), expected)
                << "width " << width << " length " << length;
        }
    }
}

TEST(CrcFastTest, FoldedAHandlesDegenerateAndUnmaskedRegisters)
{
    const std::vector<uint8_t> bytes = RandomBytes(5000, 2);
    for (uint64_t poly : {0ull, ~0ull, 1ull, 0x8000000000000000ull}) {
        const CrcTable table = CrcTableA(poly);
        for (uint64_t start : {0ull, ~0ull, 0x0123456789ABCDEFull})
            EXPECT_EQ(CrcFastUpdateA(table, poly, start, bytes.data(), bytes.size()),
                      CrcUpdateA(table, start, bytes.data(), bytes.size()));
    }
}

TEST(CrcFastTest, LinearMapPowersEqualRepeatedSteps)
{
    const CrcTable table = CrcTableA(0xEDB88320);
    const CrcMachine machine{CrcAlgorithm::A, &table, 32};
    const CrcLinearMap step = CrcLinearMap::FromStep([&](uint64_t v) { return machine.ZeroStep(v); });
    uint64_t value = 0xDEADBEEF;
    for (uint64_t count = 0; count < 300; ++count) {
        ASSERT_EQ(step.ApplyPower(0xDEADBEEF, count), value) << count;
        ASSERT_EQ(step.Power(count).Apply(0xDEADBEEF), value) << count;
        value = machine.ZeroStep(value);
    }
}

TEST(CrcFastTest, PeriodicFoldEqualsByteByByteForBAndC)
{
    std::mt19937_64 random(12);
    const std::vector<uint8_t> bytes = RandomBytes(20000, 3);
    for (unsigned width = 1; width <= 64; ++width) {
        const uint64_t normal = random() & CrcMask(width);
        for (CrcAlgorithm algorithm : {CrcAlgorithm::B, CrcAlgorithm::C}) {
            const CrcTable table =
                algorithm == CrcAlgorithm::B ? CrcTableB(normal, width) : CrcTableC(normal, width);
            const CrcMachine machine{algorithm, &table, width};
            const uint64_t period = FindCrcPeriod(machine, 1 << 17);
            ASSERT_GT(period, 0u) << "width " << width;
            if (algorithm == CrcAlgorithm::C) {
                EXPECT_LE(period, 127u);
            }
            // A small period folds into a small block, so 20000 bytes exercise the folding.
            if (period > 4000) continue;
            for (size_t length : {size_t(100), size_t(4097), size_t(19999)})
                ASSERT_EQ(CrcPeriodicRun(machine, period, bytes.data(), length, 1),
                          machine.Run(0, bytes.data(), length))
                    << "width " << width << " algorithm " << int(algorithm) << " length " << length;
        }
    }
}

TEST(CrcFastTest, UnknownPeriodFallsBackToThePlainRun)
{
    const CrcTable table = CrcTableC(0x09, 7);
    const CrcMachine machine{CrcAlgorithm::C, &table, 7};
    const std::vector<uint8_t> bytes = RandomBytes(9000, 6);
    EXPECT_EQ(CrcPeriodicRun(machine, 0, bytes.data(), bytes.size()), machine.Run(0, bytes.data(), bytes.size()));
    // x^7 + x^3 + 1 is primitive and C steps by x^8 modulo it: period 127.
    EXPECT_EQ(FindCrcPeriod(machine, 200), 127u);
    EXPECT_EQ(FindCrcPeriod(machine, 126), 0u);
}

TEST(CrcFastTest, PeriodicFoldWithALongPeriod)
{
    // The usual 16-bit CCITT polynomial: B's state has 16 bits and a period of 32767.
    const CrcTable table = CrcTableB(0x1021, 16);
    const CrcMachine machine{CrcAlgorithm::B, &table, 16};
    const uint64_t period = FindCrcPeriod(machine, 1 << 17);
    EXPECT_EQ(period, 32767u);
    const std::vector<uint8_t> bytes = RandomBytes(200000, 4);
    EXPECT_EQ(CrcPeriodicRun(machine, period, bytes.data(), bytes.size()), machine.Run(0, bytes.data(), bytes.size()));
}

TEST(CrcFastTest, NineResultsOverLongInputsEqualNinePlainPasses)
{
    const std::vector<uint8_t> bytes = RandomBytes((2u << 20) + 4321, 5);
    struct Case {
        unsigned width;
        uint64_t reflected;
    } cases[] = {{32, 0xEDB88320}, {7, 0x48}, {12, 0xF01}, {24, 0xDF3261}, {64, 0xC96C5795D7870F42ull}, {3, 0x6}};
    for (const Case& c : cases) {
        const uint64_t normal = ReflectBits(c.reflected, c.width);
        CrcCalculator calculator;
        calculator.SetPolynomial(c.width, c.reflected, normal);
        const uint64_t mask = CrcMask(c.width);
        const uint64_t start = 0x5A5A5A5A5A5A5A5Aull & mask;
        for (size_t length : {size_t(5000), bytes.size()}) {
            const CrcResults fast = calculator.Compute(start, true, bytes.data(), length);
            const CrcTable ta = CrcTableA(c.reflected), tb = CrcTableB(normal, c.width), tc = CrcTableC(normal, c.width);
            const uint64_t starts[3] = {start, 0, mask};
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(fast[i], CrcUpdateA(ta, starts[i], bytes.data(), length) ^ mask) << c.width;
                EXPECT_EQ(fast[3 + i], CrcUpdateB(tb, c.width, starts[i], bytes.data(), length) ^ mask) << c.width;
                EXPECT_EQ(fast[6 + i], CrcUpdateC(tc, starts[i], bytes.data(), length) ^ mask) << c.width;
            }
        }
    }
}

}  // namespace
}  // namespace qv
