// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchCommands.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "common/HexText.h"
#include "search/FindInSource.h"
#include "search/SearchDialogModel.h"
#include "search/ValueText.h"

namespace qv {
namespace {

constexpr int64_t kSelectionBytesUsed = 64;
constexpr int kMarkedValues = 8;

bool AllPrintable(const std::vector<uint8_t>& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b >= 0x20 && b <= 0x7F; });
}

// Each byte as two hex digits followed by one blank (also after the last).
std::string HexWithBlanks(const std::vector<uint8_t>& bytes)
{
    return BytesToHexText(bytes.data(), bytes.size(), HexSeparator(' '));
}

// The bytes as a typed text: quoted (with '"' and '\' escaped, so that the text reads
// back as the same bytes) when all are printable, else as a dump.
std::string TypedTextFor(const std::vector<uint8_t>& bytes)
{
    if (AllPrintable(bytes)) return FormatValueText(bytes.data(), bytes.size(), ValueKind::Text, kMaxTypedText);
    return ":" + HexWithBlanks(bytes);
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

std::vector<uint8_t> SearchCommands::SelectedBytes(const ISearchTarget::Range& selection) const
{
    const int64_t count = std::min(selection.highest - selection.lowest + 1, kSelectionBytesUsed);
    std::vector<uint8_t> scratch;
    const std::span<const uint8_t> bytes = target_.Bytes().Window(selection.lowest, count, scratch);
    return {bytes.begin(), bytes.end()};
}

std::string SearchCommands::InitialTextFromSelection() const
{
    auto selection = target_.Selection();
    if (!selection) return {};
    const std::vector<uint8_t> bytes = SelectedBytes(*selection);
    return bytes.empty() ? std::string() : TypedTextFor(bytes);
}

int64_t SearchCommands::FindAndShow(int64_t start, int64_t count)
{
    DecodedPattern pattern = DecodeSearchPattern(state_.pattern);
    int64_t found = -1;
    if (!pattern.values.empty()) {
        const IByteSource& bytes = target_.Bytes();
        const bool ordered = (state_.flags & kSearchGroupOrdered) != 0;
        const bool completed = runner_.Run(kSearchTaskTitle, [&](TaskProgress& progress) {
            found = FindValuesInSource(pattern, bytes, start, count, ordered, progress);
        });
        if (!completed) return kSearchCancelled;
    }
    target_.SetMark(-2, 0, 0);
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

        const SearchPlan plan = PlanDialogSearch(state_.flags, target_.CursorOffset(), target_.Bytes().Size(),
                                                 target_.Selection());
        int64_t found = FindAndShow(plan.start, plan.count);
        if (found == -1 && plan.wrap) found = FindAndShow(plan.wrapStart, plan.wrapCount);
        if (found == kSearchCancelled) return;
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
    FindNextFrom(target_.CursorOffset(), false);
}

void SearchCommands::FindNextFrom(int64_t cursor, bool placeCursor)
{
    const int64_t next = cursor + 1;
    int64_t found = FindAndShow(next, target_.Bytes().Size());
    if (found == kSearchCancelled) return;
    if (found < 0 && placeCursor) target_.SetCursorOffset(cursor);
    if (found < 0 && next > 0) {
        if (prompt_.Show(kWrapQuestion, kProgramCaption, PromptIcon::Question, PromptButtons::OkCancel,
                         PromptAnswer::Ok) != PromptAnswer::Ok)
            return;
        found = FindAndShow(0, next);
    }
    if (found == -1) prompt_.Tell(kNotFoundText, PromptIcon::Information);
}

void SearchCommands::FindSelection()
{
    auto selection = target_.Selection();
    const std::vector<uint8_t> bytes = selection ? SelectedBytes(*selection) : std::vector<uint8_t>();
    if (bytes.empty()) {
        Search();
        return;
    }
    state_.history.AddToHistory(TypedTextFor(bytes), std::numeric_limits<size_t>::max());

    char head[16];
    std::snprintf(head, sizeof head, "%c:0x%04X", AllPrintable(bytes) ? 'T' : 'U', static_cast<unsigned>(bytes.size()));
    std::string entry = head;
    entry += (state_.flags & kSearchIgnoreCase) ? " /G " : "    ";
    entry += ":" + HexWithBlanks(bytes);
    state_.pattern = MultiString::FromList({std::to_string(bytes.size()), entry});

    // The search starts from the lowest selected byte; the cursor goes there only when
    // nothing is found after it, so that a cancelled search leaves the selection alone.
    FindNextFrom(selection->lowest, true);
}

}  // namespace qv
