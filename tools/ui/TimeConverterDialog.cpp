// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widgets of the time converter "TimeConvert", the read-mode dialog "Zeitmodus" and
// command 32863 "Zeitkonverter" (Ctrl+M).
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/QtText.h"
#include "tools/TimeConverter.h"
#include "tools/TimeModeDialog.h"
#include "tools/ui/ChecksumToolDialogs.h"
#include "view/HexView.h"

namespace qv {
namespace {

constexpr int kTimeConverterCommand = 32863;


uint32_t ToBgr(const QColor& colour)
{
    return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
           static_cast<uint32_t>(colour.blue()) << 16;
}

const char* const kFieldLabels[kTimeFieldCount] = {
    "Zeit als Text :",
    "UTC-Zeit :    (1s..1.1.1970)",
    "UTC-Hex-Dump :",
    "DOS-Zeit :   (5-Bit[s] 6-Bit[m] 5-Bit[h]   5-Bit[D] 4-Bit[M] 7-Bit[Y])",
    "OLE-Zeit :   (1d..30.12.1899)",
    "OLE-Hex-Dump :",
    "FILE-Zeit : (100ns...1.1.1601)",
    "FILE-Zeit-Hex-Dump :",
    "Zeitstempel :        ( Y:Y:M:M:D:D:H:H:M:M:S:S:F:F:F:F )",
    "SYSTEM-Zeit :    ( Y:Y:M:M:D:D:W:W:H:H:M:M:S:S:L:L )",
};

// Binds the ten fields to the model. Only the user's edits (textEdited) reach the model,
// so rewriting the other fields causes no further conversions.
class TimeDialogWidget : public QObject {
public:
    TimeDialogWidget(TimeConverterModel& model, QDialog& window) : model_(model) { Build(window); }

    void ShowAllBut(std::optional<TimeField> edited)
    {
        for (int i = 0; i < kTimeFieldCount; ++i) {
            auto field = static_cast<TimeField>(i);
            if (field != edited) fields_[i]->setText(ToQt(model_.Text(field)));
        }
        Repaint(model_.TakeRepaints());
    }

    void PaintAll()
    {
        for (int i = 0; i < kTimeFieldCount; ++i) Paint(static_cast<TimeField>(i));
    }

    void FocusSource()
    {
        if (auto source = model_.Source()) fields_[static_cast<int>(*source)]->setFocus();
    }

    void Repaint(const std::vector<TimeField>& fields)
    {
        for (TimeField field : fields) Paint(field);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A hidden window can still be handed the focus while it closes: that is no user's choice.
        if (event->type() == QEvent::FocusIn && static_cast<QWidget*>(watched)->isVisible())
            for (int i = 0; i < kTimeFieldCount; ++i)
                if (watched == fields_[i]) {
                    model_.FocusField(static_cast<TimeField>(i));
                    Repaint(model_.TakeRepaints());
                }
        return QObject::eventFilter(watched, event);
    }

private:
    void Paint(TimeField field) { SetToolFieldColor(fields_[static_cast<int>(field)], model_.ColourOf(field)); }

    void Build(QDialog& window)
    {
        auto* layout = new QVBoxLayout(&window);
        const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        for (int i = 0; i < kTimeFieldCount; ++i) {
            auto field = static_cast<TimeField>(i);
            layout->addWidget(new QLabel(kFieldLabels[i]));
            fields_[i] = new QLineEdit;
            fields_[i]->setObjectName(QString("timeField%1").arg(i));
            fields_[i]->setFont(fixed);
            fields_[i]->installEventFilter(this);
            layout->addWidget(fields_[i]);
            QObject::connect(fields_[i], &QLineEdit::textEdited, &window, [this, field](const QString& text) {
                model_.EditField(field, FromQt(text));
                ShowAllBut(field);
            });
        }
        model_.SetBaseColours(ToBgr(fields_[0]->palette().color(QPalette::Base)),
                              ToBgr(fields_[0]->palette().color(QPalette::ToolTipBase)));

        auto* buttons = new QHBoxLayout;
        auto* now = new QPushButton("Jetzt");
        now->setAutoDefault(false);
        QObject::connect(now, &QPushButton::clicked, &window, [this] {
            model_.PressNow();
            ShowAllBut(std::nullopt);
            FocusSource();
        });
        auto* local = new QRadioButton("lokal");
        auto* global = new QRadioButton("global");
        local->setObjectName("local");
        global->setObjectName("global");
        (model_.IsLocal() ? local : global)->setChecked(true);
        QObject::connect(local, &QRadioButton::toggled, &window, [this](bool on) {
            model_.SetLocal(on);
            ShowAllBut(model_.Source());
        });
        auto* test = new QPushButton("Test");  // present, never shown
        test->setVisible(false);
        auto* ok = new QPushButton("OK");
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
        buttons->addWidget(now);
        buttons->addWidget(local);
        buttons->addWidget(global);
        buttons->addStretch();
        buttons->addWidget(test);
        buttons->addWidget(ok);
        layout->addLayout(buttons);
    }

