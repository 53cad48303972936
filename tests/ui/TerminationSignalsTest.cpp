// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
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

void RunEventsFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
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

// The handler runs between any two instructions of the interrupted code, which may be about
// to read errno after a failed call: it must leave errno as it found it, also when its own
// write fails because many signals came before the loop could read them.
TEST(TerminationSignals, TheHandlerLeavesErrnoAlone)
{
    TerminationSignals stop([] {});
    for (int i = 0; i < 5000; ++i) {
        errno = EINTR;
        ASSERT_EQ(std::raise(SIGTERM), 0);
        ASSERT_EQ(errno, EINTR) << "after signal " << i;
    }
}

// A signal repeated while the stop itself asks (the close question) belongs to that stop:
// once the user has cancelled it, the same question must not come straight back.
TEST(TerminationSignals, ASignalRepeatedDuringTheStopIsPartOfIt)
{
    int calls = 0;
    TerminationSignals stop([&] {
        ++calls;
        std::raise(SIGTERM);
        RunEventsFor(300);  // the stop's own question, answered with "Abbrechen"
    });
    ASSERT_EQ(std::raise(SIGTERM), 0);
    RunEventsFor(800);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(stop.Pending());

    // A later signal is a new request.
    ASSERT_EQ(std::raise(SIGTERM), 0);
    RunEventsFor(800);
    EXPECT_EQ(calls, 2);
}

// A signal during a question (say, the format question of a save) must neither close it
// nor run its own action inside it: the action comes once the question has ended.
TEST(TerminationSignals, ASignalDuringAQuestionWaitsUntilItHasEnded)
{
    bool ran = false;
    bool questionOpenWhenRan = true;
    TerminationSignals stop(
        [&] {
            ran = true;
            questionOpenWhenRan = QApplication::activeModalWidget() != nullptr;
        },
        0);
    QMessageBox question(QMessageBox::Question, "Welches Format", "Im C++ Format speichern ?",
                         QMessageBox::Yes | QMessageBox::No);
    bool ranWhileOpen = true;
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(300, [&] {
        ranWhileOpen = ran;
        EXPECT_TRUE(stop.Pending());
        question.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(question.exec(), QMessageBox::Yes);
    EXPECT_FALSE(ranWhileOpen);
    EXPECT_TRUE(RunEventsUntil(ran));
    EXPECT_FALSE(questionOpenWhenRan);
}

}  // namespace
}  // namespace qv
