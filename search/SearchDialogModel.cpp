// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchDialogModel.h"

#include <algorithm>
#include <array>

#include "common/Expression.h"
#include "search/SearchEntry.h"
#include "search/ValueText.h"

namespace qv {
namespace {

bool IsBlankText(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

int KindOf(const std::string& text)
{
    auto kind = ClassifyValueText(text);
    return kind ? static_cast<int>(*kind) : -1;
}

bool ForcesVariable(int kind) { return kind >= static_cast<int>(ValueKind::Text) && kind <= static_cast<int>(ValueKind::BitMask); }

const char* PrefixOf(int kind)
{
    switch (static_cast<ValueKind>(kind)) {
    case ValueKind::Hex: return "0x";
    case ValueKind::Binary: return "0b";
    case ValueKind::Octal: return "0o";
    case ValueKind::Text: return "\"";
    case ValueKind::HexDump:
    case ValueKind::BitMask: return ":";
    default: return nullptr;
    }
}

}  // namespace

SearchDialogModel::SearchDialogModel(SearchState& state, std::string initialText)
    : state_(state), initialText_(std::move(initialText)), width_(state.width)
{
    for (size_t i = 0; i < state.history.Count() && historyLines_.size() < kMaxHistory; ++i)
        historyLines_.emplace_back(*state.history.Get(i));
    text_ = initialText_.empty() && !historyLines_.empty() ? historyLines_.front() : initialText_;
    text_.resize(std::min(text_.size(), kMaxTypedText));
    kind_ = KindOf(text_);
    ForceWidthForKind();

    const uint32_t f = state.flags;
    options_ = {(f & kSearchBackward) != 0,    (f & kSearchInSelection) != 0, (f & kSearchWholeMemory) != 0,
                (f & kSearchIgnoreCase) != 0,  (f & kSearchGroup) != 0,       (f & kSearchGroupOrdered) != 0,
                (f & kSearchFromStart) != 0,   (f & kSearchUnicode) != 0,     (f & kSearchBigEndian) != 0};
    held_ = options_;

    int64_t range = 0;
    if (auto stored = state.groupList.Get(0)) EvaluateExpression64(*stored, range);
    rangeText_ = std::to_string(range > 0 ? range : kDefaultGroupRange);
    for (size_t i = 1; i < state.groupList.Count() && lines_.size() < kMaxGroupValues; ++i)
        lines_.emplace_back(*state.groupList.Get(i));
}

void SearchDialogModel::ForceWidthForKind()
{
    if (ForcesVariable(kind_)) width_ = ValueWidth::Variable;
}

void SearchDialogModel::TypeText(const std::string& text)
{
    text_ = text.substr(0, kMaxTypedText);
    if (int kind = KindOf(text_); kind >= 0) kind_ = kind;
    ForceWidthForKind();
}

// A new kind or width rewrites the text: an empty one becomes the kind's prefix, any
// other is read with the old width and written in the new kind.
void SearchDialogModel::RewriteForKind(int newKind, ValueWidth widthBefore)
{
    if (IsBlankText(text_)) {
        if (const char* prefix = PrefixOf(newKind)) text_ = prefix;
    } else if (newKind >= 0) {
        std::array<uint8_t, kMaxValueBytes + 8> bytes{};
        size_t count = ParseValueText(text_, bytes.data(), static_cast<size_t>(MaxBytesOf(widthBefore)));
        text_ = FormatValueText(bytes.data(), count, static_cast<ValueKind>(newKind), kMaxTypedText);
    }
    kind_ = newKind;
    ForceWidthForKind();
}

void SearchDialogModel::ClickKind(ValueKind kind)
{
    RewriteForKind(static_cast<int>(kind), width_);
    ReadBackOptions();
}

void SearchDialogModel::ClickWidth(ValueWidth width)
{
    const ValueWidth before = width_;
    width_ = width;
    RewriteForKind(kind_, before);
    ReadBackOptions();
}

void SearchDialogModel::ClickDirection(bool backward)
{
    options_.backward = backward;
    ReadBackOptions();
}

void SearchDialogModel::ClickInSelection(bool on)
{
    options_.inSelection = on;
    if (on) options_.fromStart = false;
    ReadBackOptions();
}

void SearchDialogModel::ClickFromStart(bool on)
{
    options_.fromStart = on;
    if (on) options_.inSelection = false;
    ReadBackOptions();
}

void SearchDialogModel::ClickGroup(bool on)
{
    options_.group = on;
    ReadBackOptions();
}

bool SearchDialogModel::DirectionEnabled() const
{
    return !options_.fromStart && !(options_.inSelection && SelectionExists());
}

bool SearchDialogModel::BigEndianEnabled() const
{
    return kind_ >= 0 && IsNumberKind(static_cast<ValueKind>(kind_)) &&
           (width_ == ValueWidth::Word || width_ == ValueWidth::DWord);
}

bool SearchDialogModel::AddEnabled() const
{
    return options_.group && !text_.empty() && lines_.size() < kMaxGroupValues;
}

void SearchDialogModel::SelectLines(std::set<size_t> lines, int caretLine)
{
    selectedLines_.clear();
    for (size_t line : lines)
        if (line < lines_.size()) selectedLines_.insert(line);
    caretLine_ = caretLine >= 0 && static_cast<size_t>(caretLine) < lines_.size() ? caretLine : -1;
}

std::optional<std::string> SearchDialogModel::EntryForText() const
{
    ValueInput input{text_, kind_, width_, options_.ignoreCase, options_.unicode, options_.bigEndian};
    return BuildSearchEntry(input, ClassifyValueText(initialText_));
}

void SearchDialogModel::Add()
{
    if (!AddEnabled()) return;
    ReadBackOptions();
    if (!text_.empty()) state_.history.AddToHistory(text_, kMaxHistory);
    if (auto entry = EntryForText()) lines_.push_back(*entry);
}

void SearchDialogModel::DeleteSelected()
{
    ReadBackOptions();
    for (auto it = selectedLines_.rbegin(); it != selectedLines_.rend(); ++it) lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(*it));
    selectedLines_.clear();
    caretLine_ = -1;
}

void SearchDialogModel::DeleteAll()
{
    ReadBackOptions();
    lines_.clear();
    selectedLines_.clear();
    caretLine_ = -1;
}

// The caret line moves by one; at the top it goes to the end (and the other way round).
void SearchDialogModel::MoveUp()
{
    if (!MoveEnabled() || caretLine_ < 0) return;
    size_t from = static_cast<size_t>(caretLine_);
    std::string line = lines_[from];
    lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(from));
    size_t to = from == 0 ? lines_.size() : from - 1;
    lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(to), line);
    SelectLines({to}, static_cast<int>(to));
}

