// SPDX-License-Identifier: GPL-3.0-or-later
// A compare in the main window: started from the command line and from its dialog, the
// moves from run to run in both panes, the panes kept together, an edit that removes a
// mark, and the end of the compare when another file is opened.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSplitter>
#include <QTest>
#include <cstdlib>
#include <unistd.h>

#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "compare/CompareCommandIds.h"
#include "compare/CompareDialog.h"
#include "compare/ui/CompareController.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/ScriptedTaskRunner.h"
#include "tests/support/TempDir.h"
#include "view/ui/LineViewWidget.h"

namespace qv {
namespace {

class CompareViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<uint8_t> a(0x1000);
        for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<uint8_t>(i * 13 + 7);
        std::vector<uint8_t> b = a;
        for (size_t i = 0x40; i < 0x44; ++i) b[i] ^= 0xFF;  // 4 bytes
        b[0x123] = 0x91;                                    // 1 byte, a[0x123] is not 0x91
        for (size_t i = 0x300; i < 0x314; ++i) b[i] ^= 1;   // 20 bytes
        b.insert(b.end(), {'T', 'A', 'I', 'L'});            // the other file is longer
        left_ = dir_.Write("a.bin", a);
        right_ = dir_.Write("b.bin", b);
    }
    void Start(QStringList extra = {})
    {
        app_ = std::make_unique<CHexApp>(AppOverrides{&prompt_, &dialogs_});
        ASSERT_TRUE(app_->Start(QStringList{"quarnival", "--compare", QString::fromStdString(left_),
                                            QString::fromStdString(right_)} +
                                extra));
        QApplication::processEvents();
        ASSERT_NE(Compare(), nullptr);
    }
    // Paints what changed, and lets the other pane follow.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    CompareController* Compare() { return CompareController::Of(app_->Frame()->Context()); }
    CHexView& Left() { return *app_->View(); }
    CHexView& Right() { return Compare()->RightView(); }
    using Span = std::pair<int64_t, int64_t>;
    static Span Selected(const CHexView& view)
    {
        const HighlightMark& mark = view.Mark(0);
        if (!mark.active) return {-1, -1};
        return {std::min(mark.first, mark.last), std::max(mark.first, mark.last)};
    }
    // Whether the byte at `offset` of the view is drawn in the colour of differences.
    static bool MarkedAsDifferent(const CHexView& view, int64_t offset)
    {
        RowText row;
        const int64_t perRow = view.BytesPerRow();
        view.BuildRow((offset + view.RowLayout().Phase()) / perRow, false, row);
        const int32_t column = view.RowLayout().HexColumn(static_cast<int32_t>((offset + view.RowLayout().Phase()) % perRow));
        return row.attributes[static_cast<size_t>(column)] == view.Style().colors.FindByIndex(kDifferenceColorIndex);
    }

    test::TempDir dir_;
    std::string left_, right_;
    test::FakePrompt prompt_;
    test::FakeDialogService dialogs_;
    std::unique_ptr<CHexApp> app_;
};

TEST_F(CompareViewTest, CommandsMoveFromRunToRunInBothPanesAndBeepAtTheEnds)
{
    Start();
    Compare()->CountAll();
    EXPECT_EQ(Compare()->CountText(), "29 Unterschiede, 4 Bereiche");
    auto next = [&] { return app_->Frame()->ExecuteCommand(CmdNextDifference); };
    ASSERT_TRUE(next());
    EXPECT_EQ(Selected(Left()), Span(0x40, 0x43));
    EXPECT_EQ(Selected(Right()), Span(0x40, 0x43));
    next();
    EXPECT_EQ(Selected(Left()), Span(0x123, 0x123));
    app_->Frame()->ExecuteCommand(CmdPreviousDifference);
    EXPECT_EQ(Selected(Left()), Span(0x40, 0x43));
    EXPECT_EQ(Left().CursorOffset(), 0x40);
    app_->Frame()->ExecuteCommand(CmdPreviousDifference);
    EXPECT_EQ(prompt_.beeps, 1) << "no run before the first";
    EXPECT_EQ(Selected(Left()), Span(0x40, 0x43));

    // "Abbrechen" while the next run is looked for leaves both panes as they were.
    test::ScriptedTaskRunner tasks;
    app_->Frame()->Context().tasks = &tasks;
    tasks.cancelNext = true;
    next();
    EXPECT_EQ(tasks.titles, std::vector<std::string>{"Unterschied suchen"});
    EXPECT_EQ(Selected(Left()), Span(0x40, 0x43));
    EXPECT_EQ(Selected(Right()), Span(0x40, 0x43));
    EXPECT_EQ(Left().CursorOffset(), 0x40);
    EXPECT_EQ(prompt_.beeps, 1);

    // The last run is the one the document does not have: only the other pane selects it.
    next(), next(), next();
    EXPECT_EQ(Selected(Right()), Span(0x1000, 0x1003));
    EXPECT_EQ(Right().CursorOffset(), 0x1000);
    EXPECT_EQ(Left().CursorOffset(), 0xFFF);
    EXPECT_EQ(Compare()->PartnerText(), "Rechts: FA");  // beside the document's last byte, 0xFFF * 13 + 7
    next();
    EXPECT_EQ(prompt_.beeps, 2);
}

