// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs that open with a proposed text in an editable field: the field has the focus with
// its text selected, so that what the user types replaces the proposal.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "document/NumberEntryDialog.h"
#include "search/SearchDialogModel.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/ui/TimeDialogRun.h"
#include "tools/CalculatorModel.h"
#include "view/HexViewGotoDialog.h"

namespace qv {
namespace {

struct Typed {
    QString proposed;  // the field's text when the dialog opened
    QString result;
};

// Types into whatever has the focus once the dialog is open.
Typed TypeIntoOpenedDialog(DialogModel& model, const QString& typed)
{
    Typed texts;
    const bool accepted = test::RunDialogWidget(model, [&](QDialog& dialog) {
        QWidget* focus = QApplication::focusWidget();
        auto* combo = qobject_cast<QComboBox*>(focus);
        QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(focus);
        if (edit) {
            texts.proposed = edit->text();
            QTest::keyClicks(focus, typed);
            texts.result = edit->text();
        } else {
            ADD_FAILURE() << "no text field has the focus";
        }
        dialog.accept();
    });
    EXPECT_TRUE(accepted);
    return texts;
}

TEST(ProposedText, SearchCalculatorGotoAndNumberEntryReplaceItWithTheTypedText)
{
    SearchState state;
    state.history.AddToHistory("\"alt\"");
    SearchDialogModel search(state, "");
    const Typed searched = TypeIntoOpenedDialog(search, "0x12");
    EXPECT_EQ(searched.proposed, "\"alt\"");
    EXPECT_EQ(searched.result, "0x12");
    EXPECT_EQ(search.Text(), "0x12");

    test::FakeSettingsStore settings;
    settings.WriteMultiString("", kCalculatorHistoryName, {"1+1"});
    CalculatorModel calculator(&settings, nullptr, 0x41);
    calculator.Open();
    const Typed calculated = TypeIntoOpenedDialog(calculator, "7");
    EXPECT_EQ(calculated.proposed, "0x41");
    EXPECT_EQ(calculated.result, "7");

    GotoDialog gotoModel;
    AddToGotoHistory(gotoModel.history, "0x1000");
    gotoModel.text = "0x1000";
    const Typed address = TypeIntoOpenedDialog(gotoModel, "20");
    EXPECT_EQ(address.proposed, "0x1000");
    EXPECT_EQ(address.result, "20");

    NumberEntryDialog number;
    number.SetNumber(16, false);
    const Typed entered = TypeIntoOpenedDialog(number, "8");
    EXPECT_EQ(entered.proposed, "16");
    EXPECT_EQ(entered.result, "8");
}

}  // namespace
}  // namespace qv
