// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CHexApp: starts the program from its command line, owns the platform services, the
// document, the view and the main frame, and ends the program.
#include <QStringList>
#include <memory>

#include "document/StartOptions.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTaskRunner.h"
#include "shell/CommandLine.h"
#include "shell/RecentFileList.h"

namespace qv {

class CHexDoc;
class CHexView;
class CMainFrame;
class CrashRecovery;
class DocumentTaskRunner;
class DocumentJournal;
class RemoteControl;

// Services a test may put in place of the interactive ones.
struct AppOverrides {
    IPrompt* prompt = nullptr;
    IDialogService* dialogs = nullptr;
};

class CHexApp {
public:
    explicit CHexApp(AppOverrides overrides = {});
    ~CHexApp();

    // The start sequence; false ends the program (a start-up file that cannot be opened).
    bool Start(const QStringList& arguments);
    // A termination signal, run when no dialog is open: with every unsaved edit secured in
    // the journal the program ends at once; otherwise the close question comes, after
    // saying why.
    void OnStopRequest();
    CMainFrame* Frame() const { return frame_.get(); }
    CHexDoc* Document() const { return document_.get(); }
    CHexView* View() const { return view_.get(); }
    RemoteControl* Remote() const { return remote_.get(); }
    DocumentJournal* Journal() const { return journal_.get(); }
    StartOptions& Options() { return startOptions_; }

private:
    std::unique_ptr<QtSettingsStore> userSettings_;
    std::unique_ptr<QtSettingsStore> machineSettings_;
    QtPrompt prompt_;
    QtClipboard clipboard_;
    QtDialogService dialogs_;
    QtTimerService timers_;
    QtTaskRunner tasks_;
    std::unique_ptr<DocumentTaskRunner> documentTasks_;  // tasks_, minding the document's map
    IPrompt* activePrompt_ = &prompt_;
    IDialogService* activeDialogs_ = &dialogs_;
    StartOptions startOptions_;
    RecentFileList recentFiles_;
    std::unique_ptr<CHexView> view_;
    std::unique_ptr<DocumentJournal> journal_;
    std::unique_ptr<CrashRecovery> recovery_;
    std::unique_ptr<CHexDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<RemoteControl> remote_;
};

}  // namespace qv
