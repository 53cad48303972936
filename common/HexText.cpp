// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/HexText.h"

#include <algorithm>

namespace qv {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Appends characters while there is room and drops the rest.
class BoundedWriter {
public:
    BoundedWriter(char* out, size_t room) : out_(out), room_(room) {}
    void Put(char c)
    {
        if (length_ < room_) out_[length_++] = c;
    }
    size_t Length() const { return length_; }

private:
    char* out_;
    size_t room_;
    size_t length_ = 0;
};

// Single bytes with at most one separator after each, written whole (the caller made sure
// that they fit): the form of long clipboard dumps, kept free of per-character checks.
void WritePlainDump(const uint8_t* bytes, size_t count, char separator, bool trailing, char* out)
{
    for (size_t i = 0; i < count; ++i) {
        *out++ = kHexDigits[bytes[i] >> 4];
        *out++ = kHexDigits[bytes[i] & 15];
        if (separator != 0 && (trailing || i + 1 < count)) *out++ = separator;
    }
}

}  // namespace

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

size_t BytesToHexText(const uint8_t* bytes, char* out, size_t outSize, size_t count, uint32_t options)
{
    const bool terminate = (options & kHexZeroTerminate) != 0;
    if (outSize == 0 || (count > 0 && bytes == nullptr)) {
        if (outSize > 0 && terminate) out[0] = '\0';
        return 0;
    }
    BoundedWriter writer(out, terminate ? outSize - 1 : outSize);

    const size_t group = options & kHexGroupMask;
    const char separator = static_cast<char>((options & kHexSeparatorMask) >> kHexSeparatorShift);
    const size_t valueSize = size_t{1} << ((options & kHexValueSizeMask) >> kHexValueSizeShift);
    const bool reverse = (options & kHexReverse) != 0;

    if (options & kHexLeadingColon) writer.Put(':');
    if (valueSize == 1 && group == 0 && !reverse) {
        const bool trailing = separator != 0 && !(options & kHexNoTrailingSeparator);
        const size_t needed = writer.Length() + count * (separator != 0 ? 3 : 2) - (separator != 0 && !trailing);
        if (count > 0 && needed <= (terminate ? outSize - 1 : outSize)) {
            WritePlainDump(bytes, count, separator, trailing, out + writer.Length());
            if (terminate) out[needed] = '\0';
            return needed;
        }
    }
    for (size_t valueStart = 0; valueStart < count; valueStart += valueSize) {
        const size_t valueEnd = std::min(valueStart + valueSize, count);
        for (size_t i = valueStart; i < valueEnd; ++i) {
            // Reversed single bytes run through the whole block, else through each value.
            size_t source = i;
            if (reverse) source = valueSize == 1 ? count - 1 - i : valueStart + (valueEnd - 1 - i);
            writer.Put(kHexDigits[bytes[source] >> 4]);
            writer.Put(kHexDigits[bytes[source] & 15]);
            const bool groupEnds = group != 0 && (i + 1) % group == 0;
            if (i + 1 == valueEnd) {
                const bool last = valueEnd == count;
                if (separator != 0 && !(last && (options & kHexNoTrailingSeparator)))
                    writer.Put(groupEnds && (options & kHexGroupEndBlank) ? ' ' : separator);
            }
            if (groupEnds) writer.Put(' ');
        }
    }
    if (terminate) out[writer.Length()] = '\0';
    return writer.Length();
}

std::string BytesToHexText(const uint8_t* bytes, size_t count, uint32_t options)
{
    // At most two digits, a separator and a group blank per byte, plus the colon and zero byte.
    std::string text(count * 4 + 2, '\0');
    text.resize(BytesToHexText(bytes, text.data(), text.size(), count, options & ~kHexZeroTerminate));
    return text;
}

size_t HexTextToBytes(uint8_t* out, uint32_t options, std::string_view text, size_t* consumed)
{
    if (size_t zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
    const size_t maximum = out ? options & kHexReadMaxMask : 0;
    auto at = [&](size_t pos) { return pos < text.size() ? text[pos] : '\0'; };

    size_t pos = 0;
    while (IsBlank(at(pos))) ++pos;
    if (at(pos) == ':' && !(options & kHexReadColonIsError)) ++pos;

    size_t produced = 0;
    while (produced < maximum) {
        while (IsBlank(at(pos))) ++pos;
        const int high = HexValue(at(pos));
        if (high >= 0) {
            const int low = HexValue(at(pos + 1));
            // A single digit not followed by another one is a byte of its own («a b c»).
            out[produced++] = static_cast<uint8_t>(low >= 0 ? high * 16 + low : high);
            pos += low >= 0 ? 2 : 1;
        } else if (at(pos) == '"' && (options & kHexReadQuoted)) {
            ++pos;
            while (pos < text.size() && text[pos] != '"' && produced < maximum)
                out[produced++] = static_cast<uint8_t>(text[pos++]);
            if (at(pos) == '"') ++pos;
        } else {
            break;
        }
    }
    while (IsBlank(at(pos))) ++pos;

    if (options & kHexReadFill)
        std::fill(out + produced, out + maximum, static_cast<uint8_t>(options >> kHexReadFillShift));
    if (consumed) *consumed = pos;
    return produced;
}

size_t HexDumpToBytes(uint8_t* out, size_t maxBytes, std::string_view text)
{
    size_t produced = 0;
    uint32_t options = 0;
    while (produced < maxBytes) {
        const size_t piece = std::min<size_t>(maxBytes - produced, kHexReadMaxMask);
        size_t consumed = 0;
        const size_t made = HexTextToBytes(out + produced, options | static_cast<uint32_t>(piece), text, &consumed);
        produced += made;
        text.remove_prefix(std::min(consumed, text.size()));
        if (made < piece) break;
        options = kHexReadColonIsError;
    }
    return produced;
}

}  // namespace qv
