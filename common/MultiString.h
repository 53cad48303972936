// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list of zero-terminated texts closed by an empty one: the layout of histories, group
// lists and multi-string settings. An absent block counts as an empty list.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class MultiString {
public:
    MultiString() = default;  // absent
    // From a stored block; a block missing its closing zero bytes is completed.
    static MultiString FromBlock(std::string_view block);
    // From a list as the settings store keeps it; empty texts are left out.
    static MultiString FromList(const std::vector<std::string>& texts);
    std::vector<std::string> ToList() const;

    bool IsAbsent() const { return block_.empty(); }
    // Number of texts before the empty one.
    size_t Count() const;
    // Bytes including the final zero: 1 for an empty list, 0 for an absent one.
    size_t Size() const { return block_.size(); }
    // The whole block (Size() bytes), nullptr when absent.
    const char* Data() const { return block_.empty() ? nullptr : block_.data(); }

    std::optional<std::string_view> Get(size_t index) const;
    // Index of the first text equal to text, or -1.
    int Find(std::string_view text) const;
    // Places the text (up to its first zero byte) before the index-th text; index >= Count()
    // appends. An empty text would end the list, so it is refused (returns false).
    bool Insert(size_t index, std::string_view text);
    // Drops the index-th text, if there is one; returns whether one was dropped.
    bool Remove(size_t index);
    void Clear() { block_.clear(); }

    // History rule: the text moves (or is added) to the front, kept once, at most maxCount texts.
    void AddToHistory(std::string_view text, size_t maxCount = 16);

    bool operator==(const MultiString&) const = default;

private:
    // Offset of the index-th text in the block, or the offset of the closing empty text.
    size_t OffsetOf(size_t index) const;

    std::vector<char> block_;
};

}  // namespace qv
