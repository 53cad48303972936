// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt host of the line view, on the offscreen platform: painting, keys, scroll bars.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "view/ui/FontResolver.h"
#include "view/ui/LineViewWidget.h"
#include "view/AnsiView.h"

namespace qv {
namespace {

// Columns of image row band [top, bottom) holding any pixel unlike the background.
std::pair<int, int> InkColumns(const QImage& image, int top, int bottom, QRgb background)
{
    int first = -1;
    int last = -1;
    for (int y = top; y < bottom && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background) continue;
            if (first < 0 || x < first) first = x;
            last = std::max(last, x);
        }
    }
    return {first, last};
}

TEST(LineViewWidget, GrabShowsTheNullViewTextOnItsLinesOnly)
{
    CAnsiView view;
    view.SetOptions(0);  // no split box: nothing but text in the window
    view.SetLineCount(3);
    LineViewWidget widget(view);
    widget.resize(view.CharWidth() * 90, view.CharHeight() * 6);  // no scroll bar needed
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QImage image = widget.grab().toImage();
    if (const char* path = std::getenv("QV_LINEVIEW_GRAB")) image.save(path);
    QRgb background = widget.palette().color(QPalette::Base).rgb();

    int cell = view.CharWidth();
    int textLength = static_cast<int>(std::string(CAnsiView::kNullLineText).size());
    for (int line = 0; line < 3; ++line) {
        auto [first, last] = InkColumns(image, line * view.CharHeight(), (line + 1) * view.CharHeight(), background);
        ASSERT_GE(first, 0) << "line " << line << " is empty";
        EXPECT_LT(first, cell);                       // starts with "C" in the first cell
        EXPECT_GE(last, (textLength - 2) * cell);     // ends with "!" in the last cell
        EXPECT_LT(last, textLength * cell);
    }
    auto [first, last] = InkColumns(image, 3 * view.CharHeight(), 6 * view.CharHeight(), background);
    EXPECT_EQ(first, -1) << "lines past the line count are blank";
}

TEST(LineViewWidget, FontCellMatchesTheDrawnGrid)
{
    CAnsiView view("WidgetFont");
    LineViewWidget widget(view);
    std::optional<QFont> font = ResolveFont(view.Style().variants[0]);
    ASSERT_TRUE(font);
    CellMetrics cell = MeasureCell(*font);
    EXPECT_EQ(view.CharWidth(), cell.width);
    EXPECT_EQ(view.CharHeight(), cell.height);
    EXPECT_EQ(QFontMetrics(*font).horizontalAdvance(QString(10, 'W')), 10 * cell.width);
    // Faces whose natural advance is a fraction of a pixel get whole-pixel cells too.
    for (const char* face : {"DejaVu Sans Mono", "Courier"}) {
        for (int32_t height = 11; height <= 30; ++height) {
            FontSpec spec;
            spec.SetFaceName(face);
            spec.height = -height;
            std::optional<QFont> sized = ResolveFont(spec);
            ASSERT_TRUE(sized) << face;
            const int width = MeasureCell(*sized).width;
            EXPECT_EQ(QFontMetrics(*sized).horizontalAdvance(QString(40, '0')), 40 * width) << face << " " << height;
        }
    }
    FontSpec unknown;
    unknown.SetFaceName("Keine Solche Schrift 123");
    EXPECT_FALSE(ResolveFont(unknown));
    unknown.SetFaceName("Courier");
    EXPECT_TRUE(ResolveFont(unknown));
}

TEST(LineViewWidget, KeysReachTheViewAndScrollBarsFollow)
{
    CAnsiView view;
    LineViewWidget widget(view);
    widget.resize(view.CharWidth() * 30, view.CharHeight() * 20);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    view.SetCaretMode(CaretShown);
    widget.setFocus();
    QTest::keyClick(&widget, Qt::Key_Down);
    QTest::keyClick(&widget, Qt::Key_Right);
    EXPECT_EQ(view.CursorLine(), 1);
    EXPECT_EQ(view.CursorColumn(), 1);
    QTest::keyClick(&widget, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_GT(view.TopLine(), 0);
    QScrollBar* vertical = nullptr;
    for (QScrollBar* bar : widget.findChildren<QScrollBar*>()) {
        if (bar->orientation() == Qt::Vertical && bar->isVisible()) vertical = bar;
    }
    ASSERT_NE(vertical, nullptr);
    EXPECT_EQ(vertical->value(), view.TopLine());
    vertical->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(view.TopLine(), 0);
    EXPECT_EQ(vertical->value(), 0);
}

class CharRecordingView : public CAnsiView {
public:
    int OnCharKey(uint32_t character, uint32_t flags) override
    {
        chars.emplace_back(character, flags & (KeyFlagShift | KeyFlagCtrl));
        return CAnsiView::OnCharKey(character, flags);
    }
    std::vector<std::pair<uint32_t, uint32_t>> chars;
};

TEST(LineViewWidget, KeysBecomeClassicCharacters)
{
    CharRecordingView view;
    LineViewWidget widget(view);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QTest::keyClick(&widget, Qt::Key_A);
    QTest::keyClick(&widget, Qt::Key_Delete);
    QTest::keyClick(&widget, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_Tab);
    QTest::keyClick(&widget, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_Backspace);
    std::vector<std::pair<uint32_t, uint32_t>> expected = {
        {'a', 0}, {3, KeyFlagCtrl}, {9, 0}, {9, KeyFlagCtrl}, {8, 0}};
    EXPECT_EQ(view.chars, expected);
}

TEST(LineViewWidget, ColoursConvertBothWays)
{
    QColor red = ToQColor(0x0000FF, Qt::black);
    EXPECT_EQ(red, QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(kDefaultColor, Qt::green), QColor(Qt::green));
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
}

}  // namespace
}  // namespace qv
