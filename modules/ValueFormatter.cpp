// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ValueFormatter.h"

#include "common/CText.h"
#include "common/FormatText.h"
#include "common/NumberText.h"

namespace qv {

namespace {

uint64_t ReverseBytes(uint64_t value, int size)
{
    uint64_t reversed = 0;
    for (int i = 0; i < size; ++i) {
        reversed = (reversed << 8) | (value & 0xFF);
        value >>= 8;
    }
    return reversed;
}

void AppendNumber(std::string& text, int64_t value, uint32_t style)
{
    char buffer[kFormatNumberMaxText];
    size_t length = FormatNumber64(value, buffer, sizeof buffer, style);
    text.append(buffer, length);
}

struct RadixForm {
    uint32_t flag;
    uint32_t radix;
    const char* prefix;
    char suffix;
};

constexpr RadixForm kRadixForms[] = {
    {kFlagH, 16, "0x", 'h'},
    {kFlagB, 2, "0b", 'b'},
    {kFlagO, 8, "0o", 'o'},
};

}  // namespace

bool ValueTextOpen(const std::string& text, uint32_t flags)
{
    if ((flags & kFlagN) && !(flags & kHasLabel2)) return false;
    return text.size() + kMinElementRoom <= kMaxValueText;
}

void AppendValueText(std::string& text, uint64_t value, int elementSize, uint32_t flags, const ValueTextList* list,
                     int& formCount)
{
    if (!ValueTextOpen(text, flags)) return;
    if (formCount >= 2) {
        text += ", ";
    } else if (flags & kFlagP) {
        text += '@';
    }
    bool wide = elementSize == 8;
    uint64_t shown = wide ? value : (value & 0xFFFFFFFFu);
    if (flags & kFlagM) shown = ReverseBytes(shown, elementSize < 1 ? 1 : (elementSize > 8 ? 8 : elementSize));
    int64_t bits = static_cast<int64_t>(shown);
    int64_t signedValue = wide ? bits : static_cast<int32_t>(static_cast<uint32_t>(shown));

    formCount = 0;
    unsigned digitField = (flags & kDigitFieldMask) >> kDigitFieldShift;
    uint32_t minDigits = digitField != 0 ? StyleMinDigits(digitField + 1) : 0;
    for (const auto& form : kRadixForms) {
        if (!(flags & form.flag)) continue;
        if (!(flags & (kFlagX | kFlagK))) text += form.prefix;
        AppendNumber(text, bits, kStylePlainRadix | form.radix | minDigits);
        if (flags & kFlagX) text += form.suffix;
        text += ' ';
        ++formCount;
    }
    if (flags & kFlagC) {
        char buffer[kCCharMaxText];
        size_t length = ByteToCChar(static_cast<uint8_t>(shown), buffer, sizeof buffer, false);
        text.append(buffer, length);
        text += ' ';
        ++formCount;
    }
    if (flags & kFlagU) {
        AppendNumber(text, bits, kStyleUnsigned);
        text += ' ';
        ++formCount;
    }
    const std::string* listText = list ? list->Find(static_cast<int32_t>(static_cast<uint32_t>(shown))) : nullptr;
    if (listText) ++formCount;
    if (formCount == 0 || (flags & kFlagS)) {
        AppendNumber(text, signedValue, kStyleSigned);
        text += ' ';
        ++formCount;
    }
    if (text.size() > kMaxValueText) text.resize(kMaxValueText);
    if (listText) text.append(*listText, 0, kMaxValueText - text.size());
}

std::string FormatFloatValue(double value)
{
    char buffer[64];
    size_t length = FormatText(buffer, sizeof buffer, "%.6e", value);
    std::string text(buffer, length);
    // The exponent always has three digits.
    size_t e = text.find('e');
    if (e != std::string::npos && e + 2 < text.size()) {
        size_t digits = text.size() - (e + 2);
        if (digits < 3) text.insert(e + 2, 3 - digits, '0');
    }
    return text;
}

}  // namespace qv
