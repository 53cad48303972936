// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's runner for long work: silent for short work, a modal progress dialog with
// "Abbrechen" for long work, the work on a thread of its own, and a cancel that stops it.
#include "platform/qt/QtTaskRunner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace qv {
namespace {

// Counts the times it was painted.
class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

void Rest() { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }

TEST(QtTaskRunner, ShortWorkRunsOnItsOwnThreadWhileNoEventIsHandled)
{
    QtTaskRunner runner;
    bool running = true, timerRanDuringWork = false;
    QTimer::singleShot(0, [&] { timerRanDuringWork = running; });
    std::thread::id workThread;
    bool markedRunning = false;
    EXPECT_TRUE(runner.Run("kurz", [&](TaskProgress&) {
        workThread = std::this_thread::get_id();
        markedRunning = LongTaskRunning();
    }));
    running = false;
    QApplication::processEvents();
    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_TRUE(markedRunning);
    EXPECT_FALSE(LongTaskRunning());
    EXPECT_FALSE(timerRanDuringWork);
}

TEST(QtTaskRunner, LongWorkShowsProgressKeepsWindowsPaintingAndStopsOnAbbrechen)
{
    QtTaskRunner runner;
    runner.SetShowAfter(0);
    PaintCounter window;
    window.resize(100, 100);
    window.show();
    QApplication::processEvents();
    QString label, button;
    int shownProgress = -1, paintsBefore = 0;
    QTimer::singleShot(300, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "LongTaskDialog");
        label = dialog->findChild<QLabel*>()->text();
        shownProgress = dialog->findChild<QProgressBar*>("progress")->value();
        button = dialog->findChild<QPushButton*>("cancel")->text();
        paintsBefore = window.paints;
        window.update();
        QTimer::singleShot(100, [&, dialog] { dialog->findChild<QPushButton*>("cancel")->click(); });
    });
    std::atomic<bool> sawCancel = false;
    EXPECT_FALSE(runner.Run("Suche läuft …", [&](TaskProgress& progress) {
        for (int64_t done = 0; !progress.Cancelled(); ++done) {
            progress.Report(std::min<int64_t>(done, 500), 1000);
            Rest();
        }
        sawCancel = true;
    }));
    EXPECT_TRUE(sawCancel);
    EXPECT_EQ(label, QString::fromUtf8("Suche läuft …"));
    EXPECT_EQ(button, "Abbrechen");
    EXPECT_GT(shownProgress, 0);
    EXPECT_LE(shownProgress, 500);
    EXPECT_GT(window.paints, paintsBefore);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtTaskRunner, TheDialogClosesWhenTheWorkEnds)
{
    QtTaskRunner runner;
    runner.SetShowAfter(0);
    bool dialogShown = false;
    QTimer::singleShot(50, [&] { dialogShown = QApplication::activeModalWidget() != nullptr; });
    EXPECT_TRUE(runner.Run("", [](TaskProgress&) { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }));
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtTaskRunner, WhatTheWorkThrowsIsThrownOnceItsThreadEnded)
{
    QtTaskRunner runner;
    EXPECT_THROW(runner.Run("", [](TaskProgress&) { throw std::runtime_error("kaputt"); }), std::runtime_error);
    EXPECT_FALSE(LongTaskRunning());
}

}  // namespace
}  // namespace qv
