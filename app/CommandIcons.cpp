// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <map>

namespace qv {
namespace {

std::optional<QStyle::StandardPixmap> StandardImageOf(int command)
{
    static const std::map<int, QStyle::StandardPixmap> images = {
        {57600, QStyle::SP_FileIcon},          {57601, QStyle::SP_DialogOpenButton},
        {57603, QStyle::SP_DialogSaveButton},  {57607, QStyle::SP_ComputerIcon},
        {57609, QStyle::SP_FileDialogContentsView}, {57643, QStyle::SP_ArrowBack},
        {32833, QStyle::SP_ArrowForward},      {57636, QStyle::SP_FileDialogDetailedView},
        {32771, QStyle::SP_ArrowDown},         {32808, QStyle::SP_BrowserReload},
        {57664, QStyle::SP_MessageBoxInformation}, {32832, QStyle::SP_TitleBarShadeButton},
    };
    auto it = images.find(command);
    if (it == images.end()) return std::nullopt;
    return it->second;
}

// Short labels for commands that neither the theme nor Qt has an image for.
QString LabelOf(int command)
{
    static const std::map<int, QString> labels = {
        {57634, "Cp"}, {57637, "Ei"}, {32823, "#"},     {32821, "+-"},    {32861, "1.5"},
        {32801, "DF"}, {32902, "A|B"}, {32900, "≠↓"}, {32901, "≠↑"},
    };
    auto it = labels.find(command);
    return it == labels.end() ? QString("?") : it->second;
}

QIcon DrawnIcon(const QString& label)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 128));
    painter.drawRect(0, 0, 15, 15);
    QFont font = painter.font();
    font.setPixelSize(label.size() > 2 ? 7 : 9);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, label);
    return QIcon(pixmap);
}

}  // namespace

QIcon CommandIcon(int command, const std::string& themeName)
{
    if (!themeName.empty()) {
        QIcon themed = QIcon::fromTheme(QString::fromStdString(themeName));
        if (!themed.isNull()) return themed;
    }
    if (auto standard = StandardImageOf(command)) return QApplication::style()->standardIcon(*standard);
    return DrawnIcon(LabelOf(command));
}

}  // namespace qv
