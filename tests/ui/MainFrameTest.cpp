// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user meets it: title, menus, keys, enabled commands, window options.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QImage>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "document/HexDoc.h"
#include "view/ui/LineViewWidget.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"

namespace qv {
namespace {

class MainFrameTest : public ::testing::Test {
protected:
    std::unique_ptr<CHexApp> Start(const QStringList& arguments)
    {
        // Toolbars and docks come back as a run left them: each test starts from the defaults.
        ForgetLayout();
        auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
        started = app->Start(QStringList{"quarnival"} + arguments);
        QApplication::processEvents();
        return app;
    }

    static void ForgetLayout()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival");
        settings.remove("Settings/WindowState");
        settings.remove("Settings/WindowGeometry");
    }

    QStringList MenuTitles(CMainFrame& frame)
    {
        QStringList titles;
        for (QAction* action : frame.menuBar()->actions()) titles << action->text();
        return titles;
    }

    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
    bool started = false;
};

TEST_F(MainFrameTest, WithoutAFileTheWindowShowsANewUntitledDocument)
{
    auto app = Start({});
    ASSERT_TRUE(started);
    CMainFrame& frame = *app->Frame();
    EXPECT_EQ(frame.windowTitle(), "Unbenannt - Quarnival");
    EXPECT_EQ(MenuTitles(frame), (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "Module", "&?"}));
    int64_t length = 0;
    app->View()->GetBuffer(&length, nullptr);
    EXPECT_EQ(length, 256);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Bereit");

    const QImage shot = frame.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_GE(shot.width(), 400);
    EXPECT_EQ(shot.height(), frame.height());
}

TEST_F(MainFrameTest, WithAFileTheTitleNamesItAndStartOptionsActOnItOnly)
{
    const auto path = dir.Write("name.bin", std::vector<uint8_t>{1, 2, 3});
    auto app = Start({"/A:0x1000", "/r", QString::fromStdString(path)});
    ASSERT_TRUE(started);
    EXPECT_EQ(app->Frame()->windowTitle(), "name.bin - Quarnival");
    uint64_t base = 0;
    app->View()->GetBuffer(nullptr, &base);
    EXPECT_EQ(base, 0x1000u);
    EXPECT_TRUE(app->View()->IsReadOnly());
    // The options are cleared after the start-up file.
    EXPECT_EQ(app->Options().BaseAddress, 0u);
    EXPECT_EQ(app->Options().AccessMode, 0);
}

TEST_F(MainFrameTest, AStartUpFileThatCannotBeOpenedEndsTheProgramAfterItsMessage)
{
    auto app = Start({QString::fromStdString(dir.File("missing.bin"))});
    EXPECT_FALSE(started);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, dir.File("missing.bin") + " wurde nicht gefunden.");
}

TEST_F(MainFrameTest, AFailedOpenLeavesAnUntitledUnchangedDocumentAndSaysSoWhileTheErrorIsUp)
{
    auto app = Start({QString::fromStdString(dir.Write("y.bin", std::vector<uint8_t>(8, 0)))});
    ASSERT_TRUE(started);
    CMainFrame& frame = *app->Frame();
    auto* view = frame.findChild<LineViewWidget*>();
    ASSERT_NE(view, nullptr);
    view->setFocus();
    QTest::keyClicks(view, "77");
    ASSERT_TRUE(app->View()->IsModified());

    QStringList titles;
    prompt.onShow = [&] { titles << frame.windowTitle(); };
    prompt.answers = {PromptAnswer::No};
    frame.OpenFile(dir.File("x.bin"));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text, dir.File("x.bin") + " wurde nicht gefunden.");
    EXPECT_EQ(titles, (QStringList{"y.bin - Quarnival", "Unbenannt - Quarnival"}));
    EXPECT_EQ(frame.windowTitle(), "Unbenannt - Quarnival");

    // File > New asks nothing about the empty document (a question would be cancelled).
    prompt.answers = {PromptAnswer::Cancel};
    frame.ExecuteCommand(57600);
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_FALSE(app->View()->IsModified());
}

