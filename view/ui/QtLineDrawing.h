// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ILineDrawing on a QPainter: the screen widget's and the printer's. Text runs are drawn
// as one string each, on their background, in one of eight prepared fonts. On paper every
// glyph is placed on its cell: printer devices scale letter spacing by their resolution,
// so a font cannot be made to advance by the cell width there.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRawFont>
#include <array>

#include "view/LineDrawing.h"

namespace qv {

class QtLineDrawing : public ILineDrawing {
public:
    // `window` and `windowText` stand in for the default colour (-1).
    QtLineDrawing(QPainter& painter, const std::array<QFont, kFontVariantCount>& fonts, CellMetrics cell,
                  const QColor& window, const QColor& windowText, bool printing = false);

    int32_t DrawText(int32_t x, int32_t y, std::string_view text, int fontVariant, Color textColor,
                     Color background) override;
    void FillRect(const LineRect& rect, Color color) override;
    void SetClip(const LineRect& rect) override;
    void ClearClip() override;
    CellMetrics Cell() const override { return cell_; }
    bool IsPrinting() const override { return printing_; }

private:
    void DrawPlaced(int32_t x, int32_t y, std::string_view text, int variant);

    QPainter& painter_;
    const std::array<QFont, kFontVariantCount>& fonts_;
    CellMetrics cell_;
    QColor window_;
    QColor windowText_;
    bool printing_;
    int ascent_;
    std::array<QRawFont, kFontVariantCount> rawFonts_;  // printing: made on first use
};

}  // namespace qv
