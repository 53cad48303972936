// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/GotoDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"
#include "platform/qt/EditableCombo.h"
#include "platform/qt/QtText.h"

namespace qv {

GotoDialogWidget::GotoDialogWidget(GotoDialog& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle(QString::fromUtf8(GotoDialog::kCaption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(GotoDialog::kPrompt), this));
    address = new QComboBox(this);
    SetEditableKeepingText(address);
    for (size_t i = 0; i < model.history.Count(); ++i) address->addItem(ToQt(*model.history.Get(i)));
    address->setEditText(ToQt(model.text));
    address->lineEdit()->selectAll();
    layout->addWidget(address);
    auto* buttons = OkCancelButtons(*this);
    layout->addWidget(buttons);
}

void GotoDialogWidget::accept()
{
    model_.text = FromQt(address->currentText());
    QDialog::accept();
}

namespace {

bool RunGotoDialog(DialogModel& model, QWidget* parent)
{
    GotoDialogWidget dialog(static_cast<GotoDialog&>(model), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET("Goto", RunGotoDialog);

}  // namespace qv
