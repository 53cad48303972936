// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: applying the row layout, fitting the width to the pane and the raster options.
#include <algorithm>

#include "view/HexView.h"

namespace qv {

int32_t CHexView::SetLayout(int32_t lineWidth, int32_t extraSpace, int32_t insertSpace, int32_t addressDigits,
                            int32_t outputFormat, int32_t invert)
{
    const int32_t previous = layout_.bytesPerRow;
    const LayoutRequest request =
        layout_.Complete(lineWidth, extraSpace, insertSpace, addressDigits, outputFormat, invert);

    // The byte and digit under the cursor, read under the old layout so that the cursor
    // keeps its byte within the row when only the columns move.
    const int32_t index = layout_.IndexOfColumn(cursorColumn_);
    const bool second = OnSecondDigit();
    UpdateAddressDigits();
    if (!layout_.Apply(request, hexFlags_)) return previous;

    SetLineLength(layout_.lineLength);
    SetLineCount(layout_.LineCount(buffer_.Length()));
    InvalidateAll();
    const int32_t column =
        layout_.activeArea == AreaAddress ? cursorColumn_ : layout_.ColumnOfIndex(index) + (second ? 1 : 0);
    SetCursorPos(column, cursorLine_, 0x20 | 0x40);
    if (Host()) UpdateScroll(0);
    return previous;
}

void CHexView::OnSizeChanged(int32_t columns, int32_t rows, int32_t columnDelta, int32_t rowDelta)
{
    // A fixed width leaves the layout alone, but a row that now fits the pane is shown from
    // its first column, as after fitting the width: a window that starts small and then
    // grows would otherwise keep the address column scrolled away.
    if (!(hexFlags_ & FlagAutoWidth) && layout_.lineLength <= columns && leftColumn_ != 0) {
        leftColumn_ = 0;
        UpdateScroll(0);
    }
    FitWidthToWindow(columns, rows, columnDelta, rowDelta);
}

int32_t CHexView::GetLineLength(int64_t /*line*/)
{
    return layout_.lineLength;
}

void CHexView::FitWidthToWindow(int32_t columns, int32_t /*rows*/, int32_t columnDelta, int32_t /*rowDelta*/)
{
    if (!(hexFlags_ & FlagAutoWidth)) return;
    // Re-laying out changes the pane size, which may call back here.
    if (fitDepth_ > 2) return;
    ++fitDepth_;

    const uint64_t top = TopOffset(false);
    const uint64_t mark = MarkPosition(false);
    const uint64_t lower = GetSelection(false, nullptr);

    if (columnDelta != 0) SetLayout(layout_.FitWidth(columns, hexFlags_), -1, -1, -1, -1, -1);
    // A row that fits the pane is shown from its first column.
    if (layout_.lineLength <= columns) leftColumn_ = 0;
    ScrollToOffset(top, false);
    SetCursorOffset(mark, false);
    SelectTo(lower, false);
    --fitDepth_;
}

int32_t CHexView::ApplyRasterSettings(int32_t widthMode, int32_t raster, int32_t statusMode, int32_t selectionRaster)
{
    const uint32_t widthBitsBefore = hexFlags_ & (FlagAutoWidth | FlagWidthRaster);
    if (widthMode == 0) {
        hexFlags_ &= ~FlagWidthRaster;
        hexFlags_ |= FlagAutoWidth;
        layout_.widthRaster = layout_.effectiveWidthRaster = 1;
    } else if (widthMode > 0) {
        const int32_t widthRaster = std::min(widthMode, kMaxBytesPerRow);
        layout_.widthRaster = layout_.effectiveWidthRaster = widthRaster;
        if (layout_.bytesPerRow % widthRaster != 0) hexFlags_ |= FlagRelayout;
        hexFlags_ |= FlagAutoWidth | FlagWidthRaster;
    } else {
        const int32_t width = std::min(-std::max(widthMode, -kMaxBytesPerRow), kMaxBytesPerRow);
        if (layout_.bytesPerRow != width) hexFlags_ |= FlagRelayout;
        layout_.bytesPerRow = width;
        layout_.lineWidth = width;
        hexFlags_ &= ~(FlagAutoWidth | FlagWidthRaster);
        layout_.raster = layout_.effectiveRaster = std::max(raster, 1);
    }

    if (raster > 0) {
        hexFlags_ |= FlagRaster;
    } else {
        hexFlags_ &= ~FlagRaster;
        raster = 1;
    }
    raster = std::min(raster, kMaxBytesPerRow);
    if (raster != layout_.effectiveRaster) {
        layout_.raster = layout_.effectiveRaster = raster;
        hexFlags_ |= FlagRelayout;
    }

    if (statusMode >= 0) {
        const uint32_t mode = static_cast<uint32_t>(statusMode) & ~static_cast<uint32_t>(StatusDirty);
        if (mode != (statusbarMode_ & ~static_cast<uint32_t>(StatusDirty))) {
            statusbarMode_ = mode | StatusDirty;
            UpdateStatus();
        }
    }

    layout_.lineWidth = layout_.bytesPerRow;
    const bool widthBitsChanged = (hexFlags_ & (FlagAutoWidth | FlagWidthRaster)) != widthBitsBefore;
    // Without a window there is no pane width to fit to yet.
    if (widthBitsChanged && (hexFlags_ & FlagAutoWidth) && Host())
        FitWidthToWindow(PaneColumns(), PaneRows(), 1, 0);
    else
        SetLayout(-1, -1, -1, -1, -1, -1);
    if (selectionRaster >= 0) selectionRaster_ = selectionRaster;
    return layout_.lineWidth;
}

}  // namespace qv
