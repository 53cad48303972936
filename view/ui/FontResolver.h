// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a FontSpec into a QFont. A face installed on the system is used as it is; the
// classic fixed-pitch names ("Courier", "Terminal", "Fixedsys") and the empty name stand
// for the system's fixed-pitch face. Any other unknown face yields no font, so that the
// caller moves on to its next fall-back.
#include <QColor>
#include <QFont>
#include <optional>

#include "view/FontSpec.h"
#include "view/LineDrawing.h"

namespace qv {

std::optional<QFont> ResolveFont(const FontSpec& spec);
// Cell of a resolved font: the advance of one character (every character of the font
// is made to advance by exactly this much) and the line height.
CellMetrics MeasureCell(const QFont& font);

// 0x00BBGGRR to QColor; the default colour (-1) becomes `fallback`.
QColor ToQColor(Color color, const QColor& fallback);
Color FromQColor(const QColor& color);

}  // namespace qv
