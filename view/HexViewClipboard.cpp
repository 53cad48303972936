// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: the clipboard commands (copy in three text forms, paste as a value or a dump)
// and the number typed in "Zahlen eingabe".
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/CText.h"
#include "common/ClipboardText.h"
#include "common/HexText.h"
#include "document/CTextGenerator.h"
#include "document/NumberEntryDialog.h"
#include "document/NumberEntrySettings.h"
#include "search/ValueText.h"
#include "view/HexView.h"

namespace qv {

namespace {

constexpr int64_t kMaxCopyBytes = 4194304;
constexpr int64_t kMaxCopyTextBytes = 32768;
constexpr const char* kReadOnlyMessage = "Die Daten sind schreibgeschützt !";

// The free-form dump of the paste-dump command: C prefixes, separators and line ends become
// blanks, so «0x12, 0x34» and «12:34» both read as 12 34.
std::vector<uint8_t> ReadPastedDump(std::string text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first != std::string::npos && text.size() > first + 1 && text[first] == '0' &&
        (text[first + 1] == 'x' || text[first + 1] == 'X')) {
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) text[i] = text[i + 1] = ' ';
    }
    for (char& c : text)
        if (c == ',' || c == ':' || c == '\n' || c == '\r' || static_cast<uint8_t>(c) == 0xA0) c = ' ';
    std::vector<uint8_t> bytes(text.size() / 2 + 1);
    bytes.resize(HexDumpToBytes(bytes.data(), bytes.size(), text));
    return bytes;
}

std::vector<uint8_t> ReadPastedValue(const std::string& text)
{
    std::vector<uint8_t> bytes(text.size() + 8);  // a number gives 8 bytes even from a short text
    bytes.resize(ParseLongValueText(text, bytes.data(), text.size()));
    return bytes;
}

}  // namespace

int64_t CHexView::OverwriteBytes(int64_t offset, const uint8_t* bytes, int64_t count)
{
    if (offset < 0) return 0;
    const int64_t written = RecordOverwrite(offset, count, false);
    if (written <= 0) return 0;
    BytesChanging(offset, written, bytes, written);
    std::memcpy(buffer_.Data() + offset, bytes, static_cast<size_t>(written));
    hexFlags_ |= FlagModified;
    InvalidateOffsets(offset, offset + written - 1);
    Redraw();
    UpdateStatus();
    return written;
}

std::vector<uint8_t> CHexView::SelectedBytes(int64_t cap) const
{
    const std::optional<ByteRange> selected = SelectedRange();
    if (!selected) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(std::clamp<int64_t>(selected->length, 0, cap)));
    bytes.resize(static_cast<size_t>(CopySelectionBytes(bytes.data(), static_cast<int64_t>(bytes.size()))));
    return bytes;
}

void CHexView::TellIfCopyWasCut(int64_t cap) const
{
    const std::optional<ByteRange> selected = SelectedRange();
    if (!selected || selected->length <= cap || !statusPanes_) return;
    statusPanes_->ShowMessage("Nur " + std::to_string(cap) + " von " + std::to_string(selected->length) +
                              " Bytes kopiert.");
}

void CHexView::CopyToClipboard(IClipboard& clipboard) const
{
    const std::vector<uint8_t> selected = SelectedBytes(kMaxCopyBytes);
    if (selected.empty()) return;
    const uint8_t* start = selected.data();
    const size_t n = selected.size();
    const bool plain = layout_.activeArea == AreaText && std::none_of(start, start + n, [](uint8_t c) { return c < 0x20; });
    if (plain) {
        SetClipboardText(clipboard, std::string_view(reinterpret_cast<const char*>(start), n));
        return TellIfCopyWasCut(kMaxCopyBytes);
    }
    // The hex dump value text («:01 23 45»), written straight into a text of its exact size.
    std::string dump(3 * n, '\0');
    dump.resize(BytesToHexText(start, dump.data(), dump.size(), n,
                               kHexLeadingColon | HexSeparator(' ') | kHexNoTrailingSeparator));
    SetClipboardText(clipboard, dump);
    TellIfCopyWasCut(kMaxCopyBytes);
}

