// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StartPositions.h"

#include <string>
#include <tuple>
#include <utility>

#include "document/HexDoc.h"
#include "view/HexView.h"

namespace qv {

StartPositions ReadStartPositions(const CommandLine& commandLine)
{
    // The second number follows the first ":" after the option's own ":"; none reads as 0.
    auto pair = [](const std::string& value) {
        const size_t colon = value.find(':');
        return std::make_pair(ReadCInteger(value),
                              colon == std::string::npos ? 0u : ReadCInteger(value.substr(colon + 1)));
    };
    StartPositions positions;
    if (commandLine.selectOption) {
        positions.hasSection = true;
        std::tie(positions.sectionOffset, positions.sectionLength) = pair(*commandLine.selectOption);
    }
    if (commandLine.jumpOption) {
        positions.hasJump = true;
        std::tie(positions.jumpAddress, positions.jumpLength) = pair(*commandLine.jumpOption);
    }
    if (commandLine.startOption) {
        positions.hasScroll = true;
        positions.scrollAddress = ReadCInteger(*commandLine.startOption);
    }
    return positions;
}

void ApplyStartPositions(const StartPositions& positions, CHexDoc& document, CHexView& view)
{
    if (positions.hasSection && positions.sectionLength > 0)
        document.ShowSection(positions.sectionOffset, positions.sectionLength);
    if (positions.hasScroll) view.ScrollToOffset(positions.scrollAddress, true);
    if (positions.hasJump) {
        view.SetCursorOffset(positions.jumpAddress, true);
        if (positions.jumpLength >= 1) view.SelectTo(positions.jumpAddress + positions.jumpLength, true);
    }
}

}  // namespace qv
