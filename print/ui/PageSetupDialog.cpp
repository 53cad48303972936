// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PageSetupDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "platform/Prompt.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/OkCancelButtons.h"
#include "platform/qt/QtText.h"

namespace qv {

namespace {

QLineEdit* NumberField(const std::string& text, QWidget* parent)
{
    auto* field = new QLineEdit(ToQt(text), parent);
    field->setMaximumWidth(60);
    return field;
}

}  // namespace

PageSetupDialogWidget::PageSetupDialogWidget(PageSetupDialog& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle(QString::fromUtf8(PageSetupDialog::kCaption));
    auto* layout = new QVBoxLayout(this);

    auto* texts = new QGridLayout;
    // Made in the order Tab walks through them: each text field, then its placeholder button.
    header = new QLineEdit(Utf8ToQt(model.header), this);
    headerCodes = CodesButton(header);
    footer = new QLineEdit(Utf8ToQt(model.footer), this);
    footerCodes = CodesButton(footer);
    texts->addWidget(new QLabel("Kopfzeile:", this), 0, 0);
    texts->addWidget(header, 0, 1);
    texts->addWidget(headerCodes, 0, 2);
    texts->addWidget(new QLabel("Fusszeile:", this), 1, 0);
    texts->addWidget(footer, 1, 1);
    texts->addWidget(footerCodes, 1, 2);
    for (QLineEdit* field : {header, footer}) {
        field->setMaxLength(static_cast<int>(kMaxHeaderLength));
        field->setMinimumWidth(320);
    }
    layout->addLayout(texts);

    auto* middle = new QHBoxLayout;
    auto* options = new QVBoxLayout;
    auto* lineRow = new QHBoxLayout;
    lines = NumberField(model.lines, this);
    lines->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), lines));
    lineRow->addWidget(new QLabel("Zeilen:", this));
    lineRow->addWidget(lines);
    lineRow->addStretch();
    options->addLayout(lineRow);
    wrap = new QCheckBox("Autom. Zeilenumbruch an Seitenrand", this);
    frame = new QCheckBox("Rahmen drucken", this);
    fillFrame = new QCheckBox("Rahmen füllen ", this);
    oneFont = new QCheckBox("Gleiche Schriftart", this);
    const std::pair<QCheckBox*, uint32_t> checks[] = {
        {wrap, PrintWrapLines}, {frame, PrintFrame}, {fillFrame, PrintFillFrame}, {oneFont, PrintOneFont}};
    for (const auto& [box, bit] : checks) {
        box->setChecked((model.flags & bit) != 0);
        options->addWidget(box);
    }
    middle->addLayout(options);

    auto* margins = new QGroupBox("Ränder (mm)", this);
    auto* marginForm = new QFormLayout(margins);
    top = NumberField(model.top, margins);
    bottom = NumberField(model.bottom, margins);
    left = NumberField(model.left, margins);
    right = NumberField(model.right, margins);
    marginForm->addRow("Oben", top);
    marginForm->addRow("Unten", bottom);
    marginForm->addRow("Links", left);
    marginForm->addRow("Rechts", right);
    middle->addWidget(margins);

    auto* colourGroup = new QGroupBox("Druckfarbe", this);
    auto* colourLayout = new QVBoxLayout(colourGroup);
    blackOnWhite = new QRadioButton("Schwarz/Weis", colourGroup);
    greyLevels = new QRadioButton("Graustufen", colourGroup);
    colours = new QRadioButton("Farbe", colourGroup);
    for (QRadioButton* button : {blackOnWhite, greyLevels, colours}) colourLayout->addWidget(button);
    if (model.flags & PrintBlackOnWhite)
        blackOnWhite->setChecked(true);
    else if (model.flags & PrintGreyLevels)
        greyLevels->setChecked(true);
    else if (model.flags & PrintColors)
        colours->setChecked(true);
    else
        blackOnWhite->setChecked(true);
    middle->addWidget(colourGroup);
    layout->addLayout(middle);

    auto* buttons = OkCancelButtons(*this);
    layout->addWidget(buttons);
}

QPushButton* PageSetupDialogWidget::CodesButton(QLineEdit* field)
{
    auto* button = new QPushButton(">", this);
    button->setMaximumWidth(32);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, button, field] {
        QMenu menu(this);
        for (const Placeholder& placeholder : Placeholders()) {
            QAction* action = menu.addAction(QString::fromUtf8(placeholder.menuText));
            connect(action, &QAction::triggered, field, [field, &placeholder] {
                // The model counts the caret in bytes of UTF-8, the field in UTF-16 units.
                const QString text = field->text();
                const size_t caret = static_cast<size_t>(text.left(field->cursorPosition()).toUtf8().size());
                const PlaceholderInsertion result = InsertPlaceholder(text.toStdString(), caret, placeholder);
                field->setText(Utf8ToQt(result.text));
                field->setCursorPosition(static_cast<int>(Utf8ToQt(std::string_view(result.text).substr(0, result.caret)).size()));
                field->setFocus();
            });
        }
        menu.exec(button->mapToGlobal(QPoint(0, button->height())));
    });
    return button;
}

QLineEdit* PageSetupDialogWidget::FieldOf(PageSetupDialog::Field field) const
{
    switch (field) {
    case PageSetupDialog::Field::Top: return top;
    case PageSetupDialog::Field::Bottom: return bottom;
    case PageSetupDialog::Field::Left: return left;
    case PageSetupDialog::Field::Right: return right;
    case PageSetupDialog::Field::Lines: return lines;
    }
    return lines;
}

void PageSetupDialogWidget::accept()
{
    model_.header = header->text().toStdString();
    model_.footer = footer->text().toStdString();
    model_.lines = FromQt(lines->text());
    model_.top = FromQt(top->text());
    model_.bottom = FromQt(bottom->text());
    model_.left = FromQt(left->text());
    model_.right = FromQt(right->text());
    uint32_t flags = 0;
    if (wrap->isChecked()) flags |= PrintWrapLines;
    if (frame->isChecked()) flags |= PrintFrame;
    if (fillFrame->isChecked()) flags |= PrintFillFrame;
    if (oneFont->isChecked()) flags |= PrintOneFont;
    flags |= greyLevels->isChecked() ? PrintGreyLevels : colours->isChecked() ? PrintColors : PrintBlackOnWhite;
    model_.flags = flags;
    if (std::optional<PageSetupDialog::Problem> problem = model_.Check()) {
        QMessageBox::critical(this, kProgramCaption, QString::fromUtf8(problem->message));
        QLineEdit* field = FieldOf(problem->focus);
        field->setFocus();
        field->selectAll();
        return;
    }
    QDialog::accept();
}

namespace {

bool RunPageSetupDialog(DialogModel& model, QWidget* parent)
{
    PageSetupDialogWidget dialog(static_cast<PageSetupDialog&>(model), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET("PageSetup", RunPageSetupDialog);

}  // namespace qv
