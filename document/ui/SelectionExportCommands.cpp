// SPDX-License-Identifier: GPL-3.0-or-later
// Commands 32830 "Speichere als C-Datei" and 32829 "Speichere &Markierung": the selected
// bytes of the view, saved through SelectionExport.
#include <memory>

#include "app/AppContext.h"
#include "app/CommandRegistry.h"
#include "document/HexDoc.h"
#include "document/SelectionExport.h"
#include "view/HexView.h"

namespace qv {
namespace {

constexpr int kSaveSelectionAsText = 32830;
constexpr int kSaveSelection = 32829;

// One exporter for the run: it remembers the name chosen for source text.
SelectionExport& Exporter(AppContext& context)
{
    static std::unique_ptr<SelectionExport> exporter;
    if (!exporter)
        exporter = std::make_unique<SelectionExport>(
            SelectionExportServices{context.prompt, context.dialogs, context.settings, nullptr});
    return *exporter;
}

SelectedBytes Selection(const AppContext& context)
{
    if (!context.view || !context.view->HasSelection()) return {};
    int32_t start = 0, length = 0;
    if (!context.view->GetSelectionRange(&start, &length, false, static_cast<int32_t>(SelectionExport::kMaxBytes)))
        return {};
    const uint8_t* data = context.view->GetBuffer(nullptr, nullptr);
    if (!data || length <= 0) return {};
    return {data + start, static_cast<size_t>(length)};
}

std::string DocumentPath(const AppContext& context)
{
    return context.document ? context.document->PathName() : std::string();
}

void SaveAsText(AppContext& context)
{
    Exporter(context).SaveSelectionAsText(Selection(context), DocumentPath(context));
}

void SaveBytes(AppContext& context)
{
    Exporter(context).SaveSelection(Selection(context), DocumentPath(context));
}

CommandState WhileSelected(AppContext& context)
{
    return {context.view && context.view->HasSelection(), false};
}

}  // namespace

QV_GUI_COMMAND(kSaveSelectionAsText, SaveAsText, nullptr);  // always enabled
QV_GUI_COMMAND(kSaveSelection, SaveBytes, WhileSelected);

}  // namespace qv
