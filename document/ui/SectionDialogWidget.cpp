// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of "Abschnitt einblenden": the field that is not typed follows the others.
#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QSignalBlocker>

#include "document/SectionDialog.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"
#include "platform/qt/QtText.h"

namespace qv {
namespace {

bool RunSectionDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<SectionDialog&>(model);
    QDialog window(parent);
    window.setWindowTitle("Abschnitt einblenden");
    auto* address = new QLineEdit(ToQt(dialog.AddressText()));
    auto* length = new QLineEdit(ToQt(dialog.LengthText()));
    auto* end = new QLineEdit(ToQt(dialog.EndText()));
    auto* typed = new QCheckBox("Endaddresse eingeben");
    typed->setChecked(dialog.LengthTyped());
    address->setObjectName("address");
    length->setObjectName("length");
    end->setObjectName("end");
    typed->setObjectName("lengthTyped");

    // Writes the model's texts back into the fields without echoing them as user changes.
    auto show = [&] {
        const QSignalBlocker blockLength(length);
        const QSignalBlocker blockEnd(end);
        if (length->text() != ToQt(dialog.LengthText())) length->setText(ToQt(dialog.LengthText()));
        if (end->text() != ToQt(dialog.EndText())) end->setText(ToQt(dialog.EndText()));
        length->setEnabled(dialog.LengthTyped());
        end->setEnabled(!dialog.LengthTyped());
    };
    QObject::connect(address, &QLineEdit::textEdited, [&](const QString& text) {
        dialog.ChangeAddress(FromQt(text));
        show();
    });
    QObject::connect(length, &QLineEdit::textEdited, [&](const QString& text) {
        dialog.ChangeLength(FromQt(text));
        show();
    });
    QObject::connect(end, &QLineEdit::textEdited, [&](const QString& text) {
        dialog.ChangeEnd(FromQt(text));
        show();
    });
    QObject::connect(typed, &QCheckBox::toggled, [&](bool checked) {
        dialog.ChangeLengthTyped(checked);
        show();
    });
    show();

    auto* buttons = OkCancelButtons(window);
    auto* layout = new QFormLayout(&window);
    layout->addRow("Adresse :", address);
    layout->addRow("Länge :", length);
    layout->addRow("Endadresse :", end);
    layout->addRow(typed);
    layout->addRow(buttons);
    FitCaption(window);
    return window.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET(SectionDialog::kName, RunSectionDialog);

}  // namespace qv
