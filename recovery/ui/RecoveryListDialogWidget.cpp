// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the list of recoverable documents shown at a start without a file.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/DialogRegistry.h"
#include "platform/qt/QtText.h"
#include "recovery/RecoveryListDialog.h"

namespace qv {
namespace {

bool RunRecoveryListDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<RecoveryListDialog&>(model);
    QDialog window(parent);
    window.setWindowTitle("Wiederherstellen");
    auto* intro = new QLabel("Von diesen Dokumenten gibt es ungesicherte Änderungen:");
    auto* list = new QListWidget;
    list->setObjectName("journals");
    // Paths are the file system's UTF-8 names.
    for (const auto& entry : dialog.Entries()) list->addItem(Utf8ToQt(entry.text));
    list->setCurrentRow(dialog.Selected());
    list->setMinimumWidth(list->sizeHintForColumn(0) + 40);

    auto* buttons = new QDialogButtonBox;
    QPushButton* restore = buttons->addButton("Wiederherstellen", QDialogButtonBox::AcceptRole);
    QPushButton* remove = buttons->addButton("Löschen", QDialogButtonBox::DestructiveRole);
    buttons->addButton("Später", QDialogButtonBox::RejectRole);
    restore->setDefault(true);
    QObject::connect(list, &QListWidget::currentRowChanged, [&](int row) { dialog.Select(row); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    QObject::connect(remove, &QPushButton::clicked, [&] {
        const int row = dialog.Selected();
        if (!dialog.DeleteSelected()) return;
        delete list->takeItem(row);
        if (dialog.Entries().empty()) window.reject();
        list->setCurrentRow(dialog.Selected());
        // Return then restores, as at the start, instead of deleting the next entry.
        list->setFocus();
    });

    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(intro);
    layout->addWidget(list);
    layout->addWidget(buttons);
    return window.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET(RecoveryListDialog::kName, RunRecoveryListDialog);

}  // namespace qv
