// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window at least as wide as its title bar needs to show the whole caption. A dialog is
// as narrow as its fields; the window manager then cuts a long caption in the middle
// ("Zahlen…ngabe").
#include <QApplication>
#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace qv {

// Call once the window's layout is built.
inline void FitCaption(QWidget& window)
{
    // Title bars write in a bold face about the size of the application's, beside an icon
    // and three buttons.
    constexpr int kTitleBarExtras = 140;
    QFont font = QApplication::font();
    font.setBold(true);
    const int needed = QFontMetrics(font).horizontalAdvance(window.windowTitle()) + kTitleBarExtras;
    window.setMinimumWidth(std::max(needed, window.minimumSizeHint().width()));
}

}  // namespace qv
