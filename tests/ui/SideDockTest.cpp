// SPDX-License-Identifier: GPL-3.0-or-later
// The data window and the value inspector beside the hex view: showing the first of them
// widens the window so that the view keeps its bytes per row, the second joins it without
// more room, and the width comes back when the last one goes.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTest>

#include "analysis/ui/ValueInspectorDock.h"
#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "modules/ui/DataWindowDock.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

constexpr int kDataWindowCommand = 32801;
constexpr int kInspectorCommand = 32904;

TEST(SideDock, TheFirstDockWidensTheWindowAndTheLastGivesTheWidthBack)
{
    QSettings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival").remove("Settings");
    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
    CHexApp app(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app.Start({"quarnival", QString::fromStdString(dir.Write("d.bin", std::vector<uint8_t>(64, 1)))}));
    CMainFrame& frame = *app.Frame();
    frame.show();
    frame.resize(420, 300);
    QTest::qWait(20);
    const int narrow = frame.width();

    ASSERT_TRUE(frame.ExecuteCommand(kDataWindowCommand));
    QTest::qWait(20);
    ASSERT_TRUE(frame.DataWindow()->isVisible());
    const int wide = frame.width();
    EXPECT_GT(wide, narrow);

    ASSERT_TRUE(frame.ExecuteCommand(kInspectorCommand));  // a tab beside the data window
    QTest::qWait(20);
    EXPECT_EQ(frame.width(), wide);
    ASSERT_TRUE(frame.ExecuteCommand(kDataWindowCommand));  // the inspector keeps the room
    QTest::qWait(20);
    EXPECT_EQ(frame.width(), wide);
    ASSERT_TRUE(frame.ExecuteCommand(kInspectorCommand));
    QTest::qWait(20);
    EXPECT_FALSE(frame.ValueInspector()->isVisible());
    EXPECT_EQ(frame.width(), narrow);
}

}  // namespace
}  // namespace qv
