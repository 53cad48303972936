// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/ui/CompareController.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "app/AppContext.h"
#include "app/MainFrame.h"
#include "app/WindowWidening.h"
#include "compare/CompareCommandIds.h"
#include "view/HexViewConfigDialog.h"
#include "view/ui/LineViewWidget.h"

namespace qv {

namespace {

// The status count takes a few milliseconds of the window's time per step, block by block:
// a file read from disk for the first time takes a hundred times longer per byte than one
// in memory, so a fixed amount of bytes per step would stall the window for most of a second.
constexpr std::chrono::milliseconds kCountSlice{8};
constexpr int kCountIntervalMs = 5;

}  // namespace

// What a pane's view tells its window passes through here: the window hears it as before,
// the compare follows the pane's cursor and scrolling and hears of its edits.
class CompareController::SideRelay : public ILineViewParent, public IHexViewEvents, public IByteDifferences {
public:
    SideRelay(CompareController& owner, CompareSide side, ILineViewParent* parent, IHexViewEvents* events)
        : parent(parent), events(events), owner_(owner), side_(side)
    {
    }
    void OnLineViewNotify(CAnsiView& view, int code, int64_t a, int64_t b) override
    {
        if (parent) parent->OnLineViewNotify(view, code, a, b);
        owner_.ViewNotified(side_, code);
    }
    bool ExecuteCommand(int command) override { return Reaches(command) && parent->ExecuteCommand(command); }
    bool IsCommandEnabled(int command) override { return Reaches(command) && parent->IsCommandEnabled(command); }
    void OnFileDropped(CAnsiView& view, const std::string& path) override
    {
        if (parent) parent->OnFileDropped(view, path);
    }
    void OnHexViewNotify(CHexView& view, int code, int64_t a, int64_t b, int64_t c) override
    {
        if (events) events->OnHexViewNotify(view, code, a, b, c);
        // a: first byte edited, b: their count, c: whether the bytes after them moved.
        if (code == NotifyBytesEdited && side_ == CompareSide::Left) owner_.LeftEdited(a, c ? -1 : a + b - 1);
        owner_.ViewNotified(side_, code);
    }
    void MarkDiffering(int64_t offset, int32_t count, uint8_t* differs) const override
    {
        owner_.session_->MarkDiffering(side_, offset, count, differs);
        owner_.SchedulePaneCheck();
    }

    ILineViewParent* const parent;
    IHexViewEvents* const events;

private:
    // The window's commands work on the document: from the other file's context menu only
    // those of the compare are offered.
    bool Reaches(int command) const
    {
        return parent && (side_ == CompareSide::Left || (command >= CmdNextDifference && command <= CmdEndCompare) ||
                          command == CmdNextPane || command == CmdPreviousPane);
    }

