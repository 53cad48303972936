// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes, cut into arbitrary pieces, to the remote-control frame decoder,
// and the data blocks it yields to the copy-data text reader; checks that every frame
// read back encodes to the bytes it came from.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "shell/RemoteFrame.h"
#include "shell/RemoteMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    const size_t piece = 1 + data[0] % 64;
    // With the low bit of the second byte set, a valid header leads, so that the data
    // block and its length reach the later steps; the next bit picks the protocol version.
    std::vector<uint8_t> stream;
    if (data[1] & 1) {
        const uint32_t version = (data[1] & 2) ? qv::kRemoteProtocolVersion1 : qv::kRemoteProtocolVersion;
        const qv::RemoteRequest head{0x4A, 0, 0x27F50000u | data[1], std::string(data + 2, data + size), version};
        stream = qv::EncodeRemoteRequest(head);
        stream.resize(stream.size() - (data[1] >> 4));  // sometimes cut short
    } else {
        stream.assign(data + 2, data + size);
    }
    for (auto kind : {qv::RemoteFrameDecoder::Kind::Request, qv::RemoteFrameDecoder::Kind::Reply}) {
        qv::RemoteFrameDecoder decoder(kind);
        size_t at = 0;
        while (at < stream.size() && !decoder.Failed()) {
            const size_t n = std::min(piece, stream.size() - at);
            size_t used = 0;
            while (used < n && !decoder.Failed()) {
                const size_t taken = decoder.Feed(stream.data() + at + used, n - used);
                used += taken;
                if (auto request = decoder.TakeRequest()) {
                    if (request->data.size() > qv::kRemoteMaxData) std::abort();
                    const auto again = qv::EncodeRemoteRequest(*request);
                    const size_t start = at + used - again.size();
                    if (!std::equal(again.begin(), again.end(), stream.begin() + static_cast<std::ptrdiff_t>(start)))
                        std::abort();
                    for (uint64_t code : {request->lParam, request->lParam | qv::kCopyDataUtf16}) {
                        const auto text =
                            qv::CopyDataText(static_cast<uint32_t>(code), request->data, request->version);
                        // Windows-1252 grows by at most 3 bytes a character into UTF-8.
                        if (text && (text->find('\0') != std::string::npos || text->size() > 3 * request->data.size()))
                            std::abort();
                    }
                } else if (auto reply = decoder.TakeReply()) {
                    if (reply->text.size() > qv::kRemoteMaxData) std::abort();
                } else if (taken == 0) {
                    break;
                }
            }
            at += n;
        }
    }
    return 0;
}
