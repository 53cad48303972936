// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ui/LineViewWidget.h"

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimerEvent>
#include <QWheelEvent>

#include "platform/qt/QtText.h"
#include "view/ScrollBarScale.h"
#include "view/ui/FontResolver.h"
#include "view/ui/QtLineDrawing.h"

namespace qv {

namespace {

constexpr int kWheelNotch = 120;

int LineKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return KeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return KeyTab;
    case Qt::Key_Clear: return KeyClear;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyReturn;
    case Qt::Key_Shift: return KeyShift;
    case Qt::Key_Control: return KeyControl;
    case Qt::Key_Alt: return KeyMenu;
    case Qt::Key_Escape: return KeyEscape;
    case Qt::Key_Space: return KeySpace;
    case Qt::Key_PageUp: return KeyPageUp;
    case Qt::Key_PageDown: return KeyPageDown;
    case Qt::Key_End: return KeyEnd;
    case Qt::Key_Home: return KeyHome;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_Insert: return KeyInsert;
    case Qt::Key_Delete: return KeyDelete;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return KeyF1 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    return 0;
}

uint32_t KeyFlagsOf(Qt::KeyboardModifiers modifiers, bool repeat)
{
    uint32_t flags = repeat ? KeyFlagRepeat : 0;
    if (modifiers & Qt::ShiftModifier) flags |= KeyFlagShift;
    if (modifiers & Qt::ControlModifier) flags |= KeyFlagCtrl;
    if (modifiers & Qt::AltModifier) flags |= KeyFlagAlt;
    return flags;
}

uint32_t MouseFlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    uint32_t flags = 0;
    if (buttons & Qt::LeftButton) flags |= MouseLeft;
    if (buttons & Qt::RightButton) flags |= MouseRight;
    if (buttons & Qt::MiddleButton) flags |= MouseMiddle;
    if (buttons & Qt::BackButton) flags |= MouseExtra1;
    if (buttons & Qt::ForwardButton) flags |= MouseExtra2;
    if (modifiers & Qt::ShiftModifier) flags |= MouseShift;
    if (modifiers & Qt::ControlModifier) flags |= MouseCtrl;
    return flags;
}

std::optional<MouseButton> ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    case Qt::BackButton: return MouseButton::Extra1;
    case Qt::ForwardButton: return MouseButton::Extra2;
    default: return std::nullopt;
    }
}

const QElapsedTimer& Clock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return clock;
}

}  // namespace

LineViewWidget::LineViewWidget(CAnsiView& view, QWidget* parent) : QWidget(parent), view_(view)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setMouseTracking(true);
    for (int bar = 0; bar < kScrollBarCount; ++bar) {
        auto* scrollBar = new QScrollBar(bar < ScrollBarVerticalTop ? Qt::Horizontal : Qt::Vertical, this);
        scrollBar->hide();
        scrollBar->setFocusPolicy(Qt::NoFocus);
        connect(scrollBar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { OnScrollBarAction(bar, action); });
        bars_[static_cast<size_t>(bar)] = scrollBar;
    }
    view_.AttachHost(this);
    view_.HandleSize(width(), height());
}

LineViewWidget::~LineViewWidget()
{
    view_.DetachHost();
}

// ---- ILineViewHost ----

int32_t LineViewWidget::ScrollBarExtent() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void LineViewWidget::SetScrollBar(int bar, const ScrollBarState& state)
{
    if (bar < 0 || bar >= kScrollBarCount) return;
    QScrollBar* scrollBar = bars_[static_cast<size_t>(bar)];
    barStates_[static_cast<size_t>(bar)] = state;
    const ScrollBarScale scale(state);
    scrollBar->blockSignals(true);
    scrollBar->setRange(0, scale.BarMaximum());
    scrollBar->setPageStep(scale.BarPage());
    scrollBar->setValue(scale.BarValue());
    scrollBar->setSliderPosition(scale.BarValue());
    scrollBar->setEnabled(state.enabled);
    scrollBar->blockSignals(false);
    scrollBar->setGeometry(state.where.left, state.where.top, state.where.Width(), state.where.Height());
    scrollBar->setVisible(state.visible && !state.where.IsEmpty());
}

void LineViewWidget::Invalidate(const LineRect& rect)
{
    QRect area(rect.left, rect.top, rect.Width(), rect.Height());
    pending_ += area;
    update(area);
}

void LineViewWidget::PaintNow()
{
    // Painting from inside a paint, or of a hidden window, waits for the event loop.
    if (painting_ || !isVisible() || pending_.isEmpty()) return;
    QRegion region = pending_;
    pending_ = QRegion();
    repaint(region);
}

QRect LineViewWidget::CaretRect() const
{
    return QRect(caretPos_, caretSize_);
}

void LineViewWidget::CreateCaret(int32_t width, int32_t height)
{
    update(CaretRect());
    caretSize_ = QSize(width, height);
}

void LineViewWidget::DestroyCaret()
{
    update(CaretRect());
    caretVisible_ = false;
    caretSize_ = QSize();
}

