// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the number calculator "Zahlen umwandeln" and command 32821 (Ctrl+Y).
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/EditableCombo.h"
#include "platform/qt/QtText.h"
#include "tools/CalculatorModel.h"
#include "tools/ui/ChecksumToolDialogs.h"
#include "view/HexView.h"

namespace qv {
namespace {

constexpr int kCalculatorCommand = 32821;

// Where the dialog was last closed while the program runs.
std::optional<QPoint> lastPlace;

bool RunCalculatorDialog(DialogModel& base, QWidget* parent)
{
    auto& model = static_cast<CalculatorModel&>(base);
    QDialog window(parent);
    window.setObjectName("CalculatorDialog");
    window.setWindowTitle("Zahlen umwandeln");
    auto* grid = new QGridLayout(&window);

    const char* labels[] = {"Dezimal:", "Hexadezimal:", "Oktal:", "Binär:", "Ansi:"};
    QLineEdit* results[5];
    for (int row = 0; row < 5; ++row) {
        grid->addWidget(new QLabel(labels[row]), row, 0);
        results[row] = MakeToolResultField();
        results[row]->setObjectName(QString("result%1").arg(row));
        grid->addWidget(results[row], row, 1, 1, 2);
    }

    auto* input = new QComboBox;
    input->setObjectName("input");
    SetEditableKeepingText(input);
    input->setMaxVisibleItems(16);
    for (const std::string& line : model.History()) input->addItem(ToQt(line));
    input->setEditText(ToQt(model.InputText()));
    grid->addWidget(new QLabel("Eingabe:"), 5, 0);
    grid->addWidget(input, 5, 1, 1, 2);
    grid->addWidget(new QLabel("( 0x... = hex  0b... = bin 0o... = oktal  'x' = Ansi )"), 6, 0, 1, 3);

    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Abbruch", &window);  // present for Escape, never shown
    cancel->setVisible(false);
    grid->addWidget(ok, 7, 2);
    QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);

    const QColor normalBase = input->lineEdit()->palette().color(QPalette::Base);
    auto show = [&] {
        const CalculatorResult& result = model.Result();
        const std::string* texts[] = {&result.decimal, &result.hexadecimal, &result.octal, &result.binary, &result.ansi};
        for (int row = 0; row < 5; ++row) results[row]->setText(ToQt(*texts[row]));
        if (result.valid) {
            QPalette palette = input->lineEdit()->palette();
            palette.setColor(QPalette::Base, normalBase);
            input->lineEdit()->setPalette(palette);
        } else {
            SetToolFieldColor(input->lineEdit(), kCalculatorInvalidColour);
        }
    };
    QObject::connect(input, &QComboBox::editTextChanged, &window, [&](const QString& text) {
        model.SetInputText(FromQt(text));
        show();
    });
    QObject::connect(input, &QComboBox::activated, &window, [&](int index) {
        model.PickHistoryLine(index);
        show();
    });
    QObject::connect(input, &QComboBox::highlighted, &window, [&](int index) { model.SetSelectedLine(index); });
    model.onEvaluated = show;

    show();
    input->setFocus();
    input->lineEdit()->selectAll();
    PlaceToolDialog(window, lastPlace);
    const bool accepted = window.exec() == QDialog::Accepted;
    model.onEvaluated = nullptr;
    if (accepted) lastPlace = window.pos();
    return accepted;
}

void ExecuteCalculator(AppContext& context)
{
    if (!context.view || !context.dialogs) return;
    uint8_t selected[4] = {};
    const int32_t count = context.view->CopySelectionBytes(selected, 4);
    RunCalculator(*context.dialogs, context.settings.user, context.timers, selected, static_cast<size_t>(count));
}

CommandState CalculatorState(AppContext& context) { return {context.view != nullptr, false}; }

}  // namespace

QV_DIALOG_WIDGET("Calculator", RunCalculatorDialog);
QV_GUI_COMMAND(kCalculatorCommand, ExecuteCalculator, CalculatorState);

}  // namespace qv
