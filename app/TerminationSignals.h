// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ends the program in order when it is asked to stop by a signal (SIGTERM at logout or
// from `kill`, SIGHUP when the terminal goes away, SIGINT from Ctrl+C): instead of dying
// on the spot, the event loop runs the given action, so the program can secure its unsaved
// edits, store its settings and release its files as on a normal exit.
//
// A signal never acts inside an open question, dialog or menu: the action would run in
// that dialog's event loop, and what it does (closing windows, asking its own question)
// would pull the ground from under the code that opened the dialog. The request is noted
// and the action runs once no modal window or popup is open any more.
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

namespace qv {

class TerminationSignals : public QObject {
public:
    // topLoopLevel: the depth of the event loop in which the action may run (1 for the
    // application's main loop; a dialog's loop runs deeper).
    explicit TerminationSignals(std::function<void()> onSignal, int topLoopLevel = 1);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether a request waits for an open dialog to end.
    bool Pending() const { return pending_; }

private:
    void Drain();
    void RunWhenFree();

    std::function<void()> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer retry_;
    int topLoopLevel_;
    bool pending_ = false;
    bool running_ = false;  // the action is under way (it may be asking the user)
};

}  // namespace qv
