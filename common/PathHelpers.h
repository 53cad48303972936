// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small questions about file names and files.
#include <cstdint>
#include <string_view>

namespace qv {

// 1-based position of the name's extension in a ";"-separated list such as "HEX;H86;IHX"
// (case ignored, whole entries only), 0 if none. A leading "." of a file name is no extension.
int ExtensionInList(std::string_view name, std::string_view list);

// Whether the two paths name the same file (after making them absolute and resolving
// links; an existing file reached through two names counts as the same).
bool SamePath(std::string_view first, std::string_view second);

// Size of the file, -1 for a missing path or a folder; sizes above 2^31-1 give 2^31-1.
int32_t FileSizeOf(std::string_view path);

enum PathKindValue : int { kPathMissing = 0, kPathFile = 1, kPathFolder = 2, kPathDriveRoot = 3 };

// What the path names; "/" is the root of the (only) drive.
PathKindValue PathKind(std::string_view path);

}  // namespace qv
