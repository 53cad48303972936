// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/ui/SearchDialog.h"

#include <functional>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/Prompt.h"
#include "platform/qt/DialogRegistry.h"
#include "platform/qt/EditableCombo.h"
#include "platform/qt/QtText.h"

namespace qv {
namespace {


// Group lines hold tabs; the list shows them as blanks up to the next multiple of 8.
QString LineForDisplay(const std::string& line)
{
    std::string shown;
    for (char c : line) {
        if (c == '\t')
            shown.append(8 - shown.size() % 8, ' ');
        else
            shown += c;
    }
    return ToQt(shown);
}

const char* const kKindLabels[] = {"De&zimal", "&Hex", "&Binär", "O&ktal", "T&ext", "Hex-D&ump", "Bit-&Maske ?#"};
const char* const kWidthLabels[] = {"B&yte", "&Word", "&DWord", "&Variabel"};

}  // namespace

SearchDialog::SearchDialog(SearchDialogModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setObjectName("SearchDialog");
    setWindowTitle("Wert suchen");
    Build();
    Connect();
    Refresh();
    // The proposed text is selected, so that typing replaces it instead of adding to it.
    value_->setFocus();
    value_->lineEdit()->selectAll();
}

void SearchDialog::Build()
{
    auto* layout = new QVBoxLayout(this);

    auto* valueRow = new QHBoxLayout;
    auto* valueLabel = new QLabel("Suche Nach :");
    value_ = new QComboBox;
    value_->setObjectName("value");
    SetEditableKeepingText(value_);
    value_->lineEdit()->setMaxLength(static_cast<int>(kMaxTypedText));
    value_->setMinimumContentsLength(40);
    for (const std::string& line : model_.HistoryLines()) value_->addItem(ToQt(line));
    value_->setEditText(ToQt(model_.Text()));
    valueLabel->setBuddy(value_);
    valueRow->addWidget(valueLabel);
    valueRow->addWidget(value_, 1);
    layout->addLayout(valueRow);

    auto* frames = new QHBoxLayout;
    auto radioFrame = [&](const char* title, const char* const* labels, int count, QButtonGroup*& group) {
        auto* box = new QGroupBox(title);
        auto* column = new QVBoxLayout(box);
        group = new QButtonGroup(this);
        for (int i = 0; i < count; ++i) {
            auto* radio = new QRadioButton(QString::fromUtf8(labels[i]));
            radio->setObjectName(QString("%1%2").arg(title[0] == 'E' ? "kind" : "width").arg(i));
            group->addButton(radio, i);
            column->addWidget(radio);
        }
        column->addStretch();
        frames->addWidget(box);
    };
    radioFrame("Eingabe Art", kKindLabels, 7, kinds_);
    radioFrame("Byte-Anzahl", kWidthLabels, 4, widths_);

    auto* direction = new QGroupBox("Richtung");
    auto* directionColumn = new QVBoxLayout(direction);
    backward_ = new QRadioButton(QString::fromUtf8("Rück&wärts"));
    forward_ = new QRadioButton(QString::fromUtf8("&Vorwärts"));
    backward_->setObjectName("backward");
    forward_->setObjectName("forward");
    directionColumn->addWidget(backward_);
    directionColumn->addWidget(forward_);
    directionColumn->addStretch();
    frames->addWidget(direction);

    auto* buttons = new QVBoxLayout;
    ok_ = new QPushButton("OK");
    cancel_ = new QPushButton("Abbrechen");
    again_ = new QPushButton("Weiter&suchen");
    ok_->setObjectName("ok");
    cancel_->setObjectName("cancel");
    again_->setObjectName("again");
    for (QPushButton* button : {ok_, cancel_, again_}) buttons->addWidget(button);
    buttons->addStretch();
    frames->addLayout(buttons);
    layout->addLayout(frames);

    auto* options = new QGridLayout;
    auto check = [&](const char* label, const char* name, int row, int column) {
        auto* box = new QCheckBox(QString::fromUtf8(label));
        box->setObjectName(name);
        options->addWidget(box, row, column);
        return box;
    };
    inSelection_ = check("Nur im &markierten Bereich suchen", "inSelection", 0, 0);
    wholeMemory_ = check("Gesamten &Speicher durchsuchen", "wholeMemory", 1, 0);
    fromStart_ = check("Vom &Anfang suchen", "fromStart", 2, 0);
    ignoreCase_ = check("&Groß/Kleinschreibung ignorieren", "ignoreCase", 3, 0);
    unicode_ = check("Unicode Text", "unicode", 0, 1);
    bigEndian_ = check("Zahlen im Motorola Format suchen", "bigEndian", 1, 1);
    group_ = check("Gru&ppen-Suche", "group", 2, 1);
    ordered_ = check("&Reihenfolge beachten", "ordered", 3, 1);
    auto* rangeRow = new QHBoxLayout;
    auto* rangeLabel = new QLabel("Bereich");
    range_ = new QLineEdit;
    range_->setObjectName("range");
    range_->setText(ToQt(model_.RangeText()));
    rangeLabel->setBuddy(range_);
    rangeRow->addWidget(rangeLabel);
    rangeRow->addWidget(range_);
    options->addLayout(rangeRow, 4, 1);
    layout->addLayout(options);

    groupPart_ = new QWidget;
    auto* groupRow = new QHBoxLayout(groupPart_);
    groupRow->setContentsMargins(0, 0, 0, 0);
    lines_ = new QListWidget;
    lines_->setObjectName("lines");
    lines_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    groupRow->addWidget(lines_, 1);
    auto* listButtons = new QVBoxLayout;
    add_ = new QPushButton("Hi&nzufügen");
    remove_ = new QPushButton("&Löschen");
    removeAll_ = new QPushButton("Alle  Löschen");
    up_ = new QPushButton("Nach &Oben");
    down_ = new QPushButton("Nach Un&ten");
    add_->setObjectName("add");
    remove_->setObjectName("remove");
    removeAll_->setObjectName("removeAll");
    up_->setObjectName("up");
    down_->setObjectName("down");
    for (QPushButton* button : {add_, remove_, removeAll_, up_, down_}) {
        button->setAutoDefault(false);
        listButtons->addWidget(button);
    }
    listButtons->addStretch();
    groupRow->addLayout(listButtons);
    layout->addWidget(groupPart_, 1);
    for (QPushButton* button : {ok_, cancel_, again_}) button->setAutoDefault(false);
}

void SearchDialog::Connect()
{
    connect(value_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        model_.TypeText(FromQt(text));
        Refresh();
    });
    connect(kinds_, &QButtonGroup::idClicked, this, [this](int id) {
        model_.ClickKind(static_cast<ValueKind>(id));
        Refresh();
    });
    connect(widths_, &QButtonGroup::idClicked, this, [this](int id) {
        model_.ClickWidth(static_cast<ValueWidth>(id));
        Refresh();
    });
    connect(backward_, &QRadioButton::clicked, this, [this] {
        model_.ClickDirection(true);
        Refresh();
    });
    connect(forward_, &QRadioButton::clicked, this, [this] {
        model_.ClickDirection(false);
        Refresh();
    });
    auto onClick = [this](QCheckBox* box, std::function<void(SearchDialogModel&, bool)> click) {
        connect(box, &QCheckBox::clicked, this, [this, click](bool on) {
            click(model_, on);
            Refresh();
        });
    };
    onClick(inSelection_, &SearchDialogModel::ClickInSelection);
    onClick(group_, &SearchDialogModel::ClickGroup);
    onClick(fromStart_, &SearchDialogModel::ClickFromStart);
    auto onToggle = [this](QCheckBox* box, std::function<void(SearchDialogModel&, bool)> set) {
        connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
            set(model_, on);
            Refresh();
        });
    };
    onToggle(wholeMemory_, &SearchDialogModel::SetWholeMemory);
    onToggle(ignoreCase_, &SearchDialogModel::SetIgnoreCase);
    onToggle(ordered_, &SearchDialogModel::SetGroupOrdered);
    onToggle(unicode_, &SearchDialogModel::SetUnicode);
    onToggle(bigEndian_, &SearchDialogModel::SetBigEndian);
    connect(range_, &QLineEdit::textEdited, this, [this](const QString& text) { model_.SetRangeText(FromQt(text)); });

    connect(lines_, &QListWidget::itemSelectionChanged, this, [this] {
        std::set<size_t> selected;
        for (const QModelIndex& index : lines_->selectionModel()->selectedRows())
            selected.insert(static_cast<size_t>(index.row()));
        model_.SelectLines(selected, lines_->currentRow());
        Refresh();
    });
    connect(lines_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        model_.ReadBackLine(static_cast<size_t>(lines_->row(item)));
        Refresh();
    });
    auto onButton = [this](QPushButton* button, std::function<void(SearchDialogModel&)> action) {
        connect(button, &QPushButton::clicked, this, [this, action] {
            action(model_);
            Refresh();
        });
    };
    onButton(add_, &SearchDialogModel::Add);
    onButton(remove_, &SearchDialogModel::DeleteSelected);
    onButton(removeAll_, &SearchDialogModel::DeleteAll);
    onButton(up_, &SearchDialogModel::MoveUp);
    onButton(down_, &SearchDialogModel::MoveDown);

    connect(ok_, &QPushButton::clicked, this, [this] { Close(false); });
    connect(again_, &QPushButton::clicked, this, [this] { Close(true); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void SearchDialog::Refresh()
{
    QSignalBlocker blockers[] = {QSignalBlocker(value_), QSignalBlocker(lines_), QSignalBlocker(wholeMemory_),
                                 QSignalBlocker(ignoreCase_), QSignalBlocker(ordered_), QSignalBlocker(unicode_),
                                 QSignalBlocker(bigEndian_)};
    const QString text = ToQt(model_.Text());
    if (value_->currentText() != text) value_->setEditText(text);
    if (QAbstractButton* kind = kinds_->button(model_.Kind())) {
        kind->setChecked(true);
    } else {
        kinds_->setExclusive(false);
        for (QAbstractButton* button : kinds_->buttons()) button->setChecked(false);
        kinds_->setExclusive(true);
    }
    widths_->button(static_cast<int>(model_.Width()))->setChecked(true);

    const auto& o = model_.Current();
    backward_->setChecked(o.backward);
    forward_->setChecked(!o.backward);
    inSelection_->setChecked(o.inSelection);
    wholeMemory_->setChecked(o.wholeMemory);
    ignoreCase_->setChecked(o.ignoreCase);
    group_->setChecked(o.group);
    ordered_->setChecked(o.groupOrdered);
    fromStart_->setChecked(o.fromStart);
    unicode_->setChecked(o.unicode);
    bigEndian_->setChecked(o.bigEndian);

    backward_->setEnabled(model_.DirectionEnabled());
    forward_->setEnabled(model_.DirectionEnabled());
    inSelection_->setEnabled(model_.InSelectionEnabled());
    bigEndian_->setEnabled(model_.BigEndianEnabled());
    ignoreCase_->setEnabled(model_.TextOptionsEnabled());
    unicode_->setEnabled(model_.TextOptionsEnabled());

    const auto& lines = model_.Lines();
    bool same = lines_->count() == static_cast<int>(lines.size());
    for (int i = 0; same && i < lines_->count(); ++i) same = lines_->item(i)->text() == LineForDisplay(lines[static_cast<size_t>(i)]);
    if (!same) {
        lines_->clear();
        for (const std::string& line : lines) lines_->addItem(LineForDisplay(line));
    }
    for (int i = 0; i < lines_->count(); ++i)
        lines_->item(i)->setSelected(model_.SelectedLines().count(static_cast<size_t>(i)) > 0);
    if (model_.CaretLine() >= 0) lines_->setCurrentRow(model_.CaretLine(), QItemSelectionModel::NoUpdate);

    const bool groupShown = model_.GroupShown();
    if (groupPart_->isVisibleTo(this) != groupShown) {
        groupPart_->setVisible(groupShown);
        adjustSize();
    }
    add_->setEnabled(model_.AddEnabled());
    remove_->setEnabled(model_.DeleteEnabled());
    removeAll_->setEnabled(model_.DeleteAllEnabled());
    up_->setEnabled(model_.MoveEnabled());
    down_->setEnabled(model_.MoveEnabled());
    (groupShown ? add_ : ok_)->setDefault(true);
    (groupShown ? ok_ : add_)->setDefault(false);
}

void SearchDialog::Close(bool searchAgain)
{
    model_.SetRangeText(FromQt(range_->text()));
    if (!model_.Accept(searchAgain)) {
        QMessageBox::information(this, kProgramCaption, ToQt(model_.ErrorText()));
        range_->setFocus();
        range_->selectAll();
        return;
    }
    accept();
}

bool SearchDialog::Run()
{
    if (QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen()) {
        const QRect area = screen->geometry();
        if (auto place = model_.PlacementOn(area.width(), area.height())) move(place->x, place->y);
    }
    const bool accepted = exec() == QDialog::Accepted;
    if (!accepted) model_.Cancel();
    model_.RememberPosition({pos().x(), pos().y()});
    return accepted;
}

namespace {

bool RunSearchDialog(DialogModel& model, QWidget* parent)
{
    SearchDialog dialog(static_cast<SearchDialogModel&>(model), parent);
    return dialog.Run();
}

}  // namespace

QV_DIALOG_WIDGET(SearchDialogModel::kName, RunSearchDialog);

}  // namespace qv
