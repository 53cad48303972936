// SPDX-License-Identifier: GPL-3.0-or-later
// The hex view in its Qt window: real key events, painting, and the two dialogs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "view/ui/LineViewWidget.h"
#include "tests/support/FakePrompt.h"
#include "view/HexView.h"
#include "view/ui/ConfigDialog.h"
#include "view/ui/GotoDialog.h"

namespace qv {
namespace {

class HexViewWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.SetPrompt(&prompt);
        widget = std::make_unique<LineViewWidget>(view);
        widget->resize(800, 400);
        widget->show();
        uint8_t* block = ViewBuffer::Allocate(256);
        for (int i = 0; i < 256; ++i) block[i] = static_cast<uint8_t>(i);
        view.SetBuffer(block, 256, 0, ViewWritable | ViewOwnsBuffer | InsertAllowed);
        widget->setFocus();
        QApplication::processEvents();
    }

    test::FakePrompt prompt;
    CHexView view{0};
    std::unique_ptr<LineViewWidget> widget;
};

TEST_F(HexViewWidget, TypedKeysEditTheBytes)
{
    QTest::keyClicks(widget.get(), "a5");
    int64_t length = 0;
    const uint8_t* data = view.GetBuffer(&length, nullptr);
    EXPECT_EQ(data[0], 0xA5);
    EXPECT_EQ(view.CursorOffset(), 1);
    QTest::keyClick(widget.get(), Qt::Key_Right);
    QTest::keyClick(widget.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(view.HasSelection());
    QTest::keyClick(widget.get(), Qt::Key_Tab);
    EXPECT_EQ(view.ActiveArea(), AreaText);
    QTest::keyClicks(widget.get(), "Z");
    EXPECT_EQ(data[view.CursorOffset() - 1], 'Z');
    QTest::keyClick(widget.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(prompt.beeps, 0);
    EXPECT_TRUE(view.IsModified());
}

TEST_F(HexViewWidget, RowsArePaintedInTheirColours)
{
    EXPECT_EQ(view.LeftColumn(), 0);
    EXPECT_GE(view.PaneColumns(), 76);
    const QImage image = widget->grab().toImage();
    const int cellW = view.CharWidth();
    const int cellH = view.CharHeight();
    auto hasColour = [&](int column, QRgb colour) {
        const int x0 = view.LeftMargin() + column * cellW;
        for (int y = 0; y < cellH; ++y)
            for (int x = x0; x < x0 + cellW; ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
        return false;
    };
    EXPECT_TRUE(hasColour(0, qRgb(255, 0, 0)));  // address digits in red
    EXPECT_TRUE(hasColour(11, qRgb(0, 0, 255)));  // hex digits in blue (the caret is on column 8)
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFF, 0xFFFFFFu);  // the white margin
}

TEST(HexDialogs, ConfigDialogCorrectsWhileOpen)
{
    CHexView view;
    ConfigDialog model = ConfigDialog::FromView(view);
    ConfigDialogWidget dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "Konfiguration");
    EXPECT_FALSE(dialog.invert->isEnabled());
    dialog.fixedWidthOn->click();
    EXPECT_TRUE(dialog.fixedWidthOn->isChecked());
    EXPECT_FALSE(dialog.widthRasterOn->isChecked());
    EXPECT_TRUE(dialog.fixedWidth->isEnabled());
    dialog.format[2]->click();
    EXPECT_TRUE(dialog.invert->isEnabled());
    dialog.fixedWidth->setText("999");
    dialog.ReadAndCorrect(ConfigDialog::Change::NumberField);
    EXPECT_EQ(dialog.fixedWidth->text(), "256");
    EXPECT_EQ(model.outputFormat, 2);
}

TEST(HexDialogs, GotoDialogReturnsTypedText)
{
    GotoDialog model;
    model.text = "0x10";
    AddToGotoHistory(model.history, "0x20");
    GotoDialogWidget dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "Cursor setzen");
    EXPECT_EQ(dialog.address->count(), 1);
    EXPECT_EQ(dialog.address->currentText(), "0x10");
    dialog.address->setEditText("0x100+4");
    dialog.accept();
    EXPECT_EQ(model.text, "0x100+4");
    EXPECT_EQ(model.Value(), 0x104);
}

}  // namespace
}  // namespace qv
