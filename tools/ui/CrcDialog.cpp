// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt widget of the dialog "CRC-Summe berechnen" and command 32865 (Ctrl+G).
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/EditableCombo.h"
#include "platform/qt/QtText.h"
#include "tools/CrcCatalog.h"
#include "tools/CrcDialogModel.h"
#include "tools/CrcTool.h"
#include "tools/ui/ChecksumToolDialogs.h"
#include "view/HexView.h"

namespace qv {
namespace {

constexpr int kCrcCommand = 32865;

// Where the dialog was last closed while the program runs.
std::optional<QPoint> lastPlace;

QComboBox* EditableCombo(const std::vector<std::string>& lines)
{
    auto* combo = new QComboBox;
    SetEditableKeepingText(combo);
    for (const std::string& line : lines) combo->addItem(ToQt(line));
    return combo;
}

// Binds the widgets to the model: a user's edit goes into the model's field and runs its
// update; afterwards every widget shows the model again, with its signals held back so
// that rewriting the fields causes no further updates. A pass over a long input runs once
// the user has stopped typing for a moment, not after every key.
class CrcDialogWidget {
public:
    CrcDialogWidget(CrcDialogModel& model, QDialog& window) : model_(model), window_(window) { Build(); }

    void ShowModel();

private:
    void Build();
    void Edited(CrcChange change);

    CrcDialogModel& model_;
    QDialog& window_;
    QComboBox* catalog_ = nullptr;
    QComboBox* width_ = nullptr;
    QComboBox* reflected_ = nullptr;
    QComboBox* normal_ = nullptr;
    QComboBox* start_ = nullptr;
    QLineEdit* formula_ = nullptr;
    QCheckBox* invert_ = nullptr;
    QComboBox* source_ = nullptr;
    QLineEdit* length_ = nullptr;
    QLineEdit* results_[CrcDialogModel::kResultCount] = {};
    QPlainTextEdit* sourceText_ = nullptr;
    bool sourceShown_ = true;
    QTimer* pendingPass_ = nullptr;
    bool passRunning_ = false;  // the progress dialog took the focus: that is no leaving of a field
};

constexpr int kTypingPauseMs = 400;

void CrcDialogWidget::Build()
{
    window_.setObjectName("CrcDialog");
    window_.setWindowTitle("CRC-Summe berechnen");
    auto* grid = new QGridLayout(&window_);
    int row = 0;
    auto addRow = [&](const char* label, QWidget* field) {
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
        grid->addWidget(field, row++, 1);
    };

    catalog_ = new QComboBox;
    for (size_t i = 0; i < kCrcCatalogSize; ++i) catalog_->addItem(QString::fromUtf8(CrcCatalogAt(i).name));
    addRow("Art der Checksumme wählen.", catalog_);
    width_ = EditableCombo(CrcDialogModel::WidthLines());
    addRow("Polygonlänge :", width_);
    reflected_ = EditableCombo(model_.ReflectedHistory());
    addRow("Polygon : ( 1 +x + x² + ³ .... )", reflected_);
    normal_ = EditableCombo(model_.NormalHistory());
    addRow("Polygon : ( ... + x³ + x² + x +1 )", normal_);
    invert_ = new QCheckBox("Ergebniss invertieren");
    grid->addWidget(invert_, row++, 1);
    formula_ = new QLineEdit;
    formula_->setMinimumWidth(360);
    formula_->setToolTip("x^3 + x + 1, x'3 + x + 1 oder x3 + x + 1");
    addRow("Polygon als Formel :", formula_);
    for (int i = 0; i < CrcDialogModel::kResultCount; ++i) {
        results_[i] = MakeToolResultField();
        results_[i]->setObjectName(QString("result%1").arg(i));
        addRow(CrcDialogModel::ResultLabel(i), results_[i]);
    }
    start_ = EditableCombo(model_.StartHistory());
    addRow("Startewert : ", start_);
    source_ = new QComboBox;
    for (int i = 0; i < 4; ++i) source_->addItem(CrcDialogModel::SourceLabel(i));
    addRow("Source :", source_);
    length_ = MakeToolResultField();
    addRow("Speicherlänge :", length_);
    sourceText_ = new QPlainTextEdit;
    sourceText_->setReadOnly(true);
    sourceText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    sourceText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    sourceText_->setMinimumHeight(200);
    SetToolFieldColor(sourceText_, kToolResultColor);
    grid->addWidget(sourceText_, row++, 0, 1, 2);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Abbrechen", QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window_, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window_, &QDialog::reject);
    grid->addWidget(buttons, row++, 0, 1, 2);

    pendingPass_ = new QTimer(&window_);
    pendingPass_->setSingleShot(true);
    pendingPass_->setInterval(kTypingPauseMs);
    QObject::connect(pendingPass_, &QTimer::timeout, &window_, [this] {
        passRunning_ = true;
        model_.RunPendingPass();
        passRunning_ = false;
        ShowModel();
    });

    QObject::connect(catalog_, &QComboBox::activated, &window_, [this](int index) {
        model_.Fields().catalogIndex = static_cast<size_t>(index);
        Edited(CrcChange::Catalog);
    });
    auto bindCombo = [this](QComboBox* combo, std::string CrcFields::*text, CrcChange change) {
        QObject::connect(combo, &QComboBox::editTextChanged, &window_, [this, text, change](const QString& value) {
            model_.Fields().*text = FromQt(value);
            Edited(change);
        });
        QObject::connect(combo->lineEdit(), &QLineEdit::editingFinished, &window_, [this] {
            if (!passRunning_) Edited(CrcChange::Other);
        });
    };
    bindCombo(width_, &CrcFields::widthText, CrcChange::Width);
    bindCombo(reflected_, &CrcFields::reflectedText, CrcChange::Reflected);
    bindCombo(normal_, &CrcFields::normalText, CrcChange::Normal);
    bindCombo(start_, &CrcFields::startText, CrcChange::Start);
    QObject::connect(formula_, &QLineEdit::textEdited, &window_, [this](const QString& value) {
        model_.Fields().formulaText = FromQt(value);
        Edited(CrcChange::Formula);
    });
    QObject::connect(formula_, &QLineEdit::editingFinished, &window_, [this] {
        if (!passRunning_) Edited(CrcChange::Other);
    });
    QObject::connect(invert_, &QCheckBox::toggled, &window_, [this](bool on) {
        model_.SetInvert(on);
        ShowModel();
    });
    QObject::connect(source_, &QComboBox::activated, &window_, [this](int index) {
        model_.SetSource(index);
        ShowModel();
    });
}

void CrcDialogWidget::Edited(CrcChange change)
{
    model_.Changed(change);
    ShowModel();
}

void CrcDialogWidget::ShowModel()
{
    const CrcFields& fields = model_.Fields();
    QWidget* all[] = {catalog_, width_, reflected_, normal_, start_, formula_, invert_, source_};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QWidget* widget : all) blockers.push_back(std::make_unique<QSignalBlocker>(widget));

