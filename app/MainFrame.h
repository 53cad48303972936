// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CMainFrame: the one top-level window. It holds the hex view, the menus, toolbar and
// status bar built from the command table, routes every command (view, document, frame,
// application) and keeps the window options "FlatMode" and "LastDataEntry".
#include <QMainWindow>
#include <QByteArray>
#include <QPointer>
#include <map>
#include <memory>

#include "app/AppContext.h"
#include "shell/CommandRouter.h"
#include "shell/RecentFileList.h"
#include "view/HexView.h"
#include "view/LineViewParent.h"
#include "view/StatusPanes.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace qv {

class CHexDoc;
class CHexView;
class DataWindowDock;
class EntropyStrip;
class LineViewWidget;
class ValueInspectorDock;

class CMainFrame : public QMainWindow, public ILineViewParent, public IStatusPanes, public IHexViewEvents {
    Q_OBJECT
public:
    // The context names the services; the frame fills in itself, the document and the view.
    CMainFrame(AppContext context, CHexDoc& document, CHexView& view, RecentFileList& recentFiles);
    ~CMainFrame() override;

    AppContext& Context() { return context_; }
    CommandRouter& Router() { return router_; }
    LineViewWidget* ViewWidget() const { return viewWidget_; }
    DataWindowDock* DataWindow() const { return dataWindow_; }
    ValueInspectorDock* ValueInspector() const { return valueInspector_; }
    EntropyStrip* Entropy() const { return entropyStrip_; }
    QAction* ActionFor(int command) const;
    bool TopMost() const { return topMost_; }
    uint32_t FlatMode() const { return flatMode_; }

    // Runs a command as its menu entry, key or toolbar button would.
    bool ExecuteCommand(int command) override;
    bool IsCommandEnabled(int command) override;
    // Refreshes the enabled and checked state of every action.
    void UpdateCommandStates();
    // Shows "NUM" while Num Lock is on.
    void UpdateNumIndicator();
    void UpdateTitle();
    // Opens a file the way the user's open command does (save question first).
    void OpenFile(const std::string& path);
    // Closes the window without the save question: the unsaved edits are secured for the
    // next start. True when it closed.
    bool CloseWithoutSaveQuestion();
    // A note in the status bar that stays until the next one; never a dialog, so it may be
    // given while one is open.
    void ShowStatusNote(const std::string& textUtf8);
    // The start option /Z maximises this run only: the size, place and maximised state the
    // user left stay stored for the next start.
    void ShowMaximisedForThisRun();
    // The SelectRange message (remote control, the data window's jump to a field): focus
    // to the view, cursor to the offset, with a length of 1 to 255 that many bytes selected.
    void SelectRange(int64_t offset, int64_t length);

    // ILineViewParent
    void OnLineViewNotify(CAnsiView& view, int code, int64_t a, int64_t b) override;
    void OnFileDropped(CAnsiView& view, const std::string& path) override;

    // IHexViewEvents: a new block in the view makes the data window drop the rows of the old
    // one; the value inspector and the entropy strip follow the cursor, edits and new blocks.
    void OnHexViewNotify(CHexView& view, int code, int64_t a, int64_t b, int64_t c) override;

    // IStatusPanes
    void DefinePanes(const std::vector<StatusPaneSpec>& panes) override;
    bool SetPaneText(int index, const std::string& textUtf8) override;
    void ShowMessage(const std::string& textUtf8) override;
    // The pane protocol: define panes from values and widths (see StatusPaneLayout.h),
    // set a text in given colours (0x00BBGGRR, negative = system colours), answer the check.
    int32_t DefineStatusPanes(const std::vector<int32_t>& values, const std::vector<int32_t>* widths, int32_t count);
    int SetStatusPaneText(int32_t index, const std::string& textUtf8, bool redraw, int32_t background,
                          int32_t foreground);
    uint32_t PaneCheck() const;
    int PaneCount() const { return static_cast<int>(panes_.size()); }
    QString PaneText(int index) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void AddOwnCommands();
    void AddRegisteredCommands();
    void RebuildRecentFiles(QMenu* menu);
    void SetFlatMode(bool flat);
    void SetTopMost(bool topMost);
    void ShowAbout();
    void OpenWithDialog();
    QAction* MakeAction(int command, const QString& text);
    int InitialWidth() const;
    int MinimumViewWidth() const;
    void KeepOnScreen();

    AppContext context_;
    CHexDoc& document_;
    CHexView& view_;
    RecentFileList& recentFiles_;
    CommandRouter router_;
    LineViewWidget* viewWidget_ = nullptr;
    DataWindowDock* dataWindow_ = nullptr;
    ValueInspectorDock* valueInspector_ = nullptr;
    EntropyStrip* entropyStrip_ = nullptr;
    QByteArray closingState_;
    QByteArray closingGeometry_;
    bool maximisedForThisRun_ = false;
    std::map<int, QAction*> actions_;          // main action of every command
    std::vector<QAction*> allActions_;         // including second menu entries of a command
    QToolBar* toolBar_ = nullptr;
    QLabel* numIndicator_ = nullptr;
    std::vector<QLabel*> panes_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentPlace_ = nullptr;           // separator that follows the recent files
    std::vector<QAction*> recentActions_;
    uint32_t flatMode_ = 1;
    int32_t lastDataEntry_ = -1;
    bool topMost_ = false;
    bool skipSaveQuestion_ = false;
};

}  // namespace qv
