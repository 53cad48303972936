// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CTextGenerator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "common/Base64.h"
#include "common/CText.h"
#include "common/HexText.h"

namespace qv {

namespace {

constexpr size_t kMaxUnitText = 64;  // the longest text one value or byte can produce
constexpr size_t kBase64LineLength = 64;

constexpr auto kHexPairs = [] {
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<std::array<char, 2>, 256> pairs{};
    for (int i = 0; i < 256; ++i) pairs[i] = {digits[i >> 4], digits[i & 15]};
    return pairs;
}();

// "0xHH," for every byte, padded to 8 characters so that one 8-byte copy writes it.
constexpr auto kCByteTexts = [] {
    std::array<std::array<char, 8>, 256> texts{};
    for (int i = 0; i < 256; ++i) texts[i] = {'0', 'x', kHexPairs[i][0], kHexPairs[i][1], ',', 0, 0, 0};
    return texts;
}();

inline char* PutHex(char* p, uint8_t byte)
{
    std::memcpy(p, kHexPairs[byte].data(), 2);
    return p + 2;
}

// The clipboard form: a caller's buffer, one place kept for the closing zero byte.
class BufferOutput {
public:
    BufferOutput(char* out, size_t outSize) : out_(out), limit_(outSize - 1) {}

    char* Reserve(size_t length) { return length <= limit_ - length_ ? out_ + length_ : nullptr; }
    void Commit(size_t length) { length_ += length; }
    bool Put(const char* text, size_t length)
    {
        char* place = Reserve(length);
        if (!place) return false;
        std::memcpy(place, text, length);
        Commit(length);
        return true;
    }
    size_t Finish()
    {
        out_[length_] = '\0';
        return length_;
    }

private:
    char* out_;
    size_t limit_;
    size_t length_ = 0;
};

// The file form: collects the text and hands it on in pieces of kCTextPiece characters.
class PieceOutput {
public:
    explicit PieceOutput(const CTextSink& sink) : sink_(sink), buffer_(2 * kCTextPiece) {}

    // Room for up to a piece; the buffer never holds a whole piece after Commit.
    char* Reserve(size_t length) { return failed_ || length > kCTextPiece ? nullptr : buffer_.data() + length_; }
    void Commit(size_t length)
    {
        length_ += length;
        if (length_ < kCTextPiece) return;
        if (!sink_(buffer_.data(), kCTextPiece)) {
            failed_ = true;
            return;
        }
        std::memmove(buffer_.data(), buffer_.data() + kCTextPiece, length_ - kCTextPiece);
        length_ -= kCTextPiece;
    }
    bool Put(const char* text, size_t length)
    {
        while (length > 0 && !failed_) {
            const size_t part = std::min(length, kMaxUnitText);
            std::memcpy(Reserve(part), text, part);
            Commit(part);
            text += part;
            length -= part;
        }
        return !failed_;
    }
    bool Finish()
    {
        if (!failed_ && length_ > 0) failed_ = !sink_(buffer_.data(), length_);
        return !failed_;
    }

private:
    const CTextSink& sink_;
    std::vector<char> buffer_;
    size_t length_ = 0;
    bool failed_ = false;
};

struct Request {
    const uint8_t* bytes;
    size_t count;
    size_t valueSize;  // 1, 2, 4 or 8
    int format;        // without the big-endian flag
    bool bigEndian;
    size_t lineSize;           // at least 1
    bool lineFeedAfterLast;    // an incomplete last line of C or assembler text ends with a line feed
};

size_t NormalizedValueSize(int valueSize)
{
    return (valueSize == 2 || valueSize == 4 || valueSize == 8) ? static_cast<size_t>(valueSize) : 1;
}

// Writes text unit by unit (a value, a byte or a dump group, with what follows it) and
// stops at the first unit that no longer fits.
template <typename Output>
class Generator {
public:
    Generator(const Request& request, Output& output) : r_(request), out_(output) {}

