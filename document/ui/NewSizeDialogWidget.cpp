// The Qt widget of the dialog "Neuer Hexbereich".
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "common/CodePage.h"
#include "document/NewSizeDialog.h"
#include "platform/qt/DialogRegistry.h"

namespace qv {
namespace {

bool RunNewSizeDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<NewSizeDialog&>(model);
    QDialog window(parent);
    window.setWindowTitle("Neuer Hexbereich");
    auto* size = new QLineEdit(QString::fromStdString(Cp1252ToUtf8(dialog.sizeText)));
    size->selectAll();
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    auto* layout = new QFormLayout(&window);
    layout->addRow("Speichergröße :", size);
    layout->addRow(buttons);
    if (window.exec() != QDialog::Accepted) return false;
    dialog.sizeText = Utf8ToCp1252(size->text().toStdString());
    return true;
}

}  // namespace

QV_DIALOG_WIDGET(NewSizeDialog::kName, RunNewSizeDialog);

}  // namespace qv
