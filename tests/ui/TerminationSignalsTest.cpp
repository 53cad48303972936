// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>

#include "app/TerminationSignals.h"

namespace qv {
namespace {

bool RunEventsUntil(const bool& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done;
}

TEST(TerminationSignals, EachStopSignalRunsTheActionOnTheEventLoop)
{
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        int calls = 0;
        bool done = false;
        {
            TerminationSignals stop([&] {
                ++calls;
                done = true;
            });
            ASSERT_EQ(std::raise(signal), 0);
            EXPECT_EQ(calls, 0) << "the handler itself only wakes the event loop";
            EXPECT_TRUE(RunEventsUntil(done)) << signal;
            EXPECT_EQ(calls, 1);
        }
        // Once the watcher is gone the signal has its default meaning again.
        struct sigaction current {};
        ::sigaction(signal, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL);
    }
}

}  // namespace
}  // namespace qv
