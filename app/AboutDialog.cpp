// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Info über Quarnival");
    auto* icon = new QLabel;
    icon->setPixmap(QIcon(":/icons/quarnival-48.png").pixmap(32, 32));
    auto* text = new QLabel(QString("Quarnival, Version ") + QV_VERSION +
                            "\n\nFreie Software unter der GNU General Public License, Version 3 oder später"
                            " (GPL-3.0-or-later).\nEs gibt KEINERLEI GARANTIE, soweit das Gesetz es zulässt.");
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

}  // namespace qv