void LineViewWidget::ShowCaret(bool show)
{
    if (show == caretVisible_) return;
    caretVisible_ = show;
    update(CaretRect());
}

void LineViewWidget::SetCaretPos(int32_t x, int32_t y)
{
    if (QPoint(x, y) == caretPos_) return;
    update(CaretRect());
    caretPos_ = QPoint(x, y);
    update(CaretRect());
}

void LineViewWidget::SetCapture(bool /*capture*/)
{
    // Qt keeps sending mouse events to the widget a button was pressed in, which is
    // all the capture is needed for.
}

void LineViewWidget::SetCursorShape(CursorShape shape)
{
    switch (shape) {
    case CursorShape::Arrow: setCursor(Qt::ArrowCursor); break;
    case CursorShape::Hand: setCursor(Qt::ClosedHandCursor); break;
    case CursorShape::SizeWestEast: setCursor(Qt::SplitHCursor); break;
    case CursorShape::SizeNorthSouth: setCursor(Qt::SplitVCursor); break;
    case CursorShape::SizeAll: setCursor(Qt::SizeAllCursor); break;
    }
}

void LineViewWidget::TakeFocus()
{
    setFocus(Qt::MouseFocusReason);
}

LinePoint LineViewWidget::MousePosition() const
{
    QPoint at = mapFromGlobal(QCursor::pos());
    return {at.x(), at.y()};
}

uint32_t LineViewWidget::MouseAndKeyState() const
{
    return MouseFlagsOf(QApplication::mouseButtons(), QApplication::keyboardModifiers());
}

void LineViewWidget::StartTimer(int id, int intervalMs)
{
    if (timers_.count(id)) return;
    timers_[id] = startTimer(intervalMs);
}

void LineViewWidget::StopTimer(int id)
{
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    killTimer(it->second);
    timers_.erase(it);
}

uint64_t LineViewWidget::TickCount() const
{
    return static_cast<uint64_t>(Clock().elapsed());
}

std::optional<CellMetrics> LineViewWidget::MeasureFont(const FontSpec& spec)
{
    std::optional<QFont> font = ResolveFont(spec);
    if (!font) return std::nullopt;
    return MeasureCell(*font);
}

void LineViewWidget::FontsChanged()
{
    for (int v = 0; v < kFontVariantCount; ++v) {
        std::optional<QFont> font = ResolveFont(view_.Style().variants[static_cast<size_t>(v)]);
        fonts_[static_cast<size_t>(v)] = font ? *font : QFont();
    }
    update();
}

Color LineViewWidget::SystemColorOf(SystemColor which) const
{
    switch (which) {
    case SystemColor::Window: return FromQColor(palette().color(QPalette::Base));
    case SystemColor::WindowText: return FromQColor(palette().color(QPalette::Text));
    case SystemColor::ButtonFace: return FromQColor(palette().color(QPalette::Button));
    }
    return kDefaultColor;
}

int LineViewWidget::TrackPopupMenu(int32_t x, int32_t y, const ContextMenu& menu)
{
    QMenu popup(this);
    for (const MenuEntry& entry : menu) {
        if (entry.command == 0 && entry.text.empty()) {
            popup.addSeparator();
            continue;
        }
        QAction* action = popup.addAction(QString::fromUtf8(entry.text));
        action->setData(entry.command);
        if (menuIconOf_) action->setIcon(menuIconOf_(entry.command));
        action->setEnabled(entry.enabled);
        action->setCheckable(entry.checked);
        action->setChecked(entry.checked);
    }
    QAction* chosen = popup.exec(mapToGlobal(QPoint(x, y)));
    return chosen ? chosen->data().toInt() : 0;
}

void LineViewWidget::AcceptDroppedFiles(bool accept)
{
    setAcceptDrops(accept);
}

// ---- Qt events ----

bool LineViewWidget::event(QEvent* event)
{
    // Tab and Ctrl+Tab belong to the view, not to the focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void LineViewWidget::paintEvent(QPaintEvent* event)
{
    painting_ = true;
    pending_ -= event->region();
    QPainter painter(this);
    QtLineDrawing drawing(painter, fonts_, {view_.CharWidth(), view_.CharHeight()}, palette().color(QPalette::Base),
                          palette().color(QPalette::Text));
    QRect area = event->rect();
    view_.HandlePaint(drawing, {area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    if (caretVisible_ && caretSize_.isValid()) {
        painter.setClipping(false);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(CaretRect(), Qt::white);
    }
    painting_ = false;
}

void LineViewWidget::resizeEvent(QResizeEvent*)
{
    view_.HandleSize(width(), height());
}

void LineViewWidget::keyPressEvent(QKeyEvent* event)
{
    Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->key() == Qt::Key_Backtab) modifiers |= Qt::ShiftModifier;
    uint32_t flags = KeyFlagsOf(modifiers, event->isAutoRepeat());
    int repeat = std::max(1, event->count());
    int key = LineKeyOf(event->key());
    if (key != 0) view_.HandleKeyDown(key, repeat, flags);

    // The character the key produces, in Windows-1252, like the classic character
    // messages: Ctrl with a letter gives its control character, Ctrl with anything else
    // and Delete give none.
    bool ctrlOnly = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
    std::string text = FromQt(event->text());
    if (ctrlOnly && key >= 'A' && key <= 'Z')
        text = std::string(1, static_cast<char>(key - 'A' + 1));
    else if (key == KeyTab || key == KeyBack || key == KeyReturn || key == KeyEscape)
        text = std::string(1, static_cast<char>(key));
    for (char c : text) {
        auto character = static_cast<unsigned char>(c);
        if (character == 0x7F || (ctrlOnly && character >= 0x20)) continue;
        view_.HandleChar(character, repeat, flags);
    }
    event->accept();
}

void LineViewWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) return;  // a held key is one press and one release
    int key = LineKeyOf(event->key());
    if (key != 0) view_.HandleKeyUp(key, 1, KeyFlagsOf(event->modifiers(), false));
}

