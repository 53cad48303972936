// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the float converter "Flieskommakonverter" and command 32861 (Ctrl+X).
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/QtText.h"
#include "tools/FloatConverter.h"
#include "tools/ui/ChecksumToolDialogs.h"
#include "view/HexView.h"

namespace qv {
namespace {

constexpr int kFloatCommand = 32861;

// Where the dialog was last closed while the program runs.
std::optional<QPoint> lastPlace;

bool IsBitField(FloatField field)
{
    return field == FloatField::DoubleMantissa || field == FloatField::FloatMantissa ||
           field == FloatField::DoubleExponent || field == FloatField::FloatExponent;
}

// Binds the seven fields to the model. Only the user's edits (textEdited) reach the model,
// so rewriting the fields from the model causes no further updates.
class FloatDialogWidget : public QObject {
public:
    FloatDialogWidget(FloatConverterModel& model, QDialog& window) : model_(model) { Build(window); }

    void ShowAllBut(std::optional<FloatField> edited)
    {
        for (int i = 0; i < kFloatFieldCount; ++i) {
            auto field = static_cast<FloatField>(i);
            if (field != edited) fields_[i]->setText(ToQt(model_.Text(field)));
            if (IsBitField(field)) SetToolFieldColor(fields_[i], model_.ColourOf(field));
        }
    }

protected:
    // A mantissa or exponent field shows only its number while it has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            for (int i = 0; i < kFloatFieldCount; ++i) {
                auto field = static_cast<FloatField>(i);
                if (watched != fields_[i] || !IsBitField(field)) continue;
                QLineEdit* edit = fields_[i];
                if (event->type() == QEvent::FocusIn) {
                    model_.FocusField(field);
                    edit->setText(ToQt(model_.Text(field)));
                    QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });  // after the click places the caret
                } else {
                    model_.LeaveField(field);
                    edit->setText(ToQt(model_.Text(field)));
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Build(QDialog& window)
    {
        auto* grid = new QGridLayout(&window);
        grid->addWidget(new QLabel("Double :"), 0, 1);
        grid->addWidget(new QLabel("Float :"), 0, 2);
        const char* rows[] = {"Werte", "Mantisse :", "Exponent :"};
        for (int row = 0; row < 3; ++row) grid->addWidget(new QLabel(rows[row]), row + 1, 0);
        const char* names[] = {"doubleValue", "floatValue", "doubleMantissa", "floatMantissa",
                               "doubleExponent", "floatExponent", "hexDump"};
        for (int i = 0; i < kFloatFieldCount; ++i) {
            fields_[i] = new QLineEdit;
            fields_[i]->setObjectName(names[i]);
            auto field = static_cast<FloatField>(i);
            if (field != FloatField::HexDump) grid->addWidget(fields_[i], i / 2 + 1, i % 2 + 1);
            if (IsBitField(field)) fields_[i]->installEventFilter(this);
            QObject::connect(fields_[i], &QLineEdit::textEdited, &window, [this, field](const QString& text) {
                model_.EditField(field, FromQt(text));
                ShowAllBut(field);
            });
        }
        QLineEdit* dump = fields_[static_cast<int>(FloatField::HexDump)];
        dump->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        grid->addWidget(new QLabel("HEX-Dump :"), 4, 0);
        grid->addWidget(dump, 4, 1, 1, 2);

        auto* legend = new QGridLayout;
        const char* floatLegend[] = {"Float:", "M=0...22", "E=23...30", "V=31"};
        const char* doubleLegend[] = {"Double:", "M=0...51", "E=52...62", "V=63"};
        for (int i = 0; i < 4; ++i) {
            legend->addWidget(new QLabel(floatLegend[i]), 0, i);
            legend->addWidget(new QLabel(doubleLegend[i]), 1, i);
        }
        grid->addLayout(legend, 5, 0, 1, 3);

        auto* buttons = new QHBoxLayout;
        AddSwapButton(*buttons, window, "Swap Bytes", [this] { model_.SwapBytes(); });
        AddSwapButton(*buttons, window, "Swap Words", [this] { model_.SwapWords(); });
        AddSwapButton(*buttons, window, "Swap QWords", [this] { model_.SwapQWords(); });
        auto* ok = new QPushButton("OK");
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
        buttons->addWidget(ok);
        grid->addLayout(buttons, 6, 0, 1, 3);
    }

    void AddSwapButton(QHBoxLayout& buttons, QDialog& window, const char* text, std::function<void()> swap)
    {
        auto* button = new QPushButton(text);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, &window, [this, swap = std::move(swap)] {
            swap();
            ShowAllBut(std::nullopt);
        });
        buttons.addWidget(button);
    }

    FloatConverterModel& model_;
    QLineEdit* fields_[kFloatFieldCount] = {};
};

bool RunFloatDialog(DialogModel& base, QWidget* parent)
{
    auto& model = static_cast<FloatConverterModel&>(base);
    QDialog window(parent);
    window.setObjectName("FloatConverterDialog");
    window.setWindowTitle("Flieskommakonverter");
    FloatDialogWidget widget(model, window);
    widget.ShowAllBut(std::nullopt);
    PlaceToolDialog(window, lastPlace);
    const bool accepted = window.exec() == QDialog::Accepted;
    lastPlace = window.pos();  // OK and Escape alike
    return accepted;
}

void ExecuteFloat(AppContext& context)
{
    if (!context.view || !context.dialogs) return;
    uint8_t bytes[8] = {};
    const int32_t count = context.view->HasSelection() ? context.view->CopySelectionBytes(bytes, 8)
                                                        : context.view->CopyBytesAtCursor(bytes, 8);
    FloatConverterModel model(bytes, static_cast<size_t>(count));
    context.dialogs->Run(model);
}

CommandState FloatState(AppContext& context) { return {context.view != nullptr, false}; }

}  // namespace

QV_DIALOG_WIDGET("FloatConverter", RunFloatDialog);
QV_GUI_COMMAND(kFloatCommand, ExecuteFloat, FloatState);

}  // namespace qv
