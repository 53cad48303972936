// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexViewStatus.h"

#include <algorithm>

#include "common/NumberText.h"

namespace qv {

namespace {
constexpr uint32_t kHexWithoutPrefix = kStylePlainRadix | 16;
}

std::string AddressPaneText(uint64_t cursorAddress, const StatusSelection& selection, uint32_t statusMode,
                            bool wideAddresses)
{
    const int64_t address = wideAddresses ? static_cast<int64_t>(cursorAddress)
                                          : static_cast<int32_t>(static_cast<uint32_t>(cursorAddress));
    std::string text = " Adr: 0x" + FormatNumber64(static_cast<int64_t>(cursorAddress), kHexWithoutPrefix) + " / ";
    if (!selection.active) return text + FormatNumber64(address, kStyleSigned);

    const int64_t distance = selection.end - selection.anchor;
    const int64_t length = (distance < 0 ? -distance : distance) + 1;
    text += distance >= 0 ? "M: +" : "M: -";
    return text + FormatNumber64(length, (statusMode & HexDistances) ? kStyleHexPrefix : kStyleSigned);
}

int32_t StatusValue(const IByteSource& bytes, int64_t cursorOffset, const StatusSelection& selection,
                    uint32_t statusMode)
{
    int64_t start = cursorOffset;
    int32_t size = 0;
    if (selection.active) {
        start = std::min(selection.anchor, selection.end);
        const int64_t span = std::max(selection.anchor, selection.end) - start + 1;
        size = static_cast<int32_t>(std::clamp<int64_t>(span, 1, 4));
    } else {
        static constexpr int32_t kSizes[4] = {1, 2, 4, 4};
        size = kSizes[statusMode & StatusValueSize];
    }
    if (start < 0) return 0;

    // Near the end only the bytes up to the end are used.
    std::vector<uint8_t> scratch;
    const std::span<const uint8_t> present = bytes.Window(start, size, scratch);
    if (present.empty()) return 0;
    uint32_t value = 0;
    for (size_t k = 0; k < present.size(); ++k) {
        const uint32_t byte = present[k];
        if (statusMode & BigEndianValue)
            value = (value << 8) | byte;
        else
            value |= byte << (8 * k);
    }
    if (size < 4 && !(statusMode & UnsignedValue)) {
        const uint32_t topBit = 1u << (8 * size - 1);
        if (value & topBit) value |= ~((topBit << 1) - 1);
    }
    return static_cast<int32_t>(value);
}

std::string ValuePaneText(int32_t value, uint32_t statusMode)
{
    return " Wert: 0x" + FormatNumber(value, kHexWithoutPrefix) + " / " +
           FormatNumber(value, (statusMode & UnsignedValue) ? kStyleUnsigned : kStyleSigned);
}

}  // namespace qv
