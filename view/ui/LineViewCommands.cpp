// SPDX-License-Identifier: GPL-3.0-or-later
// Menu and key commands of the line views: font (32783) and colours (32784).
#include <type_traits>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "view/AnsiView.h"
#include "view/HexView.h"

namespace qv {

namespace {

template <typename View>
CAnsiView* AsLineView(View* view)
{
    if constexpr (std::is_base_of_v<CAnsiView, View>)
        return view;
    else
        return nullptr;
}

// The context's view, or else the line view that had the focus last.
CAnsiView* TargetView(AppContext& context)
{
    CAnsiView* view = AsLineView(context.view);
    return view ? view : CAnsiView::ActiveView();
}

// The view the command runs on, with the context's dialogs to open.
CAnsiView* PreparedView(AppContext& context)
{
    CAnsiView* view = TargetView(context);
    if (view && context.dialogs) view->SetDialogService(context.dialogs);
    return view;
}

void EditFont(AppContext& context)
{
    if (CAnsiView* view = PreparedView(context)) view->EditFont();
}

void EditColors(AppContext& context)
{
    if (CAnsiView* view = PreparedView(context)) view->EditColors();
}

CommandState FontState(AppContext& context)
{
    return {TargetView(context) != nullptr, false};
}

CommandState ColorsState(AppContext& context)
{
    CAnsiView* view = TargetView(context);
    return {view != nullptr && !view->NoStyle(), false};
}

}  // namespace

QV_GUI_COMMAND(CmdFont, EditFont, FontState);
QV_GUI_COMMAND(CmdColors, EditColors, ColorsState);

}  // namespace qv
