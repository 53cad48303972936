// SPDX-License-Identifier: GPL-3.0-or-later
// IntelHexReader and the start-offset proposal: record placement by base and start offset,
// growth, the length rounding, malformed text, and files written by other tools.
#include "document/IntelHexReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "document/IntelHexWriter.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

// One record line with a correct checksum.
std::string Record(uint8_t type, uint16_t address, const std::vector<uint8_t>& data)
{
    static const char digits[] = "0123456789ABCDEF";
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(data.size()), static_cast<uint8_t>(address >> 8),
                                  static_cast<uint8_t>(address), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
    bytes.push_back(static_cast<uint8_t>(0x100 - sum));
    std::string line = ":";
    for (uint8_t b : bytes) {
        line += digits[b >> 4];
        line += digits[b & 15];
    }
    return line + "\r\n";
}

std::vector<uint8_t> Sequence(size_t count, uint8_t first = 1)
{
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}

bool HasTool(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

TEST(IntelHexReader, PlacesRecordsAndRoundsLength)
{
    struct Case {
        const char* name;
        std::string text;
        uint32_t startOffset;
        size_t length;
        size_t index;  // where the first data byte (1) lands
    };
    const std::vector<Case> cases = {
        {"plain record", Record(0, 0x10, Sequence(4)), 0, 1024, 0x10},
        {"segment base", Record(2, 0, {0x12, 0x34}) + Record(0, 0x10, Sequence(4)), 0, 0x12400, 0x12350},
        {"linear base", Record(4, 0, {0x00, 0x02}) + Record(0, 0x10, Sequence(4)), 0, 0x20400, 0x20010},
        {"start offset subtracted", Record(4, 0, {0x08, 0x00}) + Record(0, 0x20, Sequence(4)), 0x08000000, 1024,
         0x20},
        {"line ends, blanks and tabs skipped", "\r\n \t\n" + Record(0, 0, Sequence(2)), 0, 1024, 0},
        {"lines without colon skipped", "garbage\n" + Record(0, 0, Sequence(2)) + "; comment\n", 0, 1024, 0},
        {"reading goes on after end record", Record(1, 0, {}) + Record(0, 0x400, Sequence(1)), 0, 2048, 0x400},
        {"1000 bytes give 1024", Record(0, 1000 - 16, Sequence(16)), 0, 1024, 1000 - 16},
    };
    for (const auto& c : cases) {
        const auto bytes = IntelHexReader(c.text, c.startOffset);
        ASSERT_EQ(bytes.size(), c.length) << c.name;
        EXPECT_EQ(bytes[c.index], 1) << c.name;
        size_t nonZero = 0;
        for (uint8_t b : bytes) nonZero += b != 0;
        EXPECT_GT(nonZero, 0u) << c.name;
    }
}

TEST(IntelHexReader, MalformedOrEmptyTextGivesNoBytes)
{
    const std::vector<std::string> texts = {
        "", "\r\n\r\n", ":", ":0000", ":xyz", "hello world", std::string(2000, ':'), ":10000000",
        Record(0x05, 0, {1, 2, 3, 4}), Record(3, 0, {1, 2, 3, 4}),
    };
    for (const auto& text : texts) EXPECT_TRUE(IntelHexReader(text, 0).empty()) << text;
}

TEST(IntelHexReader, RecordAcross64KBoundaryGrowsBlock)
{
    const auto bytes = IntelHexReader(Record(0, 0xFFF8, Sequence(16)), 0);
    ASSERT_EQ(bytes.size(), 0x10400u);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(bytes[0xFFF8 + i], i + 1);
}

TEST(IntelHexReader, BytesBeforeStartOffsetAreDropped)
{
    const auto bytes = IntelHexReader(Record(0, 0x100, Sequence(16)), 0x108);
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes[0], 9);
    EXPECT_EQ(bytes[7], 16);
    EXPECT_EQ(bytes[8], 0);
    EXPECT_TRUE(IntelHexReader(Record(0, 0x100, Sequence(16)), 0x110).empty());
}

TEST(IntelHexReader, NegativeStartOffsetWrapsAround)
{
    // "-16" reads as 0xFFFFFFF0: in 32-bit arithmetic the records land 16 bytes higher.
    const auto bytes = IntelHexReader(Record(0, 0x20, Sequence(4)), static_cast<uint32_t>(-16));
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes[0x30], 1);
    EXPECT_EQ(bytes[0x33], 4);
    EXPECT_EQ(bytes[0x2F], 0);
    // A base that wraps the other way falls below 0 and is dropped.
    EXPECT_TRUE(IntelHexReader(Record(4, 0, {0xFF, 0xFF}) + Record(0, 0, Sequence(4)), 0).empty());
}

TEST(IntelHexReader, EmptyDataRecordsRaiseTheEnd)
{
    const std::string text = Record(0, 0, Sequence(2)) + Record(0, 0x1400, {});
    const auto bytes = IntelHexReader(text, 0);
    ASSERT_EQ(bytes.size(), 0x1400u);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(IntelHexReader(Record(4, 0, {0x00, 0x01}) + Record(0, 1, {}), 0).size(), 0x10400u);
    // Below the start offset an empty record places nothing.
    EXPECT_TRUE(IntelHexReader(Record(0, 0x100, {}), 0x200).empty());
}

