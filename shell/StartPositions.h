// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start options F:offset:length, J:address:length and S:address: read once from the
// command line and applied to the start-up file's view, never kept.
#include <cstdint>
#include <string>
#include <utility>

#include "shell/CommandLine.h"

namespace qv {

class CHexDoc;
class CHexView;

// Each field remembers whether its option was given. Numbers are 64-bit.
struct StartPositions {
    bool hasSection = false;
    uint64_t sectionOffset = 0, sectionLength = 0;
    bool hasJump = false;
    uint64_t jumpAddress = 0, jumpLength = 0;
    bool hasScroll = false;
    uint64_t scrollAddress = 0;
};

// The second number of "F:" and "J:" follows the first ":" of the value; none reads as 0.
std::pair<uint64_t, uint64_t> ReadNumberPair(const std::string& value);

StartPositions ReadStartPositions(const CommandLine& commandLine);

// F shows its section when the length is above 0; then on the view S scrolls the address
// to the top and J puts the cursor on its address and selects the length from there.
void ApplyStartPositions(const StartPositions& positions, CHexDoc& document, CHexView& view);

}  // namespace qv
