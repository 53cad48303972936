// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "OK" and "Abbrechen" buttons of a plain dialog, wired to accept and reject it.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/qt/CaptionWidth.h"

namespace qv {

inline QDialogButtonBox* OkCancelButtons(QDialog& window)
{
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    return buttons;
}

// Selects a field's whole text with the caret at its start, so that a text longer than the
// field shows its beginning.
inline void SelectAllFromStart(QLineEdit* field)
{
    const int length = static_cast<int>(field->text().size());
    field->setSelection(length, -length);
}

// A one-line question: the prompt over the field with its text selected, then the buttons.
// True when the user confirmed it.
inline bool ExecLineQuestion(QDialog& window, QWidget* prompt, QLineEdit* field)
{
    SelectAllFromStart(field);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(prompt);
    layout->addWidget(field);
    layout->addWidget(OkCancelButtons(window));
    FitCaption(window);
    return window.exec() == QDialog::Accepted;
}

}  // namespace qv
