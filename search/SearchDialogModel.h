// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Wert suchen": the typed value with its kind and width, the search options,
// the group list and its buttons, and what each way of closing does to the search state.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/DialogService.h"
#include "search/SearchState.h"
#include "search/ValueKind.h"

namespace qv {

class SearchDialogModel : public DialogModel {
public:
    static constexpr const char* kName = "WertSuchen";
    // Results of the dialog.
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;
    static constexpr int kResultSearchAgain = 0x8001;  // bit 15: open the dialog again after searching

    // The state's flags must carry kSearchSelectionExists when the view has a selection.
    SearchDialogModel(SearchState& state, std::string initialText);
    const char* DialogName() const override { return kName; }

    // Options as the dialog's controls hold them.
    struct Options {
        bool backward = false;
        bool inSelection = false;
        bool wholeMemory = false;
        bool ignoreCase = false;
        bool group = false;
        bool groupOrdered = false;
        bool fromStart = false;
        bool unicode = false;
        bool bigEndian = false;
    };

    // --- the value ---
    const std::string& Text() const { return text_; }
    // Typing in the combo box or picking a history line.
    void TypeText(const std::string& text);
    const std::vector<std::string>& HistoryLines() const { return historyLines_; }
    int Kind() const { return kind_; }  // 0..6, or -1 while the text is empty
    ValueWidth Width() const { return width_; }
    void ClickKind(ValueKind kind);
    void ClickWidth(ValueWidth width);

    // --- options ---
    const Options& Current() const { return options_; }
    void ClickDirection(bool backward);
    void ClickInSelection(bool on);
    void ClickGroup(bool on);
    void ClickFromStart(bool on);
    // Plain check boxes, read only when the dialog closes with OK or "Weitersuchen".
    void SetWholeMemory(bool on) { options_.wholeMemory = on; }
    void SetIgnoreCase(bool on) { options_.ignoreCase = on; }
    void SetGroupOrdered(bool on) { options_.groupOrdered = on; }
    void SetUnicode(bool on) { options_.unicode = on; }
    void SetBigEndian(bool on) { options_.bigEndian = on; }
    const std::string& RangeText() const { return rangeText_; }
    void SetRangeText(const std::string& text) { rangeText_ = text; }

    // --- enabling ---
    bool SelectionExists() const { return (state_.flags & kSearchSelectionExists) != 0; }
    bool DirectionEnabled() const;
    bool InSelectionEnabled() const { return SelectionExists(); }
    bool BigEndianEnabled() const;
    bool TextOptionsEnabled() const { return kind_ == static_cast<int>(ValueKind::Text); }
    bool GroupShown() const { return options_.group; }
    bool AddEnabled() const;
    bool DeleteEnabled() const { return !selectedLines_.empty(); }
    bool DeleteAllEnabled() const { return !lines_.empty(); }
    bool MoveEnabled() const { return lines_.size() >= 2; }

    // --- the group list ---
    const std::vector<std::string>& Lines() const { return lines_; }
    const std::set<size_t>& SelectedLines() const { return selectedLines_; }
    int CaretLine() const { return caretLine_; }
    void SelectLines(std::set<size_t> lines, int caretLine);
    void Add();
    void DeleteSelected();
    void DeleteAll();
    void MoveUp();
    void MoveDown();
    void ReadBackLine(size_t index);

    // --- closing ---
    // OK (searchAgain false) or "Weitersuchen": false when the dialog must stay open;
    // ErrorText() then tells why.
    bool Accept(bool searchAgain);
    void Cancel();
    int Result() const { return result_; }
    const std::string& ErrorText() const { return error_; }

    // Where to place the dialog on a screen of this size: the position it was last closed
    // at, when that still lies reasonably on the screen; nothing to centre it.
    std::optional<DialogPosition> PlacementOn(int screenWidth, int screenHeight) const;
    void RememberPosition(DialogPosition position) { state_.dialogPosition = position; }

private:
    // The option values the dialog holds: the controls as an action last read them.
    void ReadBackOptions() { held_ = options_; }
    void RewriteForKind(int newKind, ValueWidth widthBefore);
    void ForceWidthForKind();
    uint32_t FlagsFrom(const Options& options) const;
    std::optional<std::string> EntryForText() const;

    SearchState& state_;
    std::string initialText_;
    std::string text_;
    std::vector<std::string> historyLines_;
    int kind_ = -1;
    ValueWidth width_;
    Options options_;
    Options held_;
    std::string rangeText_;
    std::vector<std::string> lines_;
    std::set<size_t> selectedLines_;
    int caretLine_ = -1;
    int result_ = kResultCancel;
    std::string error_;
};

}  // namespace qv
