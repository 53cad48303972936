// SPDX-License-Identifier: GPL-3.0-or-later
// Menu and key commands of the hex view: settings, go to address, undo and redo.
#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "view/HexView.h"

namespace qv {

namespace {

void EditSettings(AppContext& context)
{
    if (context.view && context.dialogs) context.view->EditSettings(*context.dialogs);
}

void GotoAddress(AppContext& context)
{
    if (context.view && context.dialogs) context.view->GotoAddress(*context.dialogs);
}

void Undo(AppContext& context)
{
    if (context.view) context.view->UndoRedo(-1);
}

void Redo(AppContext& context)
{
    if (context.view) context.view->UndoRedo(+1);
}

CommandState HasView(AppContext& context)
{
    return {context.view != nullptr, false};
}

CommandState UndoState(AppContext& context)
{
    return {context.view != nullptr && context.view->CanUndo(), false};
}

CommandState RedoState(AppContext& context)
{
    return {context.view != nullptr && context.view->CanRedo(), false};
}

}  // namespace

QV_GUI_COMMAND(CmdHexSettings, EditSettings, HasView);
QV_GUI_COMMAND(CmdGotoAddress, GotoAddress, HasView);
QV_GUI_COMMAND(CmdUndo, Undo, UndoState);
QV_GUI_COMMAND(CmdRedo, Redo, RedoState);

}  // namespace qv
