// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/MultiString.h"

#include <cstring>

namespace qv {

MultiString MultiString::FromBlock(std::string_view block)
{
    MultiString list;
    if (block.empty()) return list;
    // The list ends at the first empty text; completing a cut block keeps that layout.
    size_t end = 0;
    while (end < block.size() && block[end] != '\0') {
        const size_t zero = block.find('\0', end);
        end = zero == std::string_view::npos ? block.size() : zero;
        ++end;  // past the text's zero byte (which may be missing)
    }
    const size_t kept = end < block.size() ? end : block.size();
    list.block_.assign(block.begin(), block.begin() + static_cast<ptrdiff_t>(kept));
    if (!list.block_.empty() && list.block_.back() != '\0') list.block_.push_back('\0');
    list.block_.push_back('\0');
    return list;
}

MultiString MultiString::FromList(const std::vector<std::string>& texts)
{
    MultiString list;
    for (const std::string& text : texts) list.Insert(list.Count(), text);
    return list;
}

std::vector<std::string> MultiString::ToList() const
{
    std::vector<std::string> texts;
    for (size_t i = 0; auto text = Get(i); ++i) texts.emplace_back(*text);
    return texts;
}

size_t MultiString::OffsetOf(size_t index) const
{
    size_t offset = 0;
    for (size_t i = 0; i < index && offset < block_.size() && block_[offset] != '\0'; ++i)
        offset += std::strlen(block_.data() + offset) + 1;
    return offset;
}

size_t MultiString::Count() const
{
    size_t count = 0;
    for (size_t offset = 0; offset < block_.size() && block_[offset] != '\0'; ++count)
        offset += std::strlen(block_.data() + offset) + 1;
    return count;
}

std::optional<std::string_view> MultiString::Get(size_t index) const
{
    const size_t offset = OffsetOf(index);
    if (offset >= block_.size() || block_[offset] == '\0') return std::nullopt;
    return std::string_view(block_.data() + offset);
}

int MultiString::Find(std::string_view text) const
{
    for (size_t i = 0; auto stored = Get(i); ++i)
        if (*stored == text) return static_cast<int>(i);
    return -1;
}

bool MultiString::Insert(size_t index, std::string_view text)
{
    if (size_t zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
    if (text.empty()) return false;
    if (block_.empty()) block_.push_back('\0');
    const auto at = block_.begin() + static_cast<ptrdiff_t>(OffsetOf(index));
    const auto inserted = block_.insert(at, text.begin(), text.end());
    block_.insert(inserted + static_cast<ptrdiff_t>(text.size()), '\0');
    return true;
}

bool MultiString::Remove(size_t index)
{
    const size_t offset = OffsetOf(index);
    if (offset >= block_.size() || block_[offset] == '\0') return false;
    const size_t length = std::strlen(block_.data() + offset) + 1;
    block_.erase(block_.begin() + static_cast<ptrdiff_t>(offset),
                 block_.begin() + static_cast<ptrdiff_t>(offset + length));
    return true;
}

void MultiString::AddToHistory(std::string_view text, size_t maxCount)
{
    if (size_t zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
    if (text.empty()) return;
    if (const int found = Find(text); found >= 0) Remove(static_cast<size_t>(found));
    Insert(0, text);
    while (Count() > maxCount) Remove(Count() - 1);
}

}  // namespace qv
