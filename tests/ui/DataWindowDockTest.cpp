// SPDX-License-Identifier: GPL-3.0-or-later
// The data window in the real main window: F7, loading a shipped module, F8, the list's
// keys and mouse, its context menu, the state kept across a restart, and the speed of a
// long run.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "document/HexDoc.h"
#include "modules/DataWindowDialogs.h"
#include "modules/ui/DataRowModel.h"
#include "modules/ui/DataWindowDock.h"
#include "tests/modules/BmpModule.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"
#include "view/SelectRange.h"

namespace qv {
namespace {

class DataWindowDockTest : public ::testing::Test {
protected:
    // The settings outlive the test binary: each test starts and ends without data window state.
    // Format detection stays off unless a test is about it: it would add pages and switch to them.
    void SetUp() override
    {
        ForgetState();
        QSettings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival").setValue("DataWindow/AutoDetect", 0);
    }
    void TearDown() override { ForgetState(); }
    static void ForgetState()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival");
        settings.remove("DataWindow");
        settings.remove("Settings");
        settings.remove("ModulPath");
    }

    std::unique_ptr<CHexApp> Start(const std::string& file)
    {
        auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
        EXPECT_TRUE(app->Start(QStringList{"quarnival", QString::fromStdString(file)}));
        QApplication::processEvents();
        return app;
    }

    // Answers the module file dialog with the shipped BMP module, noting the folder it offered.
    void ChooseShippedBmp()
    {
        dialogs.steps.push_back([this](DialogModel& model) {
            auto& files = static_cast<ModuleFileDialog&>(model);
            offeredFolder = files.folder;
            files.chosen = {files.folder + "/bmp.dfm"};
            return true;
        });
    }

    // F7, the shipped BMP module, F8: the current page's list with the rows at the cursor.
    DataListView* DecodeWithShippedBmp(CMainFrame& frame)
    {
        frame.ExecuteCommand(32801);
        ChooseShippedBmp();
        frame.ExecuteCommand(32815);
        frame.ExecuteCommand(32808);
        return frame.DataWindow()->CurrentList();
    }

    static QModelIndex Find(DataListView* list, const QString& name)
    {
        const auto found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, name, 1,
                                                Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? QModelIndex() : found.first();
    }

    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
    std::string offeredFolder;
};

TEST_F(DataWindowDockTest, F7ShowsTheDockAndF8FillsItFromTheCursorWithTheShippedBmpModule)
{
    const std::string file = dir.Write("bild.bmp", test::MakeBitmap(2, 2, 8, {0x112233, 0x445566}, {0, 1, 0, 0, 1, 0, 0, 0}));
    auto app = Start(file);
    CMainFrame& frame = *app->Frame();
    DataWindowDock* dock = frame.DataWindow();
    ASSERT_NE(dock, nullptr);
    EXPECT_FALSE(dock->isVisible());
    EXPECT_FALSE(frame.IsCommandEnabled(32808));
    frame.ExecuteCommand(32801);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(frame.ActionFor(32801)->isChecked());
    EXPECT_TRUE(frame.IsCommandEnabled(32808));

    ChooseShippedBmp();
    frame.ExecuteCommand(32815);
    EXPECT_EQ(offeredFolder, DataWindowDock::ShippedModuleFolder().toStdString());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(dock->PageSelector()->tabText(0), "Bitmap");
    frame.ExecuteCommand(32808);
    DataListView* list = dock->CurrentList();
    ASSERT_EQ(list->model()->rowCount(), 3);  // file header, info header, colour table
    EXPECT_TRUE(list->isColumnHidden(kColumnOffset));
    EXPECT_FALSE(list->isColumnHidden(kColumnAddress));

    // Ctrl+C on the first row: its joined text.
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Dateikopf\t0x00");

    // Enter expands; a double click on the 4-byte file size selects its four bytes.
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(list->isExpanded(list->model()->index(0, 0)));
    const QModelIndex size = Find(list, "Dateigröße");
    ASSERT_TRUE(size.isValid());
    list->scrollTo(size);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(size).center());
    int64_t length = 0;
    EXPECT_EQ(app->View()->GetSelection(false, &length), 2u);
    EXPECT_EQ(length, 4);

