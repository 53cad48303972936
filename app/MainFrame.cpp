// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include <algorithm>
#include <memory>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/AboutDialog.h"
#include "app/CommandIcons.h"
#include "app/CommandRegistry.h"
#include "analysis/ui/EntropyStrip.h"
#include "analysis/ui/ValueInspectorDock.h"
#include "app/NumLockState.h"
#include "document/HexDoc.h"
#include "platform/LongTask.h"
#include "modules/ui/DataWindowDock.h"
#include "view/ui/LineViewWidget.h"
#include "shell/CommandTable.h"
#include "shell/StatusPaneLayout.h"
#include "view/HexView.h"
#include "view/SelectRange.h"

namespace qv {
namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kIdleText = "Bereit";
// How long a message stays in the status bar before "Bereit" returns.
constexpr int kMessageMs = 10000;

// "Strg" is how German keyboards label Ctrl; Qt's portable names are used for the keys.
QKeySequence KeyOf(const std::string& key)
{
    return QKeySequence(QString::fromStdString(key), QKeySequence::PortableText);
}

}  // namespace

std::map<int, CommandHandler>& RegisteredCommands()
{
    static std::map<int, CommandHandler> commands;
    return commands;
}

CMainFrame::CMainFrame(AppContext context, CHexDoc& document, CHexView& view, RecentFileList& recentFiles)
    : context_(context), document_(document), view_(view), recentFiles_(recentFiles)
{
    context_.mainWindow = this;
    context_.document = &document_;
    context_.view = &view_;
    setWindowIcon(QIcon(":/icons/quarnival-48.png"));

    if (auto* store = context_.settings.user) {
        if (auto flat = store->ReadDword(kSettingsSection, "FlatMode")) flatMode_ = *flat ? 1 : 0;
        if (auto entry = store->ReadDword(kSettingsSection, "LastDataEntry"))
            lastDataEntry_ = static_cast<int32_t>(*entry);
    }

    // The hex view, and beside its scroll bar the entropy strip of the whole document.
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    viewWidget_ = new LineViewWidget(view_, centre);
    entropyStrip_ = new EntropyStrip(view_, viewWidget_, context_.settings.user, centre);
    entropyStrip_->SetFileBytes([this] { return document_.FileReadBytes(); });
    row->addWidget(viewWidget_);
    row->addWidget(entropyStrip_);
    view_.SetParent(this);
    view_.SetStatusPanes(this);
    setCentralWidget(centre);

    // The data window and the value inspector start hidden at the right, as tabs of one place;
    // their saved places come back with the window state.
    dataWindow_ = new DataWindowDock(context_, this);
    addDockWidget(Qt::RightDockWidgetArea, dataWindow_);
    dataWindow_->hide();
    valueInspector_ = new ValueInspectorDock(context_, view_, this);
    addDockWidget(Qt::RightDockWidgetArea, valueInspector_);
    tabifyDockWidget(dataWindow_, valueInspector_);
    valueInspector_->hide();
    if (lastDataEntry_ >= 0) dataWindow_->Window().SelectPage(lastDataEntry_);
    view_.SetEvents(this);

    AddOwnCommands();
    AddRegisteredCommands();
    BuildMenus();
    BuildToolbar();
    viewWidget_->SetMenuIcons([this](int command) {
        const QAction* action = ActionFor(command);
        return action && action->isIconVisibleInMenu() ? action->icon() : QIcon();
    });
    BuildStatusBar();
    SetFlatMode(flatMode_ != 0);

    resize(InitialWidth(), 450);
    // However wide the docks were left, the hex view keeps room for an address and a few bytes.
    viewWidget_->setMinimumWidth(MinimumViewWidth());
    // The window's own size and place first: the dock sizes in the state are relative to it.
    if (auto* store = context_.settings.user) {
        if (auto geometry = store->ReadBinary(kSettingsSection, "WindowGeometry")) {
            restoreGeometry(QByteArray(reinterpret_cast<const char*>(geometry->data()),
                                       static_cast<qsizetype>(geometry->size())));
            KeepOnScreen();
        }
        if (auto state = store->ReadBinary(kSettingsSection, "WindowState"))
            restoreState(QByteArray(reinterpret_cast<const char*>(state->data()), static_cast<qsizetype>(state->size())));
    }
    document_.onTitleChanged = [this] { UpdateTitle(); };
    UpdateTitle();

    // Toolbar buttons and the "NUM" indicator follow their state while the program is idle.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateNumIndicator);
    idle->start(250);
    // Other programs may change the open file: a mapped file that lost pages is noticed
    // while idle, a replaced or changed file when the user comes back to the window. Both
    // may replace the view's block and tell the user, so they wait while long work reads it
    // and while a dialog is open.
    auto diskCheckDue = std::make_shared<bool>(false);
    const auto busy = [] { return LongTaskRunning() || QApplication::activeModalWidget() != nullptr; };
    connect(idle, &QTimer::timeout, this, [this, diskCheckDue, busy] {
        if (busy()) return;
        document_.CheckMapFault();
        if (std::exchange(*diskCheckDue, false)) document_.CheckFileOnDisk();
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this, diskCheckDue, busy](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) return;
        if (busy())
            *diskCheckDue = true;
        else
            document_.CheckFileOnDisk();
    });
}

