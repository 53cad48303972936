// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document's commands that write the bytes at the selection or cursor without typing:
// 32831 "Base64 einfügen" and 32866 "GUID einfügen", and 32867 "Dateipfad kopieren". Both
// writes overwrite in place, never past the end of the document, as one undo step that
// sets the changed mark.
#include "platform/Clipboard.h"
#include "platform/DialogService.h"
#include "platform/Prompt.h"

namespace qv {

class CHexDoc;
class CHexView;

// Decodes the clipboard's Base64 text over the selection (or from the cursor to the end).
void InsertBase64(CHexView& view, IClipboard& clipboard, IPrompt& prompt);
// Shows the 16 bytes at the selection or cursor as a GUID and writes the one typed back.
void InsertGuid(CHexView& view, IDialogService& dialogs, IPrompt& prompt);
// The document's full path as clipboard text; nothing for an untitled document.
void CopyFilePath(const CHexDoc& document, IClipboard& clipboard);

}  // namespace qv
