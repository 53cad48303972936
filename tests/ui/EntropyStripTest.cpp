// SPDX-License-Identifier: GPL-3.0-or-later
// The entropy strip beside the hex view: a text, a zero and a random part in order, an edit
// measured again, a click that jumps, and its switch kept across a restart.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTest>
#include <unistd.h>

#include "analysis/ui/EntropyStrip.h"
#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/RandomBytes.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"
#include "view/ui/LineViewWidget.h"

namespace qv {
namespace {

class EntropyStripTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetState(); }
    void TearDown() override { ForgetState(); }
    static void ForgetState()
    {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "QV", "Quarnival");
        settings.remove("EntropyStrip");
        settings.remove("Settings");
    }

    // 64 KiB each of text, zeros and random bytes.
    std::unique_ptr<CHexApp> Start()
    {
        std::vector<uint8_t> bytes;
        while (bytes.size() < 0x10000) {
            const std::string line = "Zeile " + std::to_string(bytes.size()) + " eines Textes.\n";
            bytes.insert(bytes.end(), line.begin(), line.end());
        }
        bytes.resize(0x10000, ' ');
        bytes.resize(0x20000, 0);
        const std::vector<uint8_t> noise = test::RandomBytes(0x10000, 5);
        bytes.insert(bytes.end(), noise.begin(), noise.end());
        const std::string file = dir.Write("parts.bin", bytes);
        auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
        EXPECT_TRUE(app->Start(QStringList{"quarnival", QString::fromStdString(file)}));
        app->Frame()->resize(900, 600);
        app->Frame()->show();
        return app;
    }

    // Lets the measuring slices run until the map is complete.
    static bool MeasureAll(EntropyStrip& strip)
    {
        QElapsedTimer timer;
        timer.start();
        do {
            QApplication::processEvents();
            if (strip.Map().Complete()) return true;
        } while (timer.elapsed() < 10000);
        return false;
    }

    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
};

TEST_F(EntropyStripTest, ShowsTheThreePartsInOrderAndMeasuresEditsAgain)
{
    auto app = Start();
    EntropyStrip& strip = *app->Frame()->Entropy();
    ASSERT_TRUE(strip.isVisible());
    ASSERT_TRUE(MeasureAll(strip));
    const QImage shot = strip.grab().toImage();
    const int x = strip.width() / 2;
    // Away from the frame of the shown rows at the top.
    const QColor text = shot.pixelColor(x, shot.height() * 4 / 18);
    const QColor zero = shot.pixelColor(x, shot.height() * 9 / 18);
    const QColor random = shot.pixelColor(x, shot.height() * 15 / 18);
    EXPECT_EQ(text, EntropyStrip::ColorOf({0, BlockKind::Text}));
    EXPECT_EQ(zero, QColor(Qt::black));
    // Random bytes have nearly 8 bits per byte: the colour of the top of the scale.
    auto distance = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    EXPECT_LT(distance(random, EntropyStrip::ColorOf({8, BlockKind::Data})), 16) << random.name().toStdString();

    // A byte typed into the zeros makes its block data again once measured.
    CHexView& view = *app->View();
    view.SetCursorOffset(0x18000, false);
    QTest::keyClicks(app->Frame()->ViewWidget(), "4");
    const int64_t block = 0x18000 / strip.Map().BlockSize();
    EXPECT_EQ(strip.Map().Block(block).kind, BlockKind::Unknown);
    ASSERT_TRUE(MeasureAll(strip));
    EXPECT_EQ(strip.Map().Block(block).kind, BlockKind::Data);
    EXPECT_EQ(strip.Map().Block(block - 1).kind, BlockKind::Zero);

    // A click near the bottom puts the cursor into the random part.
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(x, strip.height() - 3));
    EXPECT_GE(view.CursorOffset(), 0x20000);
}

TEST_F(EntropyStripTest, ItsSwitchIsKeptAcrossARestart)
{
    {
        auto app = Start();
        CMainFrame& frame = *app->Frame();
        EXPECT_TRUE(frame.ActionFor(32906)->isChecked());
        frame.ExecuteCommand(32906);
        EXPECT_FALSE(frame.Entropy()->isVisible());
        EXPECT_FALSE(frame.ActionFor(32906)->isChecked());
    }
    auto app = Start();
    EXPECT_FALSE(app->Frame()->Entropy()->isVisible());
    app->Frame()->ExecuteCommand(32906);
    EXPECT_TRUE(app->Frame()->Entropy()->isVisible());
    EXPECT_TRUE(MeasureAll(*app->Frame()->Entropy()));
}

TEST_F(EntropyStripTest, AMappedFileShortenedBeforeItIsMeasuredIsMeasuredAsTheViewShowsIt)
{
    // Mapped, and cut to a quarter by another program before the first slice runs: the
    // blocks the file lost are measured as the view shows them, and the window learns why.
    const std::string file = dir.Write("big.bin", test::RandomBytes(8 << 20, 9));
    prompt.answers.push_back(PromptAnswer::Yes);
    auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app->Start(QStringList{"quarnival", QString::fromStdString(file)}));
    app->Frame()->show();
    ASSERT_EQ(::truncate(file.c_str(), 2 << 20), 0);
    EntropyStrip& strip = *app->Frame()->Entropy();
    ASSERT_TRUE(MeasureAll(strip));
    EXPECT_EQ(strip.Map().Block(strip.Map().BlockCount() - 1).kind, BlockKind::Zero);
    QTest::qWait(600);  // the window's idle check
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_NE(prompt.shown.back().text.find("verkürzt"), std::string::npos) << prompt.shown.back().text;
}

}  // namespace
}  // namespace qv
