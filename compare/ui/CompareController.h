// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A compare shown in the main window: the other file in a read-only hex view right of the
// document's, both scrolled together and marking their differing bytes, the count of
// differences and the other side's byte at the cursor in the status bar, and the moves
// from run to run. It lives as a child of the main window while the compare is shown.
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

#include "app/WindowWidening.h"
#include "compare/CompareFile.h"
#include "compare/CompareSession.h"
#include "view/HexView.h"
#include "view/ui/LineViewWidget.h"

class QLabel;
class QSplitter;
class QTimer;

namespace qv {

struct AppContext;
class CMainFrame;

class CompareController : public QObject {
    Q_OBJECT
public:
    // The compare shown in the window of `context`, or null.
    static CompareController* Of(const AppContext& context);
    // Compares the document with the file at `path`; a compare already shown ends first.
    // False, after telling the user why, when the file cannot be compared.
    static bool Start(AppContext& context, const std::string& path, const CompareAlignment& alignment);
    ~CompareController() override;

    // Back to the document alone; the controller goes once the event loop is back.
    void End();
    // Cursor and selection to the next or previous run, in both panes; a beep at the end.
    void GoToRun(bool next);
    // The focus to the other pane.
    void SwitchPane();

    CHexView& RightView() { return *right_; }
    LineViewWidget* RightWidget() const { return rightWidget_.data(); }
    const CompareSession& Session() const { return *session_; }
    // The texts of the status bar: the count, and the other side's byte at the cursor.
    QString CountText() const;
    QString PartnerText() const;
    // Counts what is not counted yet at once (tests; the window counts between its work).
    void CountAll();

private:
    class SideRelay;

    CompareController(CMainFrame& frame, std::unique_ptr<CompareFile> file, const CompareAlignment& alignment);
    CHexView& View(CompareSide side) { return side == CompareSide::Left ? left_ : *right_; }
    QWidget* WidgetOf(CompareSide side) const;
    void HostPanes();
    // The document's view reports to the window again.
    void GiveBackLeftView();
    void ViewNotified(CompareSide side, int code);
    void LeftEdited(int64_t first, int64_t last);
    // Where a pane stands: what the other pane follows.
    struct PaneState {
        int64_t top = 0;
        int64_t cursor = 0;
        int32_t leftColumn = 0;
        int32_t bytesPerRow = 0;
        bool operator==(const PaneState&) const = default;
    };
    PaneState StateOf(CompareSide side);
    // Every change of a pane (a key, the mouse, a jump, a new width) shows in its painting:
    // once the window is idle again the other pane follows the one that moved.
    void SchedulePaneCheck();
    void CheckPanes();
    // Ends the compare of a file another program shortened, and says so.
    void EndShortened();
    void Align(CompareSide leader, bool withCursor);
    void SyncLayout();
    void Select(CompareSide side, const DiffRun& run);
    void CountSome();
    void UpdateStatus();

    CMainFrame& frame_;
    CHexView& left_;
    std::unique_ptr<CompareFile> file_;
    std::unique_ptr<CompareSession> session_;
    std::unique_ptr<CHexView> right_;
    std::unique_ptr<SideRelay> leftRelay_;
    std::unique_ptr<SideRelay> rightRelay_;
    QPointer<LineViewWidget> rightWidget_;
    QPointer<QSplitter> splitter_;
    QPointer<QWidget> central_;  // what the window showed before: the document's view
    QPointer<QLabel> countLabel_;
    QPointer<QLabel> partnerLabel_;
    QTimer* counting_ = nullptr;
    CompareSide focused_ = CompareSide::Left;
    PaneState seen_[2];
    bool checkPending_ = false;
    WindowWidening widening_;
    bool ended_ = false;
};

}  // namespace qv
