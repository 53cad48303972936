// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ui/DataWindowDock.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QPainter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "app/MainFrame.h"
#include "modules/FormatTable.h"
#include "modules/ui/DataRowModel.h"
#include "view/ui/LineViewWidget.h"
#include "platform/qt/QtText.h"
#include "view/HexView.h"
#include "view/SelectRange.h"

namespace qv {
namespace {

// Draws the grid lines of the "&Linien" option below and to the right of every cell.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool grid = false;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!grid) return;
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

    // A text cut short in its column shows whole in a tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid()) return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        if (text.isEmpty() || sizeHint(item, index).width() <= view->visualRect(index).width()) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(event->globalPos(), text, view->viewport(), view->visualRect(index));
        return true;
    }
};

struct ListMenuEntry {
    int command;
    const char* text;
    uint32_t option;  // the option the entry switches, 0 for none
};

bool IsCopyKey(const QKeyEvent* key)
{
    return key->matches(QKeySequence::Copy) ||
           (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ControlModifier);
}

bool IsListKey(const QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: return key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    default: return IsCopyKey(key);
    }
}

}  // namespace

// ---- the list of a page ------------------------------------------------------------

DataListView::DataListView(DataWindowDock& dock, QWidget* parent) : QTreeView(parent), dock_(dock)
{
    setItemDelegate(new GridDelegate(this));
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    setExpandsOnDoubleClick(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
}

bool DataListView::event(QEvent* event)
{
    // These keys belong to the list even where the main window has a shortcut or focus chain for them.
    if (event->type() == QEvent::ShortcutOverride && IsListKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QTreeView::event(event);
}

void DataListView::keyPressEvent(QKeyEvent* event)
{
    if (!IsListKey(event)) {
        QTreeView::keyPressEvent(event);
        return;
    }
    if (IsCopyKey(event))
        dock_.Copy(dock_.CurrentRow(), -1);
    else if (event->key() == Qt::Key_Tab)
        dock_.JumpTo(dock_.CurrentRow());
    else
        dock_.Toggle(currentIndex());
    event->accept();
}

void DataListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    setCurrentIndex(index);
    dock_.JumpTo(DataRowModel::RowOf(index));
}

QSize DataListView::sizeHint() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < header()->count(); ++c)
        if (!header()->isSectionHidden(c)) width += header()->sectionSize(c);
    return {width, QTreeView::sizeHint().height()};
}

void DataListView::contextMenuEvent(QContextMenuEvent* event)
{
    // The list gets the event through its viewport: the point is the viewport's already.
    dock_.ShowContextMenu(event->pos(), event->globalPos());
}

// ---- the dock ----------------------------------------------------------------------

DataWindowDock::DataWindowDock(AppContext& context, QWidget* parent, int pageCount, uint32_t style)
    : QDockWidget("DataWindow", parent), context_(context)
{
    setObjectName("DataWindow");
    setAllowedAreas(Qt::AllDockWidgetAreas);

    DataWndServices services;
    services.settings = context_.settings.user;
    services.prompt = context_.prompt;
    services.dialogs = context_.dialogs;
    services.defaultModuleFolder = ShippedModuleFolder().toStdString();
    services.formatTables = FormatTablePaths(services.defaultModuleFolder);
    services.isReadable = [this](const IByteSource* source, int64_t length) {
        int64_t current = 0;
        const uint8_t* block = context_.view ? context_.view->GetBuffer(&current, nullptr) : nullptr;
        return context_.view && source == &context_.view->Bytes() && block == viewBlock_ && current >= length;
    };
    services.documentBytes = [this](uint64_t& baseAddress) { return ViewBytes(baseAddress); };
    services.runner = context_.tasks;
    window_ = std::make_unique<DataWnd>(pageCount, style, std::move(services));

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new QTabBar(body);
    tabs_->setVisible(style & kDataPageSelector);
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);
    // Long labels scroll inside the selector instead of widening the dock.
    tabs_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    stack_ = new QStackedWidget(body);
    // A list for every page the window may show: the user's and those of detected formats.
    for (int p = 0; p < DataWnd::kMaxPages; ++p) {
        auto* list = new DataListView(*this, stack_);
        auto* model = new DataRowModel(*window_, p, list);
        list->setModel(model);
        list->setFrameShape((style & kDataBorder) ? QFrame::StyledPanel : QFrame::NoFrame);
        stack_->addWidget(list);
        lists_.push_back(list);
        models_.push_back(model);
        shownRevisions_.push_back(window_->Revision(p));
        ApplyListStyle(list);
        // Column widths in twelfths of the width of "A" in the list font; "Inhalt" gets 25 of them whole.
        const int unit = std::max(list->fontMetrics().horizontalAdvance('A'), 9);
        const int widths[kColumnCount] = {250 * unit / 12, 25 * unit, 70 * unit / 12, 70 * unit / 12, 99 * unit / 12};
        for (int c = 0; c < kColumnCount; ++c) list->header()->resizeSection(c, widths[c]);
    }
    layout->addWidget(tabs_);
    layout->addWidget(stack_);
    setWidget(body);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int page) {
        if (page >= 0) window_->SelectPage(page);
    });
    window_->changed = [this] { Sync(); };
    window_->bytesReplaced = [this] {
        detectionPending_ = true;
        DetectWhenIdle();
    };
    Sync();
}

