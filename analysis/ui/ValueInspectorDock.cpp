// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/ui/ValueInspectorDock.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/MainFrame.h"
#include "view/HexView.h"

namespace qv {
namespace {

// A modal question or dialog is open: the rows wait until it is closed.
constexpr int kRetryAfterDialogMs = 100;

bool IsTableKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_F2 || key->matches(QKeySequence::Copy);
}

// The line a value is typed into. Every key belongs to it while it is open, so that Escape
// ends the typing and not the program, and the editing keys do not reach the hex view.
class ValueEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }
};

// Hands a typed value to the dock instead of the table. The write, which may tell the user
// why it is refused, happens once the editor is closed.
class ValueDelegate : public QStyledItemDelegate {
public:
    ValueDelegate(ValueInspectorDock& dock, QObject* parent) : QStyledItemDelegate(parent), dock_(dock) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return new ValueEditor(parent);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        const auto row = static_cast<InspectorRow>(index.row());
        const QString text = static_cast<QLineEdit*>(editor)->text();
        // The row confirmed as it was shown is no edit (nor a refusal where it shows "-").
        if (text == index.data(Qt::DisplayRole).toString()) return;
        QTimer::singleShot(0, &dock_, [dock = &dock_, row, text] { dock->Write(row, text); });
    }

private:
    ValueInspectorDock& dock_;
};

}  // namespace

// ---- the table ---------------------------------------------------------------------

bool InspectorTable::event(QEvent* event)
{
    // F2 and Ctrl+C belong to the table even where the main window has a shortcut for them.
    if (event->type() == QEvent::ShortcutOverride && IsTableKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTableWidget::event(event);
}

void InspectorTable::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) && currentRow() >= 0) {
        QApplication::clipboard()->setText(item(currentRow(), ValueInspectorDock::kValueColumn)->text());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QSize InspectorTable::sizeHint() const
{
    const int values = fontMetrics().horizontalAdvance("Sa 01.Jan.2000 00:00:00.000  ");
    const int width = columnWidth(0) + values + verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    return {width, QTableWidget::sizeHint().height()};
}

bool InspectorTable::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    return QTableWidget::edit(index.siblingAtColumn(ValueInspectorDock::kValueColumn), trigger, event);
}

// ---- the dock ----------------------------------------------------------------------

ValueInspectorDock::ValueInspectorDock(AppContext& context, CHexView& view, QWidget* parent)
    : QDockWidget("Werte", parent), context_(context), view_(view)
{
    setObjectName("ValueInspector");
    setAllowedAreas(Qt::AllDockWidgetAreas);
    inspector_.Load(context_.settings.user);

    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    auto* order = new QHBoxLayout;
    littleEndian_ = new QRadioButton("Little Endian");
    bigEndian_ = new QRadioButton("Big Endian");
    (inspector_.BigEndian() ? bigEndian_ : littleEndian_)->setChecked(true);
    order->addWidget(littleEndian_);
    order->addWidget(bigEndian_);
    order->addStretch();
    column->addLayout(order);
    connect(bigEndian_, &QRadioButton::toggled, this, [this](bool on) {
        inspector_.SetBigEndian(on);
        inspector_.Save(context_.settings.user);
        ShowRows();
    });

    table_ = new InspectorTable(kInspectorRowCount, 2, body);
    table_->setHorizontalHeaderLabels({"Typ", "Wert"});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table_->setItemDelegateForColumn(kValueColumn, new ValueDelegate(*this, table_));
    for (int row = 0; row < kInspectorRowCount; ++row) {
        auto* name = new QTableWidgetItem(QString::fromUtf8(InspectorRowName(static_cast<InspectorRow>(row))));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table_->setItem(row, 0, name);
        table_->setItem(row, kValueColumn, new QTableWidgetItem);
    }
    table_->resizeColumnToContents(0);
    table_->resizeRowsToContents();
    column->addWidget(table_);
    setWidget(body);

    refresh_.setSingleShot(true);
    connect(&refresh_, &QTimer::timeout, this, [this] {
        if (QApplication::activeModalWidget())
            refresh_.start(kRetryAfterDialogMs);
        else
            Refresh();
    });
}

void ValueInspectorDock::OnViewNotify(int code)
{
    const bool affectsRows = code == NotifyCursorOffsetChanged || code == NotifyCursorMoved ||
                             code == NotifyBytesEdited || code == NotifyBufferReplaced;
    if (affectsRows && isVisible() && !refresh_.isActive()) refresh_.start(0);
}

void ValueInspectorDock::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    Refresh();
}

void ValueInspectorDock::Refresh()
{
    refresh_.stop();
    inspector_.ShowView(view_);
    ShowRows();
}

void ValueInspectorDock::ShowRows()
{
    for (int row = 0; row < kInspectorRowCount; ++row)
        table_->item(row, kValueColumn)->setText(QString::fromStdString(inspector_.Text(static_cast<InspectorRow>(row))));
}

bool ValueInspectorDock::Write(InspectorRow row, const QString& text)
{
    if (!context_.prompt) return false;
    const bool written = inspector_.Write(view_, *context_.prompt, row, text.toStdString());
    Refresh();
    // "Rückgängig" is offered at once, as after any command.
    if (auto* frame = qobject_cast<CMainFrame*>(context_.mainWindow); frame && written) frame->UpdateCommandStates();
    return written;
}

}  // namespace qv
