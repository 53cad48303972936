// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexViewConfigDialog.h"

#include <algorithm>

#include "view/HexView.h"

namespace qv {

ConfigDialog ConfigDialog::FromView(const CHexView& view)
{
    const HexLayout& layout = view.RowLayout();
    const uint32_t flags = view.HexFlags();
    const uint32_t status = view.StatusbarMode();
    ConfigDialog d;
    d.insertSpace = layout.insertSpace != 0;
    d.extraSpaceOn = layout.effectiveExtraSpace <= kMaxBytesPerRow;
    d.extraSpace = (!d.extraSpaceOn && layout.extraSpace > kMaxBytesPerRow) || layout.extraSpace <= 0 ? 4 : layout.extraSpace;
    d.fixedWidthOn = (flags & FlagAutoWidth) == 0;
    d.fixedWidth = layout.lineWidth;
    d.rasterOn = (flags & FlagRaster) != 0;
    d.raster = layout.raster;
    d.widthRasterOn = (flags & FlagWidthRaster) != 0;
    d.widthRaster = (!d.widthRasterOn && layout.widthRaster <= 1) ? 4 : layout.widthRaster;
    d.addressDigits = layout.addressLength;
    d.outputFormat = layout.outputFormat;
    d.valueSize = std::min<int32_t>(static_cast<int32_t>(status & StatusValueSize), 2);
    d.unsignedValue = (status & UnsignedValue) != 0;
    d.bigEndian = (status & BigEndianValue) != 0;
    d.hexDistances = (status & HexDistances) != 0;
    d.invert = layout.invertMask != 0;
    d.selectionRaster = view.SelectionRaster() != 0;
    d.fixedWidthWasOn_ = d.fixedWidthOn;
    d.widthRasterWasOn_ = d.widthRasterOn;
    return d;
}

void ConfigDialog::Correct(Change change)
{
    extraSpace = std::clamp(extraSpace, 1, kMaxBytesPerRow);
    fixedWidth = std::clamp(fixedWidth, 1, kMaxBytesPerRow);
    raster = std::clamp(raster, 1, kMaxBytesPerRow);
    widthRaster = std::clamp(widthRaster, 1, kMaxBytesPerRow);
    addressDigits = std::clamp(addressDigits, 1, 8);
    if (fixedWidthOn && widthRasterOn) {
        if (change == Change::FixedWidthCheck || (change != Change::WidthRasterCheck && widthRasterWasOn_))
            widthRasterOn = false;
        else
            fixedWidthOn = false;
    }
    fixedWidthWasOn_ = fixedWidthOn;
    widthRasterWasOn_ = widthRasterOn;
}

int32_t ConfigDialog::WidthMode() const
{
    if (fixedWidthOn) return -fixedWidth;
    return widthRasterOn ? widthRaster : 0;
}

int32_t ConfigDialog::StatusMode() const
{
    int32_t mode = std::clamp(valueSize, 0, 2);
    if (unsignedValue) mode |= UnsignedValue;
    if (bigEndian) mode |= BigEndianValue;
    if (hexDistances) mode |= HexDistances;
    return mode;
}

void ConfigDialog::ApplyTo(CHexView& view) const
{
    view.SetLayout(fixedWidth, ExtraSpaceValue(), insertSpace ? 1 : 0, addressDigits, outputFormat, invert ? 1 : 0);
    view.ApplyRasterSettings(WidthMode(), RasterValue(), StatusMode(), selectionRaster ? 1 : 0);
}

}  // namespace qv
