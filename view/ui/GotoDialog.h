// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Cursor setzen" dialog bound to a GotoDialog model.
#include <QDialog>

#include "view/HexViewGotoDialog.h"

class QComboBox;

namespace qv {

class GotoDialogWidget : public QDialog {
    Q_OBJECT
public:
    GotoDialogWidget(GotoDialog& model, QWidget* parent = nullptr);
    QComboBox* address;
    void accept() override;

private:
    GotoDialog& model_;
};

}  // namespace qv
