// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/InspectorRows.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cctype>
#include <cmath>
#include <limits>

#include "common/CText.h"
#include "common/CodePage.h"
#include "common/Expression.h"
#include "common/HexText.h"
#include "common/NumberText.h"
#include "tools/CalculatorNames.h"
#include "tools/FloatConverter.h"
#include "tools/TimeConverter.h"

namespace qv {
namespace {

constexpr uint32_t kMaxCodePoint = 0x10FFFF;

struct RowType {
    InspectorRow row;
    const char* name;
    int size;  // bytes of the value; the code point rows need at least this many
};

constexpr std::array<RowType, kInspectorRowCount> kRows = {{
    {InspectorRow::Int8, "int8", 1},
    {InspectorRow::UInt8, "uint8", 1},
    {InspectorRow::Int16, "int16", 2},
    {InspectorRow::UInt16, "uint16", 2},
    {InspectorRow::Int32, "int32", 4},
    {InspectorRow::UInt32, "uint32", 4},
    {InspectorRow::Int64, "int64", 8},
    {InspectorRow::UInt64, "uint64", 8},
    {InspectorRow::Float32, "float32", 4},
    {InspectorRow::Float64, "float64", 8},
    {InspectorRow::Binary, "Binär", 1},
    {InspectorRow::Character, "Zeichen (Windows-1252)", 1},
    {InspectorRow::Utf8, "UTF-8", 1},
    {InspectorRow::Utf16, "UTF-16", 2},
    {InspectorRow::UnixTime32, "UTC-Zeit (32 Bit)", 4},
    {InspectorRow::DosTime, "DOS-Zeit", 4},
    {InspectorRow::OleTime, "OLE-Zeit", 8},
    {InspectorRow::FileTime, "FILE-Zeit", 8},
}};

const RowType& TypeOf(InspectorRow row)
{
    return kRows[static_cast<size_t>(row)];
}

bool IsSignedInteger(InspectorRow row)
{
    return row == InspectorRow::Int8 || row == InspectorRow::Int16 || row == InspectorRow::Int32 ||
           row == InspectorRow::Int64;
}

bool IsInteger(InspectorRow row)
{
    return row <= InspectorRow::UInt64;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The value's bytes in little-endian order, whichever order the document holds them in.
std::vector<uint8_t> LittleEndian(std::span<const uint8_t> bytes, size_t size, bool bigEndian)
{
    std::vector<uint8_t> value(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    if (bigEndian) std::reverse(value.begin(), value.end());
    return value;
}

std::vector<uint8_t> InDocumentOrder(std::vector<uint8_t> littleEndian, bool bigEndian)
{
    if (bigEndian) std::reverse(littleEndian.begin(), littleEndian.end());
    return littleEndian;
}

uint64_t UnsignedOf(const std::vector<uint8_t>& littleEndian)
{
    uint64_t value = 0;
    for (size_t i = littleEndian.size(); i-- > 0;) value = (value << 8) | littleEndian[i];
    return value;
}

std::vector<uint8_t> LittleEndianOf(uint64_t value, size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
}

// ---- integers ----

std::string IntegerText(InspectorRow row, uint64_t value, size_t size)
{
    if (!IsSignedInteger(row)) return FormatNumber64(static_cast<int64_t>(value), kStyleUnsigned);
    const unsigned unused = 64 - 8 * static_cast<unsigned>(size);
    const auto extended = static_cast<int64_t>(value << unused) >> unused;
    return FormatNumber64(extended, kStyleSigned);
}

// An expression of the calculator. A signed type also takes the unsigned values of its bit
// pattern (0xFF for int8 -1); an unsigned type takes no negative value.
std::optional<uint64_t> ReadInteger(InspectorRow row, std::string_view text, size_t size)
{
    text = Trim(text);
    // A lone number is judged by its digits: the calculator's 64-bit arithmetic would wrap
    // 18446744073709551616 around to 0, which fits every type.
    const TypedNumber number = ReadTypedNumber(text);
    if (!text.empty() && number.consumed == text.size()) {
        const uint64_t largest = size < 8 ? (uint64_t{1} << (8 * size)) - 1 : UINT64_MAX;
        const uint64_t mostNegative = IsSignedInteger(row) ? uint64_t{1} << (8 * size - 1) : 0;
        if (number.overflow || number.magnitude > (number.negative ? mostNegative : largest)) return std::nullopt;
        return number.Bits() & largest;
    }
    int64_t value = 0;
    bool ok = false;
    EvaluateExpression64(text, value, &ok, ResolveCalculatorName);
    if (!ok) return std::nullopt;
    if (size < 8) {
        const int64_t top = (int64_t{1} << (8 * size)) - 1;
        const int64_t bottom = IsSignedInteger(row) ? -(int64_t{1} << (8 * size - 1)) : 0;
        if (value < bottom || value > top) return std::nullopt;
    } else if (!IsSignedInteger(row) && text.starts_with('-')) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(value);
}

// ---- floating point ----

// The shortest text that reads back as the same value; ".0" marks a whole number as such.
template <typename T>
std::string FloatText(T value)
{
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    std::string result(text, error == std::errc() ? end : text);
    if (std::isfinite(value) && result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

std::string FloatRowText(InspectorRow row, const std::vector<uint8_t>& littleEndian)
{
    const FloatConverterModel converter(littleEndian.data(), littleEndian.size());
    return row == InspectorRow::Float32 ? FloatText(converter.FloatValue()) : FloatText(converter.DoubleValue());
}

// The rows show infinity and NaN as «inf», «-inf», «nan», «-nan»; the float converter reads
// numbers only, so these words are read here. Nothing for any other text.
template <typename T>
std::optional<T> NonFiniteValue(std::string_view text)
{
    text = Trim(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    std::string word(text);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    T value = 0;
    if (word == "inf" || word == "infinity")
        value = std::numeric_limits<T>::infinity();
    else if (word == "nan")
        value = std::numeric_limits<T>::quiet_NaN();
    else
        return std::nullopt;
    return std::copysign(value, negative ? T(-1) : T(1));
}

std::optional<std::vector<uint8_t>> ReadFloat(InspectorRow row, std::string_view text)
{
    const bool single = row == InspectorRow::Float32;
    if (single) {
        if (const auto value = NonFiniteValue<float>(text)) return LittleEndianOf(std::bit_cast<uint32_t>(*value), 4);
    } else if (const auto value = NonFiniteValue<double>(text)) {
        return LittleEndianOf(std::bit_cast<uint64_t>(*value), 8);
    }
    bool complete = false;
    ReadFloatValueText(text, &complete);
    if (!complete) return std::nullopt;
    FloatConverterModel converter(nullptr, 0);
    converter.EditField(single ? FloatField::FloatValue : FloatField::DoubleValue, text);
    // Beyond the type's range is no value of it.
    if (single ? !std::isfinite(converter.FloatValue()) : !std::isfinite(converter.DoubleValue())) return std::nullopt;
    return std::vector<uint8_t>(converter.Bytes().begin(), converter.Bytes().begin() + (single ? 4 : 8));
}

// ---- the byte as digits and as a character ----

std::string BinaryText(uint8_t byte)
{
    return FormatNumber(byte, kStylePlainRadix | 2 | StyleMinDigits(8));
}

std::optional<uint8_t> ReadByteExpression(std::string_view text)
{
    int64_t value = 0;
    bool ok = false;
    EvaluateExpression64(text, value, &ok, ResolveCalculatorName);
    if (!ok || value < 0 || value > 0xFF) return std::nullopt;
    return static_cast<uint8_t>(value);
}

// Binary digits as shown, or any expression of the calculator («0x41», «'A'»).
std::optional<uint8_t> ReadBinary(std::string_view text)
{
    text = Trim(text);
    const bool digits = !text.empty() && text.size() <= 8 && text.find_first_not_of("01") == std::string_view::npos;
    if (digits) return static_cast<uint8_t>(ParseNumber(text, 2));
    return ReadByteExpression(text);
}

// The C character literal, as the calculator reads it back («'A'», «'\n'», «'\x1F'»).
std::string CharacterText(uint8_t byte)
{
    char text[kCCharMaxText];
    return Cp1252ToUtf8(std::string_view(text, ByteToCChar(byte, text, sizeof text, false)));
}

// One character of the code page, or a C character literal with or without its quotes.
std::optional<uint8_t> ReadCharacter(std::string_view text)
{
    const std::optional<std::string> exact = Utf8ToCp1252Exactly(text);
    if (!exact || exact->empty()) return std::nullopt;
    const std::string& character = *exact;
    if (character.size() == 1) return static_cast<uint8_t>(character[0]);
    const bool quoted = character.size() >= 2 && character.front() == '\'' && character.back() == '\'';
    return ReadByteExpression(quoted ? character : "'" + character + "'");
}

// ---- code points ----

bool IsSurrogate(uint32_t codePoint)
{
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

std::string CodePointText(uint32_t codePoint, std::string_view utf8)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", codePoint);
    const bool printable = codePoint >= 0x20 && codePoint != 0x7F && !(codePoint >= 0x80 && codePoint < 0xA0);
    return printable ? std::string(text) + "  " + std::string(utf8) : std::string(text);
}

// The UTF-16 units of a code point that is no surrogate.
std::u16string UnitsOf(uint32_t codePoint)
{
    if (codePoint < 0x10000) return std::u16string(1, static_cast<char16_t>(codePoint));
    return {static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF))};
}

std::string Utf8Of(uint32_t codePoint)
{
    return Utf16ToUtf8(UnitsOf(codePoint)).value_or(std::string());
}

// The code point of one whole UTF-8 character.
uint32_t CodePointOf(std::string_view utf8)
{
    const std::u16string units = Utf8ToUtf16(utf8);
    if (units.size() == 2) return 0x10000 + ((uint32_t{units[0]} - 0xD800) << 10) + (uint32_t{units[1]} - 0xDC00);
    return units.empty() ? 0 : units[0];
}

size_t Utf8SequenceLength(uint8_t lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;  // a continuation byte or a byte no sequence starts with
}

std::string Utf8RowText(std::span<const uint8_t> bytes)
{
    const size_t length = Utf8SequenceLength(bytes[0]);
    if (length == 0) return kInspectorInvalid;
    if (bytes.size() < length) return kInspectorMissing;
    const std::string_view sequence(reinterpret_cast<const char*>(bytes.data()), length);
    if (!IsValidUtf8(sequence)) return kInspectorInvalid;
    return CodePointText(CodePointOf(sequence), sequence);
}

std::string Utf16RowText(std::span<const uint8_t> bytes, bool bigEndian)
{
    const auto first = static_cast<uint32_t>(UnsignedOf(LittleEndian(bytes, 2, bigEndian)));
    uint32_t codePoint = first;
    if (first >= 0xDC00 && first <= 0xDFFF) return kInspectorInvalid;
    if (first >= 0xD800 && first <= 0xDBFF) {
        if (bytes.size() < 4) return kInspectorMissing;
        const auto second = static_cast<uint32_t>(UnsignedOf(LittleEndian(bytes.subspan(2), 2, bigEndian)));
        if (second < 0xDC00 || second > 0xDFFF) return kInspectorInvalid;
        codePoint = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }
    return CodePointText(codePoint, Utf8Of(codePoint));
}

// «U+20AC», «U+20AC  €» as the row shows it, or one character.
std::optional<uint32_t> ReadCodePoint(std::string_view text)
{
    const std::string_view trimmed = Trim(text);
    if (trimmed.size() > 2 && (trimmed[0] == 'U' || trimmed[0] == 'u') && trimmed[1] == '+') {
        const std::string_view digits = trimmed.substr(2);
        uint32_t codePoint = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), codePoint, 16);
        if (error != std::errc() || end == digits.data()) return std::nullopt;
        if (codePoint > kMaxCodePoint || IsSurrogate(codePoint)) return std::nullopt;
        // After blanks, the character itself may follow.
        const std::string_view rest = digits.substr(static_cast<size_t>(end - digits.data()));
        const std::string_view character = Trim(rest);
        if (!character.empty() && (character.size() == rest.size() || character != Utf8Of(codePoint))) return std::nullopt;
        return codePoint;
    }
    if (text.empty() || !IsValidUtf8(text)) return std::nullopt;
    if (Utf8SequenceLength(static_cast<uint8_t>(text[0])) != text.size()) return std::nullopt;
    return CodePointOf(text);
}

std::vector<uint8_t> Utf16Bytes(uint32_t codePoint, bool bigEndian)
{
    std::vector<uint8_t> bytes;
    for (char16_t unit : UnitsOf(codePoint)) {
        const std::vector<uint8_t> ordered = InDocumentOrder(LittleEndianOf(unit, 2), bigEndian);
        bytes.insert(bytes.end(), ordered.begin(), ordered.end());
    }
    return bytes;
}

// ---- time stamps, through the time converter's fields ----

TimeField DumpFieldOf(InspectorRow row)
{
    switch (row) {
    case InspectorRow::DosTime: return TimeField::Dos;
    case InspectorRow::OleTime: return TimeField::OleDump;
    case InspectorRow::FileTime: return TimeField::FileTimeDump;
    default: return TimeField::SecondsDump;
    }
}

// The converter without settings, showing universal time.
struct UniversalConverter : TimeConverterModel {
    UniversalConverter() : TimeConverterModel(nullptr, nullptr, {}, TimeReadMode::LastInput) { SetLocal(false); }
};

std::string TimeRowText(InspectorRow row, const std::vector<uint8_t>& littleEndian)
{
    UniversalConverter converter;
    const TimeField field = DumpFieldOf(row);
    converter.EditField(field, BytesToHexText(littleEndian.data(), littleEndian.size(), HexSeparator(' ')));
    if (!converter.IsValid(field)) return kInspectorInvalid;
    return Cp1252ToUtf8(converter.Text(TimeField::Text));
}

std::optional<std::vector<uint8_t>> ReadTime(InspectorRow row, std::string_view text)
{
    UniversalConverter converter;
    const TimeField field = DumpFieldOf(row);
    converter.EditField(TimeField::Text, Utf8ToCp1252(text));
    if (!converter.IsValid(TimeField::Text) || !converter.IsValid(field)) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(TypeOf(row).size));
    HexTextToBytes(bytes.data(), static_cast<uint32_t>(bytes.size()), converter.Text(field));
    return bytes;
}

}  // namespace

const char* InspectorRowName(InspectorRow row)
{
    return TypeOf(row).name;
}

std::string InspectorRowText(InspectorRow row, std::span<const uint8_t> bytes, bool bigEndian)
{
    const auto size = static_cast<size_t>(TypeOf(row).size);
    if (bytes.size() < size) return kInspectorMissing;
    if (IsInteger(row)) return IntegerText(row, UnsignedOf(LittleEndian(bytes, size, bigEndian)), size);
    switch (row) {
    case InspectorRow::Float32:
    case InspectorRow::Float64: return FloatRowText(row, LittleEndian(bytes, size, bigEndian));
    case InspectorRow::Binary: return BinaryText(bytes[0]);
    case InspectorRow::Character: return CharacterText(bytes[0]);
    case InspectorRow::Utf8: return Utf8RowText(bytes);
    case InspectorRow::Utf16: return Utf16RowText(bytes, bigEndian);
    default: return TimeRowText(row, LittleEndian(bytes, size, bigEndian));
    }
}

std::optional<std::vector<uint8_t>> InspectorRowBytes(InspectorRow row, std::string_view text, bool bigEndian)
{
    const auto size = static_cast<size_t>(TypeOf(row).size);
    std::optional<std::vector<uint8_t>> littleEndian;
    if (IsInteger(row)) {
        if (const auto value = ReadInteger(row, text, size)) littleEndian = LittleEndianOf(*value, size);
    } else if (row == InspectorRow::Float32 || row == InspectorRow::Float64) {
        littleEndian = ReadFloat(row, text);
    } else if (row == InspectorRow::Binary || row == InspectorRow::Character) {
        const auto byte = row == InspectorRow::Binary ? ReadBinary(text) : ReadCharacter(text);
        if (byte) return std::vector<uint8_t>{*byte};
        return std::nullopt;
    } else if (row == InspectorRow::Utf8 || row == InspectorRow::Utf16) {
        const auto codePoint = ReadCodePoint(text);
        if (!codePoint) return std::nullopt;
        if (row == InspectorRow::Utf16) return Utf16Bytes(*codePoint, bigEndian);
        const std::string utf8 = Utf8Of(*codePoint);
        return std::vector<uint8_t>(utf8.begin(), utf8.end());
    } else {
        littleEndian = ReadTime(row, text);
    }
    if (!littleEndian) return std::nullopt;
    return InDocumentOrder(std::move(*littleEndian), bigEndian);
}

}  // namespace qv
