// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StartPositions.h"

#include <string>
#include <tuple>
#include <utility>

#include "document/HexDoc.h"
#include "view/HexView.h"

namespace qv {

std::pair<uint64_t, uint64_t> ReadNumberPair(const std::string& value)
{
    const size_t colon = value.find(':');
    return {ReadCInteger(value), colon == std::string::npos ? 0 : ReadCInteger(value.substr(colon + 1))};
}

StartPositions ReadStartPositions(const CommandLine& commandLine)
{
    StartPositions positions;
    if (commandLine.selectOption) {
        positions.hasSection = true;
        std::tie(positions.sectionOffset, positions.sectionLength) = ReadNumberPair(*commandLine.selectOption);
    }
    if (commandLine.jumpOption) {
        positions.hasJump = true;
        std::tie(positions.jumpAddress, positions.jumpLength) = ReadNumberPair(*commandLine.jumpOption);
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
        // A sum past the largest address stands for "to the end", not for a wrapped-around address.
        const uint64_t end = positions.jumpAddress + positions.jumpLength;
        if (positions.jumpLength >= 1) view.SelectTo(end < positions.jumpAddress ? UINT64_MAX : end, true);
    }
}

}  // namespace qv