    void Run()
    {
        if (r_.format == kCTextC) {
            Emit(ValueCount(), [this](size_t j, char* p) { return CValue(j, p); }, CLines());
        } else if (r_.format == kCTextAssembler) {
            Emit(ValueCount(), [this](size_t j, char* p) { return AssemblerValue(j, p); });
        } else if (r_.format == kCTextDump) {
            const size_t groupsPerLine = (r_.lineSize + r_.valueSize - 1) / r_.valueSize;
            const size_t rest = r_.count % r_.lineSize;
            const size_t groups = r_.count / r_.lineSize * groupsPerLine + (rest + r_.valueSize - 1) / r_.valueSize;
            Emit(groups, [this, groupsPerLine](size_t j, char* p) { return DumpGroup(j, groupsPerLine, p); });
        } else if (r_.valueSize == kTextHex) {
            Emit(r_.count, [this](size_t j, char* p) { return HexTextByte(j, p); });
        } else if (r_.valueSize == kTextMin) {
            Emit(r_.count, [this](size_t j, char* p) { return MinTextByte(j, p); });
        } else if (r_.valueSize == kTextChars) {
            Emit(r_.count, [this](size_t j, char* p) { return CharsByte(j, p); });
        }
    }

private:
    template <typename Unit>
    void Emit(size_t units, Unit unit, size_t first = 0)
    {
        char spare[kMaxUnitText];
        for (size_t j = first; j < units; ++j) {
            if (char* place = out_.Reserve(kMaxUnitText)) {
                out_.Commit(unit(j, place));
            } else if (!out_.Put(spare, unit(j, spare))) {
                return;
            }
        }
    }

    // C text is by far the most used form, so it is written a whole line at a time while
    // there is room for one; returns the values written, the rest go value by value.
    size_t CLines()
    {
        static constexpr size_t kMaxValueText = 3 + 16;  // "0x", 16 digits, ","
        const size_t values = ValueCount();
        size_t j = 0;
        while (j < values) {
            const size_t lineEnd = std::min(values, (j / r_.lineSize + 1) * r_.lineSize);
            char* const start = out_.Reserve((lineEnd - j) * kMaxValueText + 8);
            if (!start) break;
            char* p = start;
            if (r_.valueSize == 1) {
                for (; j < lineEnd; ++j, p += 5) std::memcpy(p, kCByteTexts[r_.bytes[j]].data(), 8);
            } else {
                for (; j < lineEnd; ++j) {
                    *p++ = '0';
                    *p++ = 'x';
                    p = ValueDigits(j, p);
                    *p++ = ',';
                }
            }
            if (lineEnd % r_.lineSize == 0 || r_.lineFeedAfterLast) *p++ = '\n';
            out_.Commit(static_cast<size_t>(p - start));
        }
        return j;
    }

    size_t ValueCount() const { return (r_.count + r_.valueSize - 1) / r_.valueSize; }
    bool EndsLine(size_t j, size_t units) const { return (j + 1) % r_.lineSize == 0 || j + 1 == units; }
    bool EndsFullLine(size_t j) const { return (j + 1) % r_.lineSize == 0; }

    // The value's hex digits, most significant first; bytes past the data count as 0.
    char* ValueDigits(size_t j, char* p) const
    {
        const size_t first = j * r_.valueSize;
        const uint8_t* value = r_.bytes + first;
        uint8_t padded[8] = {};
        if (r_.count - first < r_.valueSize) {
            std::memcpy(padded, value, r_.count - first);
            value = padded;
        }
        if (r_.bigEndian) {
            for (size_t k = 0; k < r_.valueSize; ++k) p = PutHex(p, value[k]);
        } else {
            for (size_t k = r_.valueSize; k-- > 0;) p = PutHex(p, value[k]);
        }
        return p;
    }

    size_t CValue(size_t j, char* start) const
    {
        char* p = start;
        *p++ = '0';
        *p++ = 'x';
        p = ValueDigits(j, p);
        *p++ = ',';
        if (EndsFullLine(j) || (j + 1 == ValueCount() && r_.lineFeedAfterLast)) *p++ = '\n';
        return static_cast<size_t>(p - start);
    }

    size_t AssemblerValue(size_t j, char* start) const
    {
        static constexpr char kSizeLetter[9] = {0, 'B', 'W', 0, 'D', 0, 0, 0, 'Q'};
        char* p = start;
        if (j % r_.lineSize == 0) {
            *p++ = 'D';
            *p++ = kSizeLetter[r_.valueSize];
            *p++ = '\t';
        }
        *p++ = '0';
        p = ValueDigits(j, p);
        *p++ = 'h';
        if (EndsFullLine(j)) {
            *p++ = '\n';
        } else {
            *p++ = ',';
            if (j + 1 == ValueCount() && r_.lineFeedAfterLast) *p++ = '\n';
        }
        return static_cast<size_t>(p - start);
    }

    size_t HexTextByte(size_t j, char* start) const
    {
        char* p = start;
        if (j % r_.lineSize == 0) *p++ = '"';
        *p++ = '\\';
        *p++ = 'x';
        p = PutHex(p, r_.bytes[j]);
        if (EndsLine(j, r_.count)) {
            *p++ = '"';
            *p++ = '\n';
        }
        return static_cast<size_t>(p - start);
    }

