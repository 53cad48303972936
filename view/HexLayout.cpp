// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexLayout.h"

#include <algorithm>

namespace qv {

namespace {

int32_t RoundUpTo(int32_t value, int32_t multiple)
{
    return (value + multiple - 1) / multiple * multiple;
}

// Rasters are byte counts of at most one row; anything else from the store is made sane.
int32_t SaneRaster(int32_t value)
{
    return std::clamp(value, 1, kMaxBytesPerRow);
}

}  // namespace

LayoutRequest HexLayout::Complete(int32_t lineWidthArg, int32_t extraSpaceArg, int32_t insertSpaceArg,
                                  int32_t addressDigitsArg, int32_t outputFormatArg, int32_t invertArg) const
{
    LayoutRequest r;
    r.lineWidth = lineWidthArg >= 0 ? lineWidthArg : (lineWidth > 0 ? lineWidth : bytesPerRow);
    r.extraSpace = extraSpaceArg >= 0 ? extraSpaceArg : extraSpace;
    r.insertSpace = insertSpaceArg >= 0 ? insertSpaceArg : insertSpace;
    r.addressDigits = addressDigitsArg >= 0 ? addressDigitsArg : addressLength;
    r.outputFormat = outputFormatArg >= 0 ? outputFormatArg : outputFormat;
    r.invert = invertArg >= 0 ? invertArg : invertMask;
    return r;
}

bool HexLayout::Apply(const LayoutRequest& request, uint32_t& hexFlags)
{
    const int32_t digits = std::clamp(request.addressDigits, 1, 8);
    effectiveRaster = SaneRaster(effectiveRaster);
    effectiveWidthRaster = SaneRaster(effectiveWidthRaster);

    int32_t width = request.lineWidth;
    if (hexFlags & FlagWidthRaster) width -= width % effectiveWidthRaster;
    const int32_t configuredWidth = width;

    const int32_t format = request.outputFormat & 3;
    const int32_t element = 1 << format;
    int32_t mask = request.invert != 0 ? element - 1 : 0;
    // A value of 0 (or less) switches the extra blank off: the group is then wider than any row.
    int32_t extra = request.extraSpace <= 0 ? kNoExtraSpace : std::min(request.extraSpace, kNoExtraSpace);
    if (format > 0) {
        width = width >> format << format;
        extra = RoundUpTo(extra, element);
        if (width <= 0) width = element;
    } else {
        mask = 0;
    }
    width = std::clamp(width, 1, kMaxBytesPerRow);
    const int32_t insert = request.insertSpace != 0 ? 1 : 0;

    const bool same = insert == insertSpace && extra == effectiveExtraSpace && width == bytesPerRow &&
                      std::max(digits, addressDigitsNeeded) + 2 == addressColumnWidth && format == outputFormat && mask == invertMask &&
                      ((hexFlags ^ flagsSnapshot) & kLayoutFlagMask) == 0;
    if (same) return false;

    hexFlags &= ~FlagRelayout;
    flagsSnapshot = hexFlags;

    extraSpace = request.extraSpace;
    lineWidth = configuredWidth;
    invertMask = mask;
    insertSpace = insert;
    effectiveExtraSpace = extra;
    bytesPerRow = width;
    outputFormat = format;
    addressLength = digits;
    addressColumnWidth = AddressDigits() + 2;
    if (format > 0) {
        effectiveRaster = SaneRaster(RoundUpTo(effectiveRaster, element));
        effectiveWidthRaster = SaneRaster(RoundUpTo(effectiveWidthRaster, element));
    }
    Recompute(hexFlags);
    return true;
}

void HexLayout::Recompute(uint32_t hexFlags)
{
    const int32_t b = bytesPerRow;
    const int32_t m = ElementSize();
    const int32_t x = effectiveExtraSpace;

    hexWidth = 2 * b + 2;
    if (insertSpace) hexWidth += b / m - 1;
    hexWidth += (b % x == 0) ? b / x - 1 : b / x;
    addressWidth = (hexFlags & FlagHideAddress) ? 0 : addressColumnWidth;
    if (hexFlags & FlagHideHex) hexWidth = 0;
    hexStart = addressWidth;
    textStart = addressWidth + hexWidth;
    textWidth = (hexFlags & FlagHideText) ? 0 : b;
    lineLength = textStart + textWidth;

    for (int32_t i = 0; i < kMaxBytesPerRow; ++i) {
        const int32_t j = (i % b) ^ invertMask;
        int32_t column = hexStart + 2 * j;
        if (insertSpace) column += j >> outputFormat;
        column += j / x;
        hexColumn_[static_cast<size_t>(i)] = column;
    }

    if ((hexFlags & FlagHideHex) && activeArea == AreaHex) activeArea = AreaText;
    if ((hexFlags & FlagHideText) && activeArea == AreaText) activeArea = AreaAddress;
}

int64_t HexLayout::LineCount(int64_t length) const
{
    if (length <= 0) return 0;
    const int64_t b = bytesPerRow;
    return (Phase() + length + b - 1) / b;
}

int32_t HexLayout::AddressDigits() const
{
    return std::max(addressLength, addressDigitsNeeded);
}

int32_t HexDigitsOf(uint64_t value)
{
    int32_t digits = 1;
    while (value >>= 4) ++digits;
    return digits;
}

int32_t HexLayout::ColumnOfIndex(int32_t index, int area) const
{
    if (area == AreaAddress) return index;
    const int32_t i = ((index % bytesPerRow) + bytesPerRow) % bytesPerRow;
    if (area == AreaText) return textStart + i;
    return hexColumn_[static_cast<size_t>(i)];
}

int32_t HexLayout::IndexOfColumn(int32_t column, int area) const
{
    if (area == AreaAddress) return column;
    if (area == AreaText) return std::clamp(column - textStart, 0, bytesPerRow - 1);

    int32_t c = std::max(column - hexStart, 0);
    const int32_t w = 2 * ElementSize() + (insertSpace ? 1 : 0);
    const int32_t x = effectiveExtraSpace;
    if (x != 0) c -= (c + 1) / (w * (x >> outputFormat) + 1);
    if (insertSpace) c -= (c + 1) / w;
    const int32_t j = c / 2;
    return j < bytesPerRow ? (j ^ invertMask) : bytesPerRow - 1;
}

int32_t HexLayout::FitWidth(int32_t paneColumns, uint32_t hexFlags) const
{
    const bool hexShown = !(hexFlags & FlagHideHex);
    const bool textShown = !(hexFlags & FlagHideText);
    int32_t n = (hexShown ? 2 : 0) + (textShown ? 1 : 0);
    if (n < 1) n = 1;
    int32_t w = paneColumns - addressWidth - 1;
    if (hexShown && textShown) w -= 2;

    const int64_t m = ElementSize();
    // Without the extra space X is 4096, which still counts in the formulas below.
    const int64_t x = effectiveExtraSpace;
    const int64_t w1 = static_cast<int64_t>(w) + 1;
    int64_t bytes;
    if (!hexShown)
        bytes = w / n;
    else if (x != 0 && insertSpace)
        bytes = (w1 * x * m) / ((m * n + 1) * x + m);
    else if (x != 0)
        bytes = (w1 * x) / (x * n + 1);
    else if (insertSpace)
        bytes = (w1 * m) / (m * n + 1);
    else
        bytes = w / n;
    // A pane narrower than one byte still shows one byte per row.
    return static_cast<int32_t>(std::clamp<int64_t>(bytes, 1, 1 << 20));
}

}  // namespace qv
