// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The float converter "Flieskommakonverter": eight bytes shown as an IEEE 754 double (all
// eight, little-endian) and as a float (the first four), with the mantissa and exponent
// fields of both and a hex dump. Editing any view rewrites the others; nothing goes back
// to the document.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DialogService.h"
#include "tools/ChecksumInput.h"

namespace qv {

enum class FloatField { DoubleValue, FloatValue, DoubleMantissa, FloatMantissa, DoubleExponent, FloatExponent, HexDump };
inline constexpr int kFloatFieldCount = 7;

// Which view the bytes were last set from; a float source shows four bytes in the dump.
enum class FloatSource { Double, Float, HexDump };

inline constexpr uint32_t kFloatInvalidColour = 0x8080FF;  // light red (255, 128, 128)
inline constexpr uint32_t kFloatValidColour = kToolResultColor;  // light yellow (255, 255, 155)

// Reads a value text: up to ">" and trimmed; letters and digits only (after an optional
// "-") with at least one letter is an integer in any notation («0x10», «FFh», «16#FF»), anything
// else a decimal floating-point number read up to the first character not part of it.
// `complete` tells whether the text was one number and nothing else.
double ReadFloatValueText(std::string_view text, bool* complete = nullptr);

class FloatConverterModel : public DialogModel {
public:
    // Up to eight bytes; missing ones are 0. The source is the hex dump.
    FloatConverterModel(const uint8_t* bytes, size_t count);
    const char* DialogName() const override { return "FloatConverter"; }

    // The user changed a field's text: the bytes follow and every other field is rewritten.
    void EditField(FloatField field, std::string_view text);
    void SwapBytes();
    void SwapWords();
    void SwapQWords();
    // A mantissa or exponent field got the focus: its text becomes the number before ">"
    // (the widget selects it all). Other fields keep their text.
    void FocusField(FloatField field);
    // It lost the focus: it is written in full again.
    void LeaveField(FloatField field);

    const std::string& Text(FloatField field) const { return texts_[Index(field)]; }
    bool IsValid(FloatField field) const { return valid_[Index(field)]; }
    uint32_t ColourOf(FloatField field) const { return IsValid(field) ? kFloatValidColour : kFloatInvalidColour; }
    const std::array<uint8_t, 8>& Bytes() const { return bytes_; }
    FloatSource Source() const { return source_; }
    double DoubleValue() const;
    float FloatValue() const;

private:
    static size_t Index(FloatField field) { return static_cast<size_t>(field); }
    void SetDouble(double value);
    void SetFloat(float value);
    void SetDoubleBits(uint64_t bits);
    void SetFloatBits(uint32_t bits);
    uint64_t DoubleBits() const;
    uint32_t FloatBits() const;
    bool EditBitField(FloatField field, std::string_view text);
    void ReadDump(std::string_view text);
    void Swap(void (*swap)(std::array<uint8_t, 8>&));
    std::string FieldText(FloatField field) const;
    void RewriteAllBut(FloatField edited);

    std::array<uint8_t, 8> bytes_{};
    FloatSource source_ = FloatSource::HexDump;
    std::array<std::string, kFloatFieldCount> texts_;
    std::array<bool, kFloatFieldCount> valid_{true, true, true, true, true, true, true};
};

}  // namespace qv
