// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard commands in the main window, through the real QClipboard: keys, enabled
// states, the code page at the boundary, and the time a 4 MiB dump copy takes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <cstdio>
#include <ctime>

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

class ClipboardCommandsTest : public ::testing::Test {
protected:
    void Start(const std::vector<uint8_t>& bytes)
    {
        app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
        ASSERT_TRUE(app->Start(QStringList{"quarnival", QString::fromStdString(dir.Write("data.bin", bytes))}));
        app->Frame()->show();
        QApplication::processEvents();
    }
    void Select(int32_t first, int32_t afterLast)
    {
        app->View()->SetCursorOffset(static_cast<uint32_t>(first), false);
        app->View()->SelectTo(static_cast<uint32_t>(afterLast), false);
    }
    bool Enabled(int command)
    {
        app->Frame()->UpdateCommandStates();
        return app->Frame()->ActionFor(command)->isEnabled();
    }
    std::vector<uint8_t> Bytes()
    {
        int64_t length = 0;
        const uint8_t* data = app->View()->GetBuffer(&length, nullptr);
        return std::vector<uint8_t>(data, data + length);
    }
    QWidget* ViewWidget() { return app->Frame()->ViewWidget(); }

    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
    std::unique_ptr<CHexApp> app;
};

TEST_F(ClipboardCommandsTest, CopyAndPasteGoThroughTheSystemClipboard)
{
    Start({'H', 'e', 'l', 'l', 'o', 0xE4, 0, 0, 0, 0});
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    EXPECT_FALSE(Enabled(CmdCopy));
    EXPECT_FALSE(Enabled(CmdCopyAsString));
    EXPECT_FALSE(Enabled(CmdPaste)) << "no text on the clipboard";
    EXPECT_TRUE(Enabled(CmdInsertNumber));
    EXPECT_TRUE(Enabled(32867)) << "the document has a path";
    EXPECT_TRUE(Enabled(32831));

    Select(0, 5);
    EXPECT_TRUE(Enabled(CmdCopy));
    EXPECT_TRUE(Enabled(CmdCopyAsSource));
    QTest::keyClick(ViewWidget(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), ":48 65 6C 6C 6F");
    QTest::keyClick(ViewWidget(), Qt::Key_Tab);
    Select(0, 6);
    QTest::keyClick(ViewWidget(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QString::fromUtf8("Hello\xC3\xA4"));  // 0xE4 is ä in Windows-1252

    clipboard->setText("0x1234");  // as another program would
    EXPECT_TRUE(Enabled(CmdPaste));
    app->View()->SetCursorOffset(6, false);
    QTest::keyClick(ViewWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Bytes(), (std::vector<uint8_t>{'H', 'e', 'l', 'l', 'o', 0xE4, 0x34, 0x12, 0, 0}));
    QTest::keyClick(ViewWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Bytes(), (std::vector<uint8_t>{'H', 'e', 'l', 'l', 'o', 0xE4, 0, 0, 0, 0}));

    clipboard->setText(QString::fromUtf8("\"\xC3\xBC\""));  // ü arrives as its Windows-1252 byte
    app->View()->SetCursorOffset(9, false);
    app->Frame()->ActionFor(CmdPaste)->trigger();
    EXPECT_EQ(Bytes()[9], 0xFC);
}

TEST_F(ClipboardCommandsTest, UnreadableTextPastesNothingAndPathsKeepTheirCharacters)
{
    Start({0, 0, 0, 0});
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto offer = [&](const QByteArray& bytes) {
        auto* data = new QMimeData;
        data->setData("text/plain", bytes);
        clipboard->setMimeData(data);
    };
    // Not UTF-8, and a character Windows-1252 has no byte for: nothing is written, a beep.
    for (const QByteArray& bytes : {QByteArray("\"a\xFF\xFEz\""), QByteArray("\"\xCE\xA9\"")}) {
        offer(bytes);
        EXPECT_TRUE(Enabled(CmdPaste));
        const int beeps = prompt.beeps;
        app->Frame()->ActionFor(CmdPaste)->trigger();
        EXPECT_EQ(Bytes(), (std::vector<uint8_t>{0, 0, 0, 0})) << bytes.toStdString();
        EXPECT_EQ(prompt.beeps, beeps + 1);
    }
    offer("\"\xE2\x82\xAC\"");  // "€" has the byte 0x80
    app->Frame()->ActionFor(CmdPaste)->trigger();
    EXPECT_EQ(Bytes()[0], 0x80);
    // The state follows the clipboard's notices.
    clipboard->clear();
    EXPECT_FALSE(Enabled(CmdPaste));

    // "Dateipfad kopieren" hands over the file's name as it is on disk.
    const std::string path = dir.Write("\xCE\xA9-\xE2\x98\xBA.bin", std::vector<uint8_t>(4, 0));
    ASSERT_TRUE(app->Document()->FileOpen(path));
    app->Frame()->ActionFor(32867)->trigger();
    EXPECT_EQ(clipboard->text().toStdString(), path);
}

TEST_F(ClipboardCommandsTest, ACutCopySaysSoInTheStatusBar)
{
    Start(std::vector<uint8_t>(40000, 'a'));
    Select(0, 40000);
    ASSERT_TRUE(Enabled(CmdCopyAsString));
    app->Frame()->ActionFor(CmdCopyAsString)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().size(), 32768);
    EXPECT_EQ(app->Frame()->statusBar()->currentMessage(),
              "Nur 32768 von 40000 Bytes kopiert.");
}

TEST_F(ClipboardCommandsTest, FourMiBDumpCopyTime)
{
    std::vector<uint8_t> bytes(4u << 20);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13 + (i >> 9));
    Start(bytes);
    Select(0, static_cast<int32_t>(bytes.size()));
    ASSERT_EQ(app->View()->Length(), static_cast<int32_t>(bytes.size()));
    ASSERT_TRUE(Enabled(CmdCopy));
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    app->Frame()->ActionFor(CmdCopy)->trigger();
    const qint64 elapsed = timer.elapsed();
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    std::printf("copy of 4 MiB as a hex dump through QClipboard: %lld ms (%.0f ms processor time)\n",
                static_cast<long long>(elapsed), cpuMs);
    const QString text = QGuiApplication::clipboard()->text();
    ASSERT_EQ(text.size(), qsizetype{3} * (4 << 20));
    EXPECT_TRUE(text.startsWith(":00 0D 1A"));
}

}  // namespace
}  // namespace qv