    // Tab jumps too; Space collapses again.
    const QModelIndex mark = Find(list, "Kennung");
    list->setFocus();
    list->setCurrentIndex(mark);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(app->View()->GetSelection(false, &length), 0u);
    EXPECT_EQ(length, 2);
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_FALSE(list->isExpanded(list->model()->index(0, 0)));

    // Fields of 1 to 255 bytes are selected; longer ones only get the cursor.
    SelectRange(*app->View(), 10, 300);
    EXPECT_EQ(app->View()->CursorOffset(), 10);
    EXPECT_FALSE(app->View()->HasSelection());
    int64_t fileLength = 0;
    app->View()->GetBuffer(&fileLength, nullptr);
    SelectRange(*app->View(), 12, 255);  // beyond the end of the file: cut to its end
    EXPECT_EQ(app->View()->GetSelection(false, &length), 12u);
    EXPECT_EQ(length, fileLength - 12);
    SelectRange(*app->View(), 0, 1);
    EXPECT_EQ(app->View()->GetSelection(false, &length), 0u);
    EXPECT_EQ(length, 1);
}

TEST_F(DataWindowDockTest, OpeningAnotherFileOrANewDocumentEmptiesThePagesAtOnce)
{
    const std::string first = dir.Write("erstes.bmp", test::MakeBitmap(2, 2, 8, {0x112233}, {0, 0, 0, 0, 0, 0, 0, 0}));
    const std::string second = dir.Write("zweites.bmp", test::MakeBitmap(2, 2, 8, {0x445566}, {0, 0, 0, 0, 0, 0, 0, 0}));
    auto app = Start(first);
    CMainFrame& frame = *app->Frame();
    DataListView* list = DecodeWithShippedBmp(frame);
    ASSERT_EQ(list->model()->rowCount(), 3);

    // Tab on a row of the old document must not move the cursor in the new one.
    auto tabOnFirstRow = [&] {
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        QTest::keyClick(list, Qt::Key_Tab);
    };
    frame.OpenFile(second);
    EXPECT_EQ(list->model()->rowCount(), 0);
    SelectRange(*app->View(), 6, 0);
    tabOnFirstRow();
    EXPECT_EQ(app->View()->CursorOffset(), 6);
    EXPECT_FALSE(app->View()->HasSelection());
    frame.DataWindow()->RunListCommand(14093, {});  // "Aktualisieren" has nothing left to decode
    EXPECT_EQ(list->model()->rowCount(), 0);

    SelectRange(*app->View(), 0, 0);
    frame.ExecuteCommand(32808);  // F8 decodes the new file
    ASSERT_EQ(list->model()->rowCount(), 3);
    frame.ExecuteCommand(57600);  // Ctrl+N
    EXPECT_EQ(list->model()->rowCount(), 0);
    tabOnFirstRow();
    EXPECT_EQ(app->View()->CursorOffset(), 0);
    EXPECT_FALSE(app->View()->HasSelection());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DataWindowDockTest, TheContextMenuHoldsEveryEntryInOrderAndCopiesTheColumnUnderTheClick)
{
    const std::string file = dir.Write("bild.bmp", test::MakeBitmap(1, 1, 24, {}, {1, 2, 3, 0}));
    auto app = Start(file);
    CMainFrame& frame = *app->Frame();
    DataWindowDock* dock = frame.DataWindow();
    DataListView* list = DecodeWithShippedBmp(frame);
    list->expand(list->model()->index(0, 0));
    const QModelIndex mark = Find(list, "Kennung");
    const QPoint overValue = list->visualRect(mark.siblingAtColumn(kColumnValue)).center();

    auto menu = dock->CreateContextMenu(overValue);
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? "-" : action->text() + "=" + action->data().toString());
    EXPECT_EQ(texts, (QStringList{"Feld kopieren=14095", "-", "&Modul laden=14083", "Modulliste &laden=14084",
                                  "Module lö&schen=14085", "&Datei in Modulliste=14086",
                                  "Datei a&us Modulliste=14094", "-", "&Adressen anzeigen=14087",
                                  "Län&gen anzeigen=14088", "&Offsets anzeigen=14089", "Abwechselnde Farben=14096",
                                  "Fixe Schrift=14090", "&Linien=14091", "-", "&Aktualisieren=14093",
                                  "&Eigenschaften=14092"}));
    EXPECT_TRUE(menu->actions()[8]->isChecked());    // Adressen (style 0xF93)
    EXPECT_FALSE(menu->actions()[10]->isChecked());  // Offsets

    dock->RunListCommand(14095, overValue);
    EXPECT_EQ(QApplication::clipboard()->text(), "4D42h BM");
    list->header()->setStretchLastSection(false);
    list->resize(list->header()->length() + 100, list->height());
    const QPoint beyondColumns(list->header()->length() + 20, overValue.y());
    ASSERT_FALSE(list->indexAt(beyondColumns).isValid());
    dock->RunListCommand(14095, beyondColumns);
    EXPECT_EQ(QApplication::clipboard()->text(), "0x0");  // the Adresse column, the last one shown
    dock->RunListCommand(14089, overValue);
    EXPECT_FALSE(list->isColumnHidden(kColumnOffset));
    dock->RunListCommand(14085, overValue);  // "Module löschen" empties the lists
    EXPECT_EQ(list->model()->rowCount(), 0);
    dock->RunListCommand(14094, overValue);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Es sind keine Module geladen !");
}

