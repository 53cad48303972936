// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the dialog "Hashwerte": one read-only, selectable line per algorithm,
// "Alle kopieren" and "OK".
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "analysis/HashTool.h"
#include "platform/qt/DialogRegistry.h"
#include "tools/ui/ChecksumToolDialogs.h"

namespace qv {
namespace {

// Where the dialog was last closed while the program runs.
std::optional<QPoint> lastPlace;

bool RunHashDialog(DialogModel& base, QWidget* parent)
{
    auto& model = static_cast<HashDialogModel&>(base);
    QDialog window(parent);
    window.setObjectName("HashDialog");
    window.setWindowTitle("Hashwerte");
    auto* grid = new QGridLayout(&window);
    grid->addWidget(new QLabel("Bereich :"), 0, 0);
    grid->addWidget(new QLabel(QString::fromStdString(model.rangeText)), 0, 1);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontMetrics metrics(fixed);
    int row = 1;
    for (const HashAlgorithmInfo& info : HashAlgorithms()) {
        grid->addWidget(new QLabel(QString(info.label) + " :"), row, 0);
        QLineEdit* field = MakeToolResultField();
        field->setObjectName(info.name);
        field->setFont(fixed);
        const QString digest = QString::fromStdString(model.digests[static_cast<size_t>(info.algorithm)]);
        field->setText(digest);
        field->setCursorPosition(0);
        // Room for the longest digest (128 digits) would make the dialog wider than most
        // screens: the field scrolls, and its text is selected and copied whole.
        field->setMinimumWidth(metrics.horizontalAdvance(QString(64, '0')) + 12);
        grid->addWidget(field, row++, 1);
    }
    auto* buttons = new QDialogButtonBox;
    QPushButton* copy = buttons->addButton("Alle kopieren", QDialogButtonBox::ActionRole);
    QObject::connect(copy, &QPushButton::clicked, &window,
                     [&model] { QApplication::clipboard()->setText(QString::fromStdString(model.AllLines())); });
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    grid->addWidget(buttons, row, 0, 1, 2);
    ok->setFocus();
    PlaceToolDialog(window, lastPlace);
    const bool accepted = window.exec() == QDialog::Accepted;
    lastPlace = window.pos();
    return accepted;
}

}  // namespace

QV_DIALOG_WIDGET("Hashes", RunHashDialog);

}  // namespace qv