TEST_F(MainFrameTest, CommandsWithoutHandlerAreDisabledAndSaveFollowsTheMapping)
{
    const auto path = dir.Write("big.bin", std::vector<uint8_t>(4096, 0));
    auto app = Start({"/M", "/W", QString::fromStdString(path)});
    ASSERT_TRUE(started);
    CMainFrame& frame = *app->Frame();
    frame.UpdateCommandStates();
    EXPECT_FALSE(frame.ActionFor(57603)->isEnabled());  // no saving while mapped
    EXPECT_FALSE(frame.ActionFor(57604)->isEnabled());
    EXPECT_TRUE(frame.ActionFor(57601)->isEnabled());
    EXPECT_TRUE(frame.ActionFor(57664)->isEnabled());
    // The data window's refresh waits until the window is shown.
    EXPECT_TRUE(frame.ActionFor(32801)->isEnabled());
    EXPECT_FALSE(frame.ActionFor(32808)->isEnabled());

    app->Document()->FileNew();
    frame.UpdateCommandStates();
    EXPECT_TRUE(frame.ActionFor(57603)->isEnabled());
}

TEST_F(MainFrameTest, KeysAndToolbarFollowTheCommandTable)
{
    auto app = Start({});
    CMainFrame& frame = *app->Frame();
    EXPECT_EQ(frame.ActionFor(57643)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}));
    EXPECT_EQ(frame.ActionFor(32783)->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_EQ(frame.ActionFor(32783)->text(), "Sch&rift einstellen\tStrg+T");  // the key it really has
    EXPECT_EQ(frame.ActionFor(57603)->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(frame.ActionFor(32800)->shortcut(), QKeySequence("F2"));
    EXPECT_EQ(frame.ActionFor(32771)->toolTip(), "Weitersuchen");
    EXPECT_EQ(frame.ActionFor(32771)->statusTip(), "Suche weiter nach dem vorherigen Ausdruck");

    auto* toolbar = frame.findChild<QToolBar*>("MainToolbar");
    ASSERT_NE(toolbar, nullptr);
    int buttons = 0;
    for (QAction* action : toolbar->actions()) {
        if (action->isSeparator()) continue;
        ++buttons;
        EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
    }
    EXPECT_EQ(buttons, 21);  // with compare, next and previous difference
}

TEST_F(MainFrameTest, FlatToolbarAndTopMostToggleAndFlatModeIsKeptAtExit)
{
    {
        auto app = Start({});
        CMainFrame& frame = *app->Frame();
        EXPECT_EQ(frame.FlatMode(), 1u);
        frame.ExecuteCommand(32794);
        EXPECT_EQ(frame.FlatMode(), 0u);
        EXPECT_FALSE(frame.ActionFor(32794)->isChecked());
        frame.ExecuteCommand(32794);
        EXPECT_TRUE(frame.ActionFor(32794)->isChecked());

        frame.ExecuteCommand(32832);
        EXPECT_TRUE(frame.TopMost());
        EXPECT_TRUE(frame.windowFlags() & Qt::WindowStaysOnTopHint);
        frame.ExecuteCommand(32832);
        EXPECT_FALSE(frame.windowFlags() & Qt::WindowStaysOnTopHint);

        frame.ExecuteCommand(59392);
        EXPECT_FALSE(frame.findChild<QToolBar*>("MainToolbar")->isVisible());
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival");
    EXPECT_EQ(settings.value("Settings/FlatMode").toInt(), 1);
}

TEST_F(MainFrameTest, TheFocusedViewShowsItsTwoStatusPanes)
{
    auto app = Start({});
    CMainFrame& frame = *app->Frame();
    QApplication::setActiveWindow(&frame);
    frame.ViewWidget()->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(frame.PaneCount(), 2);
    EXPECT_TRUE(frame.PaneText(0).startsWith(" Adr:"));
    EXPECT_TRUE(frame.PaneText(1).startsWith(" Wert:"));
    EXPECT_FALSE(frame.SetPaneText(5, "x"));
}

TEST_F(MainFrameTest, EscapeAsksToSaveAChangedDocumentAndEndsTheProgram)
{
    auto app = Start({});
    CMainFrame& frame = *app->Frame();
    app->View()->SetModified(true);
    prompt.answers = {PromptAnswer::Cancel};
    frame.ExecuteCommand(57665);
    EXPECT_TRUE(frame.isVisible());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("speichern?"), std::string::npos);

    prompt.answers = {PromptAnswer::No};
    frame.ExecuteCommand(57665);
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainFrameTest, TheWindowComesBackAtItsSizeAndAWideDockLeavesTheViewUsable)
{
    // A run that enlarges the window and widens the data window, then ends.
    QSize leftSize;
    {
        auto app = Start({});
        CMainFrame& frame = *app->Frame();
        frame.ExecuteCommand(32801);
        frame.resize(700, frame.height() + 60);
        auto* dock = frame.findChild<QDockWidget*>();
        ASSERT_NE(dock, nullptr);
        frame.resizeDocks({dock}, {frame.width() * 3 / 4}, Qt::Horizontal);
        QApplication::processEvents();
        leftSize = frame.size();
        EXPECT_TRUE(frame.close());
    }

    // Started again with the saved layout: same size, and the view is not squeezed by the dock.
    std::unique_ptr<CHexApp> app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app->Start({"quarnival"}));
    QApplication::processEvents();
    CMainFrame& frame = *app->Frame();
    EXPECT_EQ(frame.size(), leftSize);
    auto* dock = frame.findChild<QDockWidget*>();
    ASSERT_TRUE(dock->isVisible());
    const int usable = app->View()->CharWidth() * 20;  // an address and a few bytes
    EXPECT_GE(frame.ViewWidget()->width(), usable);
    app.reset();

    // A window narrower than the saved dock: the dock gives way, not the view.
    QWidget narrow;
    narrow.setGeometry(40, 40, 400, 450);
    QSettings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival")
        .setValue("Settings/WindowGeometry", narrow.saveGeometry());
    app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app->Start({"quarnival"}));
    QApplication::processEvents();
    EXPECT_LT(app->Frame()->width(), leftSize.width());
    EXPECT_TRUE(app->Frame()->findChild<QDockWidget*>()->isVisible());
    EXPECT_GE(app->Frame()->ViewWidget()->width(), usable);
}

