// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/ColorDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/DialogRegistry.h"
#include "view/ui/FontResolver.h"
#include "platform/qt/QtText.h"
#include "view/ColorPalette.h"

namespace qv {

namespace {

constexpr int kPaletteListHeight = 126;
constexpr int kPaletteRows = (kPaletteSize + kPaletteColumns - 1) / kPaletteColumns;
constexpr int kCustomColorCount = 16;

}  // namespace

// ---- Swatch grid ----

ColorSwatchGrid::ColorSwatchGrid(int listHeight, const QColor& systemColor, QWidget* parent)
    : QWidget(parent), swatch_(PaletteSwatchSize(listHeight)), systemColor_(systemColor)
{
    // whole swatches only
    setFixedSize(swatch_ * kPaletteColumns, swatch_ * kPaletteRows);
}

void ColorSwatchGrid::SetHighlighted(int swatch)
{
    highlighted_ = swatch;
    update();
}

int ColorSwatchGrid::SwatchAt(const QPoint& at) const
{
    if (at.x() < 0 || at.y() < 0) return -1;
    int column = at.x() / swatch_;
    int row = at.y() / swatch_;
    if (column >= kPaletteColumns || row >= kPaletteRows) return -1;
    int swatch = row * kPaletteColumns + column;
    return swatch < kPaletteSize ? swatch : -1;
}

void ColorSwatchGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    for (int swatch = 0; swatch < kPaletteSize; ++swatch) {
        QRect cell((swatch % kPaletteColumns) * swatch_, (swatch / kPaletteColumns) * swatch_, swatch_, swatch_);
        QRect inner = cell.adjusted(2, 2, -2, -2);
        painter.fillRect(inner, ToQColor(kColorPalette[static_cast<size_t>(swatch)], systemColor_));
        if (swatch == 0) {
            // the system colour, crossed
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawLine(inner.topLeft(), inner.bottomRight());
            painter.drawLine(inner.topRight(), inner.bottomLeft());
        }
        if (swatch == highlighted_) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(cell.adjusted(1, 1, -1, -1));
        }
    }
}

void ColorSwatchGrid::mousePressEvent(QMouseEvent* event)
{
    int swatch = SwatchAt(event->position().toPoint());
    if (swatch >= 0) emit SwatchPicked(swatch);
}

// ---- Preview ----

ColorPreview::ColorPreview(const ColorDialogModel& model, const std::array<QFont, 8>& fonts, QWidget* parent)
    : QWidget(parent), model_(model), fonts_(fonts)
{
    setMinimumSize(160, 48);
}

void ColorPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ColorEntry& entry = model_.SelectedEntry();
    painter.fillRect(rect(), ToQColor(entry.background, palette().color(QPalette::Base)));
    painter.setFont(fonts_[static_cast<size_t>(FontVariantOfStyle(entry.fontStyle))]);
    painter.setPen(ToQColor(entry.text, palette().color(QPalette::Text)));
    painter.drawText(rect(), Qt::AlignCenter, QString::fromLatin1(ColorDialogModel::kPreviewText));
}

// ---- Dialog ----