TEST_F(CompareViewTest, PanesScrollTogetherAndFollowEachOthersCursor)
{
    Start({"--offset", "0x10", "--offset2", "0"});
    Settle();
    EXPECT_EQ(Right().BytesPerRow(), Left().BytesPerRow());
    Left().ScrollToOffset(0x810, false);
    Settle();
    // Left 0x810 stands beside right 0x800, in the same row and column.
    EXPECT_EQ(Right().TopOffset(false), 0x800u);
    const int64_t rows = 0x10 / Left().BytesPerRow();
    EXPECT_EQ(Right().TopLine(), Left().TopLine() - rows);
    Left().SetCursorOffset(0x905, false);
    Settle();
    EXPECT_EQ(Right().CursorOffset(), 0x8F5);
    EXPECT_EQ(Right().CursorLine(), Left().CursorLine() - rows);
    EXPECT_EQ(Right().CursorColumn(), Left().CursorColumn());
    Right().SetCursorOffset(0x100, false);
    Settle();
    EXPECT_EQ(Left().CursorOffset(), 0x110);
}

TEST_F(CompareViewTest, TypingTheOtherFilesValueRemovesTheMarkInBothPanes)
{
    Start();
    QWidget* view = app_->Frame()->ViewWidget();
    view->setFocus();
    Left().SetCursorOffset(0x123, false);
    ASSERT_TRUE(MarkedAsDifferent(Left(), 0x123));
    ASSERT_TRUE(MarkedAsDifferent(Right(), 0x123));
    EXPECT_FALSE(MarkedAsDifferent(Left(), 0x124));
    QTest::keyClicks(view, "91");
    QApplication::processEvents();
    EXPECT_FALSE(MarkedAsDifferent(Left(), 0x123));
    EXPECT_FALSE(MarkedAsDifferent(Right(), 0x123));
    Compare()->CountAll();
    EXPECT_EQ(Compare()->CountText(), "28 Unterschiede, 3 Bereiche");
    app_->Frame()->ExecuteCommand(CmdUndo);
    Compare()->CountAll();
    EXPECT_EQ(Compare()->CountText(), "29 Unterschiede, 4 Bereiche");
}

TEST_F(CompareViewTest, PaneKeysSwitchTheFocusAndOpeningAnotherFileEndsTheCompare)
{
    Start();
    app_->Frame()->show();
    app_->Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app_->Frame()));
    app_->Frame()->ViewWidget()->setFocus();
    app_->Frame()->ExecuteCommand(CmdNextPane);
    EXPECT_EQ(QApplication::focusWidget(), Compare()->RightWidget());
    app_->Frame()->ExecuteCommand(CmdPreviousPane);
    EXPECT_EQ(QApplication::focusWidget(), app_->Frame()->ViewWidget());

    app_->Frame()->OpenFile(right_);
    EXPECT_EQ(Compare(), nullptr);
    // The window's content is back: the view (with the entropy strip beside it) without the splitter.
    EXPECT_EQ(app_->Frame()->centralWidget(), app_->Frame()->ViewWidget()->parentWidget());
    EXPECT_FALSE(app_->Frame()->IsCommandEnabled(CmdNextDifference));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app_->Frame()->findChild<QSplitter*>(), nullptr);
}

