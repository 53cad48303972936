// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt widget of the dialog "Wert suchen", bound to a SearchDialogModel.
#include <QDialog>

#include "search/SearchDialogModel.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qv {

class SearchDialog : public QDialog {
    Q_OBJECT
public:
    SearchDialog(SearchDialogModel& model, QWidget* parent = nullptr);

    // Shows it modally where it was last closed; true for OK and "Weitersuchen".
    bool Run();

private:
    void Build();
    void Connect();
    // Puts the model's state into every control, and the enabling rules.
    void Refresh();
    void Close(bool searchAgain);

    SearchDialogModel& model_;
    QComboBox* value_ = nullptr;
    QButtonGroup* kinds_ = nullptr;
    QButtonGroup* widths_ = nullptr;
    QRadioButton* backward_ = nullptr;
    QRadioButton* forward_ = nullptr;
    QCheckBox* inSelection_ = nullptr;
    QCheckBox* wholeMemory_ = nullptr;
    QCheckBox* ignoreCase_ = nullptr;
    QCheckBox* group_ = nullptr;
    QCheckBox* ordered_ = nullptr;
    QCheckBox* fromStart_ = nullptr;
    QCheckBox* unicode_ = nullptr;
    QCheckBox* bigEndian_ = nullptr;
    QLineEdit* range_ = nullptr;
    QWidget* groupPart_ = nullptr;
    QListWidget* lines_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* removeAll_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* again_ = nullptr;
};

}  // namespace qv