    CompareController& owner_;
    const CompareSide side_;
};

CompareController* CompareController::Of(const AppContext& context)
{
    return context.mainWindow ? context.mainWindow->findChild<CompareController*>(QString(), Qt::FindDirectChildrenOnly)
                              : nullptr;
}

bool CompareController::Start(AppContext& context, const std::string& path, const CompareAlignment& alignment)
{
    auto* frame = qobject_cast<CMainFrame*>(context.mainWindow);
    if (!frame || !context.view) return false;
    std::string problem;
    std::unique_ptr<CompareFile> file = CompareFile::Open(path, problem);
    if (!problem.empty() || !file) {
        if (context.prompt) context.prompt->Tell(problem, PromptIcon::Error);
        return false;
    }
    if (auto wrong = StartsProblem(alignment, context.view->Length(), file->Size(), path)) {
        if (context.prompt) context.prompt->Tell(*wrong, PromptIcon::Error);
        return false;
    }
    if (CompareController* shown = Of(context)) shown->End();
    new CompareController(*frame, std::move(file), alignment);
    return true;
}

CompareController::CompareController(CMainFrame& frame, std::unique_ptr<CompareFile> file,
                                     const CompareAlignment& alignment)
    : QObject(&frame), frame_(frame), left_(*frame.Context().view), file_(std::move(file))
{
    session_ = std::make_unique<CompareSession>(left_.Bytes(), file_->Bytes(), alignment);

    // The other file read-only, in the same areas as the document.
    right_ = std::make_unique<CHexView>(left_.HexFlags() & (FlagHideHex | FlagHideText | FlagHideAddress));
    right_->SetPrompt(frame.Context().prompt);
    right_->SetDialogService(frame.Context().dialogs);
    right_->SetBuffer(file_->Data(), file_->Size(), 0, 0);
    rightRelay_ = std::make_unique<SideRelay>(*this, CompareSide::Right, &frame, nullptr);
    right_->SetParent(rightRelay_.get());
    right_->SetEvents(rightRelay_.get());
    right_->SetStatusPanes(&frame);
    right_->SetDifferences(rightRelay_.get());

    leftRelay_ = std::make_unique<SideRelay>(*this, CompareSide::Left, left_.WindowParent(), left_.Events());
    left_.SetParent(leftRelay_.get());
    left_.SetEvents(leftRelay_.get());
    left_.SetDifferences(leftRelay_.get());

    HostPanes();
    Align(CompareSide::Left, true);

    countLabel_ = new QLabel;
    partnerLabel_ = new QLabel;
    for (QLabel* label : {partnerLabel_.data(), countLabel_.data()}) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame.statusBar()->insertPermanentWidget(0, label);
    }
    counting_ = new QTimer(this);
    counting_->setInterval(kCountIntervalMs);
    connect(counting_, &QTimer::timeout, this, &CompareController::CountSome);
    counting_->start();
    UpdateStatus();
}

CompareController::~CompareController()
{
    GiveBackLeftView();
    delete rightWidget_.data();  // before the view it shows
    delete countLabel_.data();
    delete partnerLabel_.data();
}

void CompareController::HostPanes()
{
    rightWidget_ = new LineViewWidget(*right_);
    rightWidget_->setObjectName("ComparePane");
    rightWidget_->SetMenuIcons([this](int command) {
        const QAction* action = frame_.ActionFor(command);
        return action && action->isIconVisibleInMenu() ? action->icon() : QIcon();
    });
    // The window's content (the document's view) goes left of the new pane.
    central_ = frame_.takeCentralWidget();
    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(central_);
    splitter_->addWidget(rightWidget_);
    frame_.setCentralWidget(splitter_);
    // Room for both panes, as far as the screen has it.
    widening_.Widen(frame_, central_->width());
    const int half = std::max(splitter_->width() / 2, 1);
    splitter_->setSizes({half, half});
    central_->setFocus();
}

void CompareController::End()
{
    if (ended_) return;
    ended_ = true;
    counting_->stop();
    right_->SetStatusPanes(nullptr);
    right_->SetParent(nullptr);
    right_->SetEvents(nullptr);
    if (splitter_ && central_ && frame_.centralWidget() == splitter_) {
        rightWidget_->hide();
        frame_.takeCentralWidget();
        frame_.setCentralWidget(central_);
        splitter_->deleteLater();
        widening_.GiveBack(frame_);
    }
    if (countLabel_) frame_.statusBar()->removeWidget(countLabel_);
    if (partnerLabel_) frame_.statusBar()->removeWidget(partnerLabel_);
    // The left view's notifications may be on their way through this controller.
    GiveBackLeftView();
    if (central_) central_->setFocus();
    setParent(nullptr);
    deleteLater();
}

void CompareController::GiveBackLeftView()
{
    // Only what is still ours goes back: a window that closes has let go of its view already.
    if (left_.Differences() == leftRelay_.get()) left_.SetDifferences(nullptr);
    if (left_.WindowParent() == leftRelay_.get()) left_.SetParent(leftRelay_->parent);
    if (left_.Events() == leftRelay_.get()) left_.SetEvents(leftRelay_->events);
}

QWidget* CompareController::WidgetOf(CompareSide side) const
{
    return side == CompareSide::Left ? static_cast<QWidget*>(frame_.ViewWidget()) : rightWidget_.data();
}

