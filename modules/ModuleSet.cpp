// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ModuleSet.h"

#include "common/CodePage.h"
#include "modules/ErrorSink.h"

namespace qv {

const std::string* ValueTextList::Find(int32_t value) const
{
    for (const auto& entry : entries)
        if (entry.matchesAll || entry.value == value) return &entry.text;
    return nullptr;
}

ModuleSet::ModuleSet()
{
    for (int i = 0; i < kLocalCount; ++i) {
        StatementRecord local;
        local.name = "LOCAL_" + std::to_string(i);
        statements.push_back(std::move(local));
    }
}

void ModuleSet::ClearAll()
{
    statements.resize(kLocalCount);
    patterns.clear();
    valueTexts.clear();
    entryPoints.clear();
    modules.clear();
    for (int i = 0; i < kSlotCount; ++i) ClearSlot(i);
}

void ModuleSet::ReportError(std::string_view message, bool warning, bool messageIsUtf8)
{
    ++errorCount_;
    if (!sink_) return;
    std::string line = warning ? "Warnung(" : "Fehler(";
    line += std::to_string(lineNumber);
    line += ")\t";
    line += messageIsUtf8 ? Utf8ToCp1252(message) : std::string(message);
    line += "\r\n";
    sink_->Append(line);
}

std::string_view ModuleSet::EntryPointName(int i) const
{
    if (i < 0 || i >= static_cast<int>(entryPoints.size())) return {};
    return entryPoints[i].name;
}

std::string_view ModuleSet::ModuleName(int i) const
{
    if (i < 0 || i >= static_cast<int>(modules.size())) return {};
    return modules[i].name;
}

std::pair<int, int> ModuleSet::EntryPointRange(int module) const
{
    int count = static_cast<int>(modules.size());
    if (module < 0 || module >= count) return {0, 0};
    int end = module + 1 < count ? modules[module + 1].firstEntryPoint : static_cast<int>(entryPoints.size());
    return {modules[module].firstEntryPoint, end};
}

int ModuleSet::FindModule(std::string_view name) const
{
    for (size_t i = 0; i < modules.size(); ++i)
        if (modules[i].name == name) return static_cast<int>(i);
    return -1;
}

int ModuleSet::FindEntryPoint(std::string_view name, int first, int end) const
{
    if (first < 0) first = 0;
    if (end > static_cast<int>(entryPoints.size())) end = static_cast<int>(entryPoints.size());
    for (int i = first; i < end; ++i)
        if (entryPoints[i].name == name) return i;
    return -1;
}

RowView ModuleSet::Row(int slot, int index) const
{
    RowView view;
    if (slot < 0 || slot >= kSlotCount) return view;
    const OutputSlot& output = slots[slot];
    if (index < 0 || index >= static_cast<int>(output.rows.size())) return view;
    view.row = &output.rows[index];
    view.valueText = view.row->valueText;
    int32_t ref = view.row->nameRef;
    if (ref >= 0) {
        if (ref < static_cast<int32_t>(statements.size())) view.name = statements[ref].name;
    } else if (-static_cast<int64_t>(ref) < static_cast<int64_t>(output.names.size())) {
        view.name = output.names[-static_cast<int64_t>(ref)];
    }
    return view;
}

void ModuleSet::ClearSlot(int slot)
{
    if (slot < 0 || slot >= kSlotCount) return;
    slots[slot].rows.clear();
    slots[slot].names.assign(1, std::string());
}

}  // namespace qv
