// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The X11 clipboard read on a connection of our own, with a limit on how long its owner may
// stay silent. Qt's own reading waits five seconds for every request, so an owner that has
// stopped answering would freeze the window for half a minute; and asking for the offered
// formats each time the commands' states are updated would do so while the user never
// pastes. Whether anyone owns the clipboard is asked of the X server alone.
#include <chrono>
#include <memory>
#include <string>

struct _XDisplay;

namespace qv {

struct SelectionText {
    enum class Outcome { Text, NoText, NoAnswer };
    Outcome outcome = Outcome::NoText;
    std::string bytes;  // as the owner sent them
    bool utf8 = true;   // false: the ISO 8859-1 form, offered by owners without UTF-8
};

class X11Selection {
public:
    // A connection to the display the application shows its windows on; nothing on other
    // platforms or when it cannot be opened.
    static std::unique_ptr<X11Selection> ForApplication();
    // A connection to the named display (":1").
    static std::unique_ptr<X11Selection> Open(const std::string& displayName);
    ~X11Selection();
    X11Selection(const X11Selection&) = delete;
    X11Selection& operator=(const X11Selection&) = delete;

    // Whether a program owns the clipboard.
    bool HasOwner();
    // The clipboard's text. An owner silent for longer than `patience` (while it answers,
    // each piece of a long text restarts the wait) counts as not answering.
    SelectionText ReadText(std::chrono::milliseconds patience);

private:
    X11Selection(_XDisplay* display, unsigned long window);
    bool ReadProperty(std::string& bytes, unsigned long& type);
    bool ReadIncrementally(std::string& bytes, std::chrono::milliseconds patience);

    _XDisplay* display_;
    unsigned long window_;
    unsigned long clipboard_, utf8String_, incr_, property_;
};

}  // namespace qv