void CompareController::ViewNotified(CompareSide side, int code)
{
    if (ended_) return;
    if (code == NotifyFocusGained) focused_ = side;
    // Another file (or a new document) takes the window: its first step empties the view.
    if (code == NotifyBufferReplaced && side == CompareSide::Left) {
        if (!left_.Buffer().Data()) return End();
        session_->Counter().Reset(session_->Finder().Span());
        right_->InvalidateAll();
        counting_->start();
    }
    SchedulePaneCheck();
}

void CompareController::LeftEdited(int64_t first, int64_t last)
{
    // Told before or after the bytes change: the other pane and the count look once the
    // edit is done.
    session_->LeftEdited(first, last);
    right_->InvalidateAll();
    counting_->start();
}

void CompareController::SyncLayout()
{
    const HexLayout& want = left_.RowLayout();
    const HexLayout& have = right_->RowLayout();
    if (have.bytesPerRow == want.bytesPerRow && have.lineLength == want.lineLength &&
        have.outputFormat == want.outputFormat && have.addressLength == want.addressLength &&
        have.invertMask == want.invertMask)
        return;
    // The document's settings, at the width it has now and without a raster: the rows of
    // both panes hold the same bytes.
    ConfigDialog settings = ConfigDialog::FromView(left_);
    settings.fixedWidthOn = true;
    settings.fixedWidth = want.bytesPerRow;
    settings.widthRasterOn = false;
    settings.rasterOn = false;
    settings.ApplyTo(*right_);
}

CompareController::PaneState CompareController::StateOf(CompareSide side)
{
    CHexView& view = View(side);
    const int64_t perRow = std::max(view.BytesPerRow(), 1);
    return {int64_t{view.TopLine()} * perRow - view.RowLayout().Phase(), view.CursorOffset(), view.LeftColumn(),
            view.BytesPerRow()};
}

void CompareController::SchedulePaneCheck()
{
    if (checkPending_ || ended_) return;
    checkPending_ = true;
    QTimer::singleShot(0, this, [this] {
        checkPending_ = false;
        CheckPanes();
    });
}

void CompareController::CheckPanes()
{
    if (ended_) return;
    // A question or dialog that is open has the window's attention: look again later.
    if (QApplication::activeModalWidget()) {
        checkPending_ = true;
        QTimer::singleShot(50, this, [this] {
            checkPending_ = false;
            CheckPanes();
        });
        return;
    }
    // Every read of the other file (painting, counting, moving) ends in a look here.
    if (file_->Shortened()) return EndShortened();
    const bool leftMoved = StateOf(CompareSide::Left) != seen_[0];
    const bool rightMoved = StateOf(CompareSide::Right) != seen_[1];
    if (leftMoved || rightMoved) {
        // Both moved: the pane with the focus leads.
        const CompareSide leader = leftMoved == rightMoved ? focused_ : (leftMoved ? CompareSide::Left : CompareSide::Right);
        const PaneState& before = seen_[leader == CompareSide::Left ? 0 : 1];
        Align(leader, StateOf(leader).cursor != before.cursor);
    }
    UpdateStatus();
}

void CompareController::EndShortened()
{
    End();
    if (frame_.Context().prompt)
        frame_.Context().prompt->Tell("Die Datei \"" + file_->Path() +
                                          "\" wurde von einem anderen Programm verkürzt, während sie verglichen "
                                          "wurde.\nDer Vergleich ist beendet.",
                                      PromptIcon::Warning);
}

