// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the Intel HEX "Start-Offset" dialog.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include "document/StartOffsetDialog.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"
#include "platform/qt/QtText.h"

namespace qv {
namespace {

bool RunStartOffsetDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<StartOffsetDialog&>(model);
    QDialog window(parent);
    window.setWindowTitle(StartOffsetDialog::kCaption);
    auto* field = new QLineEdit(ToQt(dialog.text));
    field->setObjectName("offset");
    if (!ExecLineQuestion(window, new QLabel(StartOffsetDialog::kLabel), field)) return false;
    dialog.text = FromQt(field->text());
    return true;
}

}  // namespace

QV_DIALOG_WIDGET("StartOffset", RunStartOffsetDialog);

}  // namespace qv