CMainFrame::~CMainFrame()
{
    lastDataEntry_ = dataWindow_->Window().PageToRemember();
    if (auto* store = context_.settings.user) {
        // Taken while the window was still open: closing hides a floating data window.
        const QByteArray state = closingState_.isEmpty() ? saveState() : closingState_;
        store->WriteBinary(kSettingsSection, "WindowState", std::vector<uint8_t>(state.begin(), state.end()));
        const QByteArray geometry = closingGeometry_.isEmpty() ? saveGeometry() : closingGeometry_;
        if (!(maximisedForThisRun_ && isMaximized()))
            store->WriteBinary(kSettingsSection, "WindowGeometry", std::vector<uint8_t>(geometry.begin(), geometry.end()));
        store->WriteDword(kSettingsSection, "FlatMode", flatMode_);
        store->WriteDword(kSettingsSection, "LastDataEntry", static_cast<uint32_t>(lastDataEntry_));
    }
    view_.SetParent(nullptr);
    view_.SetStatusPanes(nullptr);
    view_.SetEvents(nullptr);
}

int CMainFrame::InitialWidth() const
{
    // Room for 79 characters of the view's font beside the scroll bar and the frame.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QFont font = viewWidget_->font();
    int charWidth = QFontMetrics(font).averageCharWidth();
    if (charWidth <= 6) charWidth = QFontMetrics(QFont("Courier")).averageCharWidth();
    if (charWidth > 6) return 2 * frame + scrollBar + 79 * charWidth + 8;
    return 2 * frame + scrollBar + 20 * style()->pixelMetric(QStyle::PM_LargeIconSize);
}

int CMainFrame::MinimumViewWidth() const
{
    // An address, four bytes in hex and their characters beside the scroll bar, in the cell
    // width the view paints with.
    const int charWidth = std::max<int>(view_.CharWidth(), 6);
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 28 * charWidth;
}

