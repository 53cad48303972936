// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The framed protocol of remote control over a local socket (docs/remote.md). A request
// carries a window message: its number, wParam, lParam and a data block of at most
// 64 KiB; the reply carries the 64-bit result and, for the messages that return text,
// that text. All numbers are little-endian. Version 2 carries 64-bit wParam and lParam;
// version 1 (32-bit values) is still understood, and each reply goes out in the version
// of its request.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

inline constexpr uint32_t kRemoteProtocolVersion1 = 1;
inline constexpr uint32_t kRemoteProtocolVersion = 2;
inline constexpr size_t kRemoteMaxData = 64 * 1024;
// "QVRQ" before a request, "QVRP" before a reply.
inline constexpr uint32_t kRemoteRequestMagic = 0x51525651;
inline constexpr uint32_t kRemoteReplyMagic = 0x50525651;
// Version 1: magic, version, message, wParam, lParam (32 bits each), data length.
inline constexpr size_t kRemoteRequestHeaderSizeV1 = 24;
// Version 2: magic, version, message, wParam, lParam (64 bits each), data length.
inline constexpr size_t kRemoteRequestHeaderSize = 32;
// Both versions: magic, version, result (64 bits), text length.
inline constexpr size_t kRemoteReplyHeaderSize = 20;

struct RemoteRequest {
    uint32_t message = 0;
    uint64_t wParam = 0;
    uint64_t lParam = 0;
    std::string data;
    // Version 1 carries only the low 32 bits of wParam and lParam.
    uint32_t version = kRemoteProtocolVersion;
};

struct RemoteReply {
    int64_t result = 0;
    std::string text;
    uint32_t version = kRemoteProtocolVersion;
};

std::vector<uint8_t> EncodeRemoteRequest(const RemoteRequest& request);
std::vector<uint8_t> EncodeRemoteReply(const RemoteReply& reply);

// Collects the bytes of one stream into frames. A frame with a wrong magic or an unknown
// version, or a data block announced longer than allowed, puts the decoder into the failed
// state for good: the stream cannot be resynchronised, the connection is to be dropped.
// The decoder never holds more than one header and one largest data block.
class RemoteFrameDecoder {
public:
    enum class Kind { Request, Reply };
    explicit RemoteFrameDecoder(Kind kind) : kind_(kind) {}

    // Takes bytes; returns how many it took (it stops after a whole frame, or on failure).
    size_t Feed(const uint8_t* data, size_t size);
    bool Failed() const { return failed_; }
    // True while a frame has begun but is not complete.
    bool InsideFrame() const { return !buffer_.empty() && !complete_; }
    // The completed frame, once; afterwards the decoder takes the next one.
    std::optional<RemoteRequest> TakeRequest();
    std::optional<RemoteReply> TakeReply();

private:
    void CheckVersion();
    void CheckLength();
    void Restart();

    Kind kind_;
    std::vector<uint8_t> buffer_;
    uint32_t version_ = 0;
    size_t headerSize_ = 8;  // magic and version first; the rest of the header by version
    size_t expected_ = 0;    // total frame size once the header is read
    bool complete_ = false;
    bool failed_ = false;
};

}  // namespace qv