TEST_F(DataWindowDockTest, ARestartKeepsThePagesModuleAndEntryPointAndTheDocksPlace)
{
    const std::string file = dir.Write("bild.bmp", test::MakeBitmap(1, 1, 24, {}, {1, 2, 3, 0}));
    {
        auto app = Start(file);
        CMainFrame& frame = *app->Frame();
        frame.ExecuteCommand(32801);
        ChooseShippedBmp();
        frame.ExecuteCommand(32811);  // "Datei in Modulliste"
        frame.DataWindow()->Window().SelectPage(2);
        frame.addDockWidget(Qt::LeftDockWidgetArea, frame.DataWindow());
        frame.ExecuteCommand(32808);
        EXPECT_GT(frame.DataWindow()->List(2)->model()->rowCount(), 0);
        frame.close();  // the user closes the window before the program ends
    }
    auto app = Start(file);
    CMainFrame& frame = *app->Frame();
    DataWindowDock* dock = frame.DataWindow();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(frame.dockWidgetArea(dock), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(dock->isFloating());
    EXPECT_EQ(dock->Window().CurrentPage(), 2);
    EXPECT_EQ(dock->PageSelector()->tabText(2), "Bitmap");
    frame.ExecuteCommand(32808);
    EXPECT_EQ(dock->CurrentList()->model()->rowCount(), 2);
    EXPECT_TRUE(prompt.shown.empty());

    // A floating data window keeps floating where it was.
    dock->setFloating(true);
    dock->move(40, 50);
    frame.close();
    app.reset();
    auto again = Start(file);
    DataWindowDock* floating = again->Frame()->DataWindow();
    EXPECT_TRUE(floating->isVisible());
    EXPECT_TRUE(floating->isFloating());
}

TEST_F(DataWindowDockTest, APageSelectedAtStartKeepsThePageSelectorOnScreen)
{
    // The last page of the previous run, selected while the dock is still hidden.
    QSettings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival").setValue("Settings/LastDataEntry", 7);
    auto app = Start(dir.Write("daten.bin", std::vector<uint8_t>(64, 0)));
    CMainFrame& frame = *app->Frame();
    frame.ExecuteCommand(32801);
    QApplication::processEvents();
    QTabBar* tabs = frame.DataWindow()->PageSelector();
    EXPECT_EQ(tabs->currentIndex(), 7);
    EXPECT_TRUE(tabs->isVisible());
    EXPECT_GT(tabs->height(), 0);
    EXPECT_TRUE(tabs->rect().intersects(tabs->tabRect(7)));
}

TEST_F(DataWindowDockTest, StartingWithDShowsTheDockThatTheLastRunLeftOpen)
{
    const std::string file = dir.Write("daten.bin", std::vector<uint8_t>(64, 0));
    {
        auto app = Start(file);
        app->Frame()->ExecuteCommand(32801);
        app->Frame()->close();
    }
    CHexApp app(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app.Start(QStringList{"quarnival", "-D", QString::fromStdString(file)}));
    QApplication::processEvents();
    EXPECT_TRUE(app.Frame()->DataWindow()->isVisible());
}

TEST_F(DataWindowDockTest, AFormatPageShownAtTheEndLeavesTheUsersPageForTheNextStart)
{
    QSettings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival").setValue("DataWindow/AutoDetect", 1);
    const std::string bitmap = dir.Write("bild.bmp", test::MakeBitmap(1, 1, 24, {}, {1, 2, 3, 0}));
    {
        auto app = Start(bitmap);
        CMainFrame& frame = *app->Frame();
        frame.DataWindow()->Window().SelectPage(2);
        frame.ExecuteCommand(32801);
        QApplication::processEvents();
        ASSERT_EQ(frame.DataWindow()->Window().CurrentPage(), kMainFrameDataPages);  // the bitmap's page
        frame.close();
    }
    // The next file may have no format, or another: the page the user picked comes back.
    auto app = Start(dir.Write("daten.bin", std::vector<uint8_t>(64, 0)));
    QApplication::processEvents();
    EXPECT_EQ(app->Frame()->DataWindow()->Window().CurrentPage(), 2);
}

TEST_F(DataWindowDockTest, ARunOf16000RowsIsOnScreenAtOnce)
{
    // 16000 one-byte fields in a loop.
    const std::string module = dir.Write("viele.dfm", "BLOCK \"Viele\"\nLOOP 16000 feld\nEXIT\n"
                                                      ":feld BYTE \"Feld\" #H2\nRETURN\n");
    const std::string file = dir.Write("daten.bin", std::vector<uint8_t>(16000, 0xAB));
    auto app = Start(file);
    CMainFrame& frame = *app->Frame();
    DataWindowDock* dock = frame.DataWindow();
    frame.ExecuteCommand(32801);
    ASSERT_TRUE(dock->Window().LoadModule(module));
    dock->Window().SetMaxRows(DataWnd::kMaxRowsLimit);
    DataListView* list = dock->CurrentList();
    qint64 best = 1 << 30, worst = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        frame.ExecuteCommand(32808);
        list->viewport()->repaint();
        best = std::min(best, timer.elapsed());
        worst = std::max(worst, timer.elapsed());
    }
    std::printf("[ measured ] F8 over 16000 rows until painted: best %lld ms, worst %lld ms of 3\n",
                static_cast<long long>(best), static_cast<long long>(worst));
    EXPECT_EQ(list->model()->rowCount(), 16000);
    EXPECT_LT(best, 100);
    EXPECT_EQ(DataRowModel::RowOf(list->indexAt(QPoint(5, 5))), 0);
    list->scrollToBottom();
    QApplication::processEvents();
    EXPECT_GT(DataRowModel::RowOf(list->indexAt(QPoint(5, 5))), 15000);
}