void CMainFrame::KeepOnScreen()
{
    // A place saved on a larger or a since removed screen: shrink and move it onto a present one.
    if (isMaximized() || isFullScreen()) return;
    const QScreen* screen = QGuiApplication::screenAt(geometry().center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // Before the first show the window manager's frame is unknown: leave room for a title bar.
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QMargins frame(border, style()->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
    const QRect room = screen->availableGeometry().marginsRemoved(frame);
    QRect placed = geometry();
    placed.setSize(placed.size().boundedTo(room.size()).expandedTo(minimumSize()));
    placed.moveLeft(std::clamp(placed.left(), room.left(), std::max(room.left(), room.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), room.top(), std::max(room.top(), room.bottom() - placed.height() + 1)));
    setGeometry(placed);
}

// ---- commands -------------------------------------------------------------------------

void CMainFrame::AddOwnCommands()
{
    using H = CommandRouter::Handler;
    auto always = [] { return CommandState{}; };

    // Application
    router_.Add(CommandTarget::Application, 57600, H{[this] { document_.FileNew(); }, always});
    router_.Add(CommandTarget::Application, 57601, H{[this] { OpenWithDialog(); }, always});
    router_.Add(CommandTarget::Application, 57664, H{[this] { ShowAbout(); }, always});
    router_.Add(CommandTarget::Application, 57665, H{[this] { close(); }, always});

    // Document
    auto canSave = [this] { return CommandState{document_.CanSave(), false}; };
    router_.Add(CommandTarget::Document, 57603, H{[this] { document_.FileSave(); }, canSave});
    router_.Add(CommandTarget::Document, 57604, H{[this] { document_.FileSaveAs(); }, canSave});
    router_.Add(CommandTarget::Document, 32800, H{[this] { document_.ReopenPrevious(); }, always});
    router_.Add(CommandTarget::Document, 32868, H{[this] { document_.ToggleInsertMode(); }, [this] {
                    MenuState state = document_.InsertModeState();
                    return CommandState{state.enabled, state.checked};
                }});
    for (int command = kFirstRecentFileCommand; command <= kLastRecentFileCommand; ++command) {
        const size_t index = static_cast<size_t>(command - kFirstRecentFileCommand);
        router_.Add(CommandTarget::Application, command,
                    H{[this, index] {
                          if (index < recentFiles_.Entries().size()) OpenFile(recentFiles_.Entries()[index]);
                      },
                      [this, index] { return CommandState{index < recentFiles_.Entries().size(), false}; }});
    }

    // Frame
    router_.Add(CommandTarget::Frame, 32794, H{[this] { SetFlatMode(flatMode_ == 0); }, [this] {
                    return CommandState{true, flatMode_ != 0};
                }});
    router_.Add(CommandTarget::Frame, 32832, H{[this] { SetTopMost(!topMost_); }, [this] {
                    return CommandState{true, topMost_};
                }});
    router_.Add(CommandTarget::Frame, 59392, H{[this] { toolBar_->setVisible(!toolBar_->isVisible()); }, [this] {
                    return CommandState{true, toolBar_ && toolBar_->isVisible()};
                }});
    router_.Add(CommandTarget::Frame, 59393, H{[this] { statusBar()->setVisible(!statusBar()->isVisible()); },
                                               [this] { return CommandState{true, statusBar()->isVisible()}; }});
}

void CMainFrame::AddRegisteredCommands()
{
    for (auto& [command, handler] : RegisteredCommands()) {
        CommandRouter::Handler routed;
        routed.execute = [this, execute = handler.execute] { execute(context_); };
        if (handler.update) routed.update = [this, update = handler.update] { return update(context_); };
        router_.Add(CommandTarget::View, command, routed);
    }
}

bool CMainFrame::ExecuteCommand(int command)
{
    const bool ran = router_.Execute(command);
    UpdateCommandStates();
    return ran;
}

bool CMainFrame::IsCommandEnabled(int command)
{
    return router_.State(command).enabled;
}

QAction* CMainFrame::ActionFor(int command) const
{
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::UpdateCommandStates()
{
    for (QAction* action : allActions_) {
        const int command = action->data().toInt();
        const CommandState state = router_.State(command);
        action->setEnabled(state.enabled);
        action->setChecked(state.checked);
    }
}

// Where the state of Num Lock cannot be read, the indicator always shows "NUM".
void CMainFrame::UpdateNumIndicator()
{
    numIndicator_->setText(NumLockIsOn().value_or(true) ? "NUM" : "");
}

// ---- menus and toolbar ----------------------------------------------------------------

QAction* CMainFrame::MakeAction(int command, const QString& text)
{
    const CommandInfo* info = FindCommand(command);
    auto* action = new QAction(text, this);
    action->setData(command);
    if (info) {
        action->setStatusTip(QString::fromStdString(StatusTextOf(*info)));
        const std::string tip = ToolTipOf(*info);
        action->setToolTip(QString::fromStdString(tip.empty() ? StatusTextOf(*info) : tip));
        action->setIcon(CommandIcon(command, info->iconName));
        action->setIconVisibleInMenu(std::find(ToolbarLayout().begin(), ToolbarLayout().end(), command) !=
                                     ToolbarLayout().end());
    }
    action->setCheckable(command == 32794 || command == 32832 || command == 59392 || command == 59393 ||
                         command == 32801 || command == 32868 || command == 32904 || command == 32906);
    connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
    allActions_.push_back(action);
    return action;
}

void CMainFrame::BuildMenus()
{
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromStdString(popup.title));
        for (const MainMenuEntry& entry : popup.entries) {
            if (entry.kind == MainMenuEntry::Separator) {
                menu->addSeparator();
                continue;
            }
            if (entry.kind == MainMenuEntry::RecentFiles) {
                fileMenu_ = menu;
                recentPlace_ = menu->addSeparator();
                continue;
            }
            const CommandInfo* info = FindCommand(entry.id);
            const std::string text = entry.text.empty() ? info->menuText : entry.text;
            QAction* action = MakeAction(entry.id, QString::fromStdString(text));
            menu->addAction(action);
            if (actions_.count(entry.id) == 0) {
                // Keys belong to the first entry of a command; a second entry only shows the label.
                QList<QKeySequence> keys;
                for (const auto& key : info->keys) keys << KeyOf(key);
                action->setShortcuts(keys);
                actions_[entry.id] = action;
            }
        }
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    }
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] { RebuildRecentFiles(fileMenu_); });
    RebuildRecentFiles(fileMenu_);

    for (int command : KeyOnlyCommands()) {
        const CommandInfo* info = FindCommand(command);
        QAction* action = MakeAction(command, QString());
        QList<QKeySequence> keys;
        for (const auto& key : info->keys) keys << KeyOf(key);
        action->setShortcuts(keys);
        addAction(action);
        actions_[command] = action;
    }
    // Shift+Entf stands in the key table without a handler: the key is taken and does nothing.
    auto* swallow = new QShortcut(KeyOf("Shift+Del"), this);
    swallow->setContext(Qt::WindowShortcut);
    actions_[57635]->setShortcuts({});
}

