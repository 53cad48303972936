// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/UtilityCommands.h"

#include <algorithm>
#include <vector>

#include "common/Base64.h"
#include "common/ClipboardText.h"
#include "common/FormatText.h"
#include "document/GuidText.h"
#include "document/HexDoc.h"
#include "document/TextInputDialog.h"
#include "view/HexView.h"

namespace qv {

namespace {

constexpr int64_t kMaxTarget = 0x400000;

// The bytes a command works on: from the selection's first byte (or the cursor) for the
// selection's length (or to the end), never past the end.
struct Target {
    int64_t start = 0;
    int64_t length = 0;
    bool selected = false;
};

Target TargetOf(const CHexView& view)
{
    Target target;
    target.selected = view.GetSelectionRange(&target.start, &target.length, false, kMaxTarget) != 0;
    const int64_t room = std::max<int64_t>(view.Length() - target.start, 0);
    target.length = target.selected ? std::min(target.length, room) : room;
    return target;
}

}  // namespace

void InsertBase64(CHexView& view, IClipboard& clipboard, IPrompt& prompt)
{
    if (view.IsReadOnly()) return;
    const Target target = TargetOf(view);
    const std::optional<std::string> text = GetClipboardText(clipboard);
    if (!text) return;
    const size_t size = Base64DecodedSize(*text);
    if (size > static_cast<size_t>(std::max<int64_t>(view.Length() - target.start, 0))) {
        const std::string question =
            FormatTextString("Die %i Byte des Base64-Strings passen nicht vollstänig in den Speicherbereich !",
                             static_cast<int>(std::min<size_t>(size, INT32_MAX)));
        if (prompt.Show(question, "Warnung", PromptIcon::Warning, PromptButtons::OkCancel, PromptAnswer::Ok) !=
            PromptAnswer::Ok)
            return;
    }
    // Room for what the text holds, never more than the target (which may be a whole map).
    std::vector<uint8_t> bytes(std::min(static_cast<size_t>(target.length), size));
    bytes.resize(Base64Decode(bytes.data(), bytes.size(), *text));
    const int64_t written = view.OverwriteBytes(target.start, bytes.data(), static_cast<int64_t>(bytes.size()));
    view.RepaintNow();
    prompt.Tell(FormatTextString("Es wurden %i Bytes eingefügt.", static_cast<int>(written)), PromptIcon::Information,
                "Information");
}

void InsertGuid(CHexView& view, IDialogService& dialogs, IPrompt& prompt)
{
    if (view.IsReadOnly()) return;
    const Target target = TargetOf(view);
    GuidBytes guid{};
    view.CopyBytesAtCursor(guid.data(), std::min<int64_t>(target.length, 16));

    TextInputDialog dialog;
    dialog.caption = "GUID einfügen";
    dialog.prompt = "GUID im Format {nnnnnnnn-nnnn-nnnn-nnnn-nnnnnnnnnnnn} oder 0x12345678,0x1234,0x1234,0x11,0x22... :";
    dialog.text = GuidRegistryText(guid) + "  " + GuidInitialiserText(guid);
    dialog.maxLength = 250;
    if (!dialogs.Run(dialog)) return;
    const std::optional<GuidBytes> answer = ParseGuidAnswer(dialog.text);
    if (!answer) {
        prompt.Tell("Die GUID konnte nicht erstellen !", PromptIcon::Error, "Fehler");
        return;
    }
    const int64_t written = view.OverwriteBytes(target.start, answer->data(), 16);
    if (target.selected && written > 0 && target.length != written) {
        view.SetCursorOffset(static_cast<uint64_t>(target.start), false);
        view.SelectTo(static_cast<uint64_t>(target.start + written), false);
    }
    view.RepaintNow();
}

void CopyFilePath(const CHexDoc& document, IClipboard& clipboard)
{
    // The file system's name as it is: the copied path names the file, whatever its characters.
    if (!document.PathName().empty()) clipboard.SetUtf8Text(document.PathName());
}

}  // namespace qv
