// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/PathHelpers.h"

#include <filesystem>
#include <limits>
#include <string>
#include <system_error>

namespace qv {
namespace fs = std::filesystem;

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool IsSeparator(char c) { return c == '/' || c == '\\' || c == ':'; }

// Absolute, with "." and ".." and links resolved as far as the path exists.
fs::path FullPath(std::string_view text)
{
    std::error_code error;
    fs::path path = fs::absolute(fs::path(std::string(text)), error);
    if (error) return {};
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

}  // namespace

int ExtensionInList(std::string_view name, std::string_view list)
{
    if (size_t zero = name.find('\0'); zero != std::string_view::npos) name = name.substr(0, zero);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || IsSeparator(name[dot - 1])) return 0;
    const std::string_view extension = name.substr(dot + 1);
    // A dot in a folder name gives no extension to the file below it.
    if (extension.empty() || extension.find_first_of("/\\:") != std::string_view::npos) return 0;

    int position = 1;
    for (size_t start = 0; start <= list.size(); ++position) {
        size_t end = list.find(';', start);
        if (end == std::string_view::npos) end = list.size();
        if (EqualIgnoringCase(list.substr(start, end - start), extension)) return position;
        start = end + 1;
    }
    return 0;
}

bool SamePath(std::string_view first, std::string_view second)
{
    if (first.empty() || second.empty()) return false;
    const fs::path a = FullPath(first), b = FullPath(second);
    if (a.empty() || b.empty()) return false;
    if (a == b) return true;
    // Two names of one existing file (hard links, case-insensitive mounts).
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

int32_t FileSizeOf(std::string_view path)
{
    if (path.empty()) return -1;
    std::error_code error;
    const fs::path name{std::string(path)};
    if (!fs::is_regular_file(name, error) || error) return -1;
    const uintmax_t size = fs::file_size(name, error);
    if (error) return -1;
    constexpr auto kLargest = static_cast<uintmax_t>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(size > kLargest ? kLargest : size);
}

PathKindValue PathKind(std::string_view path)
{
    if (path.empty()) return kPathMissing;
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::path(std::string(path)), error);
    if (error) return kPathMissing;
    if (absolute.lexically_normal() == absolute.root_path()) return kPathDriveRoot;
    const fs::file_status status = fs::status(absolute, error);
    if (error || !fs::exists(status)) return kPathMissing;
    return fs::is_directory(status) ? kPathFolder : kPathFile;
}

}  // namespace qv
