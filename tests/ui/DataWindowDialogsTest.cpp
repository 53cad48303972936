// SPDX-License-Identifier: GPL-3.0-or-later
// The data window's dialogs as the user sees them: the options of a page with its module
// and entry point lists, and the sorted multi-selection of module files to take out.
#include <gtest/gtest.h>

// Before Qt's headers, whose "slots" keyword would clash with ModuleSet's member.
#include "modules/ModuleCompiler.h"
#include "modules/ModuleSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "modules/DataWindowDialogs.h"
#include "platform/qt/DialogRegistry.h"

namespace qv {
namespace {

// Runs the registered widget of a model; `act` works on the open dialog, then OK is pressed.
bool RunWith(DialogModel& model, const std::function<void(QDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        dialog->accept();
    });
    return RegisteredDialogs().at(model.DialogName())(model, nullptr);
}

TEST(DataWindowDialogsTest, OptionsListModulesAndTheirEntryPointsSortedAndReturnTheChoice)
{
    ModuleSet set;
    ModuleCompiler(set).Compile("BLOCK \"zeta\"\nEXIT\nBLOCK \"Alpha\"\nEXIT\n", "Zweites");
    ModuleCompiler(set).Compile("BLOCK \"Kopf\"\nEXIT\n", "erstes");
    DataWindowOptionsDialog options;
    options.modules = &set;
    options.offsetText = "0x20";
    options.lengthText = "16";
    options.maxRowsText = "8192";
    options.module = 0;
    options.entryPoint = 0;
    options.gridLines = true;
    QStringList moduleNames, entryNames;
    ASSERT_TRUE(RunWith(options, [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Daten Fenster Optionen");
        auto combos = dialog.findChildren<QComboBox*>();
        ASSERT_EQ(combos.size(), 2);
        for (int i = 0; i < combos[0]->count(); ++i) moduleNames << combos[0]->itemText(i);
        for (int i = 0; i < combos[1]->count(); ++i) entryNames << combos[1]->itemText(i);
        EXPECT_EQ(combos[1]->currentText(), "zeta");
        combos[0]->setCurrentIndex(0);  // "erstes": its entry points replace the list
        EXPECT_EQ(combos[1]->currentText(), "Kopf");
        auto edits = dialog.findChildren<QLineEdit*>();
        EXPECT_EQ(edits[0]->text(), "0x20");
        EXPECT_EQ(edits[0]->maxLength(), 15);
        edits[0]->setText("0x40");
        int detection = 0;
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            if (box->text() == "Offset Anzeige") box->setChecked(true);
            if (box->text() != "Format automatisch erkennen") continue;
            ++detection;
            EXPECT_TRUE(box->isChecked());
            box->setChecked(false);
        }
        EXPECT_EQ(detection, 1);
    }));
    EXPECT_FALSE(options.autoDetect);
    EXPECT_EQ(moduleNames, (QStringList{"erstes", "Zweites"}));
    EXPECT_EQ(entryNames, (QStringList{"Alpha", "zeta"}));
    EXPECT_EQ(options.module, 1);
    EXPECT_EQ(options.entryPoint, 2);
    EXPECT_EQ(options.offsetText, "0x40");
    EXPECT_TRUE(options.showOffset);
    EXPECT_TRUE(options.gridLines);
}

TEST(DataWindowDialogsTest, RemovalOffersThePathsAndReturnsEverySelectedOne)
{
    ModuleRemoveDialog remove;
    remove.paths = {"/a/eins.dfm", "/b/Zwei.dfm", "/c/drei.dfm"};
    ASSERT_TRUE(RunWith(remove, [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Module löschen");
        auto* list = dialog.findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 3);
        list->item(0)->setSelected(true);
        list->item(2)->setSelected(true);
    }));
    EXPECT_EQ(remove.selected, (std::vector<std::string>{"/a/eins.dfm", "/c/drei.dfm"}));
}

}  // namespace
}  // namespace qv
