// SPDX-License-Identifier: GPL-3.0-or-later
// Commands 32830 "Speichere als C-Datei" and 32829 "Speichere &Markierung": the selected
// bytes of the view, saved through SelectionExport.
#include <memory>
#include <vector>

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

// The selected bytes (at most the export's limit), read through the view's byte source.
std::vector<uint8_t> Selection(const AppContext& context)
{
    if (!context.view) return {};
    return context.view->SelectedBytes(static_cast<int64_t>(SelectionExport::kMaxBytes));
}

std::string DocumentPath(const AppContext& context)
{
    return context.document ? context.document->PathName() : std::string();
}

void SaveAsText(AppContext& context)
{
    const std::vector<uint8_t> bytes = Selection(context);
    Exporter(context).SaveSelectionAsText({bytes.data(), bytes.size()}, DocumentPath(context));
}

void SaveBytes(AppContext& context)
{
    const std::vector<uint8_t> bytes = Selection(context);
    Exporter(context).SaveSelection({bytes.data(), bytes.size()}, DocumentPath(context));
}

CommandState WhileSelected(AppContext& context)
{
    return {context.view && context.view->HasSelection(), false};
}

}  // namespace

QV_GUI_COMMAND(kSaveSelectionAsText, SaveAsText, nullptr);  // always enabled
QV_GUI_COMMAND(kSaveSelection, SaveBytes, WhileSelected);

}  // namespace qv
