// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of the editor: the start-up file and the start options.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/StartOptions.h"

namespace qv {

struct CommandLine {
    std::string fileName;  // the first argument that is not an option; empty when none
    StartOptions options;
    // Which options were given (the start sequence clears exactly those after the load).
    bool hasBaseAddress = false, hasAccessMode = false, hasMapMode = false, hasIntelHexMode = false;
    bool maximized = false;       // Z
    bool openDataWindow = false;  // D
    // F:, J: and S: place the view after start; kept as typed for the remote-control code.
    std::optional<std::string> selectOption, jumpOption, startOption;
    // --print-pdf OUT.pdf: print the file into OUT.pdf without a window (empty: OUT missing).
    std::optional<std::string> printPdfPath;
    // --compare A B: A is the file to open, compared with B (empty: B missing); --offset X
    // and --offset2 Y: the compare starts at X in A and at Y in B.
    std::optional<std::string> comparePath;
    uint64_t compareOffset = 0, compareOffset2 = 0;
};

// Reads the arguments after the program name. An option starts with "-" or "/" (a word
// with a second "/" or naming an existing file is an absolute path, not an option); its
// letter is compared without regard to case; A, F, J and S need ":" as third character;
// numbers are C integers read up to the first character that does not belong to them.
// "--print-pdf" takes the next argument as the PDF to print into, "--compare" the next two as
// the file to open and the file to compare it with, "--offset" and "--offset2" a number each.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Reads a 64-bit C integer as strtoull with base 0 does (blanks, a sign, decimal, 0x hex,
// leading-0 octal) up to the first foreign character; a missing number is 0.
uint64_t ReadCInteger(const std::string& text);


// The start-up file name as the program shows it: absolute, each existing component
// spelled as it is stored on disk; from the first component with a wildcard or the first
// one not found on, the rest stays as typed. A name ending in "/" stays as typed.
std::string NormalizeStartPath(const std::string& name);

// Clears the options that were given on the command line, after the start-up file loaded.
void ClearGivenStartOptions(const CommandLine& commandLine, StartOptions& options);

}  // namespace qv
