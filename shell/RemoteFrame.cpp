// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RemoteFrame.h"

#include <algorithm>

namespace qv {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t Get32(const uint8_t* p)
{
    return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

}  // namespace

std::vector<uint8_t> EncodeRemoteRequest(const RemoteRequest& request)
{
    std::vector<uint8_t> out;
    out.reserve(kRemoteRequestHeaderSize + request.data.size());
    Put32(out, kRemoteRequestMagic);
    Put32(out, kRemoteProtocolVersion);
    Put32(out, request.message);
    Put32(out, request.wParam);
    Put32(out, request.lParam);
    Put32(out, static_cast<uint32_t>(request.data.size()));
    out.insert(out.end(), request.data.begin(), request.data.end());
    return out;
}

std::vector<uint8_t> EncodeRemoteReply(const RemoteReply& reply)
{
    std::vector<uint8_t> out;
    out.reserve(kRemoteReplyHeaderSize + reply.text.size());
    Put32(out, kRemoteReplyMagic);
    Put32(out, kRemoteProtocolVersion);
    const auto result = static_cast<uint64_t>(reply.result);
    Put32(out, static_cast<uint32_t>(result));
    Put32(out, static_cast<uint32_t>(result >> 32));
    Put32(out, static_cast<uint32_t>(reply.text.size()));
    out.insert(out.end(), reply.text.begin(), reply.text.end());
    return out;
}

size_t RemoteFrameDecoder::HeaderSize() const
{
    return kind_ == Kind::Request ? kRemoteRequestHeaderSize : kRemoteReplyHeaderSize;
}

void RemoteFrameDecoder::CheckHeader()
{
    const uint8_t* p = buffer_.data();
    const uint32_t magic = kind_ == Kind::Request ? kRemoteRequestMagic : kRemoteReplyMagic;
    const uint32_t length = Get32(p + HeaderSize() - 4);
    if (Get32(p) != magic || Get32(p + 4) != kRemoteProtocolVersion || length > kRemoteMaxData) {
        failed_ = true;
        buffer_.clear();
        return;
    }
    expected_ = HeaderSize() + length;
}

size_t RemoteFrameDecoder::Feed(const uint8_t* data, size_t size)
{
    size_t taken = 0;
    while (taken < size && !failed_ && !complete_) {
        const size_t want = (expected_ ? expected_ : HeaderSize()) - buffer_.size();
        const size_t n = std::min(want, size - taken);
        buffer_.insert(buffer_.end(), data + taken, data + taken + n);
        taken += n;
        if (!expected_ && buffer_.size() == HeaderSize()) CheckHeader();
        if (expected_ && buffer_.size() == expected_) complete_ = true;
    }
    return taken;
}

std::optional<RemoteRequest> RemoteFrameDecoder::TakeRequest()
{
    if (!complete_ || kind_ != Kind::Request) return std::nullopt;
    const uint8_t* p = buffer_.data();
    RemoteRequest request;
    request.message = Get32(p + 8);
    request.wParam = Get32(p + 12);
    request.lParam = Get32(p + 16);
    request.data.assign(buffer_.begin() + static_cast<std::ptrdiff_t>(kRemoteRequestHeaderSize), buffer_.end());
    buffer_.clear();
    expected_ = 0;
    complete_ = false;
    return request;
}

std::optional<RemoteReply> RemoteFrameDecoder::TakeReply()
{
    if (!complete_ || kind_ != Kind::Reply) return std::nullopt;
    const uint8_t* p = buffer_.data();
    RemoteReply reply;
    reply.result = static_cast<int64_t>(Get32(p + 8) | (uint64_t{Get32(p + 12)} << 32));
    reply.text.assign(buffer_.begin() + static_cast<std::ptrdiff_t>(kRemoteReplyHeaderSize), buffer_.end());
    buffer_.clear();
    expected_ = 0;
    complete_ = false;
    return reply;
}

}  // namespace qv
