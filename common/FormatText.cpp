// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/FormatText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace qv {
namespace {

// The C library spells the 64-bit size prefix "ll"; "I64" inside a conversion becomes that.
std::string TranslateFormat(const char* format)
{
    std::string translated;
    for (const char* p = format; *p;) {
        if (*p != '%') {
            translated += *p++;
            continue;
        }
        translated += *p++;
        // Flags, width, precision and size prefixes up to the conversion letter.
        while (*p && std::strchr("-+ #0123456789.*hlLqjztI", *p)) {
            if (std::strncmp(p, "I64", 3) == 0) {
                translated += "ll";
                p += 3;
            } else if (std::strncmp(p, "I32", 3) == 0) {
                p += 3;
            } else {
                translated += *p++;
            }
        }
        if (*p) translated += *p++;
    }
    return translated;
}

size_t FormatInto(char* out, size_t outSize, const char* format, va_list args)
{
    if (outSize == 0 || format == nullptr) {
        if (outSize > 0) out[0] = '\0';
        return 0;
    }
    const std::string translated = TranslateFormat(format);
    const int wanted = std::vsnprintf(out, outSize, translated.c_str(), args);
    if (wanted < 0) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(wanted) < outSize ? static_cast<size_t>(wanted) : outSize - 1;
}

}  // namespace

size_t FormatText(char* out, size_t outSize, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const size_t length = FormatInto(out, outSize, format, args);
    va_end(args);
    return length;
}

std::string FormatTextString(const char* format, ...)
{
    if (format == nullptr) return {};
    const std::string translated = TranslateFormat(format);
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    std::string text;
    const int wanted = std::vsnprintf(nullptr, 0, translated.c_str(), args);
    if (wanted > 0) {
        text.resize(static_cast<size_t>(wanted));
        std::vsnprintf(text.data(), text.size() + 1, translated.c_str(), again);
    }
    va_end(again);
    va_end(args);
    return text;
}

}  // namespace qv
