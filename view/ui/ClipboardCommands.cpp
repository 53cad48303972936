// SPDX-License-Identifier: GPL-3.0-or-later
// Menu, key and toolbar commands of the hex view's clipboard: copy (57634), paste (57637),
// paste dump (32862), copy as string (32864), copy as source (32826) and insert number (32823).
#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "view/HexView.h"

namespace qv {

namespace {

void Copy(AppContext& context)
{
    if (context.view && context.clipboard) context.view->CopyToClipboard(*context.clipboard);
}

void Paste(AppContext& context)
{
    if (context.view && context.clipboard) context.view->PasteFromClipboard(*context.clipboard, false);
}

void PasteDump(AppContext& context)
{
    if (context.view && context.clipboard) context.view->PasteFromClipboard(*context.clipboard, true);
}

void CopyAsString(AppContext& context)
{
    if (context.view && context.clipboard) context.view->CopyAsCString(*context.clipboard);
}

void CopyAsSource(AppContext& context)
{
    if (context.view && context.clipboard && context.dialogs)
        context.view->CopyAsSource(*context.clipboard, *context.dialogs, context.settings, context.timers);
}

void InsertNumber(AppContext& context)
{
    if (context.view && context.dialogs) context.view->InsertNumber(*context.dialogs);
}

CommandState WhileSelected(AppContext& context)
{
    return {context.view && context.view->HasSelection(), false};
}

CommandState CanPaste(AppContext& context)
{
    const CHexView* view = context.view;
    const bool writable = view && view->Length() != 0 && !view->IsReadOnly();
    return {writable && context.clipboard && context.clipboard->HasText(), false};
}

}  // namespace

QV_GUI_COMMAND(CmdCopy, Copy, WhileSelected);
QV_GUI_COMMAND(CmdPaste, Paste, CanPaste);
QV_GUI_COMMAND(CmdPasteDump, PasteDump, CanPaste);
QV_GUI_COMMAND(CmdCopyAsString, CopyAsString, WhileSelected);
QV_GUI_COMMAND(CmdCopyAsSource, CopyAsSource, WhileSelected);
QV_GUI_COMMAND(CmdInsertNumber, InsertNumber);  // always enabled

}  // namespace qv