ColorDialog::ColorDialog(ColorDialogModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle(QString::fromUtf8(ColorDialogModel::kCaption));
    for (int v = 0; v < kFontVariantCount; ++v) {
        FontSpec spec = model_.Font();
        spec.style = FontFixedPitch | static_cast<uint32_t>(v);
        std::optional<QFont> font = ResolveFont(spec);
        if (!font) {
            spec.SetFaceName("");
            font = ResolveFont(spec);
        }
        fonts_[static_cast<size_t>(v)] = font.value_or(QFont());
    }

    list_ = new QListWidget;
    for (int32_t position : model_.SortedPositions()) {
        auto* item = new QListWidgetItem(ToQt(model_.Table().At(position).name));
        item->setData(Qt::UserRole, position);
        list_->addItem(item);
    }
    bold_ = new QCheckBox(QString::fromUtf8("Fett"));
    italic_ = new QCheckBox(QString::fromUtf8("Kursiv"));
    underline_ = new QCheckBox(QString::fromUtf8("Unterstreichen"));
    filter_ = new QCheckBox(QString::fromUtf8("Nur für aktelles Format"));
    filter_->setEnabled(model_.FilterAvailable());
    preview_ = new ColorPreview(model_, fonts_);

    backgroundGrid_ = new ColorSwatchGrid(kPaletteListHeight, palette().color(QPalette::Base));
    textGrid_ = new ColorSwatchGrid(kPaletteListHeight, palette().color(QPalette::Text));
    auto* defineBackground = new QPushButton(QString::fromUtf8("Farbe defienieren"));
    auto* defineText = new QPushButton(QString::fromUtf8("Farbe definieren"));

    auto* backgroundBox = new QGroupBox(QString::fromUtf8("Hintergrundfarbe"));
    auto* backgroundLayout = new QVBoxLayout(backgroundBox);
    backgroundLayout->addWidget(backgroundGrid_);
    backgroundLayout->addWidget(defineBackground);
    auto* textBox = new QGroupBox(QString::fromUtf8("Textfarbe"));
    auto* textLayout = new QVBoxLayout(textBox);
    textLayout->addWidget(textGrid_);
    textLayout->addWidget(defineText);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QString::fromUtf8("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("Abbrechen"), QDialogButtonBox::RejectRole);

    auto* layout = new QGridLayout(this);
    layout->addWidget(list_, 0, 0, 5, 1);
    layout->addWidget(bold_, 0, 1);
    layout->addWidget(italic_, 1, 1);
    layout->addWidget(underline_, 2, 1);
    layout->addWidget(filter_, 3, 1);
    layout->addWidget(preview_, 4, 1);
    layout->addWidget(backgroundBox, 5, 0);
    layout->addWidget(textBox, 5, 1);
    layout->addWidget(buttons, 6, 0, 1, 2);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (QListWidgetItem* item = list_->item(row)) model_.Select(item->data(Qt::UserRole).toInt());
        ShowSelected();
    });
    for (QCheckBox* box : {bold_, italic_, underline_}) connect(box, &QCheckBox::clicked, this, &ColorDialog::StyleClicked);
    connect(backgroundGrid_, &ColorSwatchGrid::SwatchPicked, this, [this](int swatch) {
        model_.PickSwatch(true, swatch);
        ShowSelected();
    });
    connect(textGrid_, &ColorSwatchGrid::SwatchPicked, this, [this](int swatch) {
        model_.PickSwatch(false, swatch);
        ShowSelected();
    });
    connect(defineBackground, &QPushButton::clicked, this, [this] { DefineColor(true); });
    connect(defineText, &QPushButton::clicked, this, [this] { DefineColor(false); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // The table's first entry is selected at the start, wherever the list shows it.
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->data(Qt::UserRole).toInt() == model_.Selected()) list_->setCurrentRow(row);
    }
    ShowSelected();
}

void ColorDialog::ShowSelected()
{
    bold_->setChecked(model_.Bold());
    italic_->setChecked(model_.Italic());
    underline_->setChecked(model_.Underline());
    backgroundGrid_->SetHighlighted(model_.HighlightedSwatch(true));
    textGrid_->SetHighlighted(model_.HighlightedSwatch(false));
    preview_->update();
}

void ColorDialog::StyleClicked()
{
    model_.SetStyle(bold_->isChecked(), italic_->isChecked(), underline_->isChecked());
    ShowSelected();
}

void ColorDialog::DefineColor(bool background)
{
    const ColorEntry& entry = model_.SelectedEntry();
    QColor start = background ? ToQColor(entry.background, palette().color(QPalette::Base))
                              : ToQColor(entry.text, palette().color(QPalette::Text));
    for (int i = 0; i < kCustomColorCount; ++i) QColorDialog::setCustomColor(i, start);
    QColor chosen = QColorDialog::getColor(start, this, QString::fromUtf8(ColorDialogModel::kCaption));
    if (!chosen.isValid()) return;
    if (background)
        model_.SetBackground(FromQColor(chosen));
    else
        model_.SetText(FromQColor(chosen));
    ShowSelected();
}

namespace {

bool RunColorDialog(DialogModel& model, QWidget* parent)
{
    ColorDialog dialog(static_cast<ColorDialogModel&>(model), parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

QV_DIALOG_WIDGET(ColorDialogModel::kName, RunColorDialog);

}  // namespace qv
