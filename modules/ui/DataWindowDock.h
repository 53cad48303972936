// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data window in a dock of the main window: the page selector and one tree list per
// page over DataWnd, with the list's keys, mouse actions and context menu.
#include <QDockWidget>
#include <QTreeView>
#include <memory>
#include <vector>

#include "app/AppContext.h"
#include "modules/DataWindow.h"

class QMenu;
class QStackedWidget;
class QTabBar;

namespace qv {

class DataRowModel;
class DataWindowDock;

// One page's list: passes Enter, Space, Tab and the copy keys to the dock before the main
// window's shortcuts see them.
class DataListView : public QTreeView {
    Q_OBJECT
public:
    DataListView(DataWindowDock& dock, QWidget* parent);

    // Wide enough for every shown column, so that the dock opens showing them all.
    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    DataWindowDock& dock_;
};

class DataWindowDock : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 291;

    DataWindowDock(AppContext& context, QWidget* parent, int pageCount = kMainFrameDataPages,
                   uint32_t style = kMainFrameDataStyle);
    ~DataWindowDock() override;

    DataWnd& Window() { return *window_; }
    DataListView* List(int page) const { return lists_.at(static_cast<size_t>(page)); }
    DataListView* CurrentList() const { return List(window_->CurrentPage()); }
    QTabBar* PageSelector() const { return tabs_; }

    // Command 32808: the active view's bytes from the selection start or the cursor.
    void RefreshFromView();
    // The run's row behind the current item of the current list; -1 for none.
    int CurrentRow() const;
    // Puts the hex view's cursor and selection on a row's field and gives it the focus.
    void JumpTo(int row);
    // Copies one column of a row (column -1: the joined form) to the clipboard.
    void Copy(int row, int column);
    // Expands a collapsed item, collapses an expanded one.
    void Toggle(const QModelIndex& index);
    // The field under a point of the list; right of the columns, the row's last column.
    QModelIndex FieldAt(const QPoint& listPoint) const;
    // Runs a context menu command (14083..14096) for the item at a point of the list.
    void RunListCommand(int command, const QPoint& listPoint);
    void ShowContextMenu(const QPoint& listPoint, const QPoint& globalPoint);
    // The list's context menu for a point; each action's data is its command.
    std::unique_ptr<QMenu> CreateContextMenu(const QPoint& listPoint);

    // The folder of the shipped modules, installed or in the source tree; empty if neither.
    static QString ShippedModuleFolder();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Sync();
    void ApplyListStyle(DataListView* list);
    // The view's bytes as the pages read them; nullptr without a block.
    const IByteSource* ViewBytes(uint64_t& baseAddress);
    // Looks for formats once the dock is shown and no question or menu is open.
    void DetectWhenIdle();

    AppContext& context_;
    const uint8_t* viewBlock_ = nullptr;
    bool detectionPending_ = true;
    std::unique_ptr<DataWnd> window_;
    QTabBar* tabs_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::vector<DataListView*> lists_;
    std::vector<DataRowModel*> models_;
    std::vector<uint32_t> shownRevisions_;
};

}  // namespace qv
