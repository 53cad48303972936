// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt widget of "Zahlen eingabe" (NumberEntryDialog): it mirrors the model's fields and
// hands every change to the model, which decides the labels and the preview.
#include <QDialog>
#include <array>

#include "document/NumberEntryDialog.h"

class QButtonGroup;
class QLineEdit;
class QCheckBox;
class QRadioButton;

namespace qv {

class NumberEntryDialogWidget : public QDialog {
public:
    NumberEntryDialogWidget(NumberEntryDialog& model, QWidget* parent);
    ~NumberEntryDialogWidget() override;

    void done(int result) override;

private:
    void Relabel();

    NumberEntryDialog& model_;
    QLineEdit* number_;
    QLineEdit* preview_ = nullptr;
    std::array<QRadioButton*, 4> sizes_{};
};

}  // namespace qv