void LineViewWidget::focusInEvent(QFocusEvent*)
{
    Qt::KeyboardModifiers modifiers = QApplication::keyboardModifiers();
    uint32_t state = ((modifiers & Qt::ShiftModifier) ? ModShift : 0) | ((modifiers & Qt::ControlModifier) ? ModCtrl : 0);
    view_.HandleSetFocus(state);
}

void LineViewWidget::focusOutEvent(QFocusEvent*)
{
    view_.HandleKillFocus();
}

void LineViewWidget::mousePressEvent(QMouseEvent* event)
{
    std::optional<MouseButton> button = ButtonOf(event->button());
    if (!button) return;
    QPoint at = event->position().toPoint();
    view_.HandleMouseDown(*button, MouseFlagsOf(event->buttons(), event->modifiers()), at.x(), at.y());
}

void LineViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    std::optional<MouseButton> button = ButtonOf(event->button());
    if (!button) return;
    QPoint at = event->position().toPoint();
    view_.HandleMouseUp(*button, MouseFlagsOf(event->buttons(), event->modifiers()), at.x(), at.y());
    UpdateCursorShape(at);
}

void LineViewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    std::optional<MouseButton> button = ButtonOf(event->button());
    if (!button) return;
    QPoint at = event->position().toPoint();
    uint32_t flags = MouseFlagsOf(event->buttons(), event->modifiers());
    if (*button == MouseButton::Extra1 || *button == MouseButton::Extra2)
        view_.HandleMouseDown(*button, flags, at.x(), at.y());  // a fast second press pages again
    else
        view_.HandleDoubleClick(*button, flags, at.x(), at.y());
}

void LineViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    QPoint at = event->position().toPoint();
    view_.HandleMouseMove(MouseFlagsOf(event->buttons(), event->modifiers()), at.x(), at.y());
    UpdateCursorShape(at);
}

void LineViewWidget::UpdateCursorShape(const QPoint& at)
{
    SetCursorShape(view_.CursorShapeAt(at.x(), at.y()));
}

void LineViewWidget::wheelEvent(QWheelEvent* event)
{
    uint32_t flags = MouseFlagsOf(event->buttons(), event->modifiers());
    wheelRest_ += event->angleDelta().y();
    // One step of the view per notch, however finely the wheel reports.
    while (wheelRest_ >= kWheelNotch || wheelRest_ <= -kWheelNotch) {
        int32_t step = wheelRest_ > 0 ? kWheelNotch : -kWheelNotch;
        wheelRest_ -= step;
        view_.HandleWheel(flags, step);
    }
    event->accept();
}

void LineViewWidget::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : timers_) {
        if (qtId == event->timerId()) {
            view_.HandleTimer(id);
            return;
        }
    }
    QWidget::timerEvent(event);
}

void LineViewWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        view_.HandleSystemColorsChanged();
    QWidget::changeEvent(event);
}

void LineViewWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void LineViewWidget::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    }
    if (paths.empty()) return;
    event->acceptProposedAction();
    view_.HandleDroppedFiles(paths);
}

void LineViewWidget::OnScrollBarAction(int bar, int action)
{
    QScrollBar* scrollBar = bars_[static_cast<size_t>(bar)];
    ScrollAction scroll;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: scroll = ScrollAction::LineDown; break;
    case QAbstractSlider::SliderSingleStepSub: scroll = ScrollAction::LineUp; break;
    case QAbstractSlider::SliderPageStepAdd: scroll = ScrollAction::PageDown; break;
    case QAbstractSlider::SliderPageStepSub: scroll = ScrollAction::PageUp; break;
    case QAbstractSlider::SliderToMinimum: scroll = ScrollAction::Top; break;
    case QAbstractSlider::SliderToMaximum: scroll = ScrollAction::Bottom; break;
    case QAbstractSlider::SliderMove: scroll = ScrollAction::ThumbTrack; break;
    default: return;
    }
    view_.HandleScroll(bar, scroll, ScrollBarScale(barStates_[static_cast<size_t>(bar)]).PositionOf(scrollBar->sliderPosition()));
    // The bar shows where the view went, not where the bar's own step would go.
    scrollBar->setSliderPosition(ScrollBarScale(barStates_[static_cast<size_t>(bar)]).BarValue());
}

}  // namespace qv
