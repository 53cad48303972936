// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexViewStatus.h"

#include <algorithm>

#include "common/NumberText.h"

namespace qv {

namespace {
constexpr uint32_t kHexWithoutPrefix = kStylePlainRadix | 16;
}

std::string AddressPaneText(uint32_t cursorAddress, const StatusSelection& selection, uint32_t statusMode)
{
    const int32_t address = static_cast<int32_t>(cursorAddress);
    std::string text = " Adr: " + FormatNumber(address, kStyleHexPrefix) + " / ";
    if (!selection.active) return text + FormatNumber(address, kStyleSigned);

    const int64_t distance = static_cast<int64_t>(selection.end) - selection.anchor;
    const int32_t length = static_cast<int32_t>((distance < 0 ? -distance : distance) + 1);
    text += distance >= 0 ? "M: +" : "M: -";
    return text + FormatNumber(length, (statusMode & HexDistances) ? kStyleHexPrefix : kStyleSigned);
}

int32_t StatusValue(const uint8_t* data, int32_t length, int32_t cursorOffset, const StatusSelection& selection,
                    uint32_t statusMode)
{
    int32_t start = cursorOffset;
    int32_t size = 0;
    if (selection.active) {
        start = std::min(selection.anchor, selection.end);
        const int64_t span = static_cast<int64_t>(std::max(selection.anchor, selection.end)) - start + 1;
        size = static_cast<int32_t>(std::clamp<int64_t>(span, 1, 4));
    } else {
        static constexpr int32_t kSizes[4] = {1, 2, 4, 4};
        size = kSizes[statusMode & StatusValueSize];
    }
    if (start < 0 || start >= length || data == nullptr) return 0;

    // Near the end only the bytes up to the end are used.
    const int32_t available = static_cast<int32_t>(std::min<int64_t>(size, static_cast<int64_t>(length) - start));
    uint32_t value = 0;
    for (int32_t k = 0; k < available; ++k) {
        const uint32_t byte = data[start + k];
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
