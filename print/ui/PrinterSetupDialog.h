// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Druckereinrichtung": chooses the printer (or a PDF file), the paper and its orientation
// for the prints to come. It prints nothing and writes no file.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace qv {

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(QPrinter& printer, QWidget* parent = nullptr);
    void accept() override;

    QComboBox* printerChoice;  // the installed printers, then the PDF file
    QLineEdit* pdfFile;
    QPushButton* browse;
    QComboBox* paper;
    QRadioButton* portrait;
    QRadioButton* landscape;

private:
    bool PdfChosen() const;
    void UpdateFileField();

    QPrinter& printer_;
};

}  // namespace qv
