// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/ConfigDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "platform/Prompt.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"

namespace qv {

namespace {

// Digits only; the dialog itself keeps the values in range.
QLineEdit* NumberField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), field));
    field->setMaximumWidth(60);
    return field;
}

// A number field that reports when it loses the focus.
class FocusWatcher : public QObject {
public:
    FocusWatcher(QObject* parent, std::function<void()> onLeave) : QObject(parent), onLeave_(std::move(onLeave)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) onLeave_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onLeave_;
};

QHBoxLayout* CheckWithNumber(QCheckBox* check, QLineEdit* number, const QString& after)
{
    auto* row = new QHBoxLayout;
    row->addWidget(check);
    row->addWidget(number);
    row->addWidget(new QLabel(after));
    row->addStretch();
    return row;
}

}  // namespace

ConfigDialogWidget::ConfigDialogWidget(ConfigDialog& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle("Konfiguration");
    auto* display = new QGroupBox("Anzeigefromat", this);
    auto* displayLayout = new QVBoxLayout(display);
    insertSpace = new QCheckBox("Ein Leerzeichen zwischen den Werten", display);
    displayLayout->addWidget(insertSpace);
    extraSpaceOn = new QCheckBox("Ein extra Leerzeichen alle ", display);
    extraSpace = NumberField(display);
    displayLayout->addLayout(CheckWithNumber(extraSpaceOn, extraSpace, "Bytes"));
    fixedWidthOn = new QCheckBox("Fixe Breite von ", display);
    fixedWidth = NumberField(display);
    displayLayout->addLayout(CheckWithNumber(fixedWidthOn, fixedWidth, "Bytes"));
    rasterOn = new QCheckBox("Adresse einrasten alle ", display);
    raster = NumberField(display);
    displayLayout->addLayout(CheckWithNumber(rasterOn, raster, "Bytes"));
    widthRasterOn = new QCheckBox("Breiten Raster", display);
    widthRaster = NumberField(display);
    displayLayout->addLayout(CheckWithNumber(widthRasterOn, widthRaster, "Bytes"));
    addressDigits = new QLineEdit(display);
    addressDigits->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,6}"), addressDigits));
    addressDigits->setMaximumWidth(60);
    auto* digitsRow = new QHBoxLayout;
    digitsRow->addWidget(new QLabel("Adressenziffern Anzahl"));
    digitsRow->addWidget(addressDigits);
    digitsRow->addStretch();
    displayLayout->addLayout(digitsRow);

    auto* output = new QGroupBox("Ausgabeformat", this);
    auto* outputLayout = new QVBoxLayout(output);
    const char* formats[4] = {"Byte", "Word", "DWord", "QWord"};
    for (int i = 0; i < 4; ++i) outputLayout->addWidget(format[i] = new QRadioButton(formats[i], output));

    auto* value = new QGroupBox("Wertanzeige", this);
    auto* valueLayout = new QVBoxLayout(value);
    for (int i = 0; i < 3; ++i) valueLayout->addWidget(valueSize[i] = new QRadioButton(formats[i], value));

    auto* misc = new QGroupBox("Diverses", this);
    auto* miscLayout = new QVBoxLayout(misc);
    miscLayout->addWidget(unsignedValue = new QCheckBox("Als positive Zahlen anzeigen", misc));
    miscLayout->addWidget(bigEndian = new QCheckBox("Big Edinan Format", misc));
    miscLayout->addWidget(hexDistances = new QCheckBox("Hexadezimale Distanzen ", misc));
    miscLayout->addWidget(invert = new QCheckBox("Byte-Reihenfolge invertieren", misc));
    miscLayout->addWidget(selectionRaster = new QCheckBox("Auswahl auf Ausgabeformat rastern", misc));

    auto* buttons = OkCancelButtons(*this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(display, 0, 0, 1, 2);
    grid->addWidget(output, 1, 0);
    grid->addWidget(value, 1, 1);
    grid->addWidget(misc, 2, 0, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 2);

    using Change = ConfigDialog::Change;
    for (int i = 0; i < 4; ++i)
        connect(format[i], &QRadioButton::clicked, this, [this] { ReadAndCorrect(Change::OutputFormat); });
    connect(extraSpaceOn, &QCheckBox::clicked, this, [this] { ReadAndCorrect(Change::ExtraSpaceCheck); });
    connect(fixedWidthOn, &QCheckBox::clicked, this, [this] { ReadAndCorrect(Change::FixedWidthCheck); });
    connect(rasterOn, &QCheckBox::clicked, this, [this] { ReadAndCorrect(Change::RasterCheck); });
    connect(widthRasterOn, &QCheckBox::clicked, this, [this] { ReadAndCorrect(Change::WidthRasterCheck); });
    for (QLineEdit* field : {extraSpace, fixedWidth, raster, widthRaster, addressDigits})
        field->installEventFilter(new FocusWatcher(field, [this] { ReadAndCorrect(Change::NumberField); }));
    Show();
}

