// SPDX-License-Identifier: GPL-3.0-or-later
// The number calculator as a user meets it: typing, the invalid colour, the history.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "tests/support/FakeSettingsStore.h"
#include "tests/ui/TimeDialogRun.h"
#include "tools/CalculatorModel.h"

namespace qv {
namespace {

TEST(CalculatorDialog, TypingShowsEveryFormAndConfirmStoresTheInput)
{
    test::FakeSettingsStore settings;
    settings.WriteMultiString("", kCalculatorHistoryName, {"1+1"});
    CalculatorModel model(&settings, nullptr, 0x41);
    model.Open();
    QString start, decimal, hexadecimal, binary, ansi;
    QColor invalidBase, resultBase;
    int listed = 0;
    const bool accepted = test::RunDialogWidget(model, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Zahlen umwandeln");
        auto* input = dialog.findChild<QComboBox*>("input");
        ASSERT_NE(input, nullptr);
        start = input->currentText();
        listed = input->count();
        EXPECT_EQ(dialog.findChild<QLineEdit*>("result4")->text(), "A");
        input->lineEdit()->selectAll();
        QTest::keyClicks(input->lineEdit(), "10/0");
        invalidBase = test::BaseColourOf(input->lineEdit());
        input->lineEdit()->selectAll();
        QTest::keyClicks(input->lineEdit(), "-1");
        decimal = dialog.findChild<QLineEdit*>("result0")->text();
        hexadecimal = dialog.findChild<QLineEdit*>("result1")->text();
        binary = dialog.findChild<QLineEdit*>("result3")->text();
        ansi = dialog.findChild<QLineEdit*>("result4")->text();
        resultBase = test::BaseColourOf(dialog.findChild<QLineEdit*>("result0"));
        dialog.accept();
    });
    ASSERT_TRUE(accepted);
    model.Confirm();
    EXPECT_EQ(start, "0x41");
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(invalidBase, QColor(255, 128, 128));
    EXPECT_EQ(decimal, "-1");
    EXPECT_EQ(hexadecimal, "0xFFFFFFFF");
    EXPECT_EQ(binary, "0b1111111111111111");
    EXPECT_EQ(ansi, "ÿ");
    EXPECT_EQ(resultBase, QColor(255, 255, 155));
    EXPECT_EQ(settings.ReadMultiString("", kCalculatorHistoryName), (std::vector<std::string>{"-1", "1+1"}));
}

TEST(CalculatorDialog, PickingAHistoryLineEvaluatesIt)
{
    test::FakeSettingsStore settings;
    settings.WriteMultiString("", kCalculatorHistoryName, {"6*7", "BGR(1,2,3)"});
    CalculatorModel model(&settings, nullptr, 0);
    model.Open();
    QString decimal;
    test::RunDialogWidget(model, [&](QDialog& dialog) {
        auto* input = dialog.findChild<QComboBox*>("input");
        input->setCurrentIndex(1);
        emit input->activated(1);
        decimal = dialog.findChild<QLineEdit*>("result0")->text();
        dialog.reject();
    });
    EXPECT_EQ(decimal, "197121");
}

}  // namespace
}  // namespace qv
