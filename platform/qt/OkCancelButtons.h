#pragma once
// The "OK" and "Abbrechen" buttons of a plain dialog, wired to accept and reject it.
#include <QDialog>
#include <QDialogButtonBox>

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

}  // namespace qv
