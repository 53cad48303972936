// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/QtLineDrawing.h"

#include <QFontMetrics>
#include <QGlyphRun>

#include "view/ui/FontResolver.h"
#include "platform/qt/QtText.h"

namespace qv {

QtLineDrawing::QtLineDrawing(QPainter& painter, const std::array<QFont, kFontVariantCount>& fonts, CellMetrics cell,
                             const QColor& window, const QColor& windowText, bool printing)
    : painter_(painter),
      fonts_(fonts),
      cell_(cell),
      window_(window),
      windowText_(windowText),
      printing_(printing),
      ascent_(QFontMetrics(fonts[0]).ascent())
{
}

int32_t QtLineDrawing::DrawText(int32_t x, int32_t y, std::string_view text, int fontVariant, Color textColor,
                                Color background)
{
    if (text.empty()) return 0;
    int32_t width = static_cast<int32_t>(text.size()) * cell_.width;
    painter_.fillRect(QRect(x, y, width, cell_.height), ToQColor(background, window_));
    int variant = fontVariant >= 0 && fontVariant < kFontVariantCount ? fontVariant : 0;
    painter_.setPen(ToQColor(textColor, windowText_));
    if (printing_) {
        DrawPlaced(x, y, text, variant);
        return width;
    }
    painter_.setFont(fonts_[static_cast<size_t>(variant)]);
    painter_.drawText(QPoint(x, y + ascent_), ToQt(text));
    return width;
}

void QtLineDrawing::DrawPlaced(int32_t x, int32_t y, std::string_view text, int variant)
{
    QRawFont& raw = rawFonts_[static_cast<size_t>(variant)];
    if (!raw.isValid()) raw = QRawFont::fromFont(fonts_[static_cast<size_t>(variant)]);
    const QList<quint32> glyphs = raw.glyphIndexesForString(ToQt(text));
    QList<QPointF> positions(glyphs.size());
    for (qsizetype i = 0; i < positions.size(); ++i) positions[i] = QPointF(static_cast<qreal>(i) * cell_.width, 0);
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter_.drawGlyphRun(QPointF(x, y + ascent_), run);
}

void QtLineDrawing::FillRect(const LineRect& rect, Color color)
{
    if (rect.IsEmpty()) return;
    painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color, window_));
}

void QtLineDrawing::SetClip(const LineRect& rect)
{
    painter_.setClipRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}

void QtLineDrawing::ClearClip()
{
    painter_.setClipping(false);
}

}  // namespace qv
