// SPDX-License-Identifier: GPL-3.0-or-later
// The time converter and "Zeitmodus" as a user meets them: fields, colours, zone buttons.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "tests/support/FakeSettingsStore.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/ui/TimeDialogRun.h"
#include "tools/TimeConverter.h"
#include "tools/TimeModeDialog.h"

namespace qv {
namespace {

QLineEdit* Field(QDialog& dialog, TimeField field)
{
    return dialog.findChild<QLineEdit*>(QString("timeField%1").arg(static_cast<int>(field)));
}

TEST(TimeConverterDialog, OpensOnTheBytesAndConvertsTypedText)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    test::FakeSettingsStore settings;
    settings.WriteDword(kTimeConvertSection, "Mode", 1);
    TimeConverterModel model(&settings, nullptr, {0x80, 0x43, 0x6D, 0x38}, TimeReadMode::UtcSeconds);
    model.Open();
    QString text, seconds, typedSeconds, fileTime, localText;
    QColor sourceBase, invalidBase, otherBase;
    bool dumpFocused = false;
    test::RunDialogWidget(model, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "TimeConvert");
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("global")->isChecked());
        dumpFocused = dialog.focusWidget() == Field(dialog, TimeField::SecondsDump);
        text = Field(dialog, TimeField::Text)->text();
        seconds = Field(dialog, TimeField::Seconds)->text();
        sourceBase = test::BaseColourOf(Field(dialog, TimeField::SecondsDump));
        otherBase = test::BaseColourOf(Field(dialog, TimeField::Dos));

        QLineEdit* textField = Field(dialog, TimeField::Text);
        textField->setFocus();
        textField->selectAll();
        QTest::keyClicks(textField, "1.1.2000 0");
        typedSeconds = Field(dialog, TimeField::Seconds)->text();
        fileTime = Field(dialog, TimeField::FileTime)->text();

        Field(dialog, TimeField::Seconds)->setFocus();
        dialog.findChild<QRadioButton*>("local")->click();
        localText = Field(dialog, TimeField::Text)->text();

        textField->setFocus();
        textField->selectAll();
        QTest::keyClicks(textField, "Hallo");
        model.Tick();
        model.Tick();
        invalidBase = test::BaseColourOf(textField);
        dialog.accept();
    });
    EXPECT_TRUE(dumpFocused);
    EXPECT_EQ(text, "Sa 01.Jan.2000  00:00:00");
    EXPECT_EQ(seconds, "946684800");
    EXPECT_EQ(typedSeconds, "946684800");
    EXPECT_EQ(fileTime, "0x1BF53EB256D4000");
    EXPECT_EQ(localText, "Sa 01.Jan.2000  01:00:00");  // the seconds field is converted again
    EXPECT_NE(sourceBase, otherBase);
    EXPECT_EQ(invalidBase.red(), sourceBase.red() / 2 + 127);
    EXPECT_EQ(invalidBase.green(), sourceBase.green() / 2 + 45);
}

TEST(TimeConverterDialog, NowFillsTheSecondsField)
{
    TimeConverterModel model(nullptr, nullptr, {}, TimeReadMode::LastInput);
    model.Open();
    QString seconds;
    test::RunDialogWidget(model, [&](QDialog& dialog) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>())
            if (button->text() == "Jetzt") button->click();
        seconds = Field(dialog, TimeField::Seconds)->text();
        dialog.reject();
    });
    EXPECT_GT(seconds.toLongLong(), 1700000000);
    EXPECT_EQ(model.Source(), TimeField::Seconds);
}

TEST(TimeModeDialog, RadioButtonsInOrder)
{
    TimeModeModel model;
    model.mode = TimeReadMode::Dos;
    QStringList labels;
    bool checkedDos = false;
    const bool accepted = test::RunDialogWidget(model, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Zeitmodus");
        for (int i = 0; i < kTimeReadModeCount; ++i)
            labels << dialog.findChild<QRadioButton*>(QString("mode%1").arg(i))->text();
        checkedDos = dialog.findChild<QRadioButton*>("mode3")->isChecked();
        dialog.findChild<QRadioButton*>("mode8")->click();
        dialog.accept();
    });
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(checkedDos);
    EXPECT_EQ(model.mode, TimeReadMode::DbDate);
    EXPECT_EQ(labels, (QStringList{"Letzte Eingabe benutzen", "Texteingabe", "UTC-Zeit", "DOS-Zeitstempel",
                                   "OLE-Zeitstempel", "FILETIME-Zeit", "DBTIMESTAMP-Zeit", "SYTEMTIME-Zeit",
                                   "DBDATE-Zeitstempel"}));
}

}  // namespace
}  // namespace qv