void SearchDialogModel::MoveDown()
{
    if (!MoveEnabled() || caretLine_ < 0) return;
    size_t from = static_cast<size_t>(caretLine_);
    std::string line = lines_[from];
    lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(from));
    size_t to = from == lines_.size() ? 0 : from + 1;
    lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(to), line);
    SelectLines({to}, static_cast<int>(to));
}

void SearchDialogModel::ReadBackLine(size_t index)
{
    if (index >= lines_.size()) return;
    const std::string& line = lines_[index];
    EntryReadBack back = ReadBackSearchEntry(line);
    TypeText(back.text);
    if (back.width) width_ = *back.width;
    if (back.ignoreCase) options_.ignoreCase = *back.ignoreCase;
    // The entry's letter and " /B" tell how it was built; take them over so that adding
    // the value again gives the same entry.
    size_t letter = line.find_first_not_of(" \t");
    if (letter != std::string::npos && (line[letter] == 'T' || line[letter] == 'N')) options_.unicode = line[letter] == 'N';
    if (kind_ >= 0 && IsNumberKind(static_cast<ValueKind>(kind_))) {
        size_t dump = line.find(':', line.find(':') + 1);
        options_.bigEndian = line.substr(0, dump).find("/B") != std::string::npos;
    }
    ReadBackOptions();
}

uint32_t SearchDialogModel::FlagsFrom(const Options& o) const
{
    uint32_t flags = 0;
    if (o.backward) flags |= kSearchBackward;
    if (o.inSelection) flags |= kSearchInSelection;
    if (o.wholeMemory) flags |= kSearchWholeMemory;
    if (o.ignoreCase) flags |= kSearchIgnoreCase;
    if (o.group) flags |= kSearchGroup;
    if (o.groupOrdered) flags |= kSearchGroupOrdered;
    if (o.fromStart) flags |= kSearchFromStart;
    if (o.unicode) flags |= kSearchUnicode;
    if (o.bigEndian) flags |= kSearchBigEndian;
    return flags;
}

bool SearchDialogModel::Accept(bool searchAgain)
{
    int64_t range = 0;
    bool ok = false;
    EvaluateExpression64(rangeText_, range, &ok);
    if (!ok || IsBlankText(rangeText_)) {
        error_ = "Geben Sie bitte eine ganze Zahl ein.";
        return false;
    }
    error_.clear();
    ReadBackOptions();
    if (!text_.empty()) state_.history.AddToHistory(text_, kMaxHistory);

    MultiString groupList;
    groupList.Insert(0, std::to_string(range));
    for (const std::string& line : lines_) groupList.Insert(groupList.Count(), line);
    state_.groupList = groupList;

    if (options_.group) {
        state_.pattern = groupList;
    } else if (auto entry = EntryForText()) {
        state_.pattern = MultiString::FromList({"0", *entry});
    } else {
        state_.pattern.Clear();  // a value without bytes leaves nothing to search for
    }
    state_.width = width_;
    state_.flags = FlagsFrom(options_);
    result_ = searchAgain ? kResultSearchAgain : kResultOk;
    return true;
}

void SearchDialogModel::Cancel()
{
    state_.flags = FlagsFrom(held_);
    result_ = kResultCancel;
}

std::optional<DialogPosition> SearchDialogModel::PlacementOn(int screenWidth, int screenHeight) const
{
    const auto& p = state_.dialogPosition;
    if (!p || p->x < -99 || p->x > screenWidth - 101 || p->y < -9 || p->y > screenHeight - 101) return std::nullopt;
    return p;
}

}  // namespace qv