void CMainFrame::RebuildRecentFiles(QMenu* menu)
{
    for (QAction* action : recentActions_) {
        allActions_.erase(std::remove(allActions_.begin(), allActions_.end(), action), allActions_.end());
        menu->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    const auto& entries = recentFiles_.Entries();
    if (entries.empty()) {
        // The first place shows the key of "Letzte Datei" while the list is empty.
        QAction* placeholder = MakeAction(kFirstRecentFileCommand, "Letzte Datei\tF2");
        menu->insertAction(recentPlace_, placeholder);
        recentActions_.push_back(placeholder);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        QString path = QString::fromStdString(entries[i]);
        const QString home = QDir::homePath();
        if (path.startsWith(home + "/")) path = "~" + path.mid(home.size());
        QString text = QString("&%1 %2").arg(i + 1).arg(path);
        if (i == 0) text += "\tF2";
        QAction* action = MakeAction(kFirstRecentFileCommand + static_cast<int>(i), text);
        menu->insertAction(recentPlace_, action);
        recentActions_.push_back(action);
    }
    UpdateCommandStates();
}

void CMainFrame::BuildToolbar()
{
    toolBar_ = addToolBar("Symbolleiste");
    toolBar_->setObjectName("MainToolbar");
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (int command : ToolbarLayout()) {
        if (command == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = ActionFor(command);
        if (!action) action = MakeAction(command, QString::fromStdString(FindCommand(command)->menuText));
        toolBar_->addAction(action);
    }
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    numIndicator_ = new QLabel("NUM");
    numIndicator_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    numIndicator_->setMinimumWidth(numIndicator_->sizeHint().width());  // the same place, on or off
    UpdateNumIndicator();
    bar->addPermanentWidget(numIndicator_);
    // The message pane shows a command's text while its menu entry is highlighted, else "Bereit".
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty()) bar->showMessage(kIdleText);
    });
    bar->showMessage(kIdleText);
}

void CMainFrame::ShowMessage(const std::string& textUtf8)
{
    statusBar()->showMessage(QString::fromStdString(textUtf8), kMessageMs);
}

void CMainFrame::DefinePanes(const std::vector<StatusPaneSpec>& specs)
{
    std::vector<int32_t> values, widths;
    for (const StatusPaneSpec& spec : specs) {
        values.push_back(spec.style ? spec.style : 1);
        widths.push_back(spec.width);
    }
    DefineStatusPanes(values, &widths, static_cast<int32_t>(specs.size()));
}

bool CMainFrame::SetPaneText(int index, const std::string& textUtf8)
{
    return SetStatusPaneText(index, textUtf8, true, -1, -1) != 0;
}

