// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TerminationSignals.h"

#include <QApplication>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace qv {
namespace {

// The handler may only write to a descriptor; the notifier reads it on the UI thread.
int signalPipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
// How often a noted request looks whether the open dialog has ended.
constexpr int kRetryMs = 50;

void OnSignal(int)
{
    // The interrupted code may be about to read errno; a full socket would change it.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, int topLoopLevel)
    : onSignal_(std::move(onSignal)), topLoopLevel_(topLoopLevel)
{
    retry_.setInterval(kRetryMs);
    QObject::connect(&retry_, &QTimer::timeout, this, [this] { RunWhenFree(); });
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int signal : kSignals) std::signal(signal, SIG_DFL);
    notifier_.reset();
    for (int& end : signalPipe) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

void TerminationSignals::Drain()
{
    char bytes[16];
    while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
    }
    // A signal repeated while the action runs (and asks) is part of the stop under way.
    if (running_) return;
    pending_ = true;
    RunWhenFree();
}

void TerminationSignals::RunWhenFree()
{
    if (!pending_) return;
    // A dialog that was just answered may still be inside its own loop: the loop depth tells.
    const bool busy = QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
                      QThread::currentThread()->loopLevel() > topLoopLevel_;
    if (busy) {
        retry_.start();
        return;
    }
    retry_.stop();
    pending_ = false;
    running_ = true;
    if (onSignal_) onSignal_();
    running_ = false;
}

}  // namespace qv
