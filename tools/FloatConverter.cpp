// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FloatConverter.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

#include "common/Expression.h"
#include "common/FormatText.h"
#include "common/HexText.h"
#include "common/NumberText.h"

namespace qv {
namespace {

constexpr uint32_t kDumpOptions = 0xA0002000;  // ":" and "XX " per byte
constexpr uint64_t kDoubleMantissaMask = (uint64_t{1} << 52) - 1;
constexpr uint32_t kFloatMantissaMask = 0x7FFFFF;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view BeforeMark(std::string_view text) { return text.substr(0, text.find('>')); }

// Letters and digits with at least one letter; a "#" counts like a letter so that the
// radix forms («16#FF», «2#101») read as integers too.
bool IsIntegerWord(std::string_view text)
{
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    bool letter = false;
    for (char c : text) {
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '#') return false;
        letter = letter || !IsAsciiDigit(c);
    }
    return letter;
}

// C conventions: sign, digits, point, exponent; reading stops at the first other character.
// `whole` tells whether the text was one number and nothing else.
double ReadDecimal(std::string_view text, bool& whole)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    double value = 0.0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    whole = error != std::errc::invalid_argument && end == text.data() + text.size();
    if (error == std::errc::result_out_of_range) {
        // Beyond the double range: infinity for a large exponent, 0 for a tiny one.
        std::string_view used(text.data(), static_cast<size_t>(end - text.data()));
        size_t exponent = used.find_first_of("eE");
        bool tiny = exponent != std::string_view::npos && exponent + 1 < used.size() && used[exponent + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

// Rounds to the nearest float as C's conversion does: up to half a step above FLT_MAX a
// value still gives FLT_MAX, from there on infinity (the tie goes to the even infinity).
// Handled here because a plain cast of a value beyond FLT_MAX is undefined in C++.
float ToFloat(double value)
{
    constexpr double kFirstInfinite = 0x1.ffffffp127;  // FLT_MAX plus half its last step
    constexpr float kMax = std::numeric_limits<float>::max();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (std::abs(value) >= kFirstInfinite) return value > 0 ? kInfinity : -kInfinity;
    if (std::abs(value) > kMax) return value > 0 ? kMax : -kMax;
    return static_cast<float>(value);
}

std::string GeneralText(double value)
{
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    return std::string(text, error == std::errc() ? end : text);
}

void SwapBytePairs(std::array<uint8_t, 8>& b)
{
    for (size_t i = 0; i < 8; i += 2) std::swap(b[i], b[i + 1]);
}

void SwapWordPairs(std::array<uint8_t, 8>& b)
{
    for (size_t i = 0; i < 8; i += 4) {
        std::swap(b[i], b[i + 2]);
        std::swap(b[i + 1], b[i + 3]);
    }
}

void SwapHalves(std::array<uint8_t, 8>& b)
{
    for (size_t i = 0; i < 4; ++i) std::swap(b[i], b[i + 4]);
}

}  // namespace

double ReadFloatValueText(std::string_view text, bool* complete)
{
    text = Trim(BeforeMark(text.substr(0, text.find('\0'))));
    bool whole = false;
    double value = 0;
    if (IsIntegerWord(text)) {
        size_t consumed = 0;
        value = static_cast<double>(ParseNumber64(text, kNumberSuffixes, &consumed));
        whole = consumed == text.size();
    } else {
        value = ReadDecimal(text, whole);
    }
    if (complete) *complete = whole;
    return value;
}

FloatConverterModel::FloatConverterModel(const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; bytes && i < count && i < bytes_.size(); ++i) bytes_[i] = bytes[i];
    for (int i = 0; i < kFloatFieldCount; ++i) texts_[static_cast<size_t>(i)] = FieldText(static_cast<FloatField>(i));
}

double FloatConverterModel::DoubleValue() const { return std::bit_cast<double>(DoubleBits()); }
float FloatConverterModel::FloatValue() const { return std::bit_cast<float>(FloatBits()); }

uint64_t FloatConverterModel::DoubleBits() const
{
    uint64_t bits = 0;
    for (size_t i = 0; i < 8; ++i) bits |= uint64_t{bytes_[i]} << (8 * i);
    return bits;
}

uint32_t FloatConverterModel::FloatBits() const { return static_cast<uint32_t>(DoubleBits()); }

void FloatConverterModel::SetDoubleBits(uint64_t bits)
{
    for (size_t i = 0; i < 8; ++i) bytes_[i] = static_cast<uint8_t>(bits >> (8 * i));
    source_ = FloatSource::Double;
}

void FloatConverterModel::SetFloatBits(uint32_t bits)
{
    SetDoubleBits(bits);  // the upper four bytes become 0
    source_ = FloatSource::Float;
}

void FloatConverterModel::SetDouble(double value) { SetDoubleBits(std::bit_cast<uint64_t>(value)); }
void FloatConverterModel::SetFloat(float value) { SetFloatBits(std::bit_cast<uint32_t>(value)); }

void FloatConverterModel::EditField(FloatField field, std::string_view text)
{
    texts_[Index(field)] = std::string(text);
    switch (field) {
    case FloatField::DoubleValue: SetDouble(ReadFloatValueText(text)); break;
    case FloatField::FloatValue: SetFloat(ToFloat(ReadFloatValueText(text))); break;
    case FloatField::HexDump: ReadDump(text); break;
    default: valid_[Index(field)] = EditBitField(field, text); break;
    }
    RewriteAllBut(field);
}

bool FloatConverterModel::EditBitField(FloatField field, std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    const size_t mark = text.find('>');
    const bool raw = mark != std::string_view::npos;
    const std::string_view expression = raw ? text.substr(mark + 1) : text;

    if (field == FloatField::DoubleMantissa) {
        int64_t value = 0;
        EvaluateExpression64(expression, value);
        auto bits = static_cast<uint64_t>(value);
        SetDoubleBits((DoubleBits() & ~kDoubleMantissaMask) | (bits & kDoubleMantissaMask));
        return bits <= kDoubleMantissaMask;
    }
    int32_t value = 0;
    EvaluateExpression(expression, value);
    if (field == FloatField::FloatMantissa) {
        auto bits = static_cast<uint32_t>(value);
        SetFloatBits((FloatBits() & ~kFloatMantissaMask) | (bits & kFloatMantissaMask));
        return bits <= kFloatMantissaMask;
    }
    if (field == FloatField::DoubleExponent) {
        int64_t exponent = raw ? value : int64_t{value} + 1023;
        auto bits = static_cast<uint64_t>(exponent) & 0x7FF;
        SetDoubleBits((DoubleBits() & ~(uint64_t{0x7FF} << 52)) | bits << 52);
        return exponent >= 0 && exponent <= 2047;
    }
    int64_t exponent = raw ? value : int64_t{value} + 127;
    auto bits = static_cast<uint32_t>(exponent) & 0xFF;
    SetFloatBits((FloatBits() & ~(uint32_t{0xFF} << 23)) | bits << 23);
    return exponent >= 0 && exponent < 256;
}

void FloatConverterModel::ReadDump(std::string_view text)
{
    bytes_.fill(0);
    HexTextToBytes(bytes_.data(), static_cast<uint32_t>(bytes_.size()), text);
    source_ = FloatSource::HexDump;
}

void FloatConverterModel::Swap(void (*swap)(std::array<uint8_t, 8>&))
{
    const std::string dump = Text(FloatField::HexDump);
    ReadDump(dump);
    swap(bytes_);
    std::string_view trimmed = Trim(dump);
    bool colon = !trimmed.empty() && trimmed.front() == ':';
    texts_[Index(FloatField::HexDump)] =
        BytesToHexText(bytes_.data(), bytes_.size(), colon ? kDumpOptions : kDumpOptions & ~kHexLeadingColon);
    RewriteAllBut(FloatField::HexDump);
}

void FloatConverterModel::SwapBytes() { Swap(SwapBytePairs); }
void FloatConverterModel::SwapWords() { Swap(SwapWordPairs); }
void FloatConverterModel::SwapQWords() { Swap(SwapHalves); }

void FloatConverterModel::FocusField(FloatField field)
{
    if (field == FloatField::DoubleValue || field == FloatField::FloatValue || field == FloatField::HexDump) return;
    texts_[Index(field)] = std::string(Trim(BeforeMark(Text(field))));
}

void FloatConverterModel::LeaveField(FloatField field)
{
    if (field == FloatField::DoubleValue || field == FloatField::FloatValue || field == FloatField::HexDump) return;
    texts_[Index(field)] = FieldText(field);
}

void FloatConverterModel::RewriteAllBut(FloatField edited)
{
    for (int i = 0; i < kFloatFieldCount; ++i) {
        auto field = static_cast<FloatField>(i);
        if (field != edited) texts_[Index(field)] = FieldText(field);
    }
}

std::string FloatConverterModel::FieldText(FloatField field) const
{
    const uint64_t d = DoubleBits();
    const uint32_t f = FloatBits();
    switch (field) {
    case FloatField::DoubleValue: return GeneralText(DoubleValue());
    case FloatField::FloatValue: return GeneralText(FloatValue());
    case FloatField::DoubleMantissa: {
        auto mantissa = static_cast<long long>(d & kDoubleMantissaMask);
        return FormatTextString("%I64i  >%04I64Xh", mantissa, mantissa);
    }
    case FloatField::FloatMantissa: {
        auto mantissa = static_cast<int>(f & kFloatMantissaMask);
        return FormatTextString("%i  >%04Xh", mantissa, static_cast<unsigned>(mantissa));
    }
    case FloatField::DoubleExponent: {
        auto exponent = static_cast<int>((d >> 52) & 0x7FF);
        return FormatTextString("%i  >%03Xh", exponent - 1023, static_cast<unsigned>(exponent));
    }
    case FloatField::FloatExponent: {
        auto exponent = static_cast<int>((f >> 23) & 0xFF);
        return FormatTextString("%i  >%02Xh", exponent - 127, static_cast<unsigned>(exponent));
    }
    case FloatField::HexDump:
        return BytesToHexText(bytes_.data(), source_ == FloatSource::Float ? 4 : 8, kDumpOptions);
    }
    return {};
}

}  // namespace qv
