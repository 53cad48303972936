// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Source text from bytes: a C/C++ initialiser, assembler data lines, text types (Base64,
// "\x" strings, C strings, character literals) or a plain hex dump, with a value size,
// byte order and values per line.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace qv {

enum CTextFormat : int {
    kCTextC = 0,          // «0x0123,»
    kCTextAssembler = 1,  // «DW\t00123h,…»
    kCTextTypes = 2,      // the value size chooses the text type
    kCTextDump = 3,       // «0123 4567 »
};
// Added to the format: values are written in the byte order of the data.
inline constexpr int kCTextBigEndian = 0x80;

// Text types of kCTextTypes, by value size.
enum CTextType : int { kTextBase64 = 1, kTextHex = 2, kTextMin = 4, kTextChars = 8 };

// The clipboard form. Writes the text and a zero byte into out, stopping at the last whole
// value that fits; returns the text length. A line size of 0 or less means 16; an output
// size below 4 gives an empty text. When count is not a multiple of the value size, the
// missing bytes of the last value are 0.
size_t GenerateCText(const uint8_t* bytes, size_t count, int valueSize, int format, int lineSize, char* out,
                     size_t outSize);

// Receives the text in order; returns false when the piece could not be written whole.
using CTextSink = std::function<bool(const char* text, size_t length)>;

// The file form, handed to sink in pieces of kCTextPiece characters and the rest at the end.
// It differs from the clipboard form: a line size of 0 ends every value's line (16 bytes a
// line in the dump), C and assembler text get no line feed after an incomplete last line,
// and the text types are always Base64 with lines of 64 characters. Returns false as soon as
// the sink fails.
inline constexpr size_t kCTextPiece = 8192;
bool GenerateCTextFile(const uint8_t* bytes, size_t count, int valueSize, int format, int lineSize,
                       const CTextSink& sink);

}  // namespace qv
