// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchEntry.h"

#include <algorithm>
#include <array>

#include "common/NumberText.h"
#include "search/ValueText.h"

namespace qv {
namespace {

// Parse buffers hold the longest value and the 8 bytes a number always writes.
using ValueBuffer = std::array<uint8_t, kMaxValueBytes + 8>;

// The combo text for a value read back into the dialog may be longer than a display text.
constexpr size_t kReadBackMaxChars = 2048;

int TabsBeforeDisplay(size_t count)
{
    if (count <= 2) return 5;
    if (count <= 6) return 4;
    if (count <= 9) return 3;
    if (count <= 12) return 2;
    return 1;
}

struct EntryHead {
    char letter = 0;
    int64_t count = 0;
    bool bigEndian = false;   // " /B" between the count and the dump
    bool ignoreCase = false;  // a "G" there
    std::string_view dump;    // from the dump's ":" on; empty when there is none
};

EntryHead ReadEntryHead(std::string_view entry)
{
    EntryHead head;
    size_t i = entry.find_first_not_of(" \t");
    if (i == std::string_view::npos) return head;
    head.letter = entry[i];
    size_t colon = entry.find(':', i);
    if (colon == std::string_view::npos) return head;
    std::string_view rest = entry.substr(colon + 1);
    size_t used = 0;
    head.count = std::max<int64_t>(0, ParseNumber64(rest, kNumberNoSign, &used));
    rest.remove_prefix(used);
    size_t dump = rest.find(':');
    std::string_view options = rest.substr(0, dump);
    head.bigEndian = options.find("/B") != std::string_view::npos;
    head.ignoreCase = options.find('G') != std::string_view::npos;
    if (dump != std::string_view::npos) head.dump = rest.substr(dump);
    return head;
}

}  // namespace

std::optional<std::string> BuildSearchEntry(const ValueInput& input, std::optional<ValueKind> initialKind)
{
    ValueBuffer parsed{};
    const size_t parsedCount = ParseValueText(input.text, parsed.data(), static_cast<size_t>(MaxBytesOf(input.width)));
    if (parsedCount == 0) return std::nullopt;

    ValueKind kind = ValueKind::Text;
    if (input.kind >= 0 && input.kind <= static_cast<int>(ValueKind::BitMask))
        kind = static_cast<ValueKind>(input.kind);
    else if (initialKind && static_cast<int>(*initialKind) <= static_cast<int>(ValueKind::BitMask))
        kind = *initialKind;

    ValueKind entryKind = kind;
    std::vector<uint8_t> pattern;
    bool reversed = false;
    if (kind == ValueKind::Text && input.unicode) {
        entryKind = ValueKind::UnicodeText;
        for (size_t i = 0; i < std::min<size_t>(parsedCount, kMaxValueBytes / 2); ++i) {
            pattern.push_back(parsed[i]);
            pattern.push_back(0);
        }
    } else if (IsNumberKind(kind)) {
        size_t count = input.width == ValueWidth::Byte ? 1 : input.width == ValueWidth::Word ? 2 : parsedCount;
        pattern.assign(parsed.begin(), parsed.begin() + static_cast<ptrdiff_t>(count));
        // Big-endian order for every multi-byte number, 64-bit ones included.
        if (input.bigEndian && count > 1) {
            std::reverse(pattern.begin(), pattern.end());
            reversed = true;
        }
    } else {
        pattern.assign(parsed.begin(), parsed.begin() + static_cast<ptrdiff_t>(parsedCount));
    }

    std::string entry(1, kEntryLetters[static_cast<int>(entryKind)]);
    entry += ':';
    entry += std::to_string(pattern.size());
    if (kind == ValueKind::Text && input.ignoreCase) entry += " /G";
    if (reversed) entry += " /B";
    entry += '\t';
    entry += FormatValueText(pattern.data(), pattern.size(), ValueKind::HexDump, 3 * kMaxValueBytes);
    entry.append(static_cast<size_t>(TabsBeforeDisplay(pattern.size())), '\t');
    entry += '(';
    entry += FormatValueText(parsed.data(), parsedCount, kind);
    entry += ')';
    return entry;
}

EntryReadBack ReadBackSearchEntry(std::string_view entry)
{
    EntryHead head = ReadEntryHead(entry);
    ValueKind kind = ValueKind::HexDump;
    switch (head.letter) {
    case 'D': kind = ValueKind::Decimal; break;
    case 'H': kind = ValueKind::Hex; break;
    case 'B': kind = ValueKind::Binary; break;
    case 'O': kind = ValueKind::Octal; break;
    case 'T':
    case 'N': kind = ValueKind::Text; break;
    case 'M': kind = ValueKind::BitMask; break;
    default: break;
    }
    ValueBuffer bytes{};
    ParseValueText(head.dump, bytes.data(), kMaxValueBytes);
    size_t count = static_cast<size_t>(std::min<int64_t>(head.count, kMaxValueBytes));
    if (head.bigEndian) std::reverse(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(count));
    if (head.letter == 'N') {
        count /= 2;
        for (size_t i = 0; i < count; ++i) bytes[i] = bytes[2 * i];
    }

    EntryReadBack back;
    back.text = FormatValueText(bytes.data(), count, kind, kReadBackMaxChars);
    back.kind = ClassifyValueText(back.text);
    if (kind == ValueKind::Text) {
        back.ignoreCase = head.ignoreCase;
        back.width = ValueWidth::Variable;
    } else if (kind == ValueKind::HexDump || kind == ValueKind::BitMask) {
        back.width = ValueWidth::Variable;
    } else if (count == 1) {
        back.width = ValueWidth::Byte;
    } else if (count == 2) {
        back.width = ValueWidth::Word;
    } else if (count == 4) {
        back.width = ValueWidth::DWord;
    }
    return back;
}

SearchValue DecodeSearchEntry(std::string_view entry)
{
    EntryHead head = ReadEntryHead(entry);
    SearchValue value;
    ValueBuffer bytes{};
    size_t parsed = ParseValueText(head.dump, bytes.data(), kMaxValueBytes);
    parsed = std::min<size_t>(parsed, kMaxValueBytes);
    // A count larger than the dump (a damaged entry) compares only the bytes there are.
    size_t count = std::min<size_t>(static_cast<size_t>(std::min<int64_t>(head.count, kMaxValueBytes)), parsed);
    std::copy(bytes.begin(), bytes.begin() + kMaxValueBytes, value.bytes.begin());
    if (head.letter == 'M') {
        value.mode = MatchMode::Masked;
        value.length = static_cast<int>(count / 2);  // the masks follow at bytes[length]
    } else {
        value.mode = head.ignoreCase ? MatchMode::IgnoreCase : MatchMode::Exact;
        value.length = static_cast<int>(count);
    }
    return value;
}

DecodedPattern DecodeSearchPattern(const MultiString& pattern)
{
    DecodedPattern decoded;
    auto range = pattern.Get(0);
    if (!range) return decoded;
    decoded.range = ParseNumber64(*range, kNumberAuto);
    for (size_t i = 1; i < pattern.Count() && decoded.values.size() < kMaxGroupValues; ++i)
        decoded.values.push_back(DecodeSearchEntry(*pattern.Get(i)));
    return decoded;
}

}  // namespace qv
