// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PrinterSetupDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/Prompt.h"
#include "platform/qt/OkCancelButtons.h"

namespace qv {

namespace {

constexpr const char* kPdfChoice = "PDF-Datei";
constexpr QPageSize::PageSizeId kPapers[] = {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::Letter,
                                             QPageSize::Legal};

}  // namespace

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent) : QDialog(parent), printer_(printer)
{
    setWindowTitle("Druckereinrichtung");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;

    printerChoice = new QComboBox(this);
    printerChoice->addItems(QPrinterInfo::availablePrinterNames());
    printerChoice->addItem(kPdfChoice);
    const bool toPdf = printer.outputFormat() == QPrinter::PdfFormat;
    const int current = toPdf ? printerChoice->count() - 1 : printerChoice->findText(printer.printerName());
    printerChoice->setCurrentIndex(current >= 0 ? current : 0);
    form->addRow("Drucker:", printerChoice);

    auto* fileRow = new QHBoxLayout;
    pdfFile = new QLineEdit(printer.outputFileName(), this);
    pdfFile->setMinimumWidth(280);
    browse = new QPushButton("...", this);
    browse->setAutoDefault(false);
    browse->setMaximumWidth(40);
    fileRow->addWidget(pdfFile);
    fileRow->addWidget(browse);
    form->addRow("Datei:", fileRow);

    paper = new QComboBox(this);
    for (QPageSize::PageSizeId id : kPapers) {
        paper->addItem(QPageSize::name(id), static_cast<int>(id));
        if (printer.pageLayout().pageSize().id() == id) paper->setCurrentIndex(paper->count() - 1);
    }
    form->addRow("Papier:", paper);
    layout->addLayout(form);

    auto* orientation = new QGroupBox("Ausrichtung", this);
    auto* orientationLayout = new QHBoxLayout(orientation);
    portrait = new QRadioButton("Hochformat", orientation);
    landscape = new QRadioButton("Querformat", orientation);
    orientationLayout->addWidget(portrait);
    orientationLayout->addWidget(landscape);
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? landscape : portrait)->setChecked(true);
    layout->addWidget(orientation);

    auto* buttons = OkCancelButtons(*this);
    layout->addWidget(buttons);

    connect(printerChoice, &QComboBox::currentIndexChanged, this, [this] { UpdateFileField(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        // Only a name is chosen here: whether an existing file may be replaced is asked
        // when a print is about to write it.
        const QString chosen = QFileDialog::getSaveFileName(this, "PDF-Datei wählen", pdfFile->text(),
                                                            "PDF-Dateien (*.pdf)", nullptr,
                                                            QFileDialog::DontConfirmOverwrite);
        if (!chosen.isEmpty()) pdfFile->setText(chosen);
    });
    UpdateFileField();
}

bool PrinterSetupDialog::PdfChosen() const
{
    return printerChoice->currentIndex() == printerChoice->count() - 1;
}

void PrinterSetupDialog::UpdateFileField()
{
    pdfFile->setEnabled(PdfChosen());
    browse->setEnabled(PdfChosen());
}

void PrinterSetupDialog::accept()
{
    if (PdfChosen() && pdfFile->text().trimmed().isEmpty()) {
        QMessageBox::warning(this, kProgramCaption, "Bitte den Namen der PDF-Datei angeben, in die gedruckt wird.");
        pdfFile->setFocus();
        return;
    }
    if (PdfChosen()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(pdfFile->text().trimmed());
    } else {
        printer_.setOutputFormat(QPrinter::NativeFormat);
        printer_.setOutputFileName(QString());
        printer_.setPrinterName(printerChoice->currentText());
    }
    printer_.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper->currentData().toInt())));
    printer_.setPageOrientation(landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QDialog::accept();
}

}  // namespace qv
