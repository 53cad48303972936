// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ends the program in order when it is asked to stop by a signal (SIGTERM at logout or
// from `kill`, SIGHUP when the terminal goes away, SIGINT from Ctrl+C): instead of dying
// on the spot, the event loop runs the given action, so the program can store its
// settings and release its files as on a normal exit.
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace qv {

class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void Drain();

    std::function<void()> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qv
