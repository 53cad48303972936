// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// printf-style formatting into a caller's buffer. Besides the C rules, the size prefix
// "I64" marks a 64-bit argument («%I64X», «%04I64Xh»).
#include <cstddef>
#include <string>

namespace qv {

// Always writes a zero byte (when outSize > 0) and cuts what does not fit; returns the
// characters written, without the zero byte.
size_t FormatText(char* out, size_t outSize, const char* format, ...);
std::string FormatTextString(const char* format, ...);

}  // namespace qv
