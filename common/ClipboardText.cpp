// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ClipboardText.h"

namespace qv {
namespace {

std::string_view UpToZero(std::string_view text)
{
    size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

}  // namespace

std::optional<std::string> GetClipboardText(IClipboard& clipboard)
{
    std::optional<std::string> text = clipboard.GetText();
    if (!text) return std::nullopt;
    text->resize(UpToZero(*text).size());
    if (text->empty()) return std::nullopt;
    return text;
}

size_t SetClipboardText(IClipboard& clipboard, std::string_view text)
{
    text = UpToZero(text);
    if (text.empty()) return 0;
    return clipboard.SetText(std::string(text)) ? text.size() : 0;
}

}  // namespace qv
