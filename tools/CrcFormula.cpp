// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcFormula.h"

#include "common/FormatText.h"
#include "common/NumberText.h"

namespace qv {

std::string RenderCrcFormula(unsigned width, uint64_t reflected)
{
    auto bit = [&](unsigned index) { return index < 64 && ((reflected >> index) & 1) != 0; };
    std::string text = FormatTextString("x^%u", width);
    for (unsigned k = width - 1; k >= 2 && k < width; --k)
        if (bit(width - 1 - k)) text += FormatTextString(" + x^%u", k);
    if (width > 1 && bit(width - 2)) text += " + x";
    if (width >= 1 && bit(width - 1)) text += " + 1";
    return text;
}

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

CrcFormula ParseCrcFormula(std::string_view text)
{
    uint64_t bits = 0;
    unsigned width = 1;
    size_t pos = 0;
    auto at = [&](size_t index) { return index < text.size() ? text[index] : '\0'; };
    auto skipBlanks = [&](bool lineEnds) {
        while (at(pos) == ' ' || at(pos) == '\t' || (lineEnds && (at(pos) == '\r' || at(pos) == '\n'))) ++pos;
    };
    for (;;) {
        skipBlanks(true);
        const char c = at(pos);
        if (c == '\0' || c == '=') break;
        if (c == '+') {
            ++pos;
            continue;
        }
        if ((c == 'x' || c == 'X') && !IsLetter(at(pos + 1))) {
            ++pos;
            skipBlanks(false);
            if (at(pos) == '^' || at(pos) == '\'') {
                ++pos;
                skipBlanks(false);
            }
            if (at(pos) == '{') ++pos;
            if (IsDigit(at(pos))) {
                size_t consumed = 0;
                const uint32_t exponent = static_cast<uint32_t>(ParseNumber(text.substr(pos), kNumberAuto, &consumed));
                pos += consumed;
                if (at(pos) == '}') ++pos;
                if (exponent < 64) bits |= 1ull << exponent;
                if (exponent > width) width = exponent > 64 ? 64 : exponent;
            } else {
                bits |= 2;
                if (width < 2) width = 2;
            }
            continue;
        }
        if (c == '1' && !IsLetter(at(pos + 1)) && !IsDigit(at(pos + 1))) {
            bits |= 1;
            ++pos;
            continue;
        }
        return {};
    }
    const uint64_t below = width >= 64 ? ~0ull : (1ull << width) - 1;
    return {true, width, bits & below};
}

}  // namespace qv
