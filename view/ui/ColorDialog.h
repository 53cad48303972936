// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Farben einstellen" dialog bound to a ColorDialogModel: entry list, style check
// boxes, preview, background and text palettes with their colour pickers.
#include <QDialog>
#include <QWidget>
#include <array>

#include "view/ColorDialogModel.h"

class QCheckBox;
class QListWidget;

namespace qv {

// The 63 swatches in rows of nine; a click picks one.
class ColorSwatchGrid : public QWidget {
    Q_OBJECT
public:
    ColorSwatchGrid(int listHeight, const QColor& systemColor, QWidget* parent = nullptr);
    void SetHighlighted(int swatch);
    int Highlighted() const { return highlighted_; }
    int SwatchSize() const { return swatch_; }
    // Swatch under a point of the grid, or -1.
    int SwatchAt(const QPoint& at) const;

signals:
    void SwatchPicked(int swatch);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int swatch_;
    QColor systemColor_;
    int highlighted_ = -1;
};

// "AbcXyz" centred in the selected entry's colours and font style.
class ColorPreview : public QWidget {
public:
    ColorPreview(const ColorDialogModel& model, const std::array<QFont, 8>& fonts, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ColorDialogModel& model_;
    const std::array<QFont, 8>& fonts_;
};

class ColorDialog : public QDialog {
    Q_OBJECT
public:
    ColorDialog(ColorDialogModel& model, QWidget* parent = nullptr);

    QListWidget* EntryList() const { return list_; }
    ColorSwatchGrid* BackgroundGrid() const { return backgroundGrid_; }
    ColorSwatchGrid* TextGrid() const { return textGrid_; }
    QCheckBox* BoldBox() const { return bold_; }
    QCheckBox* ItalicBox() const { return italic_; }
    QCheckBox* UnderlineBox() const { return underline_; }
    QCheckBox* FilterBox() const { return filter_; }

private:
    void ShowSelected();
    void StyleClicked();
    void DefineColor(bool background);

    ColorDialogModel& model_;
    std::array<QFont, 8> fonts_;
    QListWidget* list_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QCheckBox* filter_ = nullptr;
    ColorPreview* preview_ = nullptr;
    ColorSwatchGrid* backgroundGrid_ = nullptr;
    ColorSwatchGrid* textGrid_ = nullptr;
};

}  // namespace qv
