// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a command handler may reach: the window, the document, the view and the
// platform services. One context exists per main frame.
#include "platform/Clipboard.h"
#include "platform/DialogService.h"
#include "platform/LongTask.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "platform/Timers.h"

class QWidget;

namespace qv {

class CHexDoc;
class CHexView;

struct AppContext {
    QWidget* mainWindow = nullptr;  // parent of every dialog
    CHexDoc* document = nullptr;
    CHexView* view = nullptr;
    SettingsStores settings;
    IPrompt* prompt = nullptr;
    IClipboard* clipboard = nullptr;
    IDialogService* dialogs = nullptr;
    ITimerService* timers = nullptr;
    ILongTaskRunner* tasks = nullptr;  // long work with progress and "Abbrechen"
};

// The runner for long work; without one (a context set up by a test) the work runs inline.
inline ILongTaskRunner& TasksOf(const AppContext& context)
{
    static InlineTaskRunner inlineRunner;
    return context.tasks ? *context.tasks : inlineRunner;
}

}  // namespace qv