TEST_F(DataWindowDockTest, ARealRightClickCopiesTheFieldUnderThePointer)
{
    const std::string file = dir.Write("bild.bmp", test::MakeBitmap(1, 1, 24, {}, {1, 2, 3, 0}));
    auto app = Start(file);
    CMainFrame& frame = *app->Frame();
    DataListView* list = DecodeWithShippedBmp(frame);
    list->expand(list->model()->index(0, 0));
    QApplication::processEvents();
    // The third row, "Dateigröße", over its value: the menu's copy takes that field, not the one above.
    const QModelIndex size = Find(list, "Dateigröße");
    ASSERT_EQ(size.row(), 1);
    const QPoint inWindow = list->viewport()->mapTo(&frame, list->visualRect(size.siblingAtColumn(kColumnValue)).center());
    bool offered = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions())
            if (action->data().toInt() == 14095) {
                offered = action->isEnabled();
                menu->setActiveAction(action);
            }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QApplication::clipboard()->clear();
    QTest::mouseClick(frame.windowHandle(), Qt::RightButton, {}, inWindow);
    EXPECT_TRUE(offered);
    EXPECT_EQ(QApplication::clipboard()->text(), "58 ");  // 54 bytes of headers and one row of 4
}

TEST_F(DataWindowDockTest, TheDockShowsEveryColumnAndCutTextsShowWholeInATooltip)
{
    const std::string module = dir.Write("lang.dfm", "BLOCK \"Lang\"\nBYTE \"Kurz\"\nBYTE \"Viele Bytes\" 60 #H2\n");
    const std::string file = dir.Write("daten.bin", std::vector<uint8_t>(100, 0x5A));
    auto app = Start(file);
    CMainFrame& frame = *app->Frame();
    DataWindowDock* dock = frame.DataWindow();
    frame.ExecuteCommand(32801);
    ASSERT_TRUE(dock->Window().LoadModule(module));
    frame.ExecuteCommand(32808);
    QApplication::processEvents();
    DataListView* list = dock->CurrentList();
    int columns = 0;
    for (int c = 0; c < kColumnCount; ++c)
        if (!list->isColumnHidden(c)) columns += list->header()->sectionSize(c);
    EXPECT_GE(list->viewport()->width(), columns);

    auto tipAt = [&](int row) {
        QToolTip::hideText();
        const QRect cell = list->visualRect(list->model()->index(row, kColumnValue));
        QHelpEvent help(QEvent::ToolTip, cell.center(), list->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), "");
    EXPECT_EQ(tipAt(1), QString("0x5A ").repeated(60));
}

