// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The kinds and widths a typed search value can have, and the search option bits.
#include <cstdint>

namespace qv {

// Order of the kind radios and the index kept in entries.
enum class ValueKind : int {
    Decimal = 0,
    Hex = 1,
    Binary = 2,
    Octal = 3,
    Text = 4,
    HexDump = 5,
    BitMask = 6,
    UnicodeText = 7,  // only inside entries: text widened to 16 bits
};

inline constexpr char kEntryLetters[] = "DHBOTUMN";
inline constexpr int kValueKindCount = 8;

inline bool IsNumberKind(ValueKind kind) { return static_cast<int>(kind) <= static_cast<int>(ValueKind::Octal); }

// The radio group "Byte-Anzahl".
enum class ValueWidth : int { Byte = 0, Word = 1, DWord = 2, Variable = 3 };

// Bytes a value of this width may have (Variable: up to 256).
inline int MaxBytesOf(ValueWidth width)
{
    switch (width) {
    case ValueWidth::Byte: return 1;
    case ValueWidth::Word: return 2;
    case ValueWidth::DWord: return 4;
    case ValueWidth::Variable: return 256;
    }
    return 256;
}

// The longest value a search handles, in bytes.
inline constexpr int kMaxValueBytes = 256;

// SearchFlags, persisted as "HexFindFlags".
enum SearchFlag : uint32_t {
    kSearchBackward = 1u << 0,
    kSearchInSelection = 1u << 1,
    kSearchWholeMemory = 1u << 2,
    kSearchIgnoreCase = 1u << 3,
    kSearchGroup = 1u << 4,
    kSearchGroupOrdered = 1u << 5,
    kSearchFromStart = 1u << 6,
    kSearchUnicode = 1u << 7,
    kSearchBigEndian = 1u << 8,
    kSearchOptionMask = 0x1FF,          // the bits a closing dialog keeps
    kSearchSelectionExists = 1u << 15,  // set by the view before opening the dialog
};

inline constexpr uint32_t kDefaultSearchFlags = kSearchWholeMemory;

}  // namespace qv
