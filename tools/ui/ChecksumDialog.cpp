// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the dialog "Checksumme" and command 32799 (F5).
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "platform/qt/DialogRegistry.h"
#include "tools/ChecksumDialogModel.h"
#include "tools/ChecksumTool.h"
#include "tools/ui/ChecksumToolDialogs.h"
#include "view/HexView.h"

namespace qv {
namespace {

constexpr int kChecksumCommand = 32799;

// Where the dialog was last closed while the program runs.
std::optional<QPoint> lastPlace;

bool RunChecksumDialog(DialogModel& base, QWidget* parent)
{
    auto& model = static_cast<ChecksumDialogModel&>(base);
    QDialog window(parent);
    window.setObjectName("ChecksumDialog");
    window.setWindowTitle("Checksumme");
    auto* grid = new QGridLayout(&window);
    for (int column = 0; column < ChecksumDialogModel::kColumns; ++column)
        grid->addWidget(new QLabel(ChecksumDialogModel::ColumnLabel(column)), 0, column + 1);
    QLineEdit* fields[ChecksumDialogModel::kRows][ChecksumDialogModel::kColumns];
    for (int row = 0; row < ChecksumDialogModel::kRows; ++row) {
        grid->addWidget(new QLabel(ChecksumDialogModel::RowLabel(row)), row + 1, 0);
        for (int column = 0; column < ChecksumDialogModel::kColumns; ++column) {
            fields[row][column] = MakeToolResultField();
            fields[row][column]->setObjectName(QString("field%1%2").arg(row).arg(column));
            grid->addWidget(fields[row][column], row + 1, column + 1);
        }
    }
    auto show = [&] {
        for (int row = 0; row < ChecksumDialogModel::kRows; ++row)
            for (int column = 0; column < ChecksumDialogModel::kColumns; ++column)
                fields[row][column]->setText(QString::fromStdString(model.FieldText(row, column)));
    };
    auto* bigEndian = new QCheckBox("Big Endian");
    bigEndian->setChecked(model.BigEndian());
    QObject::connect(bigEndian, &QCheckBox::toggled, &window, [&](bool on) {
        model.SetBigEndian(on);
        show();
    });
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    grid->addWidget(bigEndian, ChecksumDialogModel::kRows + 1, 1);
    grid->addWidget(buttons, ChecksumDialogModel::kRows + 1, 2, 1, 2);
    show();
    ok->setFocus();
    PlaceToolDialog(window, lastPlace);
    const bool accepted = window.exec() == QDialog::Accepted;
    lastPlace = window.pos();
    return accepted;
}

void ExecuteChecksum(AppContext& context)
{
    if (!context.view || !context.dialogs) return;
    RunChecksumTool(ToolInputOfView(*context.view), *context.dialogs, TasksOf(context));
}

CommandState ChecksumState(AppContext& context)
{
    return {context.view != nullptr, false};
}

}  // namespace

QV_DIALOG_WIDGET("Checksum", RunChecksumDialog);
QV_GUI_COMMAND(kChecksumCommand, ExecuteChecksum, ChecksumState);

}  // namespace qv