TEST_F(CompareViewTest, AnOtherFileShortenedByAnotherProgramEndsTheCompareWithAMessage)
{
    Start();
    app_->Frame()->show();
    Settle();
    // Its last page is gone: the pane would show zeros there, the count would take them.
    ASSERT_EQ(::truncate(right_.c_str(), 0x800), 0);
    Right().SetCursorOffset(0x1003, false);
    QTest::qWait(50);
    EXPECT_EQ(Compare(), nullptr);
    ASSERT_FALSE(prompt_.shown.empty());
    EXPECT_NE(prompt_.shown.back().text.find("verkürzt"), std::string::npos) << prompt_.shown.back().text;
    EXPECT_EQ(Left().Length(), 0x1000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(CompareViewTest, NoCompareWhenTheStartFileIsNotOpened)
{
    // Unsaved edits of the start file in the journal, and "Abbrechen" when they are offered:
    // the editor starts empty, with nothing to compare.
    const std::string savedStateHome = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    ::setenv("XDG_STATE_HOME", dir_.Path().c_str(), 1);
    {
        CHexApp first(AppOverrides{&prompt_, &dialogs_});
        ASSERT_TRUE(first.Start(QStringList{"quarnival", QString::fromStdString(left_)}));
        for (char c : std::string("C3")) first.View()->HandleChar(static_cast<uint8_t>(c), 1, 0);
        first.OnStopRequest();
    }
    prompt_.answers = {PromptAnswer::Cancel};
    app_ = std::make_unique<CHexApp>(AppOverrides{&prompt_, &dialogs_});
    ASSERT_TRUE(app_->Start(QStringList{"quarnival", "--compare", QString::fromStdString(left_),
                                        QString::fromStdString(right_)}));
    ::setenv("XDG_STATE_HOME", savedStateHome.c_str(), 1);
    EXPECT_EQ(app_->Frame()->windowTitle(), "Unbenannt - Quarnival");
    EXPECT_EQ(Compare(), nullptr);
}

TEST_F(CompareViewTest, DialogStartsACompareWithOffsetsOrSaysWhyItCannot)
{
    app_ = std::make_unique<CHexApp>(AppOverrides{&prompt_, &dialogs_});
    ASSERT_TRUE(app_->Start(QStringList{"quarnival", QString::fromStdString(left_)}));
    EXPECT_FALSE(app_->Frame()->IsCommandEnabled(CmdEndCompare));
    auto fill = [](std::string path, std::string leftStart) {
        return [=](DialogModel& model) {
            auto& dialog = static_cast<CompareDialog&>(model);
            dialog.path = path;
            dialog.leftStart = leftStart;
            dialog.rightStart = "0x20 - 0x10";
            return true;
        };
    };
    // After each refusal the dialog comes back with what was typed, until the user cancels.
    std::vector<std::string> shownPaths;
    dialogs_.steps.push_back(fill(dir_.File("missing.bin"), "0"));
    dialogs_.steps.push_back([&](DialogModel& model) {
        shownPaths.push_back(static_cast<CompareDialog&>(model).path);
        return false;
    });
    app_->Frame()->ExecuteCommand(CmdCompareFiles);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_NE(prompt_.shown[0].text.find("gibt es nicht"), std::string::npos) << prompt_.shown[0].text;
    EXPECT_EQ(shownPaths, std::vector<std::string>{dir_.File("missing.bin")});
    EXPECT_EQ(Compare(), nullptr);

    dialogs_.steps.push_back(fill(right_, "0x2000"));
    dialogs_.steps.push_back([](DialogModel& model) {
        static_cast<CompareDialog&>(model).leftStart = "4";  // the user mends the wrong start
        return true;
    });
    app_->Frame()->ExecuteCommand(CmdCompareFiles);
    EXPECT_NE(prompt_.shown.back().text.find("hinter dem Ende des Dokuments"), std::string::npos);
    ASSERT_NE(Compare(), nullptr);
    EXPECT_EQ(Compare()->Session().Finder().Alignment(), (CompareAlignment{4, 0x10, -1}));
    app_->Frame()->ExecuteCommand(CmdEndCompare);
    EXPECT_EQ(Compare(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace qv
