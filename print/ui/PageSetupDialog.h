// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Seite einrichten" dialog bound to a PageSetupDialog model.
#include <QDialog>

#include "print/PageSetupDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv {

class PageSetupDialogWidget : public QDialog {
    Q_OBJECT
public:
    PageSetupDialogWidget(PageSetupDialog& model, QWidget* parent = nullptr);
    void accept() override;

    QLineEdit* header;
    QLineEdit* footer;
    QPushButton* headerCodes;
    QPushButton* footerCodes;
    QLineEdit* lines;
    QCheckBox* wrap;
    QCheckBox* frame;
    QCheckBox* fillFrame;
    QCheckBox* oneFont;
    QLineEdit* top;
    QLineEdit* bottom;
    QLineEdit* left;
    QLineEdit* right;
    QRadioButton* blackOnWhite;
    QRadioButton* greyLevels;
    QRadioButton* colours;

private:
    QPushButton* CodesButton(QLineEdit* field);
    QLineEdit* FieldOf(PageSetupDialog::Field field) const;

    PageSetupDialog& model_;
};

}  // namespace qv
