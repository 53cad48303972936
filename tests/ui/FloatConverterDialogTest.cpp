// SPDX-License-Identifier: GPL-3.0-or-later
// The float converter as a user meets it: typing, focus on the bit fields, swap buttons.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/ui/TimeDialogRun.h"
#include "tools/FloatConverter.h"

namespace qv {
namespace {

QPushButton* ButtonNamed(QDialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

TEST(FloatConverterDialog, TypingAFloatRewritesTheOtherFields)
{
    FloatConverterModel model(nullptr, 0);
    QString dump, exponent, focused, left;
    QColor exponentBase, invalidBase;
    test::RunDialogWidget(model, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Flieskommakonverter");
        auto* value = dialog.findChild<QLineEdit*>("floatValue");
        auto* exponentField = dialog.findChild<QLineEdit*>("floatExponent");
        value->setFocus();
        value->selectAll();
        QTest::keyClicks(value, "1");
        dump = dialog.findChild<QLineEdit*>("hexDump")->text();
        exponent = exponentField->text();
        exponentBase = test::BaseColourOf(exponentField);

        exponentField->setFocus();
        QApplication::processEvents();
        focused = exponentField->text();
        exponentField->selectAll();
        QTest::keyClicks(exponentField, "300");
        invalidBase = test::BaseColourOf(exponentField);
        value->setFocus();
        QApplication::processEvents();
        left = exponentField->text();
        dialog.accept();
    });
    EXPECT_EQ(dump, ":00 00 80 3F ");
    EXPECT_EQ(exponent, "0  >7Fh");
    EXPECT_EQ(exponentBase, QColor(255, 255, 155));
    EXPECT_EQ(focused, "0");
    EXPECT_EQ(invalidBase, QColor(255, 128, 128));
    EXPECT_EQ(left, "44  >ABh");  // 300 + 127 cut to eight bits
}

TEST(FloatConverterDialog, SwapButtons)
{
    const uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};
    FloatConverterModel model(bytes, 8);
    QString afterQWords, afterWords;
    test::RunDialogWidget(model, [&](QDialog& dialog) {
        ButtonNamed(dialog, "Swap QWords")->click();
        afterQWords = dialog.findChild<QLineEdit*>("hexDump")->text();
        ButtonNamed(dialog, "Swap QWords")->click();
        ButtonNamed(dialog, "Swap Words")->click();
        afterWords = dialog.findChild<QLineEdit*>("hexDump")->text();
        dialog.reject();
    });
    EXPECT_EQ(afterQWords, ":05 06 07 08 01 02 03 04 ");
    EXPECT_EQ(afterWords, ":03 04 01 02 07 08 05 06 ");
}

}  // namespace
}  // namespace qv
