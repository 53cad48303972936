// SPDX-License-Identifier: GPL-3.0-or-later
// The value inspector in the real main window: its command, the rows following the cursor
// by key and by click, a value typed into a row and taken back with Ctrl+Z, and the byte
// order kept across a restart.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include "analysis/ui/ValueInspectorDock.h"
#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"
#include "view/ui/LineViewWidget.h"

namespace qv {
namespace {

class ValueInspectorDockTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetState(); }
    void TearDown() override { ForgetState(); }
    static void ForgetState()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival");
        settings.remove("ValueInspector");
        settings.remove("Settings");
    }

    std::unique_ptr<CHexApp> Start()
    {
        const std::string file = dir.Write("value.bin", std::vector<uint8_t>{0x00, 0x00, 0x80, 0x3F, 0x11, 0x22, 0x33, 0x44});
        auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
        EXPECT_TRUE(app->Start(QStringList{"quarnival", QString::fromStdString(file)}));
        app->Frame()->show();
        app->Frame()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(app->Frame()));  // the window's keys need it active
        return app;
    }

    static QString Value(CMainFrame& frame, InspectorRow row)
    {
        QTest::qWait(20);  // the rows are read again once the command that moved or edited is done
        return frame.ValueInspector()->Table()->item(static_cast<int>(row), ValueInspectorDock::kValueColumn)->text();
    }

    // Double click on a row's name, the value typed, Enter.
    static void Type(CMainFrame& frame, InspectorRow row, const QString& text)
    {
        InspectorTable* table = frame.ValueInspector()->Table();
        QApplication::processEvents();
        table->scrollToItem(table->item(static_cast<int>(row), 0));
        const QRect cell = table->visualItemRect(table->item(static_cast<int>(row), 0));
        // The first click of the double click, as a user's mouse sends it.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        // The open editor: one closed before may still wait for its deletion.
        QLineEdit* editor = nullptr;
        for (QLineEdit* candidate : table->viewport()->findChildren<QLineEdit*>())
            if (candidate->isVisible()) editor = candidate;
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(20);  // the value is written once the editor has closed
    }

    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
};

TEST_F(ValueInspectorDockTest, RowsFollowTheCursorByKeyAndByClick)
{
    auto app = Start();
    CMainFrame& frame = *app->Frame();
    EXPECT_TRUE(frame.ValueInspector()->isHidden());
    frame.ExecuteCommand(32904);
    ASSERT_TRUE(frame.ValueInspector()->isVisible());
    EXPECT_TRUE(frame.ActionFor(32904)->isChecked());
    EXPECT_EQ(Value(frame, InspectorRow::Float32), "1.0");
    EXPECT_EQ(Value(frame, InspectorRow::Int32), "1065353216");

    LineViewWidget* widget = frame.ViewWidget();
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Right);
    QTest::keyClick(widget, Qt::Key_Right);
    EXPECT_EQ(app->View()->CursorOffset(), 1);
    EXPECT_EQ(Value(frame, InspectorRow::UInt16), "32768");

    CHexView& view = *app->View();
    int32_t column = 0;
    int64_t line = 0;
    view.PositionOfOffset(6, column, line);
    const QPoint byte6(view.LeftMargin() + column * view.CharWidth() + view.CharWidth() / 2,
                       static_cast<int>(line - view.TopLine()) * view.CharHeight() + view.CharHeight() / 2);
    QTest::mouseClick(widget, Qt::LeftButton, {}, byte6);
    EXPECT_EQ(view.CursorOffset(), 6);
    EXPECT_EQ(Value(frame, InspectorRow::UInt16), "17459");
    EXPECT_EQ(Value(frame, InspectorRow::Int32), "-");

    frame.ExecuteCommand(32904);
    EXPECT_TRUE(frame.ValueInspector()->isHidden());
}

TEST_F(ValueInspectorDockTest, ATypedValueIsWrittenAndCtrlZTakesItBack)
{
    auto app = Start();
    CMainFrame& frame = *app->Frame();
    frame.ExecuteCommand(32904);
    Type(frame, InspectorRow::Float32, "1.5");
    int64_t length = 0;
    const uint8_t* bytes = app->View()->GetBuffer(&length, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{0x00, 0x00, 0xC0, 0x3F}));
    EXPECT_EQ(Value(frame, InspectorRow::Float32), "1.5");

    QTest::keyClick(frame.ValueInspector()->Table(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(Value(frame, InspectorRow::Float32), "1.0");

    Type(frame, InspectorRow::Int8, "300");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "\"300\" ist kein Wert vom Typ int8.");
    EXPECT_EQ(bytes[0], 0x00);
}

// F2 and Enter on a row without typing is no edit: nothing is written, undone or refused.
TEST_F(ValueInspectorDockTest, AValueConfirmedUnchangedWritesNothing)
{
    auto app = Start();
    CMainFrame& frame = *app->Frame();
    frame.ExecuteCommand(32904);
    Type(frame, InspectorRow::Float32, "1.0");
    app->View()->SetCursorOffset(6, false);
    Type(frame, InspectorRow::Int32, Value(frame, InspectorRow::Int32));  // "-": too few bytes
    EXPECT_FALSE(app->View()->IsModified());
    EXPECT_FALSE(app->View()->CanUndo());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ValueInspectorDockTest, TheByteOrderIsKeptAcrossARestart)
{
    {
        auto app = Start();
        CMainFrame& frame = *app->Frame();
        frame.ExecuteCommand(32904);
        frame.ValueInspector()->BigEndianButton()->click();
        EXPECT_EQ(Value(frame, InspectorRow::UInt16), "0");
        EXPECT_EQ(Value(frame, InspectorRow::UInt32), "32831");
    }
    auto app = Start();
    CMainFrame& frame = *app->Frame();
    EXPECT_TRUE(frame.ValueInspector()->BigEndianButton()->isChecked());
    // The dock was open when the window closed: it comes back with the window's state.
    EXPECT_TRUE(frame.ValueInspector()->isVisible());
    EXPECT_EQ(Value(frame, InspectorRow::UInt32), "32831");
}

}  // namespace
}  // namespace qv
