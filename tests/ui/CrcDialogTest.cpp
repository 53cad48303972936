// SPDX-License-Identifier: GPL-3.0-or-later
// The checksum and CRC dialogs as a user meets them: fields, colours, check boxes, typing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/qt/DialogRegistry.h"
#include "platform/qt/QtTaskRunner.h"
#include "tests/support/SparseByteSource.h"
#include "tools/ChecksumDialogModel.h"
#include "tools/CrcDialogModel.h"

namespace qv {
namespace {

const uint8_t kCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
const BlockByteSource kCheckSource(kCheck, sizeof kCheck);

// Runs the registered widget of a model; `act` works on the open dialog and closes it.
bool RunWidget(DialogModel& model, const std::function<void(QDialog&)>& act)
{
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
    return RegisteredDialogs().at(model.DialogName())(model, nullptr);
}

QColor BaseOf(QWidget* widget)
{
    return widget->palette().color(QPalette::Base);
}

TEST(ChecksumDialogTest, BigEndianSwitchesTheWordRows)
{
    const uint8_t bytes123[] = {1, 2, 3};
    ChecksumDialogModel model(ComputeChecksums(bytes123, 3));
    QString little, big, bytes;
    QColor background;
    const bool accepted = RunWidget(model, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Checksumme");
        auto* word = dialog.findChild<QLineEdit*>("field10");
        little = word->text();
        background = BaseOf(word);
        dialog.findChild<QCheckBox*>()->click();
        big = word->text();
        bytes = dialog.findChild<QLineEdit*>("field00")->text();
        dialog.accept();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(little, "0x00000204");
    EXPECT_EQ(big, "0x00000402");
    EXPECT_EQ(bytes, "0x00000006");
    EXPECT_EQ(background, QColor(255, 255, 155));
}

TEST(CrcDialogTest, TypingAFormulaUpdatesEveryField)
{
    CrcDialogModel model(ToolBytes{&kCheckSource, 0, 9});
    model.Load({});
    QString catalog, reflected, b0;
    const bool accepted = RunWidget(model, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "CRC-Summe berechnen");
        QLineEdit* formula = nullptr;
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
            if (edit->text().startsWith("x^32")) formula = edit;
        ASSERT_NE(formula, nullptr);
        formula->selectAll();
        QTest::keyClicks(formula, "x^16+x^12+x^5+1");
        catalog = dialog.findChildren<QComboBox*>().at(0)->currentText();
        reflected = dialog.findChildren<QComboBox*>().at(2)->currentText();
        b0 = dialog.findChild<QLineEdit*>("result4")->text();
        dialog.accept();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(catalog, "CRC-CCITT (CRC-16)");
    EXPECT_EQ(reflected, "0x8408");
    EXPECT_EQ(b0, "0x31C3");
    EXPECT_EQ(model.Fields().Width(), 16u);
}

TEST(CrcDialogTest, InvalidFormulaTurnsRedAndSourceChoiceLengthensTheDialog)
{
    CrcDialogModel model(ToolBytes{&kCheckSource, 0, 9});
    model.Load({});
    QColor red;
    int shortHeight = 0, longHeight = 0, shortAgain = 0;
    bool sourceVisible = false;
    RunWidget(model, [&](QDialog& dialog) {
        QLineEdit* formula = nullptr;
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
            if (edit->text().startsWith("x^32")) formula = edit;
        ASSERT_NE(formula, nullptr);
        QTest::keyClicks(formula, "+y");
        red = BaseOf(formula);
        QComboBox* source = dialog.findChildren<QComboBox*>().last();
        shortHeight = dialog.height();
        source->setCurrentIndex(1);
        emit source->activated(1);
        QApplication::processEvents();
        longHeight = dialog.height();
        sourceVisible = dialog.findChild<QPlainTextEdit*>()->isVisible();
        source->setCurrentIndex(0);
        emit source->activated(0);
        QApplication::processEvents();
        shortAgain = dialog.height();
        dialog.reject();
    });
    EXPECT_EQ(red, QColor(255, 128, 128));
    EXPECT_TRUE(sourceVisible);
    EXPECT_GT(longHeight, shortHeight);
    EXPECT_LT(shortAgain, longHeight);
    EXPECT_EQ(model.Source(), 0);
}

// Over a long selection the results wait until typing pauses; the pass then runs with its
// progress dialog, whose taking the focus does not count as leaving the field.
TEST(CrcDialogTest, ALongInputIsPassedOnceTypingPauses)
{
    test::SparseByteSource document(CrcDialogModel::kCrcImmediateLimit);
    QtTaskRunner runner;
    runner.SetShowAfter(0);
    CrcDialogModel model(ToolBytes{&document, 0, document.Size()}, &runner);
    model.Load({});
    ASSERT_TRUE(model.RunPendingPass());
    QString whileTyping, typed, afterPause;
    RunWidget(model, [&](QDialog& dialog) {
        dialog.activateWindow();  // focus events reach only the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QComboBox* width = dialog.findChildren<QComboBox*>().at(1);
        width->lineEdit()->setFocus();
        width->lineEdit()->selectAll();
        QTest::keyClicks(width->lineEdit(), "16");
        whileTyping = dialog.findChild<QLineEdit*>("result1")->text();
        for (int i = 0; i < 100 && model.PassPending(); ++i) QTest::qWait(20);
        QTest::qWait(100);
        typed = width->currentText();
        afterPause = dialog.findChild<QLineEdit*>("result1")->text();
        dialog.reject();
    });
    EXPECT_EQ(whileTyping, "");
    EXPECT_EQ(typed, "16");
    EXPECT_EQ(afterPause, "0x0000");  // a CRC from 0 over zero bytes
    EXPECT_FALSE(model.PassPending());
}

}  // namespace
}  // namespace qv
