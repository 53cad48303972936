// SPDX-License-Identifier: GPL-3.0-or-later
// The widgets of "Abschnitt einblenden" and of the GUID question on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest/QTest>

#include "document/SectionDialog.h"
#include "document/TextInputDialog.h"
#include "platform/qt/DialogRegistry.h"

namespace qv {
namespace {

// Runs check on the visible dialog that holds a field of that name once the dialog is open.
template <typename Check>
void WhenOpen(const char* fieldName, Check check)
{
    QTimer::singleShot(0, [fieldName, check] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->findChild<QLineEdit*>(fieldName)) check(static_cast<QDialog&>(*window));
    });
}

TEST(SectionDialogWidget, TypedFieldsUpdateTheOtherOne)
{
    SectionDialog model(0x100, 0x20);
    WhenOpen("address", [&model](QDialog& window) {
        auto* address = window.findChild<QLineEdit*>("address");
        auto* length = window.findChild<QLineEdit*>("length");
        auto* end = window.findChild<QLineEdit*>("end");
        EXPECT_EQ(window.windowTitle(), "Abschnitt einblenden");
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GT(window.width(), QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 100)
            << "the title bar shows the whole caption";
        EXPECT_FALSE(end->isEnabled());
        address->selectAll();
        QTest::keyClicks(address, "0x200");
        EXPECT_EQ(end->text(), "0x220");
        QTest::mouseClick(window.findChild<QCheckBox*>("lengthTyped"), Qt::LeftButton);
        EXPECT_FALSE(length->isEnabled());
        end->selectAll();
        QTest::keyClicks(end, "0x280");
        EXPECT_EQ(length->text(), "0x80");
        EXPECT_EQ(model.Length(), 0x80u);
        window.accept();
    });
    EXPECT_TRUE(RegisteredDialogs()[SectionDialog::kName](model, nullptr));
    EXPECT_EQ(model.Address(), 0x200u);
}

TEST(TextInputDialogWidget, ShowsTheGermanCaptionAndLimitsTheText)
{
    TextInputDialog model;
    model.caption = "GUID einfügen";
    model.prompt = "GUID im Format";
    model.text = "{x}";
    model.maxLength = 10;
    WhenOpen("text", [](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8("GUID einfügen"));
        auto* field = window.findChild<QLineEdit*>("text");
        EXPECT_EQ(field->text(), "{x}");
        EXPECT_EQ(field->selectedText(), "{x}");
        EXPECT_EQ(field->cursorPosition(), 0) << "a long GUID shows its start";
        field->selectAll();
        QTest::keyClicks(field, "0x123456789abc");
        window.accept();
    });
    EXPECT_TRUE(RegisteredDialogs()[TextInputDialog::kName](model, nullptr));
    EXPECT_EQ(model.text, "0x12345678");
}

}  // namespace
}  // namespace qv
