// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RemoteFrame.h"

#include <algorithm>

namespace qv {
namespace {

constexpr size_t kPrefixSize = 8;  // magic and version

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void Put64(std::vector<uint8_t>& out, uint64_t value)
{
    Put32(out, static_cast<uint32_t>(value));
    Put32(out, static_cast<uint32_t>(value >> 32));
}

uint32_t Get32(const uint8_t* p)
{
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

uint64_t Get64(const uint8_t* p)
{
    return Get32(p) | (uint64_t{Get32(p + 4)} << 32);
}

}  // namespace

std::vector<uint8_t> EncodeRemoteRequest(const RemoteRequest& request)
{
    const bool narrow = request.version == kRemoteProtocolVersion1;
    std::vector<uint8_t> out;
    out.reserve(kRemoteRequestHeaderSize + request.data.size());
    Put32(out, kRemoteRequestMagic);
    Put32(out, request.version);
    Put32(out, request.message);
    if (narrow) {
        Put32(out, static_cast<uint32_t>(request.wParam));
        Put32(out, static_cast<uint32_t>(request.lParam));
    } else {
        Put64(out, request.wParam);
        Put64(out, request.lParam);
    }
    Put32(out, static_cast<uint32_t>(request.data.size()));
    out.insert(out.end(), request.data.begin(), request.data.end());
    return out;
}

std::vector<uint8_t> EncodeRemoteReply(const RemoteReply& reply)
{
    std::vector<uint8_t> out;
    out.reserve(kRemoteReplyHeaderSize + reply.text.size());
    Put32(out, kRemoteReplyMagic);
    Put32(out, reply.version);
    Put64(out, static_cast<uint64_t>(reply.result));
    Put32(out, static_cast<uint32_t>(reply.text.size()));
    out.insert(out.end(), reply.text.begin(), reply.text.end());
    return out;
}

void RemoteFrameDecoder::CheckVersion()
{
    const uint8_t* p = buffer_.data();
    const uint32_t magic = kind_ == Kind::Request ? kRemoteRequestMagic : kRemoteReplyMagic;
    version_ = Get32(p + 4);
    if (Get32(p) != magic || (version_ != kRemoteProtocolVersion1 && version_ != kRemoteProtocolVersion)) {
        failed_ = true;
        buffer_.clear();
        return;
    }
    if (kind_ == Kind::Reply)
        headerSize_ = kRemoteReplyHeaderSize;
    else
        headerSize_ = version_ == kRemoteProtocolVersion1 ? kRemoteRequestHeaderSizeV1 : kRemoteRequestHeaderSize;
}

void RemoteFrameDecoder::CheckLength()
{
    const uint32_t length = Get32(buffer_.data() + headerSize_ - 4);
    if (length > kRemoteMaxData) {
        failed_ = true;
        buffer_.clear();
        return;
    }
    expected_ = headerSize_ + length;
}

size_t RemoteFrameDecoder::Feed(const uint8_t* data, size_t size)
{
    size_t taken = 0;
    while (taken < size && !failed_ && !complete_) {
        const size_t want = (expected_ ? expected_ : headerSize_) - buffer_.size();
        const size_t n = std::min(want, size - taken);
        buffer_.insert(buffer_.end(), data + taken, data + taken + n);
        taken += n;
        if (!expected_ && buffer_.size() == headerSize_) {
            if (headerSize_ == kPrefixSize) CheckVersion();
            if (!failed_ && buffer_.size() == headerSize_) CheckLength();
        }
        if (expected_ && buffer_.size() == expected_) complete_ = true;
    }
    return taken;
}

void RemoteFrameDecoder::Restart()
{
    buffer_.clear();
    headerSize_ = kPrefixSize;
    expected_ = 0;
    complete_ = false;
}

std::optional<RemoteRequest> RemoteFrameDecoder::TakeRequest()
{
    if (!complete_ || kind_ != Kind::Request) return std::nullopt;
    const uint8_t* p = buffer_.data();
    RemoteRequest request;
    request.version = version_;
    request.message = Get32(p + 8);
    if (version_ == kRemoteProtocolVersion1) {
        request.wParam = Get32(p + 12);
        request.lParam = Get32(p + 16);
    } else {
        request.wParam = Get64(p + 12);
        request.lParam = Get64(p + 20);
    }
    request.data.assign(buffer_.begin() + static_cast<std::ptrdiff_t>(headerSize_), buffer_.end());
    Restart();
    return request;
}

std::optional<RemoteReply> RemoteFrameDecoder::TakeReply()
{
    if (!complete_ || kind_ != Kind::Reply) return std::nullopt;
    RemoteReply reply;
    reply.version = version_;
    reply.result = static_cast<int64_t>(Get64(buffer_.data() + 8));
    reply.text.assign(buffer_.begin() + static_cast<std::ptrdiff_t>(kRemoteReplyHeaderSize), buffer_.end());
    Restart();
    return reply;
}

}  // namespace qv
