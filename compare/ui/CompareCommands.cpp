// SPDX-License-Identifier: GPL-3.0-or-later
// The compare commands of the main window: start a compare, end it, move from run to run,
// and switch between the two panes.
#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "compare/CompareCommandIds.h"
#include "compare/CompareDialog.h"
#include "compare/ui/CompareController.h"
#include "platform/SettingsStore.h"

namespace qv {
namespace {

constexpr const char* kSection = "Compare";
constexpr const char* kLastFile = "LastFile";

void AskAndCompare(AppContext& context)
{
    if (!context.dialogs || !context.view || !context.mainWindow) return;
    CompareDialog dialog;
    if (context.settings.user) dialog.path = context.settings.user->ReadString(kSection, kLastFile).value_or("");
    // A file that cannot be compared is refused with a message; the dialog then comes back
    // with what was typed, so that a wrong path or start is mended rather than typed again.
    while (context.dialogs->Run(dialog)) {
        if (context.settings.user) context.settings.user->WriteString(kSection, kLastFile, dialog.path);
        if (CompareController::Start(context, dialog.path, dialog.Alignment())) return;
    }
}

CommandState WhileShown(AppContext& context)
{
    return CommandState{CompareController::Of(context) != nullptr, false};
}

void Forward(AppContext& context, void (*run)(CompareController&))
{
    if (CompareController* shown = CompareController::Of(context)) run(*shown);
}

}  // namespace

QV_GUI_COMMAND(CmdCompareFiles, AskAndCompare);
QV_GUI_COMMAND(CmdEndCompare, [](AppContext& c) { Forward(c, [](CompareController& s) { s.End(); }); }, WhileShown);
QV_GUI_COMMAND(CmdNextDifference, [](AppContext& c) { Forward(c, [](CompareController& s) { s.GoToRun(true); }); },
               WhileShown);
QV_GUI_COMMAND(CmdPreviousDifference,
               [](AppContext& c) { Forward(c, [](CompareController& s) { s.GoToRun(false); }); }, WhileShown);
// With two panes the next one is the previous one too.
QV_GUI_COMMAND(CmdNextPane, [](AppContext& c) { Forward(c, [](CompareController& s) { s.SwitchPane(); }); },
               WhileShown);
QV_GUI_COMMAND(CmdPreviousPane, [](AppContext& c) { Forward(c, [](CompareController& s) { s.SwitchPane(); }); },
               WhileShown);

}  // namespace qv