void ConfigDialogWidget::Show()
{
    insertSpace->setChecked(model_.insertSpace);
    extraSpaceOn->setChecked(model_.extraSpaceOn);
    extraSpace->setText(QString::number(model_.extraSpace));
    fixedWidthOn->setChecked(model_.fixedWidthOn);
    fixedWidth->setText(QString::number(model_.fixedWidth));
    rasterOn->setChecked(model_.rasterOn);
    raster->setText(QString::number(model_.raster));
    widthRasterOn->setChecked(model_.widthRasterOn);
    widthRaster->setText(QString::number(model_.widthRaster));
    addressDigits->setText(QString::number(model_.addressDigits));
    format[std::clamp(model_.outputFormat, 0, 3)]->setChecked(true);
    valueSize[std::clamp(model_.valueSize, 0, 2)]->setChecked(true);
    unsignedValue->setChecked(model_.unsignedValue);
    bigEndian->setChecked(model_.bigEndian);
    hexDistances->setChecked(model_.hexDistances);
    invert->setChecked(model_.invert);
    selectionRaster->setChecked(model_.selectionRaster);

    extraSpace->setEnabled(model_.ExtraSpaceEnabled());
    fixedWidth->setEnabled(model_.FixedWidthEnabled());
    raster->setEnabled(model_.RasterEnabled());
    widthRaster->setEnabled(model_.WidthRasterEnabled());
    invert->setEnabled(model_.InvertEnabled());
    selectionRaster->setEnabled(model_.SelectionRasterEnabled());
}

bool ConfigDialogWidget::ReadAndCorrect(ConfigDialog::Change change)
{
    bool ok = true;
    auto number = [&ok](QLineEdit* field, int32_t& target) {
        bool valid = false;
        const int value = field->text().toInt(&valid);
        if (valid)
            target = value;
        else
            ok = false;
    };
    model_.insertSpace = insertSpace->isChecked();
    model_.extraSpaceOn = extraSpaceOn->isChecked();
    model_.fixedWidthOn = fixedWidthOn->isChecked();
    model_.rasterOn = rasterOn->isChecked();
    model_.widthRasterOn = widthRasterOn->isChecked();
    number(extraSpace, model_.extraSpace);
    number(fixedWidth, model_.fixedWidth);
    number(raster, model_.raster);
    number(widthRaster, model_.widthRaster);
    number(addressDigits, model_.addressDigits);
    for (int i = 0; i < 4; ++i)
        if (format[i]->isChecked()) model_.outputFormat = i;
    for (int i = 0; i < 3; ++i)
        if (valueSize[i]->isChecked()) model_.valueSize = i;
    model_.unsignedValue = unsignedValue->isChecked();
    model_.bigEndian = bigEndian->isChecked();
    model_.hexDistances = hexDistances->isChecked();
    model_.invert = invert->isChecked();
    model_.selectionRaster = selectionRaster->isChecked();
    model_.Correct(change);
    Show();
    if (!ok) QMessageBox::information(this, kProgramCaption, "Geben Sie bitte eine ganze Zahl ein.");
    return ok;
}

void ConfigDialogWidget::accept()
{
    if (ReadAndCorrect(ConfigDialog::Change::NumberField)) QDialog::accept();
}

namespace {

bool RunConfigDialog(DialogModel& model, QWidget* parent)
{
    ConfigDialogWidget dialog(static_cast<ConfigDialog&>(model), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET("HexConfig", RunConfigDialog);

}  // namespace qv
