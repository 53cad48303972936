// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RemoteMessages.h"

#include <algorithm>
#include <limits>

#include "common/CodePage.h"
#include "modules/NameCompare.h"
#include "platform/FileSystem.h"
#include "view/AnsiView.h"
#include "view/HexView.h"

namespace qv {
namespace {

RemoteReply Refusal(const std::string& reason)
{
    return {kRemoteRefused, Utf8ToCp1252(reason), kRemoteProtocolVersion1};
}

// The path with the letters of Windows-1252 folded to capitals, character by character;
// characters outside the code page (and stray bytes) stay as they are, so that two names
// differing there never compare equal.
std::string FoldedPath(const std::string& path)
{
    std::string folded;
    for (size_t pos = 0; pos < path.size();) {
        size_t end = pos + 1;
        while (end < path.size() && (static_cast<uint8_t>(path[end]) & 0xC0) == 0x80) ++end;
        const std::string character = path.substr(pos, end - pos);
        const std::string narrow = Utf8ToCp1252(character);
        if (narrow.size() == 1 && Cp1252ToUtf8(narrow) == character)
            folded += Cp1252ToUtf8(std::string(1, static_cast<char>(FoldNameCase(static_cast<uint8_t>(narrow[0])))));
        else
            folded += character;
        pos = end;
    }
    return folded;
}

}  // namespace

std::optional<std::string> CopyDataText(uint32_t code, const std::string& block, uint32_t version)
{
    if ((code & kCopyDataUtf16) == 0) {
        const size_t end = block.find('\0');
        if (end == std::string::npos) return std::nullopt;
        const std::string text = block.substr(0, end);
        return version == kRemoteProtocolVersion1 ? Cp1252ToUtf8(text) : text;
    }
    std::u16string wide;
    for (size_t i = 0; i + 1 < block.size(); i += 2)
        wide += static_cast<char16_t>(static_cast<uint8_t>(block[i]) | (static_cast<uint8_t>(block[i + 1]) << 8));
    const size_t end = wide.find(u'\0');
    if (end == std::u16string::npos) return std::nullopt;
    std::optional<std::string> text = Utf16ToUtf8(std::u16string_view(wide).substr(0, end));
    // A longer text would be cut into another name; it is refused instead.
    if (!text || text->size() >= kCopyDataUtf16Buffer) return std::nullopt;
    return text;
}

RemoteReply NarrowToVersion1(RemoteReply reply)
{
    if (reply.result < 0 || reply.result > std::numeric_limits<uint32_t>::max())
        return Refusal("Der Wert " + std::to_string(reply.result) +
                       " passt nicht in 32 Bit; Protokollversion 2 liefert ihn.");
    const std::string narrow = Utf8ToCp1252(reply.text);
    if (Cp1252ToUtf8(narrow) != reply.text)
        return Refusal("Der Text lässt sich nicht in Windows-1252 schreiben; Protokollversion 2 liefert ihn.");
    reply.text = narrow;
    reply.version = kRemoteProtocolVersion1;
    return reply;
}

bool SameDocumentPath(const std::string& a, const std::string& b)
{
    auto comparable = [](std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return FoldedPath(FullPath(path));
    };
    if (a.empty() || b.empty()) return false;
    return comparable(a) == comparable(b);
}

RemoteReply RemoteMessages::Handle(const RemoteRequest& request)
{
    RemoteReply reply = HandleMessage(request);
    if (request.version == kRemoteProtocolVersion1) return NarrowToVersion1(std::move(reply));
    reply.version = request.version;
    return reply;
}

RemoteReply RemoteMessages::HandleMessage(const RemoteRequest& request)
{
    constexpr uint64_t kLargestInt = std::numeric_limits<int>::max();
    switch (request.message) {
    case kRemoteControlMessage: return HandleRemoteControl(request.wParam);
    case kViewControlMessage:
        if (!target_.HasView() || request.wParam > kLargestInt) return {};
        return {target_.ViewControl(static_cast<int>(request.wParam), request.lParam), {}};
    case kLineViewControlMessage:
        if (!target_.HasView() || request.wParam > std::numeric_limits<uint32_t>::max()) return {};
        return {target_.LineViewControl(static_cast<uint32_t>(request.wParam), static_cast<uint32_t>(request.lParam)),
                {}};
    case kSelectRangeMessage:
        if (target_.HasView()) target_.SelectRange(request.wParam, request.lParam >> 16);
        return {};
    case kCopyDataMessage: return {HandleCopyData(request.lParam, request.data, request.version), {}};
    case kRemoteCommandMessage:
        if (request.wParam > kLargestInt) return {};
        return {target_.RunCommand(static_cast<int>(request.wParam)) ? 1 : 0, {}};
    default: return {};
    }
}

RemoteReply RemoteMessages::HandleRemoteControl(uint64_t select)
{
    switch (select) {
    case 0: return {target_.PostCommand(kExitCommand) ? 1 : 0, {}};
    case 2: return {1, target_.DocumentPath()};
    case 4: return {1, receivedText_};
    default: return {};
    }
}

int64_t RemoteMessages::HandleCopyData(uint64_t code, const std::string& block, uint32_t version)
{
    const uint64_t plainCode = code & ~uint64_t{kCopyDataUtf16};
    if (plainCode != kCopyDataOpenFile && plainCode != kCopyDataPathText && plainCode != kCopyDataComparePath)
        return 0;
    const std::optional<std::string> text = CopyDataText(static_cast<uint32_t>(code), block, version);
    if (!text) return 0;
    switch (plainCode) {
    case kCopyDataOpenFile: return !text->empty() && target_.OpenFile(*text) ? 1 : 0;
    case kCopyDataPathText: receivedText_ = *text; return 1;
    default: return SameDocumentPath(*text, target_.DocumentPath()) ? 1 : 0;
    }
}

}  // namespace qv
