// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Base64.h"

namespace qv {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string_view UpToZero(std::string_view text)
{
    size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

}  // namespace

size_t Base64EncodedLength(size_t count, size_t lineLength)
{
    const size_t characters = (count + 2) / 3 * 4;
    if (lineLength == 0) return characters;
    return characters + (characters + lineLength - 1) / lineLength;  // one line feed per line
}

size_t Base64Encode(const uint8_t* bytes, size_t count, char* out, size_t outSize, size_t lineLength)
{
    if (outSize == 0) return 0;
    if (bytes == nullptr) count = 0;
    size_t length = 0;
    size_t column = 0;
    for (size_t i = 0; i < count; i += 3) {
        const size_t available = count - i < 3 ? count - i : 3;
        const uint32_t triple = (uint32_t{bytes[i]} << 16) | (available > 1 ? uint32_t{bytes[i + 1]} << 8 : 0) |
                                (available > 2 ? uint32_t{bytes[i + 2]} : 0);
        const char unit[4] = {kAlphabet[(triple >> 18) & 63], kAlphabet[(triple >> 12) & 63],
                              available > 1 ? kAlphabet[(triple >> 6) & 63] : '=',
                              available > 2 ? kAlphabet[triple & 63] : '='};
        // A unit with the line feeds falling inside it is written whole or not at all.
        char piece[8];
        size_t pieceLength = 0, pieceColumn = column;
        for (char c : unit) {
            piece[pieceLength++] = c;
            if (lineLength != 0 && ++pieceColumn == lineLength) piece[pieceLength++] = '\n', pieceColumn = 0;
        }
        if (length + pieceLength >= outSize) break;
        for (size_t k = 0; k < pieceLength; ++k) out[length++] = piece[k];
        column = pieceColumn;
    }
    if (lineLength != 0 && column != 0 && length + 1 < outSize) out[length++] = '\n';
    out[length] = '\0';
    return length;
}

std::string Base64Encode(const uint8_t* bytes, size_t count, size_t lineLength)
{
    std::string text(Base64EncodedLength(count, lineLength) + 1, '\0');
    text.resize(Base64Encode(bytes, count, text.data(), text.size(), lineLength));
    return text;
}

size_t Base64DecodedSize(std::string_view text)
{
    size_t sextets = 0;
    for (char c : UpToZero(text))
        if (SextetOf(c) >= 0) ++sextets;
    return sextets * 3 / 4;
}

size_t Base64Decode(uint8_t* out, size_t outSize, std::string_view text)
{
    if (out == nullptr) return 0;
    size_t written = 0;
    uint32_t bits = 0;
    int bitCount = 0;
    for (char c : UpToZero(text)) {
        if (written >= outSize) break;
        const int sextet = SextetOf(c);
        if (sextet < 0) continue;  // blanks, line ends and "=" padding
        bits = ((bits << 6) | static_cast<uint32_t>(sextet)) & 0xFFFFFF;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out[written++] = static_cast<uint8_t>(bits >> bitCount);
        }
    }
    return written;
}

}  // namespace qv
