// SPDX-License-Identifier: GPL-3.0-or-later
// Commands 32828 "Ausschnitt einblenden", 32831 "Base64 einfügen", 32866 "GUID einfügen" and
// 32867 "Dateipfad kopieren" of the document.
#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "document/HexDoc.h"
#include "document/SectionDialog.h"
#include "document/UtilityCommands.h"
#include "view/HexView.h"

namespace qv {
namespace {

constexpr int kShowSection = 32828;
constexpr int kInsertBase64 = 32831;
constexpr int kInsertGuid = 32866;
constexpr int kCopyFilePath = 32867;

void ShowSection(AppContext& context)
{
    if (context.document && context.view && context.dialogs)
        ShowSectionDialog(*context.document, *context.view, *context.dialogs);
}

void Base64(AppContext& context)
{
    if (context.view && context.clipboard && context.prompt)
        InsertBase64(*context.view, *context.clipboard, *context.prompt);
}

void Guid(AppContext& context)
{
    if (context.view && context.dialogs && context.prompt) InsertGuid(*context.view, *context.dialogs, *context.prompt);
}

void FilePath(AppContext& context)
{
    if (context.document && context.clipboard) CopyFilePath(*context.document, *context.clipboard);
}

// No memory-mapped file, a writable document and bytes to write on.
CommandState CanWriteInPlace(AppContext& context)
{
    const CHexDoc* document = context.document;
    const bool can = document && context.view && !document->IsMapped() && document->ViewFlags() != 0 &&
                     context.view->Length() != 0;
    return {can, false};
}

CommandState HasPath(AppContext& context)
{
    return {context.document && !context.document->PathName().empty(), false};
}

}  // namespace

QV_GUI_COMMAND(kShowSection, ShowSection);  // always enabled
QV_GUI_COMMAND(kInsertBase64, Base64, CanWriteInPlace);
QV_GUI_COMMAND(kInsertGuid, Guid, CanWriteInPlace);
QV_GUI_COMMAND(kCopyFilePath, FilePath, HasPath);

}  // namespace qv
