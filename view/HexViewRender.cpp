// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: drawing rows in runs of equal attribute, the margin, and the status panes.
#include <algorithm>
#include <array>
#include <string_view>

#include "view/HexView.h"

namespace qv {

namespace {
// Printing uses the style kept in bits 4..7 of an entry's font style when bit 0x100 is set.
constexpr int32_t kPrintStyleFlag = 0x100;
}  // namespace

void CHexView::BuildRow(int64_t row, bool printing, RowText& out) const
{
    std::array<uint8_t, kMaxBytesPerRow> differs;
    RowEmphasis emphasis;
    if (differences_ && !printing) {
        differences_->MarkDiffering(row * layout_.bytesPerRow - layout_.Phase(), layout_.bytesPerRow, differs.data());
        emphasis = {differs.data(), static_cast<uint8_t>(std::max(Style().colors.FindByIndex(kDifferenceColorIndex), 0))};
    }
    BuildHexRow(layout_, Bytes(), buffer_.BaseAddress(), row, printing ? nullptr : marks_.data(), out, emphasis);
}

void CHexView::SetDifferences(IByteDifferences* differences)
{
    differences_ = differences;
    // Light red behind dark red text.
    if (differences) Colors().AddDefaults({{0xB4B4FF, 0x000080, kDifferenceColorIndex, 0, "Unterschied"}});
    InvalidateAll();
    Redraw();
}

int32_t CHexView::PrintLine(ILineDrawing& dc, const LineRect& rect, int64_t line, int32_t firstColumn,
                            int32_t count, uint32_t flags)
{
    if (line < 0 || line >= LineCount() || count < 1) return 0;
    const bool printing = (flags & 1) != 0;
    RowText row;
    BuildRow(line, printing, row);

    int32_t column = std::max(firstColumn, 0);
    const int32_t end = static_cast<int32_t>(std::min<int64_t>(row.length, static_cast<int64_t>(column) + count));
    int32_t x = rect.left;
    int32_t drawn = 0;
    while (column < end) {
        const uint8_t attribute = row.attributes[static_cast<size_t>(column)];
        int32_t runEnd = column + 1;
        while (runEnd < end && row.attributes[static_cast<size_t>(runEnd)] == attribute) ++runEnd;
        const ColorEntry& entry = ColorsFor(flags).ForAttribute(attribute);
        int32_t style = entry.fontStyle;
        if (printing && (style & kPrintStyleFlag)) style = (style >> 4) & 7;
        const std::string_view text(row.chars.data() + column, static_cast<size_t>(runEnd - column));
        x += dc.DrawText(x, rect.top, text, FontVariantOfStyle(style), entry.text, entry.background);
        drawn += runEnd - column;
        column = runEnd;
    }
    return drawn;
}

void CHexView::DrawMargin(ILineDrawing& dc, const LineRect& rect, int64_t /*line*/)
{
    dc.FillRect(rect, 0xFFFFFF);
}

void CHexView::SetParent(ILineViewParent* parent)
{
    relay_.parent = parent;
    CAnsiView::SetParent(parent ? &relay_ : nullptr);
}

void CHexView::ParentRelay::OnLineViewNotify(CAnsiView& view, int code, int64_t a, int64_t b)
{
    if (code == NotifyFocusGained) view_.StatusFocusGained();
    if (code == NotifyFocusLost) view_.StatusFocusLost();
    if (parent) parent->OnLineViewNotify(view, code, a, b);
}

int32_t CHexView::AddressPaneWidth() const
{
    // 20 character widths hold a 32-bit address; beyond, the decimal reading has more
    // digits too, so each further hex digit takes about two more.
    const int32_t digits = layout_.addressDigitsNeeded;
    return digits > 8 ? 24 + 2 * (digits - 8) : 20;
}

void CHexView::DefineStatusPanes()
{
    definedPaneWidth_ = AddressPaneWidth();
    statusPanes_->DefinePanes({{0, -definedPaneWidth_}, {0, -23}});
}

void CHexView::StatusFocusGained()
{
    if (statusPanes_) {
        DefineStatusPanes();
        panesPresent_ = true;
    }
    statusbarMode_ |= StatusDirty;
    UpdateStatus();
    Notify(NotifyViewFocusGained, 0, 0, 0);
}

void CHexView::StatusFocusLost()
{
    if (statusPanes_ && panesPresent_) statusPanes_->DefinePanes({});
    panesPresent_ = false;
    Notify(NotifyViewFocusLost, 0, 0, 0);
}

void CHexView::UpdateStatus()
{
    if (!panesPresent_ || !statusPanes_) return;
    // A block with longer addresses than the panes were made for widens them.
    if (AddressPaneWidth() != definedPaneWidth_) {
        DefineStatusPanes();
        statusbarMode_ |= StatusDirty;
    }
    const bool dirty = (statusbarMode_ & StatusDirty) != 0;
    const StatusSelection selection{marks_[0].active, marks_[0].first, marks_[0].last};
    if (dirty || cursorOffset_ != shownOffset_) {
        statusPanes_->SetPaneText(0, AddressPaneText(buffer_.BaseAddress() + static_cast<uint64_t>(cursorOffset_),
                                                     selection, statusbarMode_, layout_.addressDigitsNeeded > 8));
        shownOffset_ = cursorOffset_;
    }
    const int32_t value = StatusValue(Bytes(), cursorOffset_, selection, statusbarMode_);
    if (dirty || value != shownValue_) {
        statusPanes_->SetPaneText(1, ValuePaneText(value, statusbarMode_));
        shownValue_ = value;
    }
    statusbarMode_ &= ~static_cast<uint32_t>(StatusDirty);
}

}  // namespace qv