int32_t CMainFrame::DefineStatusPanes(const std::vector<int32_t>& values, const std::vector<int32_t>* widths,
                                      int32_t count)
{
    QStatusBar* bar = statusBar();
    for (QLabel* pane : panes_) {
        bar->removeWidget(pane);
        delete pane;
    }
    panes_.clear();
    bar->removeWidget(numIndicator_);
    const QFontMetrics metrics(bar->font());
    const int32_t characterWidth = PaneCharacterWidth(metrics.averageCharWidth(), metrics.height());
    for (int32_t width : ResolvePaneWidths(values, widths, count, characterWidth)) {
        auto* pane = new QLabel(bar);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(width);
        bar->addPermanentWidget(pane);
        panes_.push_back(pane);
    }
    bar->addPermanentWidget(numIndicator_);
    numIndicator_->show();
    return static_cast<int32_t>(panes_.size());
}

int CMainFrame::SetStatusPaneText(int32_t index, const std::string& textUtf8, bool redraw, int32_t background,
                                  int32_t foreground)
{
    auto resolved = ResolvePaneIndex(index, static_cast<int32_t>(panes_.size()));
    if (!resolved) return 0;
    QLabel* pane = panes_[static_cast<size_t>(*resolved)];
    pane->setText(QString::fromStdString(textUtf8));
    if (background < 0 && foreground < 0) {
        pane->setStyleSheet(QString());
        pane->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        // Drawn by the frame: centred, at the bottom edge, in the given colours.
        auto css = [](int32_t bgr, const char* fallback) {
            if (bgr < 0) return QString(fallback);
            return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF).name();
        };
        pane->setStyleSheet(QString("QLabel { background: %1; color: %2; padding-bottom: 1px; }")
                                .arg(css(background, "palette(button)"), css(foreground, "palette(window-text)")));
        pane->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    }
    if (redraw) pane->repaint();
    return 1;
}

uint32_t CMainFrame::PaneCheck() const
{
    return kPaneCheckAnswer;
}

QString CMainFrame::PaneText(int index) const
{
    return index >= 0 && index < PaneCount() ? panes_[static_cast<size_t>(index)]->text() : QString();
}

// ---- window options -------------------------------------------------------------------

void CMainFrame::SetFlatMode(bool flat)
{
    flatMode_ = flat ? 1 : 0;
    for (QAction* action : toolBar_->actions())
        if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(action))) button->setAutoRaise(flat);
    if (toolBar_->isVisible()) {
        toolBar_->hide();
        toolBar_->show();
    }
}

void CMainFrame::SetTopMost(bool topMost)
{
    topMost_ = topMost;
    const QRect geometry = this->geometry();
    const bool visible = isVisible();
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    if (visible) {
        setGeometry(geometry);
        show();
    }
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

// ---- document -------------------------------------------------------------------------

void CMainFrame::UpdateTitle()
{
    setWindowTitle(QString::fromStdString(document_.Title()) + " - Quarnival");
}

void CMainFrame::OpenWithDialog()
{
    const QString path = QFileDialog::getOpenFileName(this, "Öffnen", QString(), "Alle Dateien (*)");
    if (!path.isEmpty()) OpenFile(path.toStdString());
}

void CMainFrame::OpenFile(const std::string& path)
{
    document_.FileOpen(path);
    UpdateCommandStates();
}

void CMainFrame::ShowMaximisedForThisRun()
{
    maximisedForThisRun_ = true;
    showMaximized();
}

void CMainFrame::SelectRange(int64_t offset, int64_t length)
{
    viewWidget_->setFocus();
    qv::SelectRange(view_, offset, length);
}

void CMainFrame::OnLineViewNotify(CAnsiView&, int, int64_t, int64_t) {}

void CMainFrame::OnHexViewNotify(CHexView&, int code, int64_t a, int64_t b, int64_t c)
{
    if (code == NotifyBufferReplaced) dataWindow_->Window().ForgetBuffers();
    valueInspector_->OnViewNotify(code);
    entropyStrip_->OnViewNotify(code, a, b, c);
}

void CMainFrame::OnFileDropped(CAnsiView&, const std::string& path)
{
    OpenFile(path);
}

void CMainFrame::ShowAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

bool CMainFrame::CloseWithoutSaveQuestion()
{
    skipSaveQuestion_ = true;
    const bool closed = close();
    skipSaveQuestion_ = false;
    return closed;
}

void CMainFrame::ShowStatusNote(const std::string& textUtf8)
{
    statusBar()->showMessage(QString::fromStdString(textUtf8));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!skipSaveQuestion_ && !document_.SaveModified()) {
        event->ignore();
        return;
    }
    closingState_ = saveState();
    closingGeometry_ = saveGeometry();
    event->accept();
}

}  // namespace qv
