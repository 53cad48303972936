// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexViewGotoDialog.h"

#include <algorithm>
#include <cctype>

#include "common/Expression.h"

namespace qv {

namespace {

constexpr size_t kMaxOlderEntries = 15;
constexpr size_t kMaxHistoryBytes = 2044;

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<int64_t> GotoDialog::Value() const
{
    int64_t value = 0;
    bool ok = false;
    EvaluateExpression64(text, value, &ok);
    if (!ok) return std::nullopt;
    return value;
}

void AddToGotoHistory(MultiString& history, const std::string& text)
{
    if (text.empty()) return;
    MultiString updated;
    updated.Insert(0, text);
    size_t older = 0;
    for (size_t i = 0; i < history.Count() && older < kMaxOlderEntries; ++i) {
        const std::string_view entry = *history.Get(i);
        if (SameIgnoringCase(entry, text)) continue;
        if (updated.Size() + entry.size() + 1 > kMaxHistoryBytes) break;
        updated.Insert(updated.Count(), entry);
        ++older;
    }
    history = std::move(updated);
}

}  // namespace qv
