// SPDX-License-Identifier: GPL-3.0-or-later
// The "Dateien vergleichen" widget: the path is typed or chosen, and Return then takes it;
// every Alt key reaches one field or button.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <set>

#include "compare/CompareDialog.h"
#include "tests/support/TempDir.h"
#include "tests/ui/TimeDialogRun.h"

namespace qv {
namespace {

// Presses Return where the focus is; a file dialog that opens on it is closed and counted.
int ReturnOpensFileDialogs(QDialog& dialog)
{
    int opened = 0;
    QTimer::singleShot(0, [&] {
        if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            ++opened;
            files->reject();
        }
    });
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && dialog.isAncestorOf(focus) ? focus : &dialog, Qt::Key_Return);
    QApplication::processEvents();
    if (dialog.isVisible()) dialog.reject();
    return opened;
}

TEST(CompareDialogWidget, ReturnTakesATypedOrAChosenPath)
{
    test::TempDir dir;
    const std::string chosen = dir.Write("other.bin", std::vector<uint8_t>{1, 2, 3});

    CompareDialog typed;  // nothing proposed: the path is typed at once
    int opened = -1;
    EXPECT_TRUE(test::RunDialogWidget(typed, [&](QDialog& dialog) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(chosen));
        opened = ReturnOpensFileDialogs(dialog);
    }));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(typed.path, chosen);

    CompareDialog browsed;
    browsed.path = dir.File("missing.bin");
    EXPECT_TRUE(test::RunDialogWidget(browsed, [&](QDialog& dialog) {
        QTimer::singleShot(0, [&] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(files, nullptr);
            files->selectFile(QString::fromStdString(chosen));
            static_cast<QDialog*>(files)->accept();
        });
        QTest::mouseClick(dialog.findChild<QPushButton*>("browse"), Qt::LeftButton);  // takes the focus, as a user's click
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        opened = ReturnOpensFileDialogs(dialog);
    }));
    EXPECT_EQ(opened, 0) << "Return after choosing a file must not browse again";
    EXPECT_EQ(browsed.path, chosen);
}

TEST(CompareDialogWidget, EachAltKeyIsTakenOnce)
{
    CompareDialog dialog;
    test::RunDialogWidget(dialog, [](QDialog& window) {
        QStringList texts;
        for (const QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
        for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) texts << button->text();
        std::set<QChar> keys;
        for (const QString& text : texts) {
            const qsizetype at = text.indexOf('&');
            if (at < 0 || at + 1 >= text.size()) continue;
            EXPECT_TRUE(keys.insert(text[at + 1].toLower()).second) << text.toStdString();
        }
        EXPECT_GE(keys.size(), 4u);
        window.reject();
    });
}

}  // namespace
}  // namespace qv
