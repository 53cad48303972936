// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowWidening.h"

#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <algorithm>
#include <utility>

namespace qv {

void WindowWidening::Widen(QWidget& window, int extra)
{
    before_ = window.width();
    if (extra > 0 && !window.isMaximized() && !window.isFullScreen()) {
        int width = before_ + extra;
        if (const QScreen* screen = window.screen()) width = std::min(width, screen->availableGeometry().width());
        window.resize(std::max(width, before_), window.height());
    }
    widened_ = window.width();
}

void WindowWidening::Settled(const QWidget& window)
{
    if (widened_ >= 0) widened_ = window.width();
}

void WindowWidening::GiveBack(QWidget& window)
{
    if (widened_ >= 0 && window.width() == widened_ && !window.isMaximized() && !window.isFullScreen())
        window.resize(before_, window.height());
    before_ = widened_ = -1;
}

namespace {

// A dock's widening, kept by the window. Without a meta-object of its own it is found by
// dynamic_cast (qobject_cast would take any QObject for it).
class DockWidening : public QObject {
public:
    DockWidening(QMainWindow& window, const QDockWidget& dock) : QObject(&window), dock(&dock) {}
    const QDockWidget* const dock;
    WindowWidening widening;
};

DockWidening& WideningOf(QMainWindow& window, const QDockWidget& dock)
{
    for (QObject* child : window.children())
        if (auto* own = dynamic_cast<DockWidening*>(child); own && own->dock == &dock) return *own;
    return *new DockWidening(window, dock);
}

QDockWidget* ShownInAreaOf(QMainWindow& window, QDockWidget& dock)
{
    for (QDockWidget* other : window.findChildren<QDockWidget*>())
        if (other != &dock && other->isVisible() && !other->isFloating() &&
            window.dockWidgetArea(other) == window.dockWidgetArea(&dock))
            return other;
    return nullptr;
}

}  // namespace

void ToggleSideDock(QDockWidget& dock)
{
    auto* window = qobject_cast<QMainWindow*>(dock.parentWidget());
    if (!window) {
        dock.setVisible(!dock.isVisible());
        return;
    }
    WindowWidening& widening = WideningOf(*window, dock).widening;
    // A dock shown in the same area (as a tab, or above or below): the room is shared.
    QDockWidget* sharing = dock.isFloating() ? nullptr : ShownInAreaOf(*window, dock);
    if (dock.isVisible()) {
        dock.hide();
        // The dock's least width no longer holds the window wide.
        if (window->layout()) window->layout()->activate();
        if (sharing)
            WideningOf(*window, *sharing).widening = std::exchange(widening, WindowWidening{});
        else
            widening.GiveBack(*window);
        return;
    }
    // The window grows first, so that the dock takes the new room and the view keeps its own.
    widening.Widen(*window, dock.isFloating() || sharing ? 0 : dock.sizeHint().width());
    dock.show();
    // The layout may grow the window further to give the dock its least width.
    if (window->layout()) window->layout()->activate();
    widening.Settled(*window);
}

}  // namespace qv
