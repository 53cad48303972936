// SPDX-License-Identifier: GPL-3.0-or-later
// The search commands of the hex view in the editor: "&Suchen" (57636, Shift+F3, Ctrl+F),
// "&Weitersuchen" (32771, F3) and "&Bereich suchen" (32774, Ctrl+F3).
#include <algorithm>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "search/SearchCommands.h"
#include "search/SearchState.h"
#include "view/HexView.h"

namespace qv {
namespace {

// The hex view as the search sees it.
class HexViewSearchTarget : public ISearchTarget {
public:
    explicit HexViewSearchTarget(CHexView& view) : view_(view) {}

    const IByteSource& Bytes() const override { return view_.Bytes(); }
    int64_t CursorOffset() const override { return view_.CursorOffset(); }
    std::optional<Range> Selection() const override
    {
        if (!view_.HasSelection()) return std::nullopt;
        const HighlightMark& mark = view_.Mark(0);
        return Range{std::min(mark.first, mark.last), std::max(mark.first, mark.last)};
    }
    void SetCursorOffset(int64_t offset) override { view_.SetCursorOffset(static_cast<uint64_t>(offset), false); }
    void SelectTo(int64_t offset) override { view_.SelectTo(static_cast<uint64_t>(offset), false); }
    void SetMark(int index, int64_t start, int64_t length) override
    {
        view_.SetMark(index, start, length);
    }
    Rows RowLayout() const override
    {
        return {view_.BytesPerRow(), view_.RowLayout().Phase(), view_.TopLine(), std::max(1, view_.PaneRows())};
    }
    void ScrollToOffset(int64_t offset) override { view_.ScrollToOffset(static_cast<uint64_t>(offset), false); }

private:
    CHexView& view_;
};

// The lists and options are read from the settings once, when the first search command
// runs, and written back after every command, so that nothing typed is lost.
void TakeStoredState(AppContext& context)
{
    static bool taken = false;
    if (taken) return;
    taken = true;
    if (context.settings.user) LoadSearchSettings(TheSearchState(), *context.settings.user);
}

void StoreState(AppContext& context)
{
    if (context.settings.user) SaveSearchSettings(TheSearchState(), *context.settings.user);
}

template <void (SearchCommands::*Command)()>
void Run(AppContext& context)
{
    if (!context.view || !context.prompt || !context.dialogs) return;
    TakeStoredState(context);
    HexViewSearchTarget target(*context.view);
    SearchCommands commands(target, *context.prompt, *context.dialogs, TasksOf(context), TheSearchState());
    (commands.*Command)();
    StoreState(context);
}

CommandState AlwaysEnabled(AppContext& context) { return {context.view != nullptr, false}; }

CommandState FindNextState(AppContext& context)
{
    TakeStoredState(context);
    return {context.view != nullptr && SearchCommands::CanFindNext(TheSearchState()), false};
}

}  // namespace

QV_GUI_COMMAND(kCommandSearch, Run<&SearchCommands::Search>, AlwaysEnabled);
QV_GUI_COMMAND(kCommandFindNext, Run<&SearchCommands::FindNext>, FindNextState);
QV_GUI_COMMAND(kCommandFindSelection, Run<&SearchCommands::FindSelection>, AlwaysEnabled);

}  // namespace qv