TEST_F(DataWindowDockTest, AnOpenedFileShowsItsFormatOnAPageOfItsOwnOnceTheDockIsShown)
{
    QSettings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival").setValue("DataWindow/AutoDetect", 1);
    const std::string bitmap = dir.Write("bild.bmp", test::MakeBitmap(1, 1, 24, {}, {1, 2, 3, 0}));
    const std::string plain = dir.Write("daten.bin", std::vector<uint8_t>(64, 0));
    auto app = Start(bitmap);
    CMainFrame& frame = *app->Frame();
    DataWindowDock* dock = frame.DataWindow();
    QApplication::processEvents();
    EXPECT_EQ(dock->PageSelector()->count(), kMainFrameDataPages);  // hidden: nothing looked up yet
    frame.ExecuteCommand(32801);
    QApplication::processEvents();
    ASSERT_EQ(dock->PageSelector()->count(), kMainFrameDataPages + 1);
    EXPECT_EQ(dock->PageSelector()->tabText(kMainFrameDataPages), "Bitmap");
    EXPECT_EQ(dock->PageSelector()->currentIndex(), kMainFrameDataPages);
    EXPECT_EQ(dock->CurrentList()->model()->rowCount(), 2);  // file and info header
    EXPECT_EQ(dock->PageSelector()->tabText(0), "Daten 1");  // no module loaded by hand

    frame.OpenFile(plain);
    QApplication::processEvents();
    EXPECT_EQ(dock->PageSelector()->count(), kMainFrameDataPages);
    EXPECT_EQ(dock->PageSelector()->currentIndex(), 0);
    frame.OpenFile(bitmap);
    QApplication::processEvents();
    EXPECT_EQ(dock->PageSelector()->tabText(kMainFrameDataPages), "Bitmap");
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
}  // namespace qv