TEST_F(MainFrameTest, AWindowTheUserMaximisedStaysMaximisedAndATooLargeOneIsFittedToTheScreen)
{
    auto startMaximised = [&](const QStringList& arguments) {
        auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
        EXPECT_TRUE(app->Start(QStringList{"quarnival"} + arguments));
        return app->Frame()->isMaximized();
    };
    {
        auto app = Start({"/Z"});
        EXPECT_TRUE(app->Frame()->isMaximized());
        EXPECT_TRUE(app->Frame()->close());
    }
    // /Z counts for its own start only.
    EXPECT_FALSE(startMaximised({}));
    {
        auto app = Start({});
        app->Frame()->showMaximized();
        EXPECT_TRUE(app->Frame()->close());
    }
    EXPECT_TRUE(startMaximised({}));
    EXPECT_TRUE(startMaximised({"/Z"}));
    EXPECT_TRUE(startMaximised({}));

    // A layout saved on a larger screen than the one there now.
    QWidget large;
    large.setGeometry(3000, 2000, 4000, 3000);
    QSettings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival")
        .setValue("Settings/WindowGeometry", large.saveGeometry());
    auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app->Start({"quarnival"}));
    QApplication::processEvents();
    const QRect screen = app->Frame()->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(app->Frame()->frameGeometry()));
}

}  // namespace
}  // namespace qv