void CompareController::Align(CompareSide leader, bool withCursor)
{
    SyncLayout();
    CHexView& a = View(leader);
    CHexView& b = View(CompareSession::Other(leader));
    const int64_t partner = session_->PartnerOffset(leader, a.CursorOffset());
    if (withCursor && partner >= 0 && partner < b.Length() && partner != b.CursorOffset())
        b.SetCursorOffset(static_cast<uint64_t>(partner), false);
    // The same byte places in the top rows. A view's top row may start up to a row before
    // its first byte; further before it the rows cannot line up, the columns still do.
    const int64_t perRow = std::max<int64_t>(a.BytesPerRow(), 1);
    int64_t top = session_->PartnerOffset(leader, StateOf(leader).top);
    if (top <= -perRow) top += (-top) / perRow * perRow;
    b.ScrollToOffset(static_cast<uint64_t>(top), false);
    if (b.LeftColumn() != a.LeftColumn())
        b.HandleScroll(ScrollBarHorizontalLeft, ScrollAction::ThumbPosition, a.LeftColumn());
    seen_[0] = StateOf(CompareSide::Left);
    seen_[1] = StateOf(CompareSide::Right);
}

void CompareController::Select(CompareSide side, const DiffRun& run)
{
    CHexView& view = View(side);
    const int64_t start = session_->OffsetOf(side, run.start);
    const int64_t length = view.Length();
    view.SetCursorOffset(static_cast<uint64_t>(std::clamp<int64_t>(start, 0, std::max<int64_t>(length - 1, 0))), false);
    if (start < length) view.SelectTo(static_cast<uint64_t>(std::min(start + run.length, length)), false);
}

void CompareController::GoToRun(bool next)
{
    if (ended_) return;
    SyncLayout();
    // From the selection of the focused pane, else the other's (a run past the end of one
    // side is selected in the other only), else from the cursor.
    int64_t position = session_->PositionOf(focused_, View(focused_).CursorOffset());
    std::optional<DiffRun> selected;
    for (CompareSide side : {focused_, CompareSession::Other(focused_)}) {
        const HighlightMark& mark = View(side).Mark(0);
        if (!mark.active) continue;
        position = session_->PositionOf(side, std::min(mark.first, mark.last));
        selected = DiffRun{position, std::abs(int64_t{mark.last} - mark.first) + 1};
        break;
    }
    std::optional<DiffRun> run;
    const bool finished = TasksOf(frame_.Context()).Run("Unterschied suchen", [&](TaskProgress& progress) {
        run = next ? session_->NextRun(position, selected, &progress) : session_->PreviousRun(position, &progress);
    });
    if (!finished) return;
    if (!run) {
        if (frame_.Context().prompt) frame_.Context().prompt->Beep();
        return;
    }
    // The other pane is lined up first: lining up may shift its rows, and with them a cursor.
    Select(focused_, *run);
    Align(focused_, true);
    Select(CompareSession::Other(focused_), *run);
    seen_[0] = StateOf(CompareSide::Left);
    seen_[1] = StateOf(CompareSide::Right);
    UpdateStatus();
}

void CompareController::SwitchPane()
{
    if (QWidget* other = WidgetOf(CompareSession::Other(focused_))) other->setFocus();
}

QString CompareController::CountText() const
{
    return QString::fromStdString(session_->CountText());
}

QString CompareController::PartnerText() const
{
    const CHexView& view = focused_ == CompareSide::Left ? left_ : *right_;
    return QString::fromStdString(session_->PartnerByteText(focused_, view.CursorOffset()));
}

void CompareController::CountAll()
{
    while (!session_->Counter().Step(session_->Finder(), session_->Finder().Span())) {
    }
    UpdateStatus();
}

void CompareController::CountSome()
{
    // A question or dialog that is open has the window's attention.
    if (QApplication::activeModalWidget()) return;
    // The other pane shows the marks of an edit once it is done.
    right_->Redraw();
    const auto until = std::chrono::steady_clock::now() + kCountSlice;
    bool complete = false;
    while (!complete && std::chrono::steady_clock::now() < until)
        complete = session_->Counter().Step(session_->Finder(), DiffCounter::kDefaultBlock);
    if (complete) counting_->stop();
    CheckPanes();
}

void CompareController::UpdateStatus()
{
    if (countLabel_) countLabel_->setText(CountText());
    if (partnerLabel_) partnerLabel_->setText(PartnerText());
}

}  // namespace qv
