// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/ChecksumToolDialogs.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include "tools/ChecksumInput.h"

namespace qv {

void SetToolFieldColor(QWidget* field, uint32_t colorBgr)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, QColor(colorBgr & 0xFF, (colorBgr >> 8) & 0xFF, (colorBgr >> 16) & 0xFF));
    field->setPalette(palette);
}

QLineEdit* MakeToolResultField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    SetToolFieldColor(field, kToolResultColor);
    return field;
}

void PlaceToolDialog(QDialog& dialog, const std::optional<QPoint>& lastPlace)
{
    if (!lastPlace) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    if (IsRememberedPlaceUsable(lastPlace->x(), lastPlace->y(), size.width(), size.height())) dialog.move(*lastPlace);
}

}  // namespace qv