    // A hex digit right after a hexadecimal escape would be read as part of it, so it gets
    // an escape of its own, as in the other C texts; the bytes are written one at a time,
    // hence the remembered state.
    size_t MinTextByte(size_t j, char* start)
    {
        char* p = start;
        if (j % r_.lineSize == 0) {
            *p++ = '"';
            afterHexEscape_ = false;
        }
        const uint8_t byte = r_.bytes[j];
        char* const form = p;
        const bool hexDigit = (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'f');
        if (afterHexEscape_ && hexDigit) {
            *p++ = '\\';
            *p++ = 'x';
            p = PutHex(p, byte);
        } else {
            p += BytesToCString(p, 8, &byte, 1, kCStringNoQuotes | kCStringTwoDigitHex);
        }
        afterHexEscape_ = p - form == 4 && form[1] == 'x';
        if (EndsLine(j, r_.count)) {
            *p++ = '"';
            *p++ = '\n';
        }
        return static_cast<size_t>(p - start);
    }

    size_t CharsByte(size_t j, char* start) const
    {
        char* p = start;
        p += ByteToCChar(r_.bytes[j], p, kCCharMaxText, false);
        *p++ = ',';
        if (EndsLine(j, r_.count)) *p++ = '\n';
        return static_cast<size_t>(p - start);
    }

    // Group k of a dump line: value size bytes (fewer at the end of a line or of the data)
    // with a blank after a whole group (none for 8-byte groups), a line feed after the last.
    size_t DumpGroup(size_t j, size_t groupsPerLine, char* start) const
    {
        const size_t line = j / groupsPerLine;
        const size_t inLine = j % groupsPerLine * r_.valueSize;
        const size_t first = line * r_.lineSize + inLine;
        const size_t length = std::min({r_.valueSize, r_.lineSize - inLine, r_.count - first});
        const uint32_t blankAfter = r_.valueSize == 8 ? 0 : static_cast<uint32_t>(r_.valueSize);
        char* p = start;
        p += BytesToHexText(r_.bytes + first, p, kMaxUnitText - 1, length, blankAfter);
        if (inLine + length == r_.lineSize || first + length == r_.count) *p++ = '\n';
        return static_cast<size_t>(p - start);
    }

    const Request& r_;
    Output& out_;
    bool afterHexEscape_ = false;  // the last MIN-Text byte was written as "\xHH"
};

size_t ClipboardBase64(const uint8_t* bytes, size_t count, char* out, size_t outSize)
{
    size_t encoded = count;
    // Too small a buffer: only as many bytes as surely fit with their line feeds.
    if (outSize < count * 4 / 3 + count / 48 + 8) {
        const int64_t fitting = (static_cast<int64_t>(outSize) * 192 - 2304) / 261;
        encoded = static_cast<size_t>(std::clamp<int64_t>(fitting, 0, static_cast<int64_t>(count)));
    }
    out[0] = '\0';
    return Base64Encode(bytes, encoded, out, outSize, kBase64LineLength);
}

}  // namespace

size_t GenerateCText(const uint8_t* bytes, size_t count, int valueSize, int format, int lineSize, char* out,
                     size_t outSize)
{
    if (outSize < 4) {
        if (outSize > 0) out[0] = '\0';
        return 0;
    }
    const Request request{bytes,
                          count,
                          NormalizedValueSize(valueSize),
                          format & ~kCTextBigEndian,
                          (format & kCTextBigEndian) != 0,
                          lineSize <= 0 ? size_t{16} : static_cast<size_t>(lineSize),
                          true};
    if (request.format == kCTextTypes && request.valueSize == kTextBase64)
        return ClipboardBase64(bytes, count, out, outSize);
    BufferOutput output(out, outSize);
    Generator<BufferOutput>(request, output).Run();
    return output.Finish();
}

bool GenerateCTextFile(const uint8_t* bytes, size_t count, int valueSize, int format, int lineSize,
                       const CTextSink& sink)
{
    const int plainFormat = format & ~kCTextBigEndian;
    PieceOutput output(sink);
    if (plainFormat == kCTextTypes) {
        const std::string text = Base64Encode(bytes, count, kBase64LineLength);
        output.Put(text.data(), text.size());
        return output.Finish();
    }
    size_t lines = lineSize > 0 ? static_cast<size_t>(lineSize) : 1;  // 0: every value ends its line
    if (plainFormat == kCTextDump && lineSize <= 0) lines = 16;
    const Request request{bytes,  count, NormalizedValueSize(valueSize), plainFormat, (format & kCTextBigEndian) != 0,
                          lines, false};
    Generator<PieceOutput>(request, output).Run();
    return output.Finish();
}

}  // namespace qv
