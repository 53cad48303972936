// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of the remote-control protocol in both versions: round trips, streams cut
// anywhere, and the headers that must stop a stream.
#include "shell/RemoteFrame.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// A request header as the bytes on the wire: the data length stands last in the header,
// at 20 in version 1 and at 28 in version 2.
std::vector<uint8_t> Header(uint32_t magic, uint32_t version, uint32_t length)
{
    std::vector<uint8_t> bytes(version == 1 ? 24 : 32, 0);
    auto put = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    };
    put(0, magic);
    put(4, version);
    put(bytes.size() - 4, length);
    return bytes;
}

TEST(RemoteFrameTest, RequestsOfBothVersionsSurviveAStreamCutIntoSingleBytesAndFollowEachOther)
{
    const RemoteRequest first{0x4A, 0x1234, 0x27F58001, std::string("a\0b\xFF", 4), kRemoteProtocolVersion1};
    const RemoteRequest second{0x27F4, 0x123456789, 0xFFFFFFFF00000001, {}};
    std::vector<uint8_t> stream = EncodeRemoteRequest(first);
    EXPECT_EQ(stream.size(), kRemoteRequestHeaderSizeV1 + 4);
    const auto tail = EncodeRemoteRequest(second);
    EXPECT_EQ(tail.size(), kRemoteRequestHeaderSize);
    stream.insert(stream.end(), tail.begin(), tail.end());

    RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Request);
    std::vector<RemoteRequest> got;
    for (uint8_t byte : stream) {
        EXPECT_EQ(decoder.Feed(&byte, 1), 1u);
        if (auto request = decoder.TakeRequest()) got.push_back(*request);
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].version, kRemoteProtocolVersion1);
    EXPECT_EQ(got[0].message, first.message);
    EXPECT_EQ(got[0].wParam, first.wParam);
    EXPECT_EQ(got[0].lParam, first.lParam);
    EXPECT_EQ(got[0].data, first.data);
    EXPECT_EQ(got[1].version, kRemoteProtocolVersion);
    EXPECT_EQ(got[1].message, 0x27F4u);
    EXPECT_EQ(got[1].wParam, 0x123456789u);
    EXPECT_EQ(got[1].lParam, 0xFFFFFFFF00000001u);
    EXPECT_TRUE(got[1].data.empty());
    EXPECT_FALSE(decoder.InsideFrame());

    // Fed at once, the decoder stops after the first frame and leaves the rest.
    RemoteFrameDecoder whole(RemoteFrameDecoder::Kind::Request);
    EXPECT_EQ(whole.Feed(stream.data(), stream.size()), stream.size() - tail.size());
    EXPECT_TRUE(whole.TakeRequest().has_value());
}

TEST(RemoteFrameTest, RepliesCarryA64BitResultAndTextInTheirVersion)
{
    for (uint32_t version : {kRemoteProtocolVersion1, kRemoteProtocolVersion}) {
        for (int64_t result : {int64_t{0}, int64_t{-1}, int64_t{0x123456789AB}}) {
            const auto bytes = EncodeRemoteReply({result, "/tmp/x.bin", version});
            RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Reply);
            decoder.Feed(bytes.data(), bytes.size());
            const auto reply = decoder.TakeReply();
            ASSERT_TRUE(reply);
            EXPECT_EQ(reply->version, version);
            EXPECT_EQ(reply->result, result);
            EXPECT_EQ(reply->text, "/tmp/x.bin");
        }
    }
    // A request is no reply.
    const auto request = EncodeRemoteRequest({1, 2, 3, {}});
    RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Reply);
    decoder.Feed(request.data(), request.size());
    EXPECT_TRUE(decoder.Failed());
}

TEST(RemoteFrameTest, BadHeadersFailForGoodWithoutWaitingForTheAnnouncedData)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool fails;
    } cases[] = {
        {"wrong magic", Header(0x12345678, kRemoteProtocolVersion, 0), true},
        {"version 0", Header(kRemoteRequestMagic, 0, 0), true},
        {"version 3", Header(kRemoteRequestMagic, 3, 0), true},
        {"version 1 longer than 64 KiB", Header(kRemoteRequestMagic, 1, kRemoteMaxData + 1), true},
        {"version 2 longer than 64 KiB", Header(kRemoteRequestMagic, 2, kRemoteMaxData + 1), true},
        {"huge", Header(kRemoteRequestMagic, kRemoteProtocolVersion, 0xFFFFFFFF), true},
        {"version 1 exactly 64 KiB", Header(kRemoteRequestMagic, 1, kRemoteMaxData), false},
        {"version 2 exactly 64 KiB", Header(kRemoteRequestMagic, 2, kRemoteMaxData), false},
    };
    for (const auto& c : cases) {
        RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Request);
        decoder.Feed(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(decoder.Failed(), c.fails) << c.what;
        if (c.fails) {
            const uint8_t more[8] = {};
            EXPECT_EQ(decoder.Feed(more, sizeof more), 0u) << c.what;
            EXPECT_FALSE(decoder.TakeRequest()) << c.what;
        } else {
            EXPECT_TRUE(decoder.InsideFrame()) << c.what;
        }
    }
}

}  // namespace
}  // namespace qv
