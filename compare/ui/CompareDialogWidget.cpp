// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the "Dateien vergleichen" dialog.
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "compare/CompareDialog.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"
#include "platform/qt/QtText.h"

namespace qv {
namespace {

QLineEdit* Field(const QString& text, const char* name)
{
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    return field;
}

bool RunCompareDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<CompareDialog&>(model);
    QDialog window(parent);
    window.setWindowTitle(CompareDialog::kCaption);
    QLineEdit* path = Field(QString::fromStdString(dialog.path), "path");
    path->setMinimumWidth(path->fontMetrics().averageCharWidth() * 60);
    auto* browse = new QPushButton(CompareDialog::kBrowseLabel);
    browse->setObjectName("browse");
    // Return means OK, also right after browsing: the button keeps the focus then.
    browse->setAutoDefault(false);
    QObject::connect(browse, &QPushButton::clicked, &window, [&window, path] {
        const QString chosen = QFileDialog::getOpenFileName(&window, "Vergleichen mit", path->text(), "Alle Dateien (*)");
        if (!chosen.isEmpty()) path->setText(chosen);
        path->setFocus();
    });
    QLineEdit* left = Field(ToQt(dialog.leftStart), "leftStart");
    QLineEdit* right = Field(ToQt(dialog.rightStart), "rightStart");

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path);
    pathRow->addWidget(browse);
    auto* form = new QFormLayout(&window);
    auto* pathLabel = new QLabel(CompareDialog::kPathLabel);
    pathLabel->setBuddy(path);
    form->addRow(pathLabel, pathRow);
    form->addRow(CompareDialog::kLeftLabel, left);
    form->addRow(CompareDialog::kRightLabel, right);
    QDialogButtonBox* buttons = OkCancelButtons(window);
    form->addRow(buttons);
    // OK keeps the dialog open while a field is wrong, and says which.
    QObject::disconnect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, [&] {
        dialog.path = path->text().toStdString();
        dialog.leftStart = FromQt(left->text());
        dialog.rightStart = FromQt(right->text());
        if (auto problem = dialog.Problem())
            QMessageBox::warning(&window, "Quarnival", QString::fromStdString(*problem));
        else
            window.accept();
    });
    path->setFocus();
    return window.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET(CompareDialog::kName, RunCompareDialog);

}  // namespace qv
