// SPDX-License-Identifier: GPL-3.0-or-later
// Commands of the value inspector, the hashes and the entropy strip; the inspector and the
// strip are found in the main window.
#include "analysis/HashTool.h"
#include "analysis/ui/EntropyStrip.h"
#include "analysis/ui/ValueInspectorDock.h"
#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/WindowWidening.h"

namespace qv {
namespace {

constexpr int kInspectorCommand = 32904;
constexpr int kHashesCommand = 32905;
constexpr int kEntropyStripCommand = 32906;

template <typename Widget>
Widget* Find(AppContext& context)
{
    return context.mainWindow ? context.mainWindow->findChild<Widget*>() : nullptr;
}

void ToggleInspector(AppContext& context)
{
    if (auto* dock = Find<ValueInspectorDock>(context)) ToggleSideDock(*dock);
}

CommandState InspectorState(AppContext& context)
{
    auto* dock = Find<ValueInspectorDock>(context);
    return {dock != nullptr, dock && dock->isVisible()};
}

void ToggleEntropyStrip(AppContext& context)
{
    if (auto* strip = Find<EntropyStrip>(context)) strip->SetEnabled(!strip->Enabled());
}

CommandState EntropyStripState(AppContext& context)
{
    auto* strip = Find<EntropyStrip>(context);
    return {strip != nullptr, strip && strip->Enabled()};
}

void ShowHashes(AppContext& context)
{
    if (context.view && context.dialogs) RunHashTool(*context.view, *context.dialogs, TasksOf(context));
}

CommandState HashesState(AppContext& context)
{
    return {context.view != nullptr, false};
}

}  // namespace

QV_GUI_COMMAND(kInspectorCommand, ToggleInspector, InspectorState);
QV_GUI_COMMAND(kHashesCommand, ShowHashes, HashesState);
QV_GUI_COMMAND(kEntropyStripCommand, ToggleEntropyStrip, EntropyStripState);

}  // namespace qv
