// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HexApp.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <cstdio>

#include "app/MainFrame.h"
#include "app/RemoteControl.h"
#include "compare/ui/CompareController.h"
#include "document/DocumentTaskRunner.h"
#include "document/HexDoc.h"
#include "modules/ui/DataWindowDock.h"
#include "recovery/CrashRecovery.h"
#include "recovery/DocumentJournal.h"
#include "recovery/RecoveryFolder.h"
#include "shell/StartPositions.h"
#include "view/HexLayout.h"
#include "view/HexView.h"

namespace qv {

CHexApp::CHexApp(AppOverrides overrides)
    : userSettings_(std::make_unique<QtSettingsStore>(QSettings::UserScope)),
      machineSettings_(std::make_unique<QtSettingsStore>(QSettings::SystemScope))
{
    if (overrides.prompt) activePrompt_ = overrides.prompt;
    if (overrides.dialogs) activeDialogs_ = overrides.dialogs;
    recentFiles_.Load(*userSettings_);
}

CHexApp::~CHexApp()
{
    remote_.reset();  // no messages once the frame is going
    // The frame goes first (it writes its options), then the document (it writes
    // "PasteMode" and releases its block; its journal hears of the close), then the
    // journal and the view.
    frame_.reset();
    document_.reset();
    recovery_.reset();
    journal_.reset();
    view_.reset();
    recentFiles_.Save(*userSettings_);
    userSettings_->Sync();
}

bool CHexApp::Start(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (const QString& argument : arguments.mid(1)) args.push_back(argument.toStdString());
    CommandLine commandLine = ParseCommandLine(args);
    if (!commandLine.fileName.empty()) commandLine.fileName = NormalizeStartPath(commandLine.fileName);
    startOptions_ = commandLine.options;

    AppContext context;
    context.settings = {userSettings_.get(), machineSettings_.get()};
    context.prompt = activePrompt_;
    context.clipboard = &clipboard_;
    context.dialogs = activeDialogs_;
    context.timers = &timers_;

    view_ = std::make_unique<CHexView>(FlagPersist, context.settings);
    view_->SetPrompt(activePrompt_);
    view_->SetDialogService(activeDialogs_);

    DocumentServices services;
    services.prompt = activePrompt_;
    services.dialogs = activeDialogs_;
    services.settings = userSettings_.get();
    services.startOptions = &startOptions_;
    services.recentFiles = [this] { return recentFiles_.Entries(); };
    services.openFile = [this](const std::string& path) { frame_->OpenFile(path); };
    services.addRecentFile = [this](const std::string& path) { recentFiles_.Add(path); };
    services.removeRecentFile = [this](const std::string& path) { recentFiles_.RemovePath(path); };
    services.askSavePath = [this](const std::string& proposed) -> std::optional<std::string> {
        const QString path =
            // The dialog asks before another existing file is replaced.
            QFileDialog::getSaveFileName(frame_.get(), "Speichern unter", QString::fromStdString(proposed),
                                         "Alle Dateien (*)");
        if (path.isEmpty()) return std::nullopt;
        return path.toStdString();
    };
    document_ = std::make_unique<CHexDoc>(services);
    document_->AttachView(view_.get());
    // A journal that cannot be written is told in the status bar: it may fail while a
    // dialog is open, and typing goes on.
    journal_ = std::make_unique<DocumentJournal>(*document_, *view_, RecoveryFolderPath(), &timers_,
                                                 [this](const std::string& error) {
                                                     if (frame_) frame_->ShowStatusNote(error);
                                                 });
    recovery_ = std::make_unique<CrashRecovery>(*document_, *journal_, *activePrompt_, *activeDialogs_);
    document_->SetRecovery(recovery_.get());
    documentTasks_ = std::make_unique<DocumentTaskRunner>(tasks_, *document_);
    context.tasks = documentTasks_.get();

    frame_ = std::make_unique<CMainFrame>(context, *document_, *view_, recentFiles_);
    prompt_.SetParent(frame_.get());
    dialogs_.SetParent(frame_.get());
    tasks_.SetParent(frame_.get());

    bool opened = commandLine.fileName.empty() ? document_->NewDocument()
                                               : document_->FileOpen(commandLine.fileName);
    const bool startFileOpened = opened;
    // Cancelling the offer of unsaved edits is no failure: the editor starts empty.
    if (!opened && recovery_->OpenCancelled()) opened = document_->NewDocument();
    if (!opened && !commandLine.fileName.empty()) return false;
    view_->EnableDroppedFiles(true);

    ClearGivenStartOptions(commandLine, startOptions_);

    if (commandLine.maximized)
        frame_->ShowMaximisedForThisRun();
    else
        frame_->show();
    frame_->repaint();
    // The positions go to the view once it has its size: a new row width would drop a selection.
    ApplyStartPositions(ReadStartPositions(commandLine), *document_, *view_);
    if (commandLine.comparePath && startFileOpened) {
        if (commandLine.comparePath->empty())
            std::fprintf(stderr, "quarnival: --compare erwartet zwei Dateien: die zu öffnende und die zum Vergleich.\n");
        else
            CompareController::Start(frame_->Context(), *commandLine.comparePath,
                                     {static_cast<int64_t>(commandLine.compareOffset),
                                      static_cast<int64_t>(commandLine.compareOffset2), -1});
    }

    // Other programs reach the window once it is shown; without the socket it still runs.
    remote_ = std::make_unique<RemoteControl>(*frame_, *document_, *view_);
    std::string remoteError;
    if (!remote_->Listen(&remoteError)) std::fprintf(stderr, "quarnival: %s\n", remoteError.c_str());

    // Unsaved edits of untitled documents and of files that are gone: offered once the window is up.
    if (commandLine.fileName.empty()) QTimer::singleShot(0, frame_.get(), [this] { recovery_->OfferAtStart(); });

    if (commandLine.openDataWindow) {
        const bool withFile = !commandLine.fileName.empty();
        QTimer::singleShot(0, frame_.get(), [this, withFile] {
            // The dock may be open already, restored from the last run: 32801 would close it.
            if (!frame_->DataWindow()->isVisible()) frame_->ExecuteCommand(32801);
            if (withFile) frame_->ExecuteCommand(32808);
        });
    }
    return true;
}

void CHexApp::OnStopRequest()
{
    if (!frame_) {
        QApplication::quit();
        return;
    }
    if (journal_->SecureForStop()) {
        if (frame_->CloseWithoutSaveQuestion()) QApplication::quit();
        return;
    }
    activePrompt_->Tell("Die ungesicherten Änderungen können nicht für den nächsten Start gesichert werden.\n" +
                            journal_->LastError(),
                        PromptIcon::Warning);
    if (frame_->close()) QApplication::quit();
}

}  // namespace qv
