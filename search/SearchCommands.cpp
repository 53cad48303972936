// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchCommands.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "common/HexText.h"
#include "search/FindValues.h"
#include "search/SearchDialogModel.h"
#include "search/ValueText.h"

namespace qv {
namespace {

constexpr int64_t kSelectionBytesUsed = 64;
constexpr int kMarkedValues = 8;

struct BusyCursor {
    explicit BusyCursor(ISearchTarget& target) : target(target) { target.SetBusy(true); }
    ~BusyCursor() { target.SetBusy(false); }
    ISearchTarget& target;
};

bool AllPrintable(const uint8_t* bytes, int64_t count)
{
    return std::all_of(bytes, bytes + count, [](uint8_t b) { return b >= 0x20 && b <= 0x7F; });
}

// Each byte as two hex digits followed by one blank (also after the last).
std::string HexWithBlanks(const uint8_t* bytes, int64_t count)
{
    return BytesToHexText(bytes, static_cast<size_t>(count), HexSeparator(' '));
}

// The bytes as a typed text: quoted (with '"' and '\' escaped, so that the text reads
// back as the same bytes) when all are printable, else as a dump.
std::string TypedTextFor(const uint8_t* bytes, int64_t count)
{
    if (AllPrintable(bytes, count))
        return FormatValueText(bytes, static_cast<size_t>(count), ValueKind::Text, kMaxTypedText);
    return ":" + HexWithBlanks(bytes, count);
}

}  // namespace

SearchPlan PlanDialogSearch(uint32_t flags, int64_t cursor, int64_t length,
                            std::optional<ISearchTarget::Range> selection)
{
    const bool backward = (flags & kSearchBackward) != 0;
    SearchPlan plan;
    if ((flags & kSearchInSelection) && selection) {
        // Only the start positions are limited to the selection.
        const int64_t span = selection->highest - selection->lowest + 1;
        plan.start = backward ? selection->highest : selection->lowest;
        plan.count = backward ? -span : span;
    } else if (flags & kSearchFromStart) {
        plan.start = 0;
        plan.count = length;
    } else {
        plan.start = backward ? cursor - 1 : cursor + 1;
        plan.count = backward ? -length : length;
        plan.wrap = (flags & kSearchWholeMemory) != 0;
        // The rest, without asking: below the cursor going up, above it going down.
        plan.wrapStart = backward ? length : 0;
        plan.wrapCount = backward ? cursor - length : cursor;
    }
    return plan;
}

std::string SearchCommands::InitialTextFromSelection() const
{
    auto selection = target_.Selection();
    if (!selection || target_.Data() == nullptr) return {};
    int64_t count = std::min(selection->highest - selection->lowest + 1, kSelectionBytesUsed);
    return TypedTextFor(target_.Data() + selection->lowest, count);
}

int64_t SearchCommands::FindAndShow(int64_t start, int64_t count)
{
    DecodedPattern pattern = DecodeSearchPattern(state_.pattern);
    target_.SetMark(-2, 0, 0);
    if (pattern.values.empty()) return -1;
    int64_t found;
    {
        BusyCursor busy(target_);
        found = FindValues(pattern, target_.Data(), target_.Length(), start, count,
                           (state_.flags & kSearchGroupOrdered) != 0);
    }
    if (found < 0) return -1;
    for (size_t i = 0; i < pattern.values.size() && i < kMarkedValues; ++i)
        target_.SetMark(static_cast<int>(i), pattern.values[i].found, pattern.values[i].length);
    const int length = pattern.values[0].length;
    target_.SetCursorOffset(found);
    target_.SelectTo(found + length);
    ScrollMatchIntoView(found, length);
    return found;
}

// A match spanning a few lines is scrolled by whole rows until its last line is the last
// fully visible one (the cursor move has already brought its first line into view).
void SearchCommands::ScrollMatchIntoView(int64_t start, int length)
{
    ISearchTarget::Rows rows = target_.RowLayout();
    const int64_t perRow = std::max(1, rows.bytesPerRow);
    const int64_t phase = rows.rowPhase % perRow;
    const int64_t extraLines = ((phase + start) % perRow + length - 1) / perRow;
    if (extraLines <= 0 || extraLines >= rows.fullyVisibleLines / 2) return;
    const int64_t lastLine = (phase + start + length - 1) / perRow;
    const int64_t lastVisible = rows.topLine + rows.fullyVisibleLines - 1;
    if (lastLine <= lastVisible) return;
    const int64_t newTop = lastLine - rows.fullyVisibleLines + 1;
    target_.ScrollToOffset(newTop * perRow - phase);
}

void SearchCommands::Search()
{
    const std::string initialText = InitialTextFromSelection();
    for (;;) {
        if (target_.Selection())
            state_.flags |= kSearchSelectionExists;
        else
            state_.flags &= ~kSearchSelectionExists;
        SearchDialogModel dialog(state_, initialText);
        if (!dialogs_.Run(dialog) || dialog.Result() == SearchDialogModel::kResultCancel) {
            dialog.Cancel();  // keeps the options that actions in the dialog read back
            return;
        }

        const SearchPlan plan = PlanDialogSearch(state_.flags, target_.CursorOffset(), target_.Length(),
                                                 target_.Selection());
        int64_t found = FindAndShow(plan.start, plan.count);
        if (found < 0 && plan.wrap) found = FindAndShow(plan.wrapStart, plan.wrapCount);
        if (found < 0) {
            prompt_.Show(kNotFoundText, kProgramCaption, PromptIcon::None, PromptButtons::Ok, PromptAnswer::Ok);
            target_.SetMark(-2, 0, 0);
        }
        if (dialog.Result() != SearchDialogModel::kResultSearchAgain) return;
    }
}

void SearchCommands::FindNext()
{
    if (!CanFindNext(state_)) {
        Search();
        return;
    }
    const int64_t next = target_.CursorOffset() + 1;
    int64_t found = FindAndShow(next, target_.Length());
    if (found < 0 && next > 0) {
        if (prompt_.Show(kWrapQuestion, kProgramCaption, PromptIcon::Question, PromptButtons::OkCancel,
                         PromptAnswer::Ok) != PromptAnswer::Ok)
            return;
        found = FindAndShow(0, next);
    }
    if (found < 0) prompt_.Tell(kNotFoundText, PromptIcon::Information);
}

void SearchCommands::FindSelection()
{
    auto selection = target_.Selection();
    if (!selection || target_.Data() == nullptr) {
        Search();
        return;
    }
    const int64_t count = std::min(selection->highest - selection->lowest + 1, kSelectionBytesUsed);
    const uint8_t* bytes = target_.Data() + selection->lowest;
    state_.history.AddToHistory(TypedTextFor(bytes, count), std::numeric_limits<size_t>::max());

    char head[16];
    std::snprintf(head, sizeof head, "%c:0x%04X", AllPrintable(bytes, count) ? 'T' : 'U', static_cast<unsigned>(count));
    std::string entry = head;
    entry += (state_.flags & kSearchIgnoreCase) ? " /G " : "    ";
    entry += ":" + HexWithBlanks(bytes, count);
    state_.pattern = MultiString::FromList({std::to_string(count), entry});

    target_.SetCursorOffset(selection->lowest);
    FindNext();
}

}  // namespace qv
