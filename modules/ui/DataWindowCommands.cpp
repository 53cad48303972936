// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's data window and module commands; they find the dock in the main window.
#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "app/WindowWidening.h"
#include "modules/ui/DataWindowDock.h"

namespace qv {
namespace {

DataWindowDock* Dock(AppContext& context)
{
    return context.mainWindow ? context.mainWindow->findChild<DataWindowDock*>() : nullptr;
}

bool Visible(AppContext& context)
{
    DataWindowDock* dock = Dock(context);
    return dock && dock->isVisible();
}

CommandState WithDock(AppContext& context)
{
    return CommandState{Dock(context) != nullptr, false};
}

CommandState WhileVisible(AppContext& context)
{
    return CommandState{Visible(context), false};
}

void Forward(AppContext& context, void (*run)(DataWindowDock&))
{
    if (DataWindowDock* dock = Dock(context)) run(*dock);
}

}  // namespace

QV_GUI_COMMAND(32801, [](AppContext& c) { Forward(c, [](DataWindowDock& d) { ToggleSideDock(d); }); },
               [](AppContext& c) { return CommandState{Dock(c) != nullptr, Visible(c)}; });
QV_GUI_COMMAND(32808, [](AppContext& c) { if (Visible(c)) Forward(c, [](DataWindowDock& d) { d.RefreshFromView(); }); },
               WhileVisible);
QV_GUI_COMMAND(32822, [](AppContext& c) { if (Visible(c)) Forward(c, [](DataWindowDock& d) { d.Window().ShowOptions(); }); },
               WhileVisible);
QV_GUI_COMMAND(32815, [](AppContext& c) { Forward(c, [](DataWindowDock& d) { d.Window().ChooseModules(false); }); },
               WithDock);
QV_GUI_COMMAND(32811, [](AppContext& c) { Forward(c, [](DataWindowDock& d) { d.Window().ChooseModules(true); }); },
               WithDock);
QV_GUI_COMMAND(32817, [](AppContext& c) { Forward(c, [](DataWindowDock& d) { d.Window().ClearModules(); }); },
               WithDock);
QV_GUI_COMMAND(32812, [](AppContext& c) { Forward(c, [](DataWindowDock& d) { d.Window().LoadModuleList(); }); },
               WithDock);

}  // namespace qv
