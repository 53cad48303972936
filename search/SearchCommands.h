// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hex view's search commands: "&Suchen" (57636) opens "Wert suchen" and searches,
// "&Weitersuchen" (32771) finds the next occurrence of the active pattern, "&Bereich
// suchen" (32774) finds the next occurrence of the selected bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogService.h"
#include "platform/LongTask.h"
#include "platform/Prompt.h"
#include "search/SearchState.h"
#include "search/SearchTarget.h"

namespace qv {

inline constexpr int kCommandSearch = 57636;
inline constexpr int kCommandFindNext = 32771;
inline constexpr int kCommandFindSelection = 32774;

inline constexpr const char* kNotFoundText = "Bereich wurde nicht gefunden !";
inline constexpr const char* kWrapQuestion = "Ende erreicht. Am Anfang weiter suchen ?";
// What the progress dialog of a long search says.
inline constexpr const char* kSearchTaskTitle = "Suche läuft …";

// FindAndShow's result when the user stopped the search: nothing changed.
inline constexpr int64_t kSearchCancelled = -2;

// Where the dialog search runs: its start positions, and whether it continues from the
// other end of the document when nothing is found.
struct SearchPlan {
    int64_t start = 0;
    int64_t count = 0;
    bool wrap = false;
    int64_t wrapStart = 0;
    int64_t wrapCount = 0;
};
SearchPlan PlanDialogSearch(uint32_t flags, int64_t cursor, int64_t length,
                            std::optional<ISearchTarget::Range> selection);

class SearchCommands {
public:
    SearchCommands(ISearchTarget& target, IPrompt& prompt, IDialogService& dialogs, ILongTaskRunner& runner,
                   SearchState& state)
        : target_(target), prompt_(prompt), dialogs_(dialogs), runner_(runner), state_(state)
    {
    }

    void Search();
    void FindNext();
    void FindSelection();
    // "&Weitersuchen" is enabled only while there is an active pattern.
    static bool CanFindNext(const SearchState& state) { return !state.pattern.IsAbsent(); }

    // Finds the active pattern over the run of start positions as long work and shows what
    // it found: marks, cursor, selection and scrolling. Returns the first value's position,
    // -1, or kSearchCancelled (cursor, selection and marks are then as they were).
    int64_t FindAndShow(int64_t start, int64_t count);

    // The dialog's initial text for the selected bytes (their first 64).
    std::string InitialTextFromSelection() const;

private:
    // "&Weitersuchen" from the cursor position `cursor`; with `placeCursor` the cursor is
    // put there once the first pass found nothing.
    void FindNextFrom(int64_t cursor, bool placeCursor);
    void ScrollMatchIntoView(int64_t start, int length);
    // The lowest up to 64 selected bytes.
    std::vector<uint8_t> SelectedBytes(const ISearchTarget::Range& selection) const;

    ISearchTarget& target_;
    IPrompt& prompt_;
    IDialogService& dialogs_;
    ILongTaskRunner& runner_;
    SearchState& state_;
};

}  // namespace qv
