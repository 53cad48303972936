// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NumLockState.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Xlib's headers define macros such as None and Bool: they come last, in this file only.
#include <X11/XKBlib.h>

namespace qv {

std::optional<bool> NumLockIsOn()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    static const Atom indicator = XInternAtom(display, "Num Lock", True);  // asked once: the status polls
    Bool on = False;
    if (indicator == 0 || !XkbGetNamedIndicator(display, indicator, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
}

}  // namespace qv
