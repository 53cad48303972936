// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/PatternCompiler.h"

#include <algorithm>

#include "common/HexText.h"
#include "modules/LabelList.h"
#include "modules/ModuleNumber.h"
#include "modules/NameCompare.h"

namespace qv {

namespace {

char Unescape(char c)
{
    switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case 'b': return '\b';
    case 'v': return '\v';
    default: return c;  // \\ \' \" and the dropped backslash before anything else
    }
}

class PatternReader {
public:
    PatternReader(std::string_view text, BytePattern& pattern) : text_(text), pattern_(pattern) {}

    // Reads the bytes; returns the position of the first character not used.
    size_t ReadBytes(size_t pos)
    {
        while (pos < text_.size() && !Full()) {
            char c = text_[pos];
            if (bits_ >= 0) {
                if ((c == '0' || c == '1' || c == '?') && bits_ < 8) {
                    value_ = (value_ << 1) | (c == '1' ? 1 : 0);
                    mask_ = (mask_ << 1) | (c == '?' ? 0 : 1);
                    ++bits_;
                    ++pos;
                    continue;
                }
                bits_ = -1;
            }
            int digit = HexValue(c);
            if (digit >= 0) {
                value_ = value_ * 16 + digit;
                mask_ = mask_ * 16 + 15;
                inByte_ = true;
            } else if (c == '?') {
                value_ = 0;
                mask_ = 0;
                inByte_ = true;
            } else if (c == '~') {
                bits_ = 0;
                inByte_ = true;
            } else if (IsBlank(c)) {
                EndByte();
            } else if (c == '"') {
                EndByte();
                pos = ReadString(pos + 1);
                continue;
            } else {
                break;
            }
            ++pos;
        }
        EndByte();
        return pos;
    }

private:
    bool Full() const { return pattern_.count >= kMaxPatternBytes; }

    void Push(uint8_t value, uint8_t mask)
    {
        if (Full()) return;
        pattern_.values[pattern_.count] = value;
        pattern_.masks[pattern_.count] = mask;
        ++pattern_.count;
    }

    void EndByte()
    {
        if (inByte_) Push(static_cast<uint8_t>(value_), static_cast<uint8_t>(mask_));
        inByte_ = false;
        bits_ = -1;
        value_ = 0;
        mask_ = 0xFF;
    }

    // Characters of a quoted string, each a byte of its own; returns the position after it.
    size_t ReadString(size_t pos)
    {
        if (pos < text_.size() && IsBlank(text_[pos])) ++pos;
        while (pos < text_.size() && text_[pos] != '"' && !Full()) {
            char c = text_[pos++];
            if (c == '\\') {
                if (pos >= text_.size()) break;
                c = Unescape(text_[pos++]);
            }
            Push(static_cast<uint8_t>(c), 0xFF);
        }
        if (pos < text_.size() && text_[pos] == '"') ++pos;
        return pos;
    }

    std::string_view text_;
    BytePattern& pattern_;
    bool inByte_ = false;
    int bits_ = -1;  // bits read after "~", -1 outside the bit form
    unsigned value_ = 0;
    unsigned mask_ = 0xFF;
};

}  // namespace

bool CompilePattern(std::string_view line, size_t& pos, const LabelList& labels, BytePattern& pattern)
{
    pattern = BytePattern();
    std::string_view text = line.substr(0, std::min(line.size(), pos + kMaxPatternText));
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && text[pos] == '>') {
        ++pos;
        size_t start = pos;
        // A label name starts with a letter; digits here are the number.
        if (pos < text.size() && IsAsciiLetter(text[pos]))
            while (pos < text.size() && IsWordChar(text[pos])) ++pos;
        if (pos > start) {
            int label = labels.Find(text.substr(start, pos - start));
            pattern.positionVariable = label < 0 ? -1 : labels.At(label).statement;
        }
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-' || (text[pos] >= '0' && text[pos] <= '9')))
            pattern.positionOffset = static_cast<int16_t>(ReadModuleNumber(text, pos, true));
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
    }
    pos = PatternReader(text, pattern).ReadBytes(pos);
    bool skipGiven = false;
    if (pos < text.size() && text[pos] == '+') {
        ++pos;
        pattern.skip = ReadModuleNumber(line, pos, false);
        skipGiven = true;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (!skipGiven) pattern.skip = pattern.count;
    return pattern.count > 0;
}

}  // namespace qv
