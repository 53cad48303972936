// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of the remote-control protocol: round trips, streams cut anywhere, and the
// headers that must stop a stream.
#include "shell/RemoteFrame.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<uint8_t> Header(uint32_t magic, uint32_t version, uint32_t length)
{
    RemoteRequest request{7, 8, 9, {}};
    std::vector<uint8_t> bytes = EncodeRemoteRequest(request);
    auto put = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    };
    put(0, magic);
    put(4, version);
    put(20, length);
    return bytes;
}

TEST(RemoteFrameTest, RequestsSurviveAStreamCutIntoSingleBytesAndFollowEachOther)
{
    const RemoteRequest first{0x4A, 0x1234, 0x27F58001, std::string("a\0b\xFF", 4)};
    const RemoteRequest second{0x27F4, 5, 0xFFFFFFFF, {}};
    std::vector<uint8_t> stream = EncodeRemoteRequest(first);
    const auto tail = EncodeRemoteRequest(second);
    stream.insert(stream.end(), tail.begin(), tail.end());

    RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Request);
    std::vector<RemoteRequest> got;
    for (uint8_t byte : stream) {
        EXPECT_EQ(decoder.Feed(&byte, 1), 1u);
        if (auto request = decoder.TakeRequest()) got.push_back(*request);
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, first.message);
    EXPECT_EQ(got[0].wParam, first.wParam);
    EXPECT_EQ(got[0].lParam, first.lParam);
    EXPECT_EQ(got[0].data, first.data);
    EXPECT_EQ(got[1].lParam, 0xFFFFFFFFu);
    EXPECT_TRUE(got[1].data.empty());
    EXPECT_FALSE(decoder.InsideFrame());

    // Fed at once, the decoder stops after the first frame and leaves the rest.
    RemoteFrameDecoder whole(RemoteFrameDecoder::Kind::Request);
    EXPECT_EQ(whole.Feed(stream.data(), stream.size()), stream.size() - tail.size());
    EXPECT_TRUE(whole.TakeRequest().has_value());
}

TEST(RemoteFrameTest, RepliesCarryA64BitResultAndText)
{
    for (int64_t result : {int64_t{0}, int64_t{-1}, int64_t{0x123456789AB}}) {
        const auto bytes = EncodeRemoteReply({result, "/tmp/x.bin"});
        RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Reply);
        decoder.Feed(bytes.data(), bytes.size());
        const auto reply = decoder.TakeReply();
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->result, result);
        EXPECT_EQ(reply->text, "/tmp/x.bin");
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
        {"other version", Header(kRemoteRequestMagic, 2, 0), true},
        {"longer than 64 KiB", Header(kRemoteRequestMagic, kRemoteProtocolVersion, kRemoteMaxData + 1), true},
        {"huge", Header(kRemoteRequestMagic, kRemoteProtocolVersion, 0xFFFFFFFF), true},
        {"exactly 64 KiB", Header(kRemoteRequestMagic, kRemoteProtocolVersion, kRemoteMaxData), false},
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