void CHexView::PasteFromClipboard(IClipboard& clipboard, bool asDump)
{
    if (IsReadOnly()) return Beep();
    // No text, text that cannot be read as bytes, or an owner that did not answer: the
    // command was offered, so the user hears that nothing came.
    const std::optional<std::string> text = GetClipboardText(clipboard);
    if (!text) return Beep();
    std::vector<uint8_t> bytes = asDump ? ReadPastedDump(*text) : ReadPastedValue(*text);

    int64_t target = cursorOffset_;
    int64_t count = static_cast<int64_t>(bytes.size());
    if (HasSelection()) {
        target = std::min(marks_[0].first, marks_[0].last);
        count = std::min<int64_t>(count, std::abs(marks_[0].last - marks_[0].first) + 1);
    }
    const int64_t length = buffer_.Length();
    UndoRecord record;
    if (InsertActive() && target <= length) {
        if (count <= 0 || !InsertBytes(target, count)) return Beep();
        record.kind = UndoInserted;
    } else {
        if (target >= length) return;
        count = std::min(count, length - target);
        if (count <= 0) return;
    }
    record.offset = target;
    record.count = count;
    record.data.assign(bytes.begin(), bytes.begin() + count);
    if (record.kind == UndoOverwrite)
        record.changesBytes = !std::equal(record.data.begin(), record.data.end(), buffer_.Data() + target);
    if (record.changesBytes) {
        BytesChanging(target, count, record.data.data(), count);
        hexFlags_ |= FlagModified;
    }
    std::swap_ranges(record.data.begin(), record.data.end(), buffer_.Data() + target);
    InvalidateOffsets(target, target + count - 1);
    UpdateScroll(0);  // an insertion may have added rows
    Redraw();
    UpdateStatus();
    CommitUndo(std::move(record));
}

void CHexView::CopyAsCString(IClipboard& clipboard) const
{
    const std::vector<uint8_t> selected = SelectedBytes(kMaxCopyTextBytes);
    if (selected.empty()) return;
    // Room for the longest form of every byte: the whole selection reaches the clipboard.
    std::string text(selected.size() * 5 + 3, '\0');
    text.resize(BytesToCString(text.data(), text.size(), selected.data(), selected.size(),
                               kCStringNoQuotes | kCStringTwoDigitHex));
    SetClipboardText(clipboard, text);
    TellIfCopyWasCut(kMaxCopyTextBytes);
}

void CHexView::CopyAsSource(IClipboard& clipboard, IDialogService& dialogs, const SettingsStores& stores,
                            ITimerService* timers) const
{
    if (!HasSelection()) return;
    NumberEntrySettings settings = NumberEntrySettings::Load(stores);
    const std::vector<uint8_t> selected = SelectedBytes(kMaxCopyTextBytes);
    const uint8_t* bytes = selected.data();
    const size_t n = selected.size();

    NumberEntryDialog dialog;
    dialog.caption = "Kopiere im C++ Format";
    dialog.label = "Spaltenbreite";
    dialog.withFormatGroup = true;
    settings.ApplyTo(dialog);
    dialog.SetPreviewData(bytes, n, timers);
    if (!dialogs.Run(dialog)) return;
    settings.TakeFrom(dialog);
    if (stores.user) settings.Save(*stores.user);

    const size_t count = n;
    const size_t size = (count / static_cast<size_t>(settings.valueSize) + 2 * count) * 4 + 20;
    std::string text(size, '\0');
    const int format = settings.format | (dialog.BigEndian() ? kCTextBigEndian : 0);
    text.resize(GenerateCText(bytes, count, settings.valueSize, format, settings.LineSize8(), text.data(), size));
    SetClipboardText(clipboard, text);
    TellIfCopyWasCut(kMaxCopyTextBytes);
}

void CHexView::InsertNumber(IDialogService& dialogs)
{
    int64_t selected = 0;
    const auto start = static_cast<int64_t>(GetSelection(false, &selected));
    const int size = selected > 0 ? static_cast<int>(std::min<int64_t>(selected, 8)) : 4;
    uint8_t bytes[8] = {};
    CopyBytesAtCursor(bytes, size);
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];

    NumberEntryDialog dialog;
    dialog.SetNumber(static_cast<int64_t>(value), true);
    // The size choice closest below a selection of 3, 5, 6 or 7 bytes: nothing past it is written.
    dialog.ChangeValueSize(size >= 8 ? 8 : size >= 4 ? 4 : size >= 2 ? 2 : 1);
    if (!dialogs.Run(dialog)) return;

    if (start >= buffer_.Length()) return;
    if (IsReadOnly()) {
        if (prompt_) prompt_->Tell(kReadOnlyMessage, PromptIcon::None);
        return;
    }
    const int count = dialog.ValueSize();
    const uint64_t number = static_cast<uint64_t>(dialog.Number());
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(number >> (8 * i));
    if (dialog.BigEndian()) std::reverse(bytes, bytes + count);
    OverwriteBytes(start, bytes, count);
}

}  // namespace qv
