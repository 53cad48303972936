#include "platform/qt/QtLineDrawing.h"

#include <QFontMetrics>

#include "platform/qt/FontResolver.h"
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
    painter_.setFont(fonts_[static_cast<size_t>(variant)]);
    painter_.setPen(ToQColor(textColor, windowText_));
    painter_.drawText(QPoint(x, y + ascent_), ToQt(text));
    return width;
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
