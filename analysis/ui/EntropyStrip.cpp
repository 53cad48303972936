// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/EntropyStrip.h"

#include <QApplication>
#include <QDateTime>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <chrono>

#include "view/HexView.h"

namespace qv {
namespace {

// One slice of measuring keeps the window answering; a few MiB fit into it.
constexpr auto kSlice = std::chrono::milliseconds(4);
// While a modal question or dialog is open, the measuring waits this long between looks.
constexpr int kRetryAfterDialogMs = 100;
// A strip being filled is repainted at most this often.
constexpr qint64 kRepaintIntervalMs = 100;

struct ColorStop {
    double entropy;
    int red, green, blue;
};

// From dark blue (ordered, repetitive data) over magenta and orange to yellow (compressed or
// encrypted): none of these stand for zeros (black), 0xFF (white) or text (green).
constexpr std::array<ColorStop, 5> kEntropyColors = {{
    {0, 13, 8, 135},
    {2, 110, 0, 168},
    {4, 204, 71, 120},
    {6, 248, 149, 64},
    {8, 240, 249, 33},
}};

}  // namespace

EntropyStrip::EntropyStrip(CHexView& view, QWidget* viewWidget, ISettingsStore* settings, QWidget* parent)
    : QWidget(parent), view_(view), settings_(settings)
{
    setObjectName("EntropyStrip");
    setFixedWidth(kWidth);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(false);
    if (settings_)
        if (auto visible = settings_->ReadDword(kSection, "Visible")) enabled_ = *visible != 0;
    setVisible(enabled_);
    viewWidget->installEventFilter(this);
    connect(&measure_, &QTimer::timeout, this, &EntropyStrip::MeasureSlice);
    Restart();
}

void EntropyStrip::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (settings_) settings_->WriteDword(kSection, "Visible", enabled ? 1 : 0);
    setVisible(enabled);
    if (enabled) measure_.start(0);
}

void EntropyStrip::Restart()
{
    map_.Reset(view_.Length());
    pictureStale_ = true;
    if (enabled_) measure_.start(0);
    update();
}

void EntropyStrip::OnViewNotify(int code, int64_t a, int64_t b, int64_t c)
{
    if (code == NotifyBufferReplaced) {
        Restart();
    } else if (code == NotifyBytesEdited) {
        if (c != 0)
            map_.Resized(a, view_.Length());
        else
            map_.Overwritten(a, b);
        pictureStale_ = true;
        if (enabled_) measure_.start(0);
    }
}

void EntropyStrip::MeasureSlice()
{
    if (!isVisible()) {
        measure_.stop();  // the slices go on when the strip is switched on again
        return;
    }
    if (QApplication::activeModalWidget()) {
        measure_.start(kRetryAfterDialogMs);
        return;
    }
    // A block handed over without a notification (never expected) would leave the map behind.
    if (map_.DocumentSize() != view_.Length()) map_.Reset(view_.Length());
    const IByteSource* fromFile = fileBytes_ ? fileBytes_() : nullptr;
    const IByteSource& source = fromFile && fromFile->Size() == view_.Length() ? *fromFile : view_.Bytes();
    const bool complete = map_.MeasureUntil(source, std::chrono::steady_clock::now() + kSlice);
    pictureStale_ = true;
    if (complete)
        measure_.stop();
    else if (measure_.interval() != 0)
        measure_.start(0);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (complete || now - lastPaintMs_ >= kRepaintIntervalMs) {
        lastPaintMs_ = now;
        update();
    }
}

QColor EntropyStrip::ColorOf(const BlockMeasure& measure)
{
    switch (measure.kind) {
    case BlockKind::Unknown: return QColor(190, 190, 190);
    case BlockKind::Zero: return Qt::black;
    case BlockKind::Ones: return Qt::white;
    case BlockKind::Text: return QColor(46, 160, 67);
    case BlockKind::Data: break;
    }
    const double entropy = std::clamp(measure.entropy, 0.0, 8.0);
    size_t upper = 1;
    while (upper + 1 < kEntropyColors.size() && kEntropyColors[upper].entropy < entropy) ++upper;
    const ColorStop& low = kEntropyColors[upper - 1];
    const ColorStop& high = kEntropyColors[upper];
    const double t = (entropy - low.entropy) / (high.entropy - low.entropy);
    auto mix = [t](int a, int b) { return static_cast<int>(a + (b - a) * t + 0.5); };
    return QColor(mix(low.red, high.red), mix(low.green, high.green), mix(low.blue, high.blue));
}

