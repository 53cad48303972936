// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Seitenansicht": shows one printed page at a time, drawn when it is shown, so that even
// a dump of a thousand pages opens at once. It opens on the page the job names.
#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>

#include "print/ui/PrintPainting.h"

class QLabel;
class QScrollArea;
class QSpinBox;

namespace qv {

class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // `device` is the printer the pages are laid out for; `print` runs when the user
    // prints from the preview (the preview closes first).
    PrintPreviewDialog(PrintJob& job, const FontSpec& viewFont, const QPaintDevice& device,
                       std::function<void()> print, QWidget* parent = nullptr);
    ~PrintPreviewDialog() override;

    int32_t CurrentPage() const { return page_; }  // from 0
    void ShowPage(int32_t page);
    const QImage& PageImage() const { return image_; }

    QSpinBox* pageNumber;
    QLabel* pageCount;

private:
    void Zoom(double factor);
    void Render();

    PrintJob& job_;
    const QPaintDevice& device_;
    PagePainter painter_;
    std::function<void()> print_;
    QLabel* sheet_;
    QScrollArea* scroll_;
    QImage image_;
    int32_t page_ = -1;
    double scale_ = 1.0;  // preview pixels per millimetre
};

}  // namespace qv
