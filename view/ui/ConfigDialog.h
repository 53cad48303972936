// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Konfiguration" dialog of the hex view, bound to a ConfigDialog model.
#include <QDialog>

#include "view/HexViewConfigDialog.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace qv {

class ConfigDialogWidget : public QDialog {
    Q_OBJECT
public:
    ConfigDialogWidget(ConfigDialog& model, QWidget* parent = nullptr);

    // Reads every field into the model, lets the model correct them and shows them again.
    // False (with the message shown) when a number field holds no integer.
    bool ReadAndCorrect(ConfigDialog::Change change);

    QCheckBox* insertSpace;
    QCheckBox* extraSpaceOn;
    QLineEdit* extraSpace;
    QCheckBox* fixedWidthOn;
    QLineEdit* fixedWidth;
    QCheckBox* rasterOn;
    QLineEdit* raster;
    QCheckBox* widthRasterOn;
    QLineEdit* widthRaster;
    QLineEdit* addressDigits;
    QRadioButton* format[4];
    QRadioButton* valueSize[3];
    QCheckBox* unsignedValue;
    QCheckBox* bigEndian;
    QCheckBox* hexDistances;
    QCheckBox* invert;
    QCheckBox* selectionRaster;

    void accept() override;

private:
    void Show();
    ConfigDialog& model_;
};

}  // namespace qv
