// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qv {
namespace {

std::string Encode(std::string_view bytes, size_t lineLength = 0)
{
    return Base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), lineLength);
}

std::string Decode(std::string_view text, size_t outSize = 64)
{
    std::vector<uint8_t> out(outSize + 1, 0xEE);
    const size_t count = Base64Decode(out.data(), outSize, text);
    EXPECT_EQ(out[outSize], 0xEE) << "wrote past the output";
    return std::string(out.begin(), out.begin() + static_cast<ptrdiff_t>(count));
}

struct EncodeCase {
    const char* bytes;
    size_t lineLength;
    const char* text;
};

class Base64EncodeTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(Base64EncodeTest, EncodesAndDecodesBack)
{
    const EncodeCase& c = GetParam();
    const std::string text = Encode(c.bytes, c.lineLength);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(text.size(), Base64EncodedLength(std::strlen(c.bytes), c.lineLength));
    EXPECT_EQ(Decode(text), c.bytes);
    EXPECT_EQ(Base64DecodedSize(text), std::strlen(c.bytes));
}

INSTANTIATE_TEST_SUITE_P(Rfc4648Vectors, Base64EncodeTest, testing::Values(
    EncodeCase{"", 0, ""},
    EncodeCase{"f", 0, "Zg=="},
    EncodeCase{"fo", 0, "Zm8="},
    EncodeCase{"foo", 0, "Zm9v"},
    EncodeCase{"foob", 0, "Zm9vYg=="},
    EncodeCase{"fooba", 0, "Zm9vYmE="},
    EncodeCase{"foobar", 0, "Zm9vYmFy"},
    EncodeCase{"a", 0, "YQ=="},
    EncodeCase{"abcd", 0, "YWJjZA=="},
    EncodeCase{"abcd", 4, "YWJj\nZA==\n"},
    EncodeCase{"abc", 4, "YWJj\n"},
    EncodeCase{"abcdef", 3, "YWJ\njZG\nVm\n"},
    EncodeCase{"abcdefg", 6, "YWJjZG\nVmZw==\n"}));

TEST(Base64EncodeTest, AllByteValuesRoundTrip)
{
    std::vector<uint8_t> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    const std::string text = Base64Encode(bytes.data(), bytes.size(), 76);
    std::vector<uint8_t> back(Base64DecodedSize(text));
    ASSERT_EQ(back.size(), 256u);
    EXPECT_EQ(Base64Decode(back.data(), back.size(), text), 256u);
    EXPECT_EQ(back, bytes);
    EXPECT_NE(text.find("+"), std::string::npos);
    EXPECT_NE(text.find("/"), std::string::npos);
}

TEST(Base64EncodeTest, SmallBufferKeepsWholeUnitsAndTheZeroByte)
{
    const uint8_t bytes[] = {'a', 'b', 'c', 'd', 'e', 'f', 'g'};
    for (size_t size = 0; size < 16; ++size) {
        std::vector<char> out(size + 4, 'X');
        const size_t length = Base64Encode(bytes, sizeof bytes, out.data(), size);
        if (size == 0) {
            EXPECT_EQ(out[0], 'X');
            continue;
        }
        EXPECT_LT(length, size);
        EXPECT_EQ(length % 4, 0u);
        EXPECT_EQ(out[length], '\0');
        EXPECT_EQ(std::string(out.data(), length), std::string("YWJjZGVmZw==").substr(0, length));
        for (size_t i = size; i < out.size(); ++i) EXPECT_EQ(out[i], 'X');
    }
}

struct DecodeCase {
    const char* text;
    const char* bytes;
    size_t decodedSize;
};

class Base64DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(Base64DecodeTest, SkipsForeignCharacters)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(Decode(c.text), c.bytes);
    EXPECT_EQ(Base64DecodedSize(c.text), c.decodedSize);
}

INSTANTIATE_TEST_SUITE_P(Texts, Base64DecodeTest, testing::Values(
    DecodeCase{"YW Jj", "abc", 3},
    DecodeCase{"YWJj", "abc", 3},
    DecodeCase{"YW\r\nJj\n", "abc", 3},
    DecodeCase{"YQ==", "a", 1},
    DecodeCase{"YQ", "a", 1},
    DecodeCase{"Y", "", 0},
    DecodeCase{"=*=!", "", 0},
    DecodeCase{"YWJj\0ZA==", "abc", 3}));

TEST(Base64DecodeTest, StopsWhenTheOutputIsFull)
{
    EXPECT_EQ(Decode("Zm9vYmFy", 4), "foob");
    EXPECT_EQ(Decode("Zm9vYmFy", 0), "");
    EXPECT_EQ(Base64Decode(nullptr, 10, "Zm9v"), 0u);
}

TEST(Base64DecodeTest, ZeroByteInsideTheLengthEndsTheText)
{
    const std::string_view text("YWJj\0ZA==", 9);
    EXPECT_EQ(Decode(text), "abc");
    EXPECT_EQ(Base64DecodedSize(text), 3u);
}

}  // namespace
}  // namespace qv
