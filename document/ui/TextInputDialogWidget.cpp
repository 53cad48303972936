// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of a one-line text question (TextInputDialog).
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include "document/TextInputDialog.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"
#include "platform/qt/QtText.h"

namespace qv {
namespace {

bool RunTextInputDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<TextInputDialog&>(model);
    QDialog window(parent);
    window.setWindowTitle(QString::fromStdString(dialog.caption));
    auto* prompt = new QLabel(QString::fromStdString(dialog.prompt));
    prompt->setWordWrap(true);
    auto* field = new QLineEdit(ToQt(dialog.text));
    field->setObjectName("text");
    field->setMaxLength(static_cast<int>(dialog.maxLength));
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 90);
    if (!ExecLineQuestion(window, prompt, field)) return false;
    dialog.text = FromQt(field->text());
    return true;
}

}  // namespace

QV_DIALOG_WIDGET(TextInputDialog::kName, RunTextInputDialog);

}  // namespace qv