    TimeConverterModel& model_;
    QLineEdit* fields_[kTimeFieldCount] = {};
};

bool RunTimeConverterDialog(DialogModel& base, QWidget* parent)
{
    auto& model = static_cast<TimeConverterModel&>(base);
    QDialog window(parent);
    window.setObjectName("TimeConvertDialog");
    window.setWindowTitle("TimeConvert");
    TimeDialogWidget widget(model, window);
    // The model opened with the start field already converted: show everything.
    widget.ShowAllBut(std::nullopt);
    widget.PaintAll();
    model.onRepaintsDue = [&] { widget.Repaint(model.TakeRepaints()); };
    widget.FocusSource();
    const bool accepted = window.exec() == QDialog::Accepted;
    model.onRepaintsDue = nullptr;
    return accepted;
}

bool RunTimeModeDialog(DialogModel& base, QWidget* parent)
{
    auto& model = static_cast<TimeModeModel&>(base);
    QDialog window(parent);
    window.setObjectName("TimeModeDialog");
    window.setWindowTitle("Zeitmodus");
    auto* layout = new QVBoxLayout(&window);
    auto* frame = new QGroupBox("Modus");
    auto* frameLayout = new QVBoxLayout(frame);
    const char* modes[kTimeReadModeCount] = {"Letzte Eingabe benutzen", "Texteingabe",      "UTC-Zeit",
                                             "DOS-Zeitstempel",         "OLE-Zeitstempel",  "FILETIME-Zeit",
                                             "DBTIMESTAMP-Zeit",        "SYTEMTIME-Zeit",   "DBDATE-Zeitstempel"};
    QButtonGroup group(&window);
    for (int i = 0; i < kTimeReadModeCount; ++i) {
        auto* button = new QRadioButton(modes[i]);
        button->setObjectName(QString("mode%1").arg(i));
        button->setChecked(static_cast<int>(model.mode) == i);
        group.addButton(button, i);
        frameLayout->addWidget(button);
    }
    layout->addWidget(frame);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    if (window.exec() != QDialog::Accepted) return false;
    if (group.checkedId() >= 0) model.mode = static_cast<TimeReadMode>(group.checkedId());
    return true;
}

void ExecuteTimeConverter(AppContext& context)
{
    if (!context.dialogs) return;
    std::optional<std::vector<uint8_t>> bytes;
    if (context.view) {
        std::vector<uint8_t> copied(kTimeConverterMaxBytes);
        const auto max = static_cast<int32_t>(copied.size());
        const int32_t count = context.view->HasSelection() ? context.view->CopySelectionBytes(copied.data(), max)
                                                           : context.view->CopyBytesAtCursor(copied.data(), max);
        copied.resize(static_cast<size_t>(count));
        bytes = std::move(copied);
    }
    OpenTimeConverter(*context.dialogs, context.settings.user, context.timers, bytes);
}

// The command is always enabled; without a view only the read mode is asked.
CommandState TimeConverterState(AppContext&) { return {true, false}; }

}  // namespace

QV_DIALOG_WIDGET("TimeConvert", RunTimeConverterDialog);
QV_DIALOG_WIDGET("Zeitmodus", RunTimeModeDialog);
QV_GUI_COMMAND(kTimeConverterCommand, ExecuteTimeConverter, TimeConverterState);

}  // namespace qv