DataWindowDock::~DataWindowDock()
{
    window_->changed = nullptr;
    // The lists and their models read the decoded rows, so they go before the rows do:
    // left to the base class, they would be hidden (and asked for rows) after window_ is gone.
    delete widget();
}

QString DataWindowDock::ShippedModuleFolder()
{
    return QString::fromStdString(qv::ShippedModuleFolder(QCoreApplication::applicationDirPath().toStdString()));
}

const IByteSource* DataWindowDock::ViewBytes(uint64_t& baseAddress)
{
    if (!context_.view) return nullptr;
    int64_t length = 0;
    // The block's address tells a page whether the view still shows the bytes it decoded.
    viewBlock_ = context_.view->GetBuffer(&length, &baseAddress);
    return viewBlock_ ? &context_.view->Bytes() : nullptr;
}

void DataWindowDock::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    DetectWhenIdle();
}

void DataWindowDock::DetectWhenIdle()
{
    if (!detectionPending_ || !isVisible()) return;
    // Never inside a question, a dialog or a menu: the document may be half way through
    // opening, and the user is busy there. Tried again a little later.
    QTimer::singleShot(0, this, [this] {
        if (!detectionPending_ || !isVisible()) return;
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
            QTimer::singleShot(100, this, [this] { DetectWhenIdle(); });
            return;
        }
        detectionPending_ = false;
        window_->DetectFormats();
    });
}

void DataWindowDock::ApplyListStyle(DataListView* list)
{
    list->setColumnHidden(kColumnOffset, !window_->Option(kDataOffsetColumn));
    list->setColumnHidden(kColumnSize, !window_->Option(kDataSizeColumn));
    list->setColumnHidden(kColumnAddress, !window_->Option(kDataAddressColumn));
    list->setFont(window_->Option(kDataFixedFont) ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                                  : QApplication::font());
    list->setAlternatingRowColors(window_->Option(kDataAlternateColors));
    static_cast<GridDelegate*>(list->itemDelegate())->grid = window_->Option(kDataGridLines);
    list->viewport()->update();
}

void DataWindowDock::Sync()
{
    // Pages of detected formats come and go after the user's pages.
    {
        const QSignalBlocker blocker(tabs_);
        while (tabs_->count() < window_->PageCount()) tabs_->addTab(QString());
        while (tabs_->count() > window_->PageCount()) tabs_->removeTab(tabs_->count() - 1);
    }
    for (int p = 0; p < DataWnd::kMaxPages; ++p) {
        const auto page = static_cast<size_t>(p);
        if (p < tabs_->count()) tabs_->setTabText(p, QString::fromStdString(window_->PageLabel(p)));
        if (shownRevisions_[page] != window_->Revision(p)) {
            shownRevisions_[page] = window_->Revision(p);
            models_[page]->Reload();
        }
        ApplyListStyle(lists_[page]);
    }
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(window_->CurrentPage());
    stack_->setCurrentIndex(window_->CurrentPage());
    // A hidden selector lays out its tabs without telling the layout; left so, a page selected
    // before the dock was first shown leaves the selector zero pixels high.
    tabs_->updateGeometry();
}

// ---- commands ----------------------------------------------------------------------

void DataWindowDock::RefreshFromView()
{
    CHexView* view = context_.view;
    if (!view) return;
    uint64_t base = 0;
    const IByteSource* bytes = ViewBytes(base);
    const int64_t length = bytes ? bytes->Size() : 0;
    int64_t start = 0, selected = 0;
    view->GetSelectionRange(&start, &selected, false, length);
    window_->SetData(bytes, start, selected > 0 ? selected : length - start, base);
}

int DataWindowDock::CurrentRow() const
{
    return DataRowModel::RowOf(CurrentList()->currentIndex());
}

