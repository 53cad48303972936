// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/ui/NumberEntryDialogWidget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/CaptionWidth.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/QtText.h"

namespace qv {

NumberEntryDialogWidget::NumberEntryDialogWidget(NumberEntryDialog& model, QWidget* parent)
    : QDialog(parent), model_(model)
{
    setWindowTitle(ToQt(model.Caption()));
    auto* layout = new QVBoxLayout(this);
    if (!model.label.empty()) layout->addWidget(new QLabel(ToQt(model.label)));
    number_ = new QLineEdit(ToQt(model.Text()));
    number_->setObjectName("number");
    number_->selectAll();
    layout->addWidget(number_);
    connect(number_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.ChangeText(FromQt(text)); });

    auto* choices = new QHBoxLayout;
    auto* sizeBox = new QGroupBox("Byte-Anzahl");
    auto* sizeLayout = new QVBoxLayout(sizeBox);
    auto* sizeGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        sizes_[i] = new QRadioButton;
        sizes_[i]->setObjectName(QString("size%1").arg(i));
        sizeGroup->addButton(sizes_[i], i);
        sizeLayout->addWidget(sizes_[i]);
    }
    sizes_[NumberEntryDialog::ChoiceOfSize(model.ValueSize())]->setChecked(true);
    connect(sizeGroup, &QButtonGroup::idClicked, this,
            [this](int id) { model_.ChangeValueSize(NumberEntryDialog::SizeOfChoice(id)); });
    choices->addWidget(sizeBox);

    if (model.withFormatGroup) {
        auto* formatBox = new QGroupBox("Format");
        auto* formatLayout = new QVBoxLayout(formatBox);
        auto* formatGroup = new QButtonGroup(this);
        const char* names[] = {"C/C++", "Assembler", "Texttypen", "Dump"};
        for (int i = 0; i < 4; ++i) {
            auto* button = new QRadioButton(names[i]);
            button->setObjectName(QString("format%1").arg(i));
            button->setChecked(i == model.Format());
            formatGroup->addButton(button, i);
            formatLayout->addWidget(button);
        }
        connect(formatGroup, &QButtonGroup::idClicked, this, [this](int id) {
            model_.ChangeFormat(id);
            Relabel();
        });
        choices->addWidget(formatBox);
    }
    layout->addLayout(choices);

    auto* bigEndian = new QCheckBox("Big Endian Format");
    bigEndian->setObjectName("bigEndian");
    bigEndian->setChecked(model.BigEndian());
    connect(bigEndian, &QCheckBox::toggled, this, [this](bool on) { model_.ChangeBigEndian(on); });
    layout->addWidget(bigEndian, 0, Qt::AlignLeft);  // clickable on its text only, not across the dialog

    if (model.HasPreview()) {
        preview_ = new QLineEdit;
        preview_->setObjectName("preview");
        preview_->setReadOnly(true);
        layout->addWidget(preview_);
        model_.onPreviewChanged = [this] {
            preview_->setText(ToQt(model_.PreviewText()));
            preview_->setCursorPosition(0);  // the start of the generated text, not its end
        };
        model_.StartPreview();
    }

    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Relabel();
    FitCaption(*this);

    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        if (auto position = NumberEntryDialog::PositionFor(
                {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()}))
            move(position->x, position->y);
    }
}

NumberEntryDialogWidget::~NumberEntryDialogWidget()
{
    model_.StopPreview();
    model_.onPreviewChanged = nullptr;
}

void NumberEntryDialogWidget::done(int result)
{
    // The position is kept for the next dialog of this kind, on OK and on cancel alike.
    NumberEntryDialog::RememberPosition({pos().x(), pos().y()});
    model_.StopPreview();
    QDialog::done(result);
}

void NumberEntryDialogWidget::Relabel()
{
    const auto labels = model_.SizeLabels();
    for (int i = 0; i < 4; ++i) sizes_[i]->setText(QString::fromUtf8(labels[i]));
}

namespace {

bool RunNumberEntryDialog(DialogModel& model, QWidget* parent)
{
    NumberEntryDialogWidget window(static_cast<NumberEntryDialog&>(model), parent);
    return window.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET("NumberEntry", RunNumberEntryDialog);

}  // namespace qv
