// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/MatchAt.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "search/ScanKernel.h"

namespace qv {
namespace {

// The comparison written the plain way, one byte at a time.
bool NaiveEqualAt(const SearchValue& v, const uint8_t* at)
{
    for (int i = 0; i < v.length; ++i) {
        uint8_t d = at[i], b = v.bytes[i];
        switch (v.mode) {
        case MatchMode::Exact:
            if (d != b) return false;
            break;
        case MatchMode::IgnoreCase:
            if ((d >= 'A' && d <= 'Z' ? d + 32 : d) != (b >= 'A' && b <= 'Z' ? b + 32 : b)) return false;
            break;
        case MatchMode::Masked:
            if (((d ^ b) & v.bytes[v.length + i]) != 0) return false;
            break;
        }
    }
    return true;
}

// Every start position of the run, tried one after the other.
int64_t NaiveMatchAt(const SearchValue& v, const std::vector<uint8_t>& data, int64_t s, int64_t n)
{
    const int64_t positions = static_cast<int64_t>(data.size()) - v.length + 1;
    if (n > 0) {
        for (int64_t p = std::max<int64_t>(s, 0); p < s + n && p < positions; ++p)
            if (NaiveEqualAt(v, data.data() + p)) return p;
        return -1;
    }
    if (s < 0) return -1;
    int64_t tries = -n;
    if (s - tries < 0) tries = s + 1;
    if (s >= positions) {
        tries -= s - positions;
        s = positions - 1;
    }
    for (int64_t k = 0; k < tries && s - k >= 0; ++k)
        if (NaiveEqualAt(v, data.data() + s - k)) return s - k;
    return -1;
}

SearchValue Value(std::vector<uint8_t> bytes, MatchMode mode = MatchMode::Exact)
{
    SearchValue v;
    std::copy(bytes.begin(), bytes.end(), v.bytes.begin());
    v.length = static_cast<int>(mode == MatchMode::Masked ? bytes.size() / 2 : bytes.size());
    v.mode = mode;
    return v;
}

class MatchAtKernels : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { detail::AllowWideVectors(GetParam()); }
    void TearDown() override { detail::AllowWideVectors(true); }
};

// Random documents over a few confusable bytes, with the value planted (case-flipped or
// with don't-care bits changed) here and there; every mode, direction and length.
TEST_P(MatchAtKernels, AgreesWithTheNaiveSearch)
{
    std::mt19937 random(GetParam() ? 11 : 12);
    const uint8_t alphabet[] = {'a', 'A', 'b', 'B', 0x00, 0xFF, '@', '`', 'z', 'Z', '[', '{'};
    std::vector<uint8_t> data(1200);
    for (int length = 1; length <= 256; ++length) {
        for (MatchMode mode : {MatchMode::Exact, MatchMode::IgnoreCase, MatchMode::Masked}) {
            if (mode == MatchMode::Masked && length > 128) continue;
            for (auto& b : data) b = alphabet[random() % sizeof alphabet];
            SearchValue v;
            v.length = length;
            v.mode = mode;
            for (int i = 0; i < length; ++i) {
                v.bytes[i] = alphabet[random() % sizeof alphabet];
                if (mode == MatchMode::Masked) v.bytes[length + i] = static_cast<uint8_t>(random() % 3 == 0 ? 0xFF : random());
            }
            for (int plant = 0; plant < 3; ++plant) {
                size_t at = random() % (data.size() - length + 1);
                for (int i = 0; i < length; ++i) {
                    uint8_t b = v.bytes[i];
                    if (mode == MatchMode::IgnoreCase && b >= 'a' && b <= 'z' && random() % 2) b -= 32;
                    if (mode == MatchMode::Masked) b = (b & v.bytes[length + i]) | (static_cast<uint8_t>(random()) & ~v.bytes[length + i]);
                    data[at + i] = b;
                }
            }
            const int64_t size = static_cast<int64_t>(data.size());
            for (int trial = 0; trial < 6; ++trial) {
                int64_t start = static_cast<int64_t>(random() % (size + 40)) - 20;
                int64_t count = static_cast<int64_t>(random() % (size + 40));
                if (trial % 2) count = -count;
                if (trial == 0) start = 0, count = size;
                if (trial == 1) start = size, count = -size;
                ASSERT_EQ(MatchAt(v, data.data(), size, start, count), NaiveMatchAt(v, data, start, count))
                    << "length " << length << " mode " << int(mode) << " start " << start << " count " << count;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(WideAndBaseline, MatchAtKernels, ::testing::Bool());

TEST(MatchAt, RunBoundaries)
{
    // 10 bytes; the value 41 42 can start at 0 .. 8.
    std::vector<uint8_t> d{0x41, 0x42, 0, 0, 0x41, 0x42, 0, 0, 0x41, 0x42};
    SearchValue v = Value({0x41, 0x42});
    struct Case {
        int64_t start, count, result;
    };
    const Case cases[] = {
        {0, 10, 0},   {1, 10, 4},  {5, 3, -1},  {5, 4, 8},   {9, 5, -1},  {-3, 4, 0},  {-3, 3, -1},
        {9, -10, 8},  {7, -10, 4}, {7, -3, -1}, {3, -10, 0}, {-1, -5, -1}, {12, -4, 8}, {12, -3, -1},
        {10, -1, -1}, {10, -2, 8}, {0, 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchAt(v, d.data(), 10, c.start, c.count), c.result) << c.start << "," << c.count;
}

TEST(MatchAt, EmptyValuesDocumentsAndTooLongValues)
{
    std::vector<uint8_t> d{1, 2, 3};
    EXPECT_EQ(MatchAt(Value({}), d.data(), 3, 7, 1), 7);  // length 0: the run's start
    EXPECT_EQ(MatchAt(Value({1}), d.data(), 0, 0, 5), -1);
    EXPECT_EQ(MatchAt(Value({1}), nullptr, 0, 0, 5), -1);
    EXPECT_EQ(MatchAt(Value({1, 2, 3, 4}), d.data(), 3, 0, 5), -1);
    EXPECT_EQ(MatchAt(Value({1, 2, 3, 4}), d.data(), 3, 5, -5), -1);
    EXPECT_EQ(MatchAt(Value({1, 2, 3}), d.data(), 3, 0, 1), 0);
}

TEST(MatchAt, CaseFoldingTouchesOnlyAsciiLetters)
{
    std::vector<uint8_t> d{'@', '[', 0xC4, 'q', 'Q', 'x'};
    EXPECT_EQ(MatchAt(Value({'`'}, MatchMode::IgnoreCase), d.data(), 6, 0, 6), -1);
    EXPECT_EQ(MatchAt(Value({'{'}, MatchMode::IgnoreCase), d.data(), 6, 0, 6), -1);
    EXPECT_EQ(MatchAt(Value({0xE4}, MatchMode::IgnoreCase), d.data(), 6, 0, 6), -1);
    EXPECT_EQ(MatchAt(Value({'Q', 'x'}, MatchMode::IgnoreCase), d.data(), 6, 0, 6), 4);
    EXPECT_EQ(MatchAt(Value({'q', 'q'}, MatchMode::IgnoreCase), d.data(), 6, 0, 6), 3);
}

TEST(MatchAt, MasksSelectTheComparedBits)
{
    std::vector<uint8_t> d{0x00, 0x1F, 0xA7, 0x35, 0xA0};
    EXPECT_EQ(MatchAt(Value({0x10, 0xA0, 0xF0, 0xF0}, MatchMode::Masked), d.data(), 5, 0, 5), 1);
    EXPECT_EQ(MatchAt(Value({0x30, 0xF0}, MatchMode::Masked), d.data(), 5, 0, 5), 3);
    EXPECT_EQ(MatchAt(Value({0x00, 0x00}, MatchMode::Masked), d.data(), 5, 2, 3), 2);  // all don't care
    EXPECT_EQ(MatchAt(Value({0xA0, 0xFF}, MatchMode::Masked), d.data(), 5, 4, -5), 4);
}

}  // namespace
}  // namespace qv
