// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Search entries: the one-line description of a value that the group list shows and the
// active pattern holds ("H:4 /B<tab>:12 34 56 78<tabs>(0x12345678)"), built from what the
// user typed, read back into the dialog, and decoded for the engine.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/MultiString.h"
#include "search/SearchValue.h"
#include "search/ValueKind.h"

namespace qv {

// What the dialog holds for one value.
struct ValueInput {
    std::string text;  // the combo box text
    int kind = -1;     // the chosen kind radio 0..6; other values take the initial text's kind
    ValueWidth width = ValueWidth::DWord;
    bool ignoreCase = false;
    bool unicode = false;
    bool bigEndian = false;
};

// The entry for the value, or nothing when the text yields no bytes. initialKind is the
// kind of the text the dialog was opened with.
std::optional<std::string> BuildSearchEntry(const ValueInput& input, std::optional<ValueKind> initialKind = {});

// An entry read back into the dialog (double click on a group line).
struct EntryReadBack {
    std::string text;                     // for the combo box
    std::optional<ValueKind> kind;        // detected from that text
    std::optional<ValueWidth> width;      // nothing: leave the width as it is
    std::optional<bool> ignoreCase;       // set only for text entries
};
EntryReadBack ReadBackSearchEntry(std::string_view entry);

// The engine's view of an entry: bytes, length and comparison mode.
SearchValue DecodeSearchEntry(std::string_view entry);

// The active pattern: the group window, then the values (at most 16).
inline constexpr size_t kMaxGroupValues = 16;
inline constexpr int64_t kDefaultGroupRange = 1000;
struct DecodedPattern {
    int64_t range = 0;
    std::vector<SearchValue> values;
};
DecodedPattern DecodeSearchPattern(const MultiString& pattern);

}  // namespace qv
