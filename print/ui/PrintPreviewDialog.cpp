// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PrintPreviewDialog.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace qv {

namespace {
constexpr double kStartScale = 3.0;  // pixels per millimetre: an A4 page is about 890 pixels high
constexpr double kMinScale = 1.0;
constexpr double kMaxScale = 12.0;
}  // namespace

PrintPreviewDialog::PrintPreviewDialog(PrintJob& job, const FontSpec& viewFont, const QPaintDevice& device,
                                       std::function<void()> print, QWidget* parent)
    : QDialog(parent), job_(job), device_(device), painter_(job, viewFont, device), print_(std::move(print)),
      scale_(kStartScale)
{
    setWindowTitle("Seitenansicht");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* tools = new QToolBar(this);
    layout->addWidget(tools);

    auto* first = tools->addAction(style()->standardIcon(QStyle::SP_MediaSkipBackward), "Erste Seite");
    auto* previous = tools->addAction(style()->standardIcon(QStyle::SP_ArrowLeft), "Vorherige Seite");
    pageNumber = new QSpinBox(this);
    pageNumber->setRange(1, job_.PageCount());
    pageNumber->setKeyboardTracking(false);
    tools->addWidget(pageNumber);
    pageCount = new QLabel(QString(" / %1 ").arg(job_.PageCount()), this);
    tools->addWidget(pageCount);
    auto* next = tools->addAction(style()->standardIcon(QStyle::SP_ArrowRight), "Nächste Seite");
    auto* last = tools->addAction(style()->standardIcon(QStyle::SP_MediaSkipForward), "Letzte Seite");
    tools->addSeparator();
    auto* zoomIn = tools->addAction("Vergrößern");
    auto* zoomOut = tools->addAction("Verkleinern");
    tools->addSeparator();
    auto* printAction = tools->addAction("&Drucken...");
    auto* close = tools->addAction("S&chließen");

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    sheet_ = new QLabel(scroll_);
    scroll_->setWidget(sheet_);
    layout->addWidget(scroll_);

    connect(first, &QAction::triggered, this, [this] { ShowPage(0); });
    connect(previous, &QAction::triggered, this, [this] { ShowPage(page_ - 1); });
    connect(next, &QAction::triggered, this, [this] { ShowPage(page_ + 1); });
    connect(last, &QAction::triggered, this, [this] { ShowPage(job_.PageCount() - 1); });
    connect(pageNumber, &QSpinBox::valueChanged, this, [this](int value) { ShowPage(value - 1); });
    connect(zoomIn, &QAction::triggered, this, [this] { Zoom(1.25); });
    connect(zoomOut, &QAction::triggered, this, [this] { Zoom(0.8); });
    connect(close, &QAction::triggered, this, &QDialog::reject);
    connect(printAction, &QAction::triggered, this, [this] {
        reject();
        if (print_) print_();
    });

    ShowPage(job_.FirstPageShown());
    resize(sheet_->width() + 60, std::min(sheet_->height() + tools->sizeHint().height() + 40, 1000));
}

PrintPreviewDialog::~PrintPreviewDialog() = default;

void PrintPreviewDialog::ShowPage(int32_t page)
{
    page = std::clamp(page, 0, job_.PageCount() - 1);
    if (page == page_) return;
    page_ = page;
    pageNumber->setValue(page + 1);
    Render();
}

void PrintPreviewDialog::Zoom(double factor)
{
    scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
    Render();
}

void PrintPreviewDialog::Render()
{
    const PrinterGeometry& printer = job_.Setup().printer;
    const int width = std::max(1, static_cast<int>(printer.mmAcross * scale_));
    const int height = std::max(1, static_cast<int>(printer.mmDown * scale_));
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(Qt::white);
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(static_cast<double>(width) / std::max(1, printer.pixelsAcross),
                  static_cast<double>(height) / std::max(1, printer.pixelsDown));
    painter_.Paint(painter, page_);
    painter.end();
    sheet_->setPixmap(QPixmap::fromImage(image_));
    sheet_->resize(image_.size());
}

}  // namespace qv