void DataWindowDock::JumpTo(int row)
{
    const ResultRow* field = window_->RowAt(-1, row);
    if (!field || !context_.view) return;
    const int64_t size = field->size >= 0 && field->size < 65536 ? field->size : 0;
    SelectRange(*context_.view, field->address, size);
    if (auto* frame = qobject_cast<CMainFrame*>(context_.mainWindow); frame && frame->ViewWidget())
        frame->ViewWidget()->setFocus();
}

void DataWindowDock::Copy(int row, int column)
{
    if (row < 0 || !context_.clipboard) return;
    context_.clipboard->SetText(window_->CopyText(-1, row, column));
}

void DataWindowDock::Toggle(const QModelIndex& index)
{
    const QModelIndex first = index.siblingAtColumn(0);
    DataListView* list = CurrentList();
    if (!first.isValid() || !list->model()->hasChildren(first)) return;
    list->setExpanded(first, !list->isExpanded(first));
}

QModelIndex DataWindowDock::FieldAt(const QPoint& listPoint) const
{
    DataListView* list = CurrentList();
    const QModelIndex index = list->indexAt(listPoint);
    if (index.isValid()) return index;
    // Right of the last column the row's last shown column counts.
    const QModelIndex row = list->indexAt(QPoint(0, listPoint.y()));
    const int last = list->header()->logicalIndexAt(list->header()->length() - 1);
    return row.isValid() && listPoint.x() >= 0 ? row.siblingAtColumn(last) : QModelIndex();
}

void DataWindowDock::RunListCommand(int command, const QPoint& listPoint)
{
    switch (command) {
    case 14095: Copy(DataRowModel::RowOf(FieldAt(listPoint)), FieldAt(listPoint).column()); break;
    case 14083: window_->ChooseModules(false); break;
    case 14084: window_->LoadModuleList(); break;
    case 14085: window_->ClearModules(); break;
    case 14086: window_->ChooseModules(true); break;
    case 14094: window_->RemoveFromModuleList(); break;
    case 14087: window_->SetOption(kDataAddressColumn, !window_->Option(kDataAddressColumn)); break;
    case 14088: window_->SetOption(kDataSizeColumn, !window_->Option(kDataSizeColumn)); break;
    case 14089: window_->SetOption(kDataOffsetColumn, !window_->Option(kDataOffsetColumn)); break;
    case 14096: window_->SetOption(kDataAlternateColors, !window_->Option(kDataAlternateColors)); break;
    case 14090: window_->SetOption(kDataFixedFont, !window_->Option(kDataFixedFont)); break;
    case 14091: window_->SetOption(kDataGridLines, !window_->Option(kDataGridLines)); break;
    case 14093: window_->Refresh(); break;
    case 14092: window_->ShowOptions(); break;
    default: break;
    }
}

void DataWindowDock::ShowContextMenu(const QPoint& listPoint, const QPoint& globalPoint)
{
    std::unique_ptr<QMenu> menu = CreateContextMenu(listPoint);
    if (QAction* chosen = menu->exec(globalPoint)) RunListCommand(chosen->data().toInt(), listPoint);
}

std::unique_ptr<QMenu> DataWindowDock::CreateContextMenu(const QPoint& listPoint)
{
    static const ListMenuEntry kModuleEntries[] = {
        {14083, "&Modul laden", 0},          {14084, "Modulliste &laden", 0},    {14085, "Module lö&schen", 0},
        {14086, "&Datei in Modulliste", 0}, {14094, "Datei a&us Modulliste", 0},
    };
    static const ListMenuEntry kOptionEntries[] = {
        {14087, "&Adressen anzeigen", kDataAddressColumn}, {14088, "Län&gen anzeigen", kDataSizeColumn},
        {14089, "&Offsets anzeigen", kDataOffsetColumn},   {14096, "Abwechselnde Farben", kDataAlternateColors},
        {14090, "Fixe Schrift", kDataFixedFont},           {14091, "&Linien", kDataGridLines},
    };
    auto menu = std::make_unique<QMenu>(this);
    auto add = [&](const ListMenuEntry& entry) {
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        action->setData(entry.command);
        if (entry.option) {
            action->setCheckable(true);
            action->setChecked(window_->Option(entry.option));
        }
        return action;
    };
    add({14095, "Feld kopieren", 0})->setEnabled(FieldAt(listPoint).isValid());
    menu->addSeparator();
    if (!window_->Option(kDataNoModuleMenu)) {
        for (const ListMenuEntry& entry : kModuleEntries) add(entry);
        menu->addSeparator();
    }
    for (const ListMenuEntry& entry : kOptionEntries) add(entry);
    menu->addSeparator();
    add({14093, "&Aktualisieren", 0});
    if (!window_->Option(kDataNoProperties)) add({14092, "&Eigenschaften", 0});
    return menu;
}

}  // namespace qv
