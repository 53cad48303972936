// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/FontResolver.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/qt/QtText.h"

namespace qv {

namespace {

constexpr int kDefaultPixelHeight = 15;

bool IsClassicFixedFace(const QString& face)
{
    for (const char* name : {"Courier", "Terminal", "Fixedsys"}) {
        if (face.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

std::optional<QString> InstalledFamily(const QString& face)
{
    for (const QString& family : QFontDatabase::families()) {
        if (family.compare(face, Qt::CaseInsensitive) == 0) return family;
    }
    return std::nullopt;
}

}  // namespace

std::optional<QFont> ResolveFont(const FontSpec& spec)
{
    const QString face = ToQt(spec.FaceName());
    QFont font;
    if (std::optional<QString> family = InstalledFamily(face); family && !face.isEmpty()) {
        font = QFont(*family);
    } else if (face.isEmpty() || IsClassicFixedFace(face)) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    } else {
        return std::nullopt;
    }
    int height = spec.height == 0 ? kDefaultPixelHeight : std::abs(spec.height);
    font.setPixelSize(std::max(1, height));
    font.setWeight((spec.style & FontBold) ? QFont::Bold : QFont::Normal);
    font.setItalic((spec.style & FontItalic) != 0);
    font.setUnderline((spec.style & FontUnderline) != 0);
    font.setFixedPitch((spec.style & FontFixedPitch) != 0);
    font.setStyleHint(QFont::Monospace);
    font.setKerning(false);
    if (spec.width > 0) {
        qreal natural = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
        if (natural > 0) font.setStretch(std::clamp(static_cast<int>(spec.width * 100 / natural), 1, 4000));
    }
    // Whole-pixel cells: every character advances by the rounded-up width of 'M'.
    qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
    qreal cell = std::max<qreal>(1, std::ceil(advance));
    font.setLetterSpacing(QFont::AbsoluteSpacing, cell - advance);
    return font;
}

CellMetrics MeasureCell(const QFont& font)
{
    QFontMetricsF metrics(font);
    // The letter spacing that rounds the advance up to whole pixels applies between the
    // characters of a run, not to a lone character: measure a run.
    constexpr int kRun = 16;
    int width = static_cast<int>(std::lround(metrics.horizontalAdvance(QString(kRun, QLatin1Char('M'))) / kRun));
    int height = static_cast<int>(std::ceil(metrics.height()));
    return {std::max(1, width), std::max(1, height)};
}

QColor ToQColor(Color color, const QColor& fallback)
{
    if (color == kDefaultColor) return fallback;
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

Color FromQColor(const QColor& color)
{
    return static_cast<Color>(color.red() | color.green() << 8 | color.blue() << 16);
}

}  // namespace qv
