// SPDX-License-Identifier: GPL-3.0-or-later
// The save-file dialog of the selection export commands, shown as the platform's file
// dialog. The commands ask about overwriting themselves.
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "document/SelectionExportSaveDialog.h"
#include "platform/qt/DialogRegistry.h"

namespace qv {
namespace {

// "Name (*.h)|*.h|Other|*.*|" -> the names with their patterns, as Qt lists filters.
QStringList QtFilters(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts[i];
        filters << (name.contains('(') ? name : name + " (" + parts[i + 1] + ")");
    }
    return filters;
}

bool RunSaveDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<SelectionExportSaveDialog&>(model);
    QFileDialog window(parent, QString::fromStdString(dialog.title));
    window.setAcceptMode(QFileDialog::AcceptSave);
    window.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtFilters(dialog.filter);
    window.setNameFilters(filters);

    // The proposal is a folder with a pattern ("dir/*.h") or a name chosen before.
    const QFileInfo proposed(QString::fromStdString(dialog.proposedPath));
    if (!proposed.path().isEmpty()) window.setDirectory(proposed.path());
    const QString name = proposed.fileName();
    if (name.startsWith('*')) {
        for (const QString& filter : filters)
            if (filter.contains("(" + name + ")")) window.selectNameFilter(filter);
    } else if (!name.isEmpty()) {
        window.selectFile(name);
    }
    if (window.exec() != QDialog::Accepted || window.selectedFiles().isEmpty()) return false;
    dialog.chosenPath = window.selectedFiles().first().toStdString();
    return true;
}

}  // namespace

QV_DIALOG_WIDGET("SelectionExportSave", RunSaveDialog);

}  // namespace qv