    catalog_->setCurrentIndex(static_cast<int>(fields.catalogIndex));
    auto setCombo = [](QComboBox* combo, const std::string& text) {
        const QString value = ToQt(text);
        if (combo->currentText() != value) combo->setEditText(value);
    };
    const int widthLine = width_->findText(ToQt(fields.widthText));
    if (widthLine >= 0 && width_->currentIndex() != widthLine) width_->setCurrentIndex(widthLine);
    setCombo(width_, fields.widthText);
    setCombo(reflected_, fields.reflectedText);
    setCombo(normal_, fields.normalText);
    setCombo(start_, fields.startText);
    if (formula_->text() != ToQt(fields.formulaText)) {
        formula_->setText(ToQt(fields.formulaText));
        formula_->setCursorPosition(0);  // the leading term first
    }
    if (fields.FormulaInvalid())
        SetToolFieldColor(formula_, kCrcInvalidFormulaColor);
    else
        formula_->setPalette(QPalette());
    invert_->setChecked(model_.Invert());
    source_->setCurrentIndex(model_.Source());
    length_->setText(ToQt(model_.LengthText()));
    for (int i = 0; i < CrcDialogModel::kResultCount; ++i) results_[i]->setText(ToQt(model_.ResultText(i)));

    // The source field only takes room while a source is chosen: the dialog lengthens
    // and shortens by its height.
    if (model_.PassPending()) pendingPass_->start();

    const bool show = model_.Source() != CrcDialogModel::kSourceNone;
    sourceText_->setPlainText(ToQt(model_.SourceText()));
    if (show != sourceShown_) {
        sourceText_->setVisible(show);
        sourceShown_ = show;
        window_.adjustSize();
    }
}

bool RunCrcDialog(DialogModel& base, QWidget* parent)
{
    auto& model = static_cast<CrcDialogModel&>(base);
    QDialog window(parent);
    CrcDialogWidget widget(model, window);
    widget.ShowModel();
    PlaceToolDialog(window, lastPlace);
    const bool accepted = window.exec() == QDialog::Accepted;
    lastPlace = window.pos();
    return accepted;
}

void ExecuteCrc(AppContext& context)
{
    if (!context.view || !context.dialogs) return;
    RunCrcTool(ToolInputOfView(*context.view), context.settings, *context.dialogs, TasksOf(context));
}

CommandState CrcState(AppContext& context)
{
    return {context.view != nullptr, false};
}

}  // namespace

QV_DIALOG_WIDGET("CrcCalc", RunCrcDialog);
QV_GUI_COMMAND(kCrcCommand, ExecuteCrc, CrcState);

}  // namespace qv
