// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RemoteMessages.h"

#include <algorithm>

#include "common/CodePage.h"
#include "modules/NameCompare.h"
#include "platform/FileSystem.h"
#include "view/AnsiView.h"
#include "view/HexView.h"

namespace qv {

std::optional<std::string> CopyDataText(uint32_t code, const std::string& block)
{
    if ((code & kCopyDataUtf16) == 0) {
        const size_t end = block.find('\0');
        if (end == std::string::npos) return std::nullopt;
        return block.substr(0, end);
    }
    std::u16string wide;
    for (size_t i = 0; i + 1 < block.size(); i += 2)
        wide += static_cast<char16_t>(static_cast<uint8_t>(block[i]) | (static_cast<uint8_t>(block[i + 1]) << 8));
    const size_t end = wide.find(u'\0');
    if (end == std::u16string::npos) return std::nullopt;
    std::string text = Utf16ToCp1252(std::u16string_view(wide).substr(0, end));
    // A longer text would be cut into another name; it is refused instead.
    if (text.size() >= kCopyDataUtf16Buffer) return std::nullopt;
    return text;
}

bool SameDocumentPath(const std::string& a, const std::string& b)
{
    auto comparable = [](std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return Utf8ToCp1252(FullPath(path));
    };
    if (a.empty() || b.empty()) return false;
    return SameName(comparable(a), comparable(b));
}

RemoteReply RemoteMessages::Handle(const RemoteRequest& request)
{
    switch (request.message) {
    case kRemoteControlMessage: return HandleRemoteControl(request.wParam);
    case kViewControlMessage:
        if (!target_.HasView()) return {};
        return {static_cast<uint32_t>(
                    target_.ViewControl(static_cast<int32_t>(request.wParam), static_cast<int32_t>(request.lParam))),
                {}};
    case kLineViewControlMessage:
        if (!target_.HasView()) return {};
        return {target_.LineViewControl(request.wParam, request.lParam), {}};
    case kSelectRangeMessage:
        if (target_.HasView()) target_.SelectRange(request.wParam, request.lParam >> 16);
        return {};
    case kCopyDataMessage: return {HandleCopyData(request.lParam, request.data), {}};
    case kRemoteCommandMessage: return {target_.RunCommand(static_cast<int>(request.wParam)) ? 1 : 0, {}};
    default: return {};
    }
}

RemoteReply RemoteMessages::HandleRemoteControl(uint32_t select)
{
    switch (select) {
    case 0: return {target_.PostCommand(kExitCommand) ? 1 : 0, {}};
    case 2: return {1, Utf8ToCp1252(target_.DocumentPath())};
    case 4: return {1, receivedText_};
    default: return {};
    }
}

int64_t RemoteMessages::HandleCopyData(uint32_t code, const std::string& block)
{
    const uint32_t plainCode = code & ~kCopyDataUtf16;
    if (plainCode != kCopyDataOpenFile && plainCode != kCopyDataPathText && plainCode != kCopyDataComparePath)
        return 0;
    const std::optional<std::string> text = CopyDataText(code, block);
    if (!text) return 0;
    switch (plainCode) {
    case kCopyDataOpenFile: return !text->empty() && target_.OpenFile(Cp1252ToUtf8(*text)) ? 1 : 0;
    case kCopyDataPathText: receivedText_ = *text; return 1;
    default: return SameDocumentPath(Cp1252ToUtf8(*text), target_.DocumentPath()) ? 1 : 0;
    }
}

}  // namespace qv
