// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/DataWindow.h"

#include <algorithm>
#include <filesystem>

#include "common/CodePage.h"
#include "common/NumberText.h"
#include "modules/DataWindowDialogs.h"
#include "modules/ErrorSink.h"
#include "modules/ModuleCompiler.h"
#include "modules/ModuleInterpreter.h"
#include "modules/ModuleList.h"
#include "modules/ModuleNumber.h"
#include "modules/ModuleSet.h"
#include "modules/NameCompare.h"
#include "platform/DialogService.h"
#include "platform/FileSystem.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

namespace qv {
namespace {

constexpr size_t kMaxSettingName = 63;
constexpr size_t kMaxRowName = 255;

std::string Hex(uint64_t value, unsigned minDigits = 0)
{
    return FormatNumber64(static_cast<int64_t>(value), kStyleHexPrefix | StyleMinDigits(minDigits));
}

std::string Filled(const char* format, const std::string& path)
{
    std::string text = format;
    text.replace(text.find("%s"), 2, path);
    return text;
}

}  // namespace

DataWnd::DataWnd(int pageCount, uint32_t style, DataWndServices services)
    : set_(std::make_unique<ModuleSet>()),
      pageCount_(std::clamp(pageCount, 1, kMaxPages)),
      style_(style),
      services_(std::move(services))
{
    static_assert(kMaxPages == ModuleSet::kSlotCount);
    if ((style_ & kDataLoadList) && services_.settings) LoadModuleList();
    if ((style_ & kDataPersist) && services_.settings) RestoreSettings();
}

DataWnd::~DataWnd()
{
    if ((style_ & kDataPersist) && services_.settings) SaveSettings();
}

void DataWnd::Changed() const
{
    if (changed) changed();
}

std::string DataWnd::PageLabel(int page) const
{
    const int p = Resolve(page);
    if ((style_ & kDataEntryLabels) && !labels_[static_cast<size_t>(p)].empty())
        return Cp1252ToUtf8(labels_[static_cast<size_t>(p)]);
    return "Daten " + std::to_string(p + 1);
}

void DataWnd::SetOption(uint32_t bit, bool on)
{
    style_ = on ? (style_ | bit) : (style_ & ~bit);
    Changed();
}

void DataWnd::SetMaxRows(int rows)
{
    maxRows_ = std::clamp(rows, 0, kMaxRowsLimit);
}

void DataWnd::SetEntryPoint(DataPage& page, int entryPoint)
{
    page.entryPoint = entryPoint;
    labels_[static_cast<size_t>(&page - pages_.data())] = std::string(set_->EntryPointName(entryPoint));
}

// ---- decoding ----------------------------------------------------------------------

void DataWnd::SetData(const uint8_t* buffer, int32_t bufferLength, int32_t start, int32_t length,
                      uint64_t baseAddress, int page)
{
    DataPage& target = pages_[static_cast<size_t>(Resolve(page))];
    bufferLength = std::max(bufferLength, 0);
    start = std::max(start, 0);
    length = std::clamp(length, 0, std::max(bufferLength - start, 0));
    target.buffer = buffer;
    target.bufferLength = bufferLength;
    target.startOffset = start;
    target.length = length;
    target.baseAddress = baseAddress;
    // Decoded even when the values are the same: the bytes under them may have been edited.
    Refresh(page);
}

void DataWnd::Refresh(int page)
{
    const int p = Resolve(page);
    DataPage& target = pages_[static_cast<size_t>(p)];
    if (target.buffer && services_.isReadable && !services_.isReadable(target.buffer, target.bufferLength))
        ForgetBuffer(target);
    set_->ClearSlot(p);
    ++revisions_[static_cast<size_t>(p)];
    if (target.buffer) {
        if (target.entryPoint == -1) SetEntryPoint(target, 0);
        ModuleInterpreter(*set_).Run(p, target.buffer, target.bufferLength, target.entryPoint, maxRows_,
                                    target.startOffset);
    }
    Changed();
}

void DataWnd::ForgetBuffer(DataPage& page)
{
    page.buffer = nullptr;
    page.bufferLength = page.startOffset = page.length = 0;
    page.baseAddress = 0;
}

void DataWnd::ForgetBuffers()
{
    for (int p = 0; p < pageCount_; ++p) {
        DataPage& page = pages_[static_cast<size_t>(p)];
        if (!page.buffer) continue;
        ForgetBuffer(page);
        Refresh(p);  // empties the page's rows
    }
}

void DataWnd::SelectPage(int page)
{
    page = std::clamp(page, 0, pageCount_ - 1);
    if (page == current_) return;
    current_ = page;
    set_->currentSlot = page;
    Changed();
}

const std::vector<ResultRow>& DataWnd::Rows(int page) const
{
    return set_->slots[static_cast<size_t>(Resolve(page))].rows;
}

const ResultRow* DataWnd::RowAt(int page, int row) const
{
    return set_->Row(Resolve(page), row).row;
}

int DataWnd::RowCount(int page) const
{
    return static_cast<int>(Rows(page).size());
}

// ---- row texts ---------------------------------------------------------------------

std::string DataWnd::ColumnText(int page, int row, int column) const
{
    const RowView view = set_->Row(Resolve(page), row);
    if (!view.row) return {};
    const DataPage& owner = Page(page);
    switch (column) {
    case kColumnName: return std::string(view.name.substr(0, kMaxRowName));
    case kColumnValue: return std::string(view.valueText);
    case kColumnOffset:
        return Hex(static_cast<uint32_t>(view.row->offset - owner.startOffset));
    case kColumnSize: return Hex(static_cast<uint32_t>(view.row->size));
    default: return Hex(owner.baseAddress + static_cast<uint64_t>(static_cast<int64_t>(view.row->address)));
    }
}

std::string DataWnd::CopyText(int page, int row, int column) const
{
    const RowView view = set_->Row(Resolve(page), row);
    if (!view.row) return {};
    if (column >= 0) return ColumnText(page, row, std::min(column, int(kColumnAddress)));
    const DataPage& owner = Page(page);
    std::string text(view.name.substr(0, kMaxRowName));
    if (!view.valueText.empty()) text += "\t" + std::string(view.valueText);
    if (Option(kDataOffsetColumn)) text += "\t" + ColumnText(page, row, kColumnOffset);
    if (Option(kDataSizeColumn)) text += "\t" + Hex(static_cast<uint32_t>(view.row->size), 2);
    if (Option(kDataAddressColumn))
        text += "\t" + Hex(owner.baseAddress + static_cast<uint64_t>(static_cast<int64_t>(view.row->address)), 2);
    return text;
}

// ---- modules -----------------------------------------------------------------------

bool DataWnd::LoadModule(const std::string& path)
{
    ErrorSink sink;
    set_->SetErrorSink(&sink);
    const int result = ModuleCompiler(*set_).Load(path);
    set_->SetErrorSink(nullptr);

    auto offerErrors = [&](const char* question) {
        if (!services_.prompt) return;
        const PromptAnswer answer = services_.prompt->Show(Filled(question, path), kProgramCaption,
                                                           PromptIcon::Error, PromptButtons::YesNo, PromptAnswer::Yes);
        if (answer != PromptAnswer::Yes || !services_.dialogs) return;
        ModuleErrorDialog dialog;
        dialog.caption = "Modulfehler in " + FileNameOf(path);
        dialog.text = sink.Text();
        services_.dialogs->Run(dialog);
    };
    if (result == ModuleCompiler::kNotOpened) {
        offerErrors("Modul %s konnte nicht geladen werden !\nFehler anzeigen ?");
        return false;
    }
    if (set_->ErrorCount() > 0) offerErrors("Modul %s ist fehlerhaft\nFehler anzeigen ?");
    for (int p = 0; p < kMaxPages; ++p) {
        DataPage& page = pages_[static_cast<size_t>(p)];
        if (page.module == -1) page.module = 0;
        if (page.entryPoint == -1) SetEntryPoint(page, 0);
    }
    Changed();
    return true;
}

void DataWnd::ChooseModules(bool addToList)
{
    if (!services_.dialogs) return;
    ModuleFileDialog dialog;
    if (services_.settings)
        if (auto folder = services_.settings->ReadString("", "ModulPath"); folder && !folder->empty())
            dialog.folder = *folder;
    if (dialog.folder.empty()) dialog.folder = services_.defaultModuleFolder;
    if (dialog.folder.empty()) dialog.folder = FullPath(".");
    if (!services_.dialogs->Run(dialog) || dialog.chosen.empty()) return;
    for (const std::string& path : dialog.chosen) {
        if (addToList && services_.settings) ModuleList(*services_.settings).Add(path);
        LoadModule(path);
    }
    if (services_.settings) {
        std::string folder = std::filesystem::path(dialog.chosen.back()).parent_path().string();
        if (folder.empty() || folder.back() != '/') folder += '/';
        services_.settings->WriteString("", "ModulPath", folder);
    }
}

int DataWnd::LoadModuleList()
{
    if (!services_.settings) return 0;
    int loaded = 0;
    for (const std::string& path : ModuleList(*services_.settings).Paths())
        if (LoadModule(path)) ++loaded;
    return loaded;
}

void DataWnd::ClearModules()
{
    set_->ClearAll();
    for (uint32_t& revision : revisions_) ++revision;
    Changed();
}

void DataWnd::RemoveFromModuleList()
{
    if (!services_.settings) return;
    ModuleList list(*services_.settings);
    ModuleRemoveDialog dialog;
    dialog.paths = list.Paths();
    if (dialog.paths.empty()) {
        if (services_.prompt) services_.prompt->Tell("Es sind keine Module geladen !", PromptIcon::Warning, "Warnung");
        return;
    }
    std::stable_sort(dialog.paths.begin(), dialog.paths.end(),
                     [](const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; });
    if (!services_.dialogs || !services_.dialogs->Run(dialog)) return;
    for (const std::string& path : dialog.selected) list.Remove(path);
}

void DataWnd::ShowOptions()
{
    if (!services_.dialogs) return;
    DataPage& page = pages_[static_cast<size_t>(current_)];
    DataWindowOptionsDialog dialog;
    dialog.modules = set_.get();
    dialog.offsetText = Hex(static_cast<uint32_t>(page.startOffset));
    dialog.lengthText = std::to_string(page.length);
    dialog.maxRowsText = std::to_string(maxRows_);
    const auto modules = dialog.SortedModules();
    dialog.module = page.module >= 0 && page.module < static_cast<int>(set_->modules.size())
                        ? page.module
                        : (modules.empty() ? -1 : modules.front());
    const auto entries = dialog.SortedEntryPoints(dialog.module);
    auto [first, end] = set_->EntryPointRange(dialog.module);
    dialog.entryPoint = page.entryPoint >= first && page.entryPoint < end ? page.entryPoint
                                                                          : (entries.empty() ? -1 : entries.front());
    dialog.showOffset = Option(kDataOffsetColumn);
    dialog.showSize = Option(kDataSizeColumn);
    dialog.showAddress = Option(kDataAddressColumn);
    dialog.fixedFont = Option(kDataFixedFont);
    dialog.gridLines = Option(kDataGridLines);
    if (!services_.dialogs->Run(dialog)) return;

    const uint32_t before = style_;
    auto apply = [this](uint32_t bit, bool on) { style_ = on ? (style_ | bit) : (style_ & ~bit); };
    apply(kDataOffsetColumn, dialog.showOffset);
    apply(kDataSizeColumn, dialog.showSize);
    apply(kDataAddressColumn, dialog.showAddress);
    apply(kDataFixedFont, dialog.fixedFont);
    apply(kDataGridLines, dialog.gridLines);
    if (style_ != before) Changed();

    size_t pos = 0;
    const int32_t start = ReadModuleNumber(dialog.offsetText, pos, true);
    const int32_t length = ParseNumber(dialog.lengthText, 10);
    const int maxRows = std::clamp(ParseNumber(dialog.maxRowsText, 10), 0, kMaxRowsLimit);
    if (start == page.startOffset && length == page.length && maxRows == maxRows_ &&
        dialog.entryPoint == page.entryPoint && dialog.module == page.module)
        return;
    page.startOffset = std::max(start, 0);
    page.length = std::max(length, 0);
    maxRows_ = maxRows;
    page.module = dialog.module;
    SetEntryPoint(page, dialog.entryPoint);
    if (int64_t(page.startOffset) + page.length > page.bufferLength)
        page.length = std::max(page.bufferLength - page.startOffset, 0);
    Refresh(current_);
}

// ---- settings ----------------------------------------------------------------------

void DataWnd::SaveSettings() const
{
    ISettingsStore& store = *services_.settings;
    for (int p = 0; p < pageCount_; ++p) {
        const DataPage& page = pages_[static_cast<size_t>(p)];
        const std::string n = std::to_string(p + 1);
        const bool hasEntry = page.entryPoint >= 0 && page.entryPoint < static_cast<int>(set_->entryPoints.size());
        const int module = hasEntry ? set_->entryPoints[static_cast<size_t>(page.entryPoint)].module : -1;
        store.WriteString(kSection, "Modulname" + n, set_->ModuleName(module));
        store.WriteString(kSection, "Blockname" + n, hasEntry ? set_->EntryPointName(page.entryPoint) : "");
    }
    store.WriteDword(kSection, "Style", style_ & kPersistedOptions);
}

void DataWnd::RestoreSettings()
{
    const ISettingsStore& store = *services_.settings;
    for (int p = 0; p < pageCount_; ++p) {
        const std::string n = std::to_string(p + 1);
        auto moduleName = store.ReadString(kSection, "Modulname" + n);
        auto entryName = store.ReadString(kSection, "Blockname" + n);
        if (!moduleName || !entryName) continue;
        const int module = set_->FindModule(moduleName->substr(0, kMaxSettingName));
        if (module < 0) continue;
        const auto [first, end] = set_->EntryPointRange(module);
        const int entry = set_->FindEntryPoint(entryName->substr(0, kMaxSettingName), first, end);
        if (entry < 0) continue;
        pages_[static_cast<size_t>(p)].module = module;
        SetEntryPoint(pages_[static_cast<size_t>(p)], entry);
    }
    if (auto style = store.ReadDword(kSection, "Style"))
        style_ = (style_ & ~kPersistedOptions) | (*style & kPersistedOptions) | kDataAlternateColors;
}

}  // namespace qv
