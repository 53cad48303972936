// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/X11Selection.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <poll.h>

#include <climits>
#include <functional>

// Xlib's headers define macros such as None and Bool: they come last, in this file only.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace qv {

namespace {

using Clock = std::chrono::steady_clock;

SelectionText NoAnswer()
{
    SelectionText text;
    text.outcome = SelectionText::Outcome::NoAnswer;
    return text;
}

// Waits until an event of our window meets `wanted` or the deadline passes; other events
// of this private connection are dropped.
bool WaitForEvent(Display* display, Clock::time_point deadline, const std::function<bool(const XEvent&)>& wanted,
                  XEvent& event)
{
    for (;;) {
        while (XPending(display) > 0) {
            XNextEvent(display, &event);
            if (wanted(event)) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd ready{ConnectionNumber(display), POLLIN, 0};
        ::poll(&ready, 1, static_cast<int>(left) + 1);
    }
}

}  // namespace

std::unique_ptr<X11Selection> X11Selection::ForApplication()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* shown = x11 ? x11->display() : nullptr;
    if (!shown) return nullptr;
    return Open(DisplayString(shown));
}

std::unique_ptr<X11Selection> X11Selection::Open(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display) return nullptr;
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, CopyFromParent,
                                        InputOnly, CopyFromParent, CWEventMask, &attributes);
    return std::unique_ptr<X11Selection>(new X11Selection(display, window));
}

X11Selection::X11Selection(Display* display, unsigned long window)
    : display_(display),
      window_(window),
      clipboard_(XInternAtom(display, "CLIPBOARD", False)),
      utf8String_(XInternAtom(display, "UTF8_STRING", False)),
      incr_(XInternAtom(display, "INCR", False)),
      property_(XInternAtom(display, "QV_SELECTION", False))
{
}

X11Selection::~X11Selection()
{
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
}

bool X11Selection::HasOwner()
{
    return XGetSelectionOwner(display_, clipboard_) != None;
}

SelectionText X11Selection::ReadText(std::chrono::milliseconds patience)
{
    for (const Atom target : {static_cast<Atom>(utf8String_), static_cast<Atom>(XA_STRING)}) {
        XSync(display_, False);
        XEvent event;
        while (XPending(display_) > 0) XNextEvent(display_, &event);  // left over from an earlier read
        XDeleteProperty(display_, window_, property_);
        XConvertSelection(display_, clipboard_, target, property_, window_, CurrentTime);
        XFlush(display_);
        const auto notified = [this](const XEvent& e) {
            return e.type == SelectionNotify && e.xselection.requestor == window_ && e.xselection.selection == clipboard_;
        };
        if (!WaitForEvent(display_, Clock::now() + patience, notified, event)) return NoAnswer();
        if (event.xselection.property == None) continue;  // no text in this form
        SelectionText text{SelectionText::Outcome::Text, {}, target == utf8String_};
        unsigned long type = 0;
        if (!ReadProperty(text.bytes, type)) return {};
        if (type == incr_ && !ReadIncrementally(text.bytes, patience)) return NoAnswer();
        return text;
    }
    return {};
}

// Reads and deletes our property; deleting it also asks the owner of a long text for the
// next piece.
bool X11Selection::ReadProperty(std::string& bytes, unsigned long& type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window_, property_, 0, LONG_MAX / 4, True, AnyPropertyType, &actualType, &format,
                           &items, &after, &data) != Success)
        return false;
    type = actualType;
    if (data && format == 8 && actualType != incr_) bytes.append(reinterpret_cast<const char*>(data), items);
    if (data) XFree(data);
    return actualType != None;
}

bool X11Selection::ReadIncrementally(std::string& bytes, std::chrono::milliseconds patience)
{
    bytes.clear();
    const auto newPiece = [this](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == window_ && e.xproperty.atom == property_ &&
               e.xproperty.state == PropertyNewValue;
    };
    for (;;) {
        XEvent event;
        if (!WaitForEvent(display_, Clock::now() + patience, newPiece, event)) return false;
        const size_t before = bytes.size();
        unsigned long type = 0;
        if (!ReadProperty(bytes, type)) return false;
        if (bytes.size() == before) return true;  // an empty piece ends the text
    }
}

}  // namespace qv
