// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CalculatorNames.h"

#include <string>

#include "common/Expression.h"
#include "common/NumberText.h"

namespace qv {
namespace {

constexpr size_t kMaxArgument = 255;

std::string UpperName(std::string_view text, size_t& pos)
{
    std::string name;
    for (; pos < text.size() && ((text[pos] >= 'A' && text[pos] <= 'Z') || (text[pos] >= 'a' && text[pos] <= 'z'));
         ++pos)
        name += static_cast<char>(text[pos] >= 'a' ? text[pos] - 'a' + 'A' : text[pos]);
    return name;
}

void SkipBlanks(std::string_view text, size_t& pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

// "( r , g , b )" of plain numbers; each taken modulo 256.
bool ReadColourArguments(std::string_view text, size_t& pos, uint32_t (&parts)[3])
{
    for (int i = 0; i < 3; ++i) {
        size_t used = 0;
        int32_t number = ParseNumber(text.substr(pos), kNumberAuto | kNumberEatTrailingBlanks | kNumberMinusAttached,
                                     &used);
        size_t digitsEnd = pos + used;
        // A number must have digits: what ParseNumber consumed must not be blanks and sign only.
        size_t firstDigit = pos;
        while (firstDigit < digitsEnd && (text[firstDigit] == ' ' || text[firstDigit] == '\t' || text[firstDigit] == '-'))
            ++firstDigit;
        if (firstDigit == digitsEnd) return false;
        parts[i] = static_cast<uint32_t>(number) & 0xFF;
        pos = digitsEnd;
        SkipBlanks(text, pos);
        char expected = i < 2 ? ',' : ')';
        if (pos >= text.size() || text[pos] != expected) return false;
        ++pos;
    }
    return true;
}

// The text between the parentheses up to the matching ")" (nested ones counted); false
// when it is not closed or too long.
bool ReadArgument(std::string_view text, size_t& pos, std::string_view& argument)
{
    size_t start = pos;
    int depth = 1;
    for (; pos < text.size(); ++pos) {
        if (text[pos] == '(') ++depth;
        if (text[pos] == ')' && --depth == 0) break;
    }
    if (pos >= text.size() || pos - start > kMaxArgument) return false;
    argument = text.substr(start, pos - start);
    ++pos;
    return true;
}

}  // namespace

int ResolveCalculatorName(std::string_view text, int64_t& value)
{
    text = text.substr(0, text.find('\0'));
    size_t pos = 0;
    const std::string name = UpperName(text, pos);
    if (name != "RGB" && name != "BGR" && name != "ABS" && name != "BTOL") return 0;
    SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != '(') return 0;
    ++pos;

    if (name == "RGB" || name == "BGR") {
        uint32_t parts[3];
        if (!ReadColourArguments(text, pos, parts)) return 0;
        uint32_t colour = name == "RGB" ? parts[0] << 16 | parts[1] << 8 | parts[2]
                                        : parts[2] << 16 | parts[1] << 8 | parts[0];
        value = static_cast<int32_t>(colour);
        return static_cast<int>(pos);
    }

    std::string_view argument;
    if (!ReadArgument(text, pos, argument)) return 0;
    // Errors inside the argument are not reported; the value computed up to them counts.
    int32_t inner = 0;
    EvaluateExpression(argument, inner, nullptr, ResolveCalculatorName);
    uint32_t bits = static_cast<uint32_t>(inner);
    if (name == "ABS") {
        value = static_cast<int32_t>(inner < 0 ? 0u - bits : bits);
    } else {
        value = static_cast<int32_t>((bits >> 24) | ((bits >> 8) & 0xFF00) | ((bits << 8) & 0xFF0000) | (bits << 24));
    }
    return static_cast<int>(pos);
}

}  // namespace qv
