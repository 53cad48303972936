// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the dialog "Neuer Hexbereich".
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>

#include "document/NewSizeDialog.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"
#include "platform/qt/QtText.h"

namespace qv {
namespace {

bool RunNewSizeDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<NewSizeDialog&>(model);
    QDialog window(parent);
    window.setWindowTitle("Neuer Hexbereich");
    auto* size = new QLineEdit(ToQt(dialog.sizeText));
    size->selectAll();
    auto* buttons = OkCancelButtons(window);
    auto* layout = new QFormLayout(&window);
    layout->addRow("Speichergröße :", size);
    layout->addRow(buttons);
    FitCaption(window);
    if (window.exec() != QDialog::Accepted) return false;
    dialog.sizeText = FromQt(size->text());
    return true;
}

}  // namespace

QV_DIALOG_WIDGET(NewSizeDialog::kName, RunNewSizeDialog);

}  // namespace qv
