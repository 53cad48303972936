// SPDX-License-Identifier: GPL-3.0-or-later
// The "Zahlen eingabe" widget and the "Start-Offset" widget on the offscreen platform:
// what the user clicks reaches the model, relabels the sizes and refreshes the preview.
#include "document/ui/NumberEntryDialogWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

#include "document/StartOffsetDialog.h"
#include "platform/qt/DialogRegistry.h"
#include "tests/support/FakeTimerService.h"

namespace qv {
namespace {

TEST(NumberEntryDialogWidget, ClicksReachTheModelAndRelabelSizes)
{
    NumberEntryDialog model;
    model.caption = "Kopiere im C++ Format";
    model.label = "Spaltenbreite";
    model.withFormatGroup = true;
    model.SetNumber(16, false);
    NumberEntryDialogWidget widget(model, nullptr);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    EXPECT_EQ(widget.windowTitle(), "Kopiere im C++ Format");
    auto* size0 = widget.findChild<QRadioButton*>("size0");
    auto* size2 = widget.findChild<QRadioButton*>("size2");
    auto* texttypes = widget.findChild<QRadioButton*>("format2");
    auto* dump = widget.findChild<QRadioButton*>("format3");
    ASSERT_TRUE(size0 && size2 && texttypes && dump);
    EXPECT_EQ(size0->text(), "&Byte");

    QTest::mouseClick(texttypes, Qt::LeftButton);
    EXPECT_EQ(model.Format(), 2);
    EXPECT_EQ(size0->text(), "Base 64");
    EXPECT_EQ(widget.findChild<QRadioButton*>("size3")->text(), "Chars");
    QTest::mouseClick(dump, Qt::LeftButton);
    EXPECT_EQ(widget.findChild<QRadioButton*>("size3")->text(), "---");

    QTest::mouseClick(size2, Qt::LeftButton);
    EXPECT_EQ(model.ValueSize(), 4);
    auto* number = widget.findChild<QLineEdit*>("number");
    number->selectAll();
    QTest::keyClicks(number, "0x20");
    EXPECT_EQ(model.Number(), 0x20);
    QTest::mouseClick(widget.findChild<QCheckBox*>("bigEndian"), Qt::LeftButton);
    EXPECT_TRUE(model.BigEndian());
}

TEST(NumberEntryDialogWidget, CaptionFitsAndNoEmptyLabelLine)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    for (const char* caption : {"Zahlen eingabe", "Kopiere im C++ Format"}) {
        NumberEntryDialog model;
        model.caption = caption;
        NumberEntryDialogWidget widget(model, nullptr);
        widget.show();
        EXPECT_GT(widget.width(), QFontMetrics(bold).horizontalAdvance(caption) + 100) << caption;
        // Without a label the field is the first row.
        EXPECT_TRUE(widget.findChildren<QLabel*>().empty()) << caption;
    }
}

TEST(NumberEntryDialogWidget, PreviewFollowsTheTimerAndPositionIsRemembered)
{
    const std::vector<uint8_t> data = {0x01, 0x23, 0x45, 0x67};
    test::FakeTimerService timers;
    NumberEntryDialog model;
    model.withFormatGroup = true;
    model.SetNumber(2, false);
    model.SetPreviewData(data.data(), data.size(), &timers);
    NumberEntryDialog::ForgetPosition();
    {
        NumberEntryDialogWidget widget(model, nullptr);
        auto* preview = widget.findChild<QLineEdit*>("preview");
        ASSERT_TRUE(preview);
        ASSERT_EQ(timers.timers.size(), 1u);
        timers.Fire(timers.timers.begin()->first);
        EXPECT_EQ(preview->text(), "0x01,0x23,");
        EXPECT_EQ(preview->cursorPosition(), 0) << "the preview shows its start";
        widget.move(120, 130);
        widget.reject();
        EXPECT_TRUE(timers.timers.empty());
    }
    NumberEntryDialogWidget again(model, nullptr);
    EXPECT_EQ(again.pos(), QPoint(120, 130));
    NumberEntryDialog::ForgetPosition();
}

TEST(StartOffsetDialogWidget, ConfirmedTextGoesBackToTheModel)
{
    StartOffsetDialog model(0x08000000);
    QTimer::singleShot(0, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* field = window->findChild<QLineEdit*>("offset");
            if (!field || !window->isVisible()) continue;
            EXPECT_EQ(window->windowTitle(), "Start-Offset");
            EXPECT_EQ(field->text(), "0x8000000");
            field->setText("0x1000");
            static_cast<QDialog*>(window)->accept();
        }
    });
    ASSERT_TRUE(RegisteredDialogs().count("StartOffset"));
    EXPECT_TRUE(RegisteredDialogs()["StartOffset"](model, nullptr));
    EXPECT_EQ(model.Offset(), 0x1000u);
}

}  // namespace
}  // namespace qv
