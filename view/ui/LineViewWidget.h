// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt window of a line view: hosts a CAnsiView, forwards Qt's events to it, and
// supplies scroll bars, caret, repaint, capture, timers, fonts and popup menus.
#include <QFont>
#include <QIcon>
#include <QRegion>
#include <QWidget>
#include <array>
#include <functional>
#include <map>

#include "view/AnsiView.h"
#include "view/LineViewHost.h"

class QScrollBar;

namespace qv {

class LineViewWidget : public QWidget, public ILineViewHost {
    Q_OBJECT
public:
    // The view must outlive the widget; the widget attaches itself as the view's host.
    explicit LineViewWidget(CAnsiView& view, QWidget* parent = nullptr);
    ~LineViewWidget() override;

    CAnsiView& View() { return view_; }

    // The image a context menu entry shows for its command (the main menu's, so both agree);
    // entries without one show none.
    void SetMenuIcons(std::function<QIcon(int command)> iconOf) { menuIconOf_ = std::move(iconOf); }

    // ILineViewHost
    int32_t ScrollBarExtent() const override;
    void SetScrollBar(int bar, const ScrollBarState& state) override;
    void Invalidate(const LineRect& rect) override;
    void PaintNow() override;
    void CreateCaret(int32_t width, int32_t height) override;
    void DestroyCaret() override;
    void ShowCaret(bool show) override;
    void SetCaretPos(int32_t x, int32_t y) override;
    void SetCapture(bool capture) override;
    void SetCursorShape(CursorShape shape) override;
    void TakeFocus() override;
    LinePoint MousePosition() const override;
    uint32_t MouseAndKeyState() const override;
    void StartTimer(int id, int intervalMs) override;
    void StopTimer(int id) override;
    uint64_t TickCount() const override;
    std::optional<CellMetrics> MeasureFont(const FontSpec& spec) override;
    void FontsChanged() override;
    Color SystemColorOf(SystemColor which) const override;
    int TrackPopupMenu(int32_t x, int32_t y, const ContextMenu& menu) override;
    void AcceptDroppedFiles(bool accept) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnScrollBarAction(int bar, int action);
    void UpdateCursorShape(const QPoint& at);
    QRect CaretRect() const;

    CAnsiView& view_;
    std::function<QIcon(int command)> menuIconOf_;
    std::array<QScrollBar*, kScrollBarCount> bars_{};
    std::array<ScrollBarState, kScrollBarCount> barStates_{};
    std::array<QFont, kFontVariantCount> fonts_{};
    QRegion pending_;       // invalidated, not yet painted
    bool painting_ = false;
    std::map<int, int> timers_;  // view timer id -> Qt timer id
    QSize caretSize_;
    QPoint caretPos_;
    bool caretVisible_ = false;
    int wheelRest_ = 0;  // partial notches of high-resolution wheels
};

}  // namespace qv
