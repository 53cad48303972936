// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt faces of the data window's dialogs: module files, module errors, taking files out
// of the module list, and the options of a page.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "modules/DataWindowDialogs.h"
#include "platform/qt/CaptionWidth.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/QtText.h"

namespace qv {
namespace {

QDialogButtonBox* OkCancel(QDialog& dialog, bool withCancel = true)
{
    auto* buttons = new QDialogButtonBox(withCancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                                    : QDialogButtonBox::Ok, &dialog);
    if (withCancel) buttons->button(QDialogButtonBox::Cancel)->setText("Abbrechen");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

bool RunModuleFiles(DialogModel& model, QWidget* parent)
{
    auto& files = static_cast<ModuleFileDialog&>(model);
    QFileDialog dialog(parent, "Modul laden", QString::fromStdString(files.folder));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({"Daten Fenster Module (*.dfm)", "Alle Dateien (*)"});
    if (dialog.exec() != QDialog::Accepted) return false;
    files.chosen.clear();
    for (const QString& path : dialog.selectedFiles()) files.chosen.push_back(path.toStdString());
    return true;
}

bool RunModuleErrors(DialogModel& model, QWidget* parent)
{
    auto& errors = static_cast<ModuleErrorDialog&>(model);
    QDialog dialog(parent);
    dialog.setObjectName("Modul Fehler");
    dialog.setWindowTitle(QString::fromStdString(errors.caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QPlainTextEdit(ToQt(errors.text), &dialog);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(text);
    layout->addWidget(OkCancel(dialog, false));
    dialog.resize(500, 340);
    dialog.exec();
    return true;
}

bool RunModuleRemove(DialogModel& model, QWidget* parent)
{
    auto& remove = static_cast<ModuleRemoveDialog&>(model);
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8(ModuleRemoveDialog::kCaption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const std::string& path : remove.paths) list->addItem(QString::fromStdString(path));
    layout->addWidget(list);
    layout->addWidget(OkCancel(dialog));
    dialog.resize(500, 300);
    if (dialog.exec() != QDialog::Accepted) return false;
    remove.selected.clear();
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) remove.selected.push_back(remove.paths[static_cast<size_t>(i)]);
    return true;
}

bool RunDataWindowOptions(DialogModel& model, QWidget* parent)
{
    auto& options = static_cast<DataWindowOptionsDialog&>(model);
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8(DataWindowOptionsDialog::kCaption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* offset = new QLineEdit(ToQt(options.offsetText), &dialog);
    offset->setMaxLength(15);
    auto* length = new QLineEdit(ToQt(options.lengthText), &dialog);
    auto* maxRows = new QLineEdit(ToQt(options.maxRowsText), &dialog);
    auto* modules = new QComboBox(&dialog);
    auto* entries = new QComboBox(&dialog);
    form->addRow("Offset", offset);
    form->addRow("Länge", length);
    form->addRow("Maximale Zeilen", maxRows);
    form->addRow("Module", modules);
    form->addRow("Blöcke", entries);
    layout->addLayout(form);

    auto fillEntries = [&](int module, int selected) {
        entries->clear();
        for (int entry : options.SortedEntryPoints(module)) {
            entries->addItem(ToQt(options.EntryPointName(entry)), entry);
            if (entry == selected) entries->setCurrentIndex(entries->count() - 1);
        }
    };
    for (int module : options.SortedModules()) {
        modules->addItem(ToQt(options.ModuleName(module)), module);
        if (module == options.module) modules->setCurrentIndex(modules->count() - 1);
    }
    fillEntries(options.module, options.entryPoint);
    QObject::connect(modules, &QComboBox::currentIndexChanged, &dialog,
                     [&] { fillEntries(modules->currentData().toInt(), -1); });

    struct Box { const char* text; bool* value; };
    const Box boxes[] = {{"Offset Anzeige", &options.showOffset},          {"Längen Anzeige", &options.showSize},
                         {"Adress Anzeige", &options.showAddress},         {"Fixe Schriftzeichenbreite", &options.fixedFont},
                         {"Linien im Datenfenster", &options.gridLines},
                         {"Format automatisch erkennen", &options.autoDetect}};
    std::vector<std::pair<QCheckBox*, bool*>> checks;
    for (const Box& box : boxes) {
        auto* check = new QCheckBox(QString::fromUtf8(box.text), &dialog);
        check->setChecked(*box.value);
        layout->addWidget(check);
        checks.emplace_back(check, box.value);
    }
    layout->addWidget(OkCancel(dialog));
    FitCaption(dialog);
    if (dialog.exec() != QDialog::Accepted) return false;
    options.offsetText = FromQt(offset->text());
    options.lengthText = FromQt(length->text());
    options.maxRowsText = FromQt(maxRows->text());
    if (modules->currentIndex() >= 0) options.module = modules->currentData().toInt();
    if (entries->currentIndex() >= 0) options.entryPoint = entries->currentData().toInt();
    for (auto& [check, value] : checks) *value = check->isChecked();
    return true;
}

}  // namespace

QV_DIALOG_WIDGET("ModuleFiles", RunModuleFiles);
QV_DIALOG_WIDGET("ModuleErrors", RunModuleErrors);
QV_DIALOG_WIDGET("ModuleRemove", RunModuleRemove);
QV_DIALOG_WIDGET("DataWindowOptions", RunDataWindowOptions);

}  // namespace qv