TEST(IntelHexReader, CountLargerThanLineUsesBytesPresent)
{
    // Count says 16, but only 5 data bytes and a checksum follow.
    const auto bytes = IntelHexReader(":10000000010203040500\r\n", 0);
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes[4], 0x05);
    EXPECT_EQ(bytes[5], 0x00);
}

TEST(IntelHexReader, IndexCapSkipsRecords)
{
    // 0x10000000 is still placed, anything past it is skipped.
    const std::string atCap = Record(4, 0, {0x10, 0x00}) + Record(0, 0, {7});
    const std::string pastCap = Record(4, 0, {0x10, 0x00}) + Record(0, 1, {7});
    EXPECT_EQ(IntelHexReader(atCap, 0).size(), 0x10000400u);
    EXPECT_TRUE(IntelHexReader(pastCap, 0).empty());
}

TEST(IntelHexReader, LoadedWithoutOffsetHighRecordsLieAboveZeros)
{
    const std::string text = Record(4, 0, {0x08, 0x00}) + Record(0, 0, Sequence(4));
    const auto bytes = IntelHexReader(text, 0);
    ASSERT_EQ(bytes.size(), 0x08000400u);
    EXPECT_EQ(bytes[0x08000000], 1);
    for (size_t i = 0; i < 0x08000000; i += 4093) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(ProposeStartOffset, LastBaseBeforeFirstDataRecord)
{
    struct Case {
        const char* name;
        std::string text;
        uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"none", Record(0, 0, {1}), 0},
        {"linear", Record(4, 0, {0x08, 0x00}) + Record(0, 0, {1}), 0x08000000},
        {"segment", Record(2, 0, {0x10, 0x00}) + Record(0, 0, {1}), 0x10000},
        {"last one counts", Record(4, 0, {0, 1}) + Record(4, 0, {0, 2}) + Record(0, 0, {1}), 0x20000},
        {"bases after data ignored", Record(0, 0, {1}) + Record(4, 0, {0, 3}), 0},
        {"short base record ignored", ":02000004AB\r\n" + Record(0, 0, {1}), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ProposeStartOffset(c.text), c.expected) << c.name;
}

TEST(IntelHexReader, NeverCrashesOnRandomText)
{
    std::mt19937 random(5);
    const std::string alphabet = ":0123456789ABCDEFabcdef \r\n\t";
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 400, ' ');
        for (auto& c : text) c = alphabet[random() % alphabet.size()];
        const auto bytes = IntelHexReader(text, static_cast<uint32_t>(random() % 3 * 0x1000));
        ASSERT_EQ(bytes.size() % 1024, 0u);
        ASSERT_LE(bytes.size(), 0x10000000u + 0x10000);
    }
}

class IntelHexExternalTools : public ::testing::Test {
protected:
    test::TempDir dir;
    std::vector<uint8_t> data = [] {
        std::mt19937 random(9);
        std::vector<uint8_t> bytes(200000);
        for (auto& b : bytes) b = static_cast<uint8_t>(random());
        return bytes;
    }();

    std::string TextOf(const std::string& path)
    {
        const auto bytes = test::TempDir::Read(path);
        return std::string(bytes.begin(), bytes.end());
    }
    static std::vector<uint8_t> Padded(std::vector<uint8_t> bytes)
    {
        bytes.resize((bytes.size() + 1023) / 1024 * 1024);
        return bytes;
    }
};

TEST_F(IntelHexExternalTools, ReadsWhatObjcopyWrites)
{
    if (!HasTool("objcopy")) GTEST_SKIP() << "objcopy not installed";
    const std::string bin = dir.Write("in.bin", data);
    ASSERT_EQ(std::system(("objcopy -I binary -O ihex " + bin + " " + dir.File("out.hex")).c_str()), 0);
    EXPECT_EQ(IntelHexReader(TextOf(dir.File("out.hex")), 0), Padded(data));
}

TEST_F(IntelHexExternalTools, ReadsWhatSrecCatWritesAtAnOffset)
{
    if (!HasTool("srec_cat")) GTEST_SKIP() << "srec_cat not installed";
    const std::string bin = dir.Write("in.bin", data);
    const std::string hex = dir.File("out.hex");
    ASSERT_EQ(std::system(("srec_cat " + bin + " -binary -offset 0x08000000 -o " + hex + " -intel").c_str()), 0);
    const std::string text = TextOf(hex);
    ASSERT_EQ(ProposeStartOffset(text), 0x08000000u);
    EXPECT_EQ(IntelHexReader(text, 0x08000000), Padded(data));
}

TEST_F(IntelHexExternalTools, ObjcopyReadsWhatWeWrite)
{
    if (!HasTool("objcopy")) GTEST_SKIP() << "objcopy not installed";
    for (uint32_t base : {0u, 0x08000000u}) {
        const auto text = IntelHexWriter(data.data(), data.size(), base);
        const std::string hex = dir.Write("ours.hex", text);
        const std::string bin = dir.File("back.bin");
        ASSERT_EQ(std::system(("objcopy -I ihex -O binary " + hex + " " + bin).c_str()), 0);
        EXPECT_EQ(test::TempDir::Read(bin), data) << std::hex << base;
    }
}

}  // namespace
}  // namespace qv
