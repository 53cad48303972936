// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandLine.h"

#include <cctype>

#include "platform/FileSystem.h"

namespace qv {

uint64_t ReadCInteger(const std::string& text)
{
    // As strtoull with base 0: blanks, a sign, then the digits; "-" negates in 64-bit
    // arithmetic; a value beyond 64 bits reads as the largest one, signed or not.
    size_t pos = text.find_first_not_of(" \t\n\v\f\r");
    if (pos == std::string::npos) return 0;
    const bool negative = text[pos] == '-';
    if (text[pos] == '-' || text[pos] == '+') ++pos;
    int base = 10;
    // "0x" counts as the prefix only before a hex digit; "0xz" reads as 0.
    if (pos + 2 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
        std::isxdigit(static_cast<unsigned char>(text[pos + 2]))) {
        base = 16;
        pos += 2;
    } else if (pos < text.size() && text[pos] == '0') {
        base = 8;
    }
    uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int c = std::tolower(static_cast<unsigned char>(text[pos]));
        int digit = std::isdigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 99;
        if (digit >= base) break;
        if (value > (UINT64_MAX - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) return UINT64_MAX;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    return negative ? 0u - value : value;
}

namespace {

// "-x" is always an option. "/x" is one too, except that on Linux a "/" also starts every
// absolute path: a word with a second "/" or naming something on disk is a file name.
bool IsOption(const std::string& arg)
{
    if (arg.size() < 2) return false;
    if (arg[0] == '-') return true;
    return arg[0] == '/' && arg.find('/', 1) == std::string::npos && !QueryFile(arg).exists;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    bool haveFile = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--print-pdf") {
            result.printPdfPath = i + 1 < arguments.size() ? arguments[++i] : std::string();
            continue;
        }
        if (arg == "--compare") {
            if (i + 1 < arguments.size() && !haveFile) result.fileName = arguments[++i], haveFile = true;
            result.comparePath = i + 1 < arguments.size() ? arguments[++i] : std::string();
            continue;
        }
        if (arg == "--offset" || arg == "--offset2") {
            const uint64_t value = i + 1 < arguments.size() ? ReadCInteger(arguments[++i]) : 0;
            (arg == "--offset" ? result.compareOffset : result.compareOffset2) = value;
            continue;
        }
        if (!IsOption(arg)) {
            // A lone "-" or "/" is taken as a name, like any other text.
            if (!haveFile) result.fileName = arg, haveFile = true;
            continue;
        }
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(arg[1])));
        const bool withColon = arg.size() >= 3 && arg[2] == ':';
        const std::string value = withColon ? arg.substr(3) : std::string();
        switch (letter) {
        case 'A':
            if (withColon) result.options.BaseAddress = ReadCInteger(value), result.hasBaseAddress = true;
            break;
        case 'R': result.options.AccessMode = 1, result.hasAccessMode = true; break;
        case 'W': result.options.AccessMode = -1, result.hasAccessMode = true; break;
        case 'M': result.options.MapMode = 1, result.hasMapMode = true; break;
        case 'N': result.options.MapMode = -1, result.hasMapMode = true; break;
        case 'I':
        case 'K': result.options.IntelHexMode = 1, result.hasIntelHexMode = true; break;
        case 'Z': result.maximized = true; break;
        case 'D': result.openDataWindow = true; break;
        case 'F':
            if (withColon) result.selectOption = value;
            break;
        case 'J':
            if (withColon) result.jumpOption = value;
            break;
        case 'S':
            if (withColon) result.startOption = value;
            break;
        default: break;  // other options are ignored
        }
    }
    return result;
}

void ClearGivenStartOptions(const CommandLine& commandLine, StartOptions& options)
{
    if (commandLine.hasBaseAddress) options.BaseAddress = 0;
    if (commandLine.hasAccessMode) options.AccessMode = 0;
    if (commandLine.hasMapMode) options.MapMode = 0;
    if (commandLine.hasIntelHexMode) options.IntelHexMode = 0;
}

std::string NormalizeStartPath(const std::string& name)
{
    const std::string full = FullPath(name);
    if (full.empty() || full.back() == '/') return full;
    // The leading part up to the first run of separators stays: on Linux, the "/".
    size_t pos = full.find_first_not_of('/');
    std::string result = full.substr(0, pos);
    std::string folder = result;
    bool first = true;
    while (pos < full.size()) {
        size_t end = full.find('/', pos);
        if (end == std::string::npos) end = full.size();
        const std::string component = full.substr(pos, end - pos);
        std::optional<std::string> stored;
        if (component.find_first_of("*?") == std::string::npos) stored = StoredName(folder, component);
        if (!stored) return result + (first ? "" : "/") + full.substr(pos);
        result += (first ? "" : "/") + *stored;
        folder = result;
        first = false;
        pos = end + 1;
    }
    return result;
}

}  // namespace qv
