// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog "Wert suchen" as a user drives it: typing, radio buttons, the group list,
// closing with OK, "Weitersuchen" and Escape.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/DialogRegistry.h"
#include "search/ui/SearchDialog.h"

namespace qv {
namespace {

template <typename T>
T* Child(QWidget& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class SearchDialogTest : public ::testing::Test {
protected:
    void TypeValue(SearchDialog& dialog, const QString& text)
    {
        auto* edit = Child<QComboBox>(dialog, "value")->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    SearchState state;
};

TEST_F(SearchDialogTest, IsRegisteredForItsModel)
{
    EXPECT_EQ(RegisteredDialogs().count(SearchDialogModel::kName), 1u);
}

TEST_F(SearchDialogTest, TypingAndTheKindRadiosRewriteTheValue)
{
    SearchDialogModel model(state, "");
    SearchDialog dialog(model);
    dialog.show();
    TypeValue(dialog, "0x41");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "kind1")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "bigEndian")->isEnabled());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "ignoreCase")->isEnabled());
    Child<QRadioButton>(dialog, "kind4")->click();
    EXPECT_EQ(Child<QComboBox>(dialog, "value")->currentText(), "\"A\"");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "width3")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog, "ignoreCase")->isEnabled());
    EXPECT_FALSE(Child<QCheckBox>(dialog, "bigEndian")->isEnabled());
    Child<QRadioButton>(dialog, "kind5")->click();
    EXPECT_EQ(Child<QComboBox>(dialog, "value")->currentText(), ":41");
    Child<QComboBox>(dialog, "value")->lineEdit()->setText(QString::fromUtf8("\"äb\""));
    EXPECT_EQ(model.Text(), "\"\xE4" "b\"");  // Windows-1252 inside
}

TEST_F(SearchDialogTest, TheGroupPartAppearsWithGroupSearch)
{
    SearchDialogModel model(state, "0x41");
    SearchDialog dialog(model);
    dialog.show();
    auto* lines = Child<QListWidget>(dialog, "lines");
    EXPECT_FALSE(lines->isVisible());
    EXPECT_TRUE(Child<QPushButton>(dialog, "ok")->isDefault());
    Child<QCheckBox>(dialog, "group")->click();
    EXPECT_TRUE(lines->isVisible());
    EXPECT_TRUE(Child<QPushButton>(dialog, "add")->isDefault());
    Child<QPushButton>(dialog, "add")->click();
    TypeValue(dialog, "\"xy\"");
    Child<QPushButton>(dialog, "add")->click();
    ASSERT_EQ(lines->count(), 2);
    EXPECT_TRUE(lines->item(0)->text().startsWith("H:4     :41 00 00 00"));
    EXPECT_TRUE(Child<QPushButton>(dialog, "up")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(dialog, "remove")->isEnabled());

    // A double click reads the first line back.
    QRect first = lines->visualItemRect(lines->item(0));
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(Child<QComboBox>(dialog, "value")->currentText(), "0x41");
    EXPECT_TRUE(Child<QRadioButton>(dialog, "width2")->isChecked());
    EXPECT_TRUE(Child<QPushButton>(dialog, "remove")->isEnabled());
    Child<QPushButton>(dialog, "remove")->click();
    EXPECT_EQ(lines->count(), 1);

    Child<QPushButton>(dialog, "again")->click();
    EXPECT_EQ(model.Result(), SearchDialogModel::kResultSearchAgain);
    EXPECT_EQ(state.pattern.Count(), 2u);  // the window and the one line left
    EXPECT_EQ(state.flags & kSearchGroup, kSearchGroup);
}

TEST_F(SearchDialogTest, TheGroupPartMakesTheDialogTaller)
{
    SearchDialogModel model(state, "\"abc\"");
    SearchDialog dialog(model);
    dialog.show();
    QApplication::processEvents();
    const int plain = dialog.grab().height();
    dialog.findChild<QCheckBox*>("group")->click();
    dialog.findChild<QPushButton*>("add")->click();
    QApplication::processEvents();
    QImage withGroup = dialog.grab().toImage();
    EXPECT_GT(withGroup.height(), plain);
    dialog.findChild<QCheckBox*>("group")->click();
    QApplication::processEvents();
    EXPECT_EQ(dialog.grab().height(), plain);
}

TEST_F(SearchDialogTest, ARangeThatIsNoNumberIsRefused)
{
    SearchDialogModel model(state, "0x41");
    SearchDialog dialog(model);
    dialog.show();
    auto* range = Child<QLineEdit>(dialog, "range");
    range->clear();
    QTest::keyClicks(range, "viel");
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    Child<QPushButton>(dialog, "ok")->click();
    EXPECT_EQ(shown, "Geben Sie bitte eine ganze Zahl ein.");
    EXPECT_TRUE(dialog.isVisible());
    range->clear();
    QTest::keyClicks(range, "500");
    Child<QPushButton>(dialog, "ok")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(model.Result(), SearchDialogModel::kResultOk);
    EXPECT_EQ(state.groupList.Get(0), std::optional<std::string_view>("500"));
}

TEST_F(SearchDialogTest, EscapeCancelsAndThePositionIsRemembered)
{
    SearchDialogModel model(state, "0x41");
    SearchDialog dialog(model);
    QTimer::singleShot(0, [&] {
        dialog.move(40, 30);
        dialog.findChild<QRadioButton*>("backward")->click();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.Run());
    EXPECT_EQ(model.Result(), SearchDialogModel::kResultCancel);
    EXPECT_EQ(state.flags & kSearchBackward, kSearchBackward);  // read back by the radio click
    ASSERT_TRUE(state.dialogPosition);
    EXPECT_EQ(state.dialogPosition->x, dialog.pos().x());

    SearchDialogModel next(state, "");
    SearchDialog reopened(next);
    QPoint placed;
    QTimer::singleShot(0, [&] {
        placed = reopened.pos();
        reopened.findChild<QPushButton*>("ok")->click();
    });
    EXPECT_TRUE(reopened.Run());
    EXPECT_EQ(placed, QPoint(state.dialogPosition->x, state.dialogPosition->y));
    EXPECT_EQ(next.Text(), "");  // Escape left the history as it was
}

}  // namespace
}  // namespace qv
