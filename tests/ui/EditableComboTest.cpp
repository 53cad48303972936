// SPDX-License-Identifier: GPL-3.0-or-later
// Every editable combo box keeps what the user typed: a prefix of a history line, or a line
// in other letter case, is neither completed nor replaced by the line, on Enter either.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/qt/QtText.h"
#include "search/ui/SearchDialog.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/ui/TimeDialogRun.h"
#include "tools/CalculatorModel.h"
#include "tools/CrcDialogModel.h"
#include "view/HexViewGotoDialog.h"
#include "view/ui/GotoDialog.h"

namespace qv {
namespace {

// Types text over the combo's text as a user does; returns what the combo shows then.
QString Type(QComboBox* combo, const QString& text)
{
    combo->setFocus();
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    return combo->currentText();
}

// The same, ended with Enter.
QString TypeAndEnter(QComboBox* combo, const QString& text)
{
    Type(combo, text);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    return combo->currentText();
}

TEST(EditableCombo, SearchValueKeepsTheTypedLetters)
{
    for (const QString typed : {"\"hello\"", "\"Hel"}) {
        SearchState state;
        state.history.AddToHistory("\"Hello\"", kMaxHistory);
        SearchDialogModel model(state, "");
        SearchDialog dialog(model);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        EXPECT_EQ(TypeAndEnter(dialog.findChild<QComboBox*>("value"), typed), typed);
        EXPECT_EQ(ToQt(model.Text()), typed);
        dialog.findChild<QPushButton*>("ok")->click();
        ASSERT_GT(state.history.Count(), 0u);
        EXPECT_EQ(ToQt(*state.history.Get(0)), typed);
    }
}

TEST(EditableCombo, CalculatorInputKeepsAPrefix)
{
    test::FakeSettingsStore settings;
    settings.WriteMultiString("", kCalculatorHistoryName, {"100", "0xABC"});
    CalculatorModel model(&settings, nullptr, 0);
    model.Open();
    QString shown, decimal;
    test::RunDialogWidget(model, [&](QDialog& dialog) {
        shown = TypeAndEnter(dialog.findChild<QComboBox*>("input"), "10");
        decimal = dialog.findChild<QLineEdit*>("result0")->text();
        dialog.accept();
    });
    model.Confirm();
    EXPECT_EQ(shown, "10");
    EXPECT_EQ(decimal, "10");
    EXPECT_EQ(settings.ReadMultiString("", kCalculatorHistoryName), (std::vector<std::string>{"10", "100", "0xABC"}));
}

TEST(EditableCombo, CrcFieldsKeepAPrefix)
{
    // Width, reflected and start combo; leaving a field writes it in the dialog's own form
    // ("3-Bit"), but of the typed value, not of the history line it begins.
    struct Case {
        int combo;
        QString typed;
        const char* stored;
        const char* storedText;
    } cases[] = {{1, "3", "PolynomSize", "3-Bit"}, {2, "0x8", "PolynomValue", "0x00000008"},
                 {4, "0xf", "StartValue", "0x0000000F"}};
    for (const Case& c : cases) {
        test::FakeSettingsStore settings;
        settings.WriteMultiString(CrcDialogModel::kSection, "PolynomList", {"0x8408"});
        settings.WriteMultiString(CrcDialogModel::kSection, "StartList", {"0xFFFF"});
        const uint8_t bytes[] = {1, 2, 3};
        const BlockByteSource source(bytes, 3);
        CrcDialogModel model(ToolBytes{&source, 0, 3});
        model.Load({&settings, nullptr});
        QString typed;
        const bool accepted = test::RunDialogWidget(model, [&](QDialog& dialog) {
            QComboBox* combo = dialog.findChildren<QComboBox*>().at(c.combo);
            typed = Type(combo, c.typed);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            dialog.accept();
        });
        ASSERT_TRUE(accepted);
        model.Save(settings);
        EXPECT_EQ(typed, c.typed) << c.stored;
        EXPECT_EQ(settings.ReadString(CrcDialogModel::kSection, c.stored), c.storedText);
    }
}

TEST(EditableCombo, GotoAddressKeepsAPrefix)
{
    GotoDialog model;
    AddToGotoHistory(model.history, "0x1000");
    GotoDialogWidget dialog(model);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(TypeAndEnter(dialog.address, "0x1"), "0x1");
    dialog.accept();
    EXPECT_EQ(model.text, "0x1");
    EXPECT_EQ(model.Value(), 1);
}

}  // namespace
}  // namespace qv