const QImage& EntropyStrip::Picture()
{
    const int rows = std::max(height(), 1);
    if (!pictureStale_ && picture_.height() == rows) return picture_;
    picture_ = QImage(1, rows, QImage::Format_RGB32);
    const int64_t blocks = map_.BlockCount();
    for (int y = 0; y < rows; ++y) {
        if (blocks == 0) {
            picture_.setPixel(0, y, palette().color(QPalette::Window).rgb());
            continue;
        }
        const int64_t first = y * blocks / rows;
        const int64_t end = std::max(first + 1, (y + 1) * blocks / rows);
        picture_.setPixel(0, y, ColorOf(map_.Summary(first, end)).rgb());
    }
    pictureStale_ = false;
    return picture_;
}

int64_t EntropyStrip::OffsetAt(int y) const
{
    const int64_t size = view_.Length();
    if (size <= 0) return 0;
    const int64_t offset = static_cast<int64_t>(std::clamp(y, 0, height() - 1)) * size / std::max(height(), 1);
    return std::min(offset, size - 1);
}

std::pair<int, int> EntropyStrip::VisibleSpan() const
{
    const int64_t size = view_.Length();
    if (size <= 0) return {0, height()};
    // The top row may start before the block (a row phase): its offset then wraps below zero.
    const int64_t first = std::max<int64_t>(static_cast<int64_t>(view_.TopOffset(false)), 0);
    const int64_t shown = static_cast<int64_t>(view_.PaneRows()) * view_.BytesPerRow();
    const int top = static_cast<int>(first * height() / size);
    const int bottom = static_cast<int>(std::min<int64_t>(first + shown, size) * height() / size);
    return {top, std::max(bottom, top + 3)};
}

bool EntropyStrip::eventFilter(QObject* watched, QEvent* event)
{
    // Every scroll repaints the view: the frame follows when the shown rows changed.
    if (event->type() == QEvent::Paint && isVisible()) {
        const auto span = VisibleSpan();
        if (span != shownSpan_) update();
    }
    return QWidget::eventFilter(watched, event);
}

void EntropyStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(rect(), Picture());
    shownSpan_ = VisibleSpan();
    // Two outlines, so that the frame shows on every colour of the strip.
    const QRect frame(0, shownSpan_.first, width() - 1, std::max(shownSpan_.second - shownSpan_.first - 1, 2));
    painter.setPen(Qt::white);
    painter.drawRect(frame);
    painter.setPen(Qt::black);
    painter.drawRect(frame.adjusted(1, 1, -1, -1));
}

void EntropyStrip::JumpTo(int y)
{
    if (view_.Length() > 0) view_.SetCursorOffset(static_cast<uint64_t>(OffsetAt(y)), false);
}

void EntropyStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) JumpTo(event->position().toPoint().y());
}

void EntropyStrip::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) JumpTo(event->position().toPoint().y());
}

bool EntropyStrip::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int64_t blocks = map_.BlockCount();
    if (blocks == 0) return true;
    const int y = std::clamp(help->pos().y(), 0, std::max(height() - 1, 0));
    const int64_t first = y * blocks / std::max(height(), 1);
    const int64_t end = std::max(first + 1, (y + 1) * blocks / std::max(height(), 1));
    const BlockMeasure measure = map_.Summary(first, end);
    const uint64_t base = view_.BaseAddress();
    auto address = [base](int64_t offset) { return "0x" + QString::number(base + static_cast<uint64_t>(offset), 16).toUpper(); };
    const int64_t last = std::min(end * map_.BlockSize(), map_.DocumentSize()) - 1;
    QString text = address(first * map_.BlockSize()) + " - " + address(last) + ": ";
    switch (measure.kind) {
    case BlockKind::Unknown: text += "noch nicht gemessen"; break;
    case BlockKind::Zero: text += "Nullbytes"; break;
    case BlockKind::Ones: text += "nur 0xFF"; break;
    case BlockKind::Text: text += "Text"; break;
    case BlockKind::Data: text += QString("Entropie %1 Bit je Byte").arg(QLocale(QLocale::German).toString(measure.entropy, 'f', 2)); break;
    }
    QToolTip::showText(help->globalPos(), text, this);
    return true;
}

}  // namespace qv
