// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/DataWindow.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "common/CodePage.h"
#include "common/NumberText.h"
#include "modules/DataWindowDialogs.h"
#include "modules/ErrorSink.h"
#include "modules/FormatTable.h"
#include "modules/ModuleCompiler.h"
#include "modules/ModuleInterpreter.h"
#include "modules/ModuleList.h"
#include "modules/ModuleSet.h"
#include "modules/NameCompare.h"
#include "platform/DialogService.h"
#include "platform/FileSystem.h"
#include "platform/LongTask.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "view/ByteSource.h"

namespace qv {
namespace {

constexpr size_t kMaxSettingName = 63;
constexpr size_t kMaxRowName = 255;

std::string Hex(uint64_t value, unsigned minDigits = 0)
{
    return FormatNumber64(static_cast<int64_t>(value), kStyleHexPrefix | StyleMinDigits(minDigits));
}

// A row's distance from where decoding started; fields before it (a module may seek back)
// show a minus sign.
std::string Distance(int64_t distance)
{
    return distance < 0 ? "-" + Hex(0 - static_cast<uint64_t>(distance)) : Hex(static_cast<uint64_t>(distance));
}

// Sizes are never negative but where a module wrote one (SPRINT #R): its 32 bits then.
std::string Size(int64_t size, unsigned minDigits = 0)
{
    return Hex(size >= 0 ? static_cast<uint64_t>(size) : static_cast<uint32_t>(size), minDigits);
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
      formats_(std::make_unique<ModuleSet>()),
      formatTable_(std::make_unique<FormatTable>()),
      pageCount_(std::clamp(pageCount, 1, kMaxPages)),
      style_(style),
      services_(std::move(services))
{
    static_assert(kMaxPages == ModuleSet::kSlotCount);
    for (const std::string& path : services_.formatTables) formatTable_->Load(path);
    if (services_.settings)
        if (auto on = services_.settings->ReadDword(kSection, kAutoDetectValue)) autoDetect_ = *on != 0;
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
    // The name of the entry point as the set holds it now: after "Module löschen" or another
    // module list the page shows what it would run.
    const std::string_view name = SetOf(p).EntryPointName(pages_[static_cast<size_t>(p)].entryPoint);
    if ((IsFormatPage(p) || (style_ & kDataEntryLabels)) && !name.empty()) return Cp1252ToUtf8(name);
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

// ---- decoding ----------------------------------------------------------------------

void DataWnd::SetData(const IByteSource* source, int64_t start, int64_t length, uint64_t baseAddress, int page)
{
    DataPage& target = pages_[static_cast<size_t>(Resolve(page))];
    const int64_t bufferLength = source ? source->Size() : 0;
    start = std::max<int64_t>(start, 0);
    length = std::clamp<int64_t>(length, 0, std::max<int64_t>(bufferLength - start, 0));
    target.source = source;
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
    ModuleSet& set = SetOf(p);
    if (target.source && services_.isReadable && !services_.isReadable(target.source, target.bufferLength))
        ForgetBuffer(target);
    ++revisions_[static_cast<size_t>(p)];
    OutputSlot rows;
    if (target.source) {
        if (target.entryPoint == -1) target.entryPoint = 0;
        // The slot keeps the rows shown until the run is over: the list may paint meanwhile.
        InlineTaskRunner inline_;
        ILongTaskRunner& runner = services_.runner ? *services_.runner : inline_;
        runner.Run("Daten erneuern", [&](TaskProgress& progress) {
            ModuleInterpreter(set).RunInto(rows, *target.source, target.entryPoint, maxRows_, target.startOffset,
                                          &progress);
        });
    }
    set.slots[static_cast<size_t>(p)] = std::move(rows);
    Changed();
}

void DataWnd::ForgetBuffer(DataPage& page)
{
    page.source = nullptr;
    page.bufferLength = page.startOffset = page.length = 0;
    page.baseAddress = 0;
}

void DataWnd::ForgetBuffers()
{
    for (int p = 0; p < PageCount(); ++p) {
        DataPage& page = pages_[static_cast<size_t>(p)];
        if (!page.source) continue;
        ForgetBuffer(page);
        Refresh(p);  // empties the page's rows
    }
    if (bytesReplaced) bytesReplaced();
}

// ---- detected formats --------------------------------------------------------------

void DataWnd::SetAutoDetect(bool on)
{
    if (on == autoDetect_) return;
    autoDetect_ = on;
    if (services_.settings) services_.settings->WriteDword(kSection, kAutoDetectValue, on ? 1 : 0);
    if (on) {
        DetectFormats();
    } else {
        RemoveFormatPages();
        Changed();
    }
}

int DataWnd::FormatEntryPoint(const std::string& module, const std::string& entryPoint)
{
    auto known = std::find_if(formatModules_.begin(), formatModules_.end(),
                              [&](const auto& loaded) { return loaded.first == module; });
    if (known == formatModules_.end()) {
        const int index = static_cast<int>(formats_->modules.size());
        const bool loaded = ModuleCompiler(*formats_).Load(module) == ModuleCompiler::kCompiled;
        known = formatModules_.insert(formatModules_.end(), {module, loaded ? index : -1});
    }
    if (known->second < 0) return -1;
    const auto [first, end] = formats_->EntryPointRange(known->second);
    return formats_->FindEntryPoint(entryPoint, first, end);
}

void DataWnd::RemoveFormatPages()
{
    for (int p = pageCount_; p < pageCount_ + detectedCount_; ++p) {
        pages_[static_cast<size_t>(p)] = DataPage{};
        formats_->ClearSlot(p);
        ++revisions_[static_cast<size_t>(p)];
    }
    detectedCount_ = 0;
    if (current_ >= pageCount_) current_ = lastUserPage_;
}

void DataWnd::OfferFormatTableErrors()
{
    if (formatTable_->errors.empty() || !services_.prompt) return;
    // Asked once: the tables are read once, so the same lines would be offered again.
    const std::vector<std::string> errors = std::exchange(formatTable_->errors, {});
    const PromptAnswer answer = services_.prompt->Show("Die Formattabelle ist fehlerhaft\nFehler anzeigen ?",
                                                       kProgramCaption, PromptIcon::Error, PromptButtons::YesNo,
                                                       PromptAnswer::Yes);
    if (answer != PromptAnswer::Yes || !services_.dialogs) return;
    ModuleErrorDialog dialog;
    dialog.caption = std::string("Fehler in ") + kFormatTableName;
    for (const std::string& error : errors) dialog.text += Utf8ToCp1252(error) + "\r\n";
    services_.dialogs->Run(dialog);
}

void DataWnd::DetectFormats()
{
    if (autoDetect_) OfferFormatTableErrors();
    uint64_t baseAddress = 0;
    const IByteSource* source = services_.documentBytes ? services_.documentBytes(baseAddress) : nullptr;
    std::vector<int> entries;
    if (autoDetect_ && source) {
        for (const FormatRule* rule : qv::DetectFormats(*formatTable_, *source)) {
            const int entry = FormatEntryPoint(rule->module, rule->entryPoint);
            if (entry >= 0 && std::find(entries.begin(), entries.end(), entry) == entries.end() &&
                pageCount_ + static_cast<int>(entries.size()) < kMaxPages)
                entries.push_back(entry);
        }
    }
    bool same = static_cast<int>(entries.size()) == detectedCount_;
    for (int i = 0; same && i < detectedCount_; ++i)
        same = pages_[static_cast<size_t>(pageCount_ + i)].entryPoint == entries[static_cast<size_t>(i)];
    if (!same) {
        RemoveFormatPages();
        for (int entry : entries) {
            DataPage& page = pages_[static_cast<size_t>(pageCount_ + detectedCount_++)];
            page.entryPoint = entry;
            page.module = formats_->entryPoints[static_cast<size_t>(entry)].module;
        }
        if (detectedCount_ > 0) {
            if (current_ < pageCount_) lastUserPage_ = current_;
            current_ = pageCount_;
        }
    }
    for (int p = pageCount_; p < pageCount_ + detectedCount_; ++p)
        SetData(source, 0, source->Size(), baseAddress, p);
    if (!same && detectedCount_ == 0) Changed();
}

void DataWnd::SelectPage(int page)
{
    page = std::clamp(page, 0, PageCount() - 1);
    if (page == current_) return;
    current_ = page;
    if (page < pageCount_) {
        lastUserPage_ = page;
        set_->currentSlot = page;
    }
    Changed();
}

const std::vector<ResultRow>& DataWnd::Rows(int page) const
{
    const int p = Resolve(page);
    return SetOf(p).slots[static_cast<size_t>(p)].rows;
}

const ResultRow* DataWnd::RowAt(int page, int row) const
{
    const int p = Resolve(page);
    return SetOf(p).Row(p, row).row;
}

int DataWnd::RowCount(int page) const
{
    return static_cast<int>(Rows(page).size());
}

// ---- row texts ---------------------------------------------------------------------

std::string DataWnd::ColumnText(int page, int row, int column) const
{
    const int p = Resolve(page);
    const RowView view = SetOf(p).Row(p, row);
    if (!view.row) return {};
    const DataPage& owner = Page(p);
    switch (column) {
    case kColumnName: return std::string(view.name.substr(0, kMaxRowName));
    case kColumnValue: return std::string(view.valueText);
    // Modules count a called block's positions from where it began, so the row's offset
    // may be counted from anywhere: the address says where it lies.
    case kColumnOffset: return Distance(view.row->address - owner.startOffset);
    case kColumnSize: return Size(view.row->size);
    default: return Hex(owner.baseAddress + static_cast<uint64_t>(view.row->address));
    }
}

std::string DataWnd::CopyText(int page, int row, int column) const
{
    const int p = Resolve(page);
    const RowView view = SetOf(p).Row(p, row);
    if (!view.row) return {};
    if (column >= 0) return ColumnText(p, row, std::min(column, int(kColumnAddress)));
    const DataPage& owner = Page(p);
    std::string text(view.name.substr(0, kMaxRowName));
    if (!view.valueText.empty()) text += "\t" + std::string(view.valueText);
    if (Option(kDataOffsetColumn)) text += "\t" + ColumnText(p, row, kColumnOffset);
    if (Option(kDataSizeColumn)) text += "\t" + Size(view.row->size, 2);
    if (Option(kDataAddressColumn)) text += "\t" + Hex(owner.baseAddress + static_cast<uint64_t>(view.row->address), 2);
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
    for (int p = 0; p < pageCount_; ++p) {
        DataPage& page = pages_[static_cast<size_t>(p)];
        if (page.module == -1) page.module = 0;
        if (page.entryPoint == -1) page.entryPoint = 0;
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
    for (int p = 0; p < pageCount_; ++p) ++revisions_[static_cast<size_t>(p)];
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
    const ModuleSet& set = SetOf(current_);
    DataWindowOptionsDialog dialog;
    dialog.modules = &set;
    dialog.offsetText = Hex(static_cast<uint64_t>(page.startOffset));
    dialog.lengthText = std::to_string(page.length);
    dialog.maxRowsText = std::to_string(maxRows_);
    const auto modules = dialog.SortedModules();
    dialog.module = page.module >= 0 && page.module < static_cast<int>(set.modules.size())
                        ? page.module
                        : (modules.empty() ? -1 : modules.front());
    const auto entries = dialog.SortedEntryPoints(dialog.module);
    auto [first, end] = set.EntryPointRange(dialog.module);
    dialog.entryPoint = page.entryPoint >= first && page.entryPoint < end ? page.entryPoint
                                                                          : (entries.empty() ? -1 : entries.front());
    dialog.showOffset = Option(kDataOffsetColumn);
    dialog.showSize = Option(kDataSizeColumn);
    dialog.showAddress = Option(kDataAddressColumn);
    dialog.fixedFont = Option(kDataFixedFont);
    dialog.gridLines = Option(kDataGridLines);
    dialog.autoDetect = autoDetect_;
    if (!services_.dialogs->Run(dialog)) return;

    const uint32_t before = style_;
    auto apply = [this](uint32_t bit, bool on) { style_ = on ? (style_ | bit) : (style_ & ~bit); };
    apply(kDataOffsetColumn, dialog.showOffset);
    apply(kDataSizeColumn, dialog.showSize);
    apply(kDataAddressColumn, dialog.showAddress);
    apply(kDataFixedFont, dialog.fixedFont);
    apply(kDataGridLines, dialog.gridLines);
    if (style_ != before) Changed();

    // Offsets may lie past 4 GiB: the module number syntax, read to 64 bits.
    const int64_t start = ParseNumber64(dialog.offsetText, kNumberAuto);
    const int64_t length = ParseNumber64(dialog.lengthText, 10);
    const int maxRows = std::clamp(ParseNumber(dialog.maxRowsText, 10), 0, kMaxRowsLimit);
    const bool pageChanged = start != page.startOffset || length != page.length || maxRows != maxRows_ ||
                             dialog.entryPoint != page.entryPoint || dialog.module != page.module;
    if (pageChanged) {
        page.startOffset = std::max<int64_t>(start, 0);
        page.length = std::max<int64_t>(length, 0);
        maxRows_ = maxRows;
        page.module = dialog.module;
        page.entryPoint = dialog.entryPoint;
        if (page.startOffset + page.length > page.bufferLength)
            page.length = std::max<int64_t>(page.bufferLength - page.startOffset, 0);
        Refresh(current_);
    }
    // Last: switching detection off takes the current page away when it is a format's.
    SetAutoDetect(dialog.autoDetect);
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
        pages_[static_cast<size_t>(p)].entryPoint = entry;
    }
    if (auto style = store.ReadDword(kSection, "Style"))
        style_ = (style_ & ~kPersistedOptions) | (*style & kPersistedOptions) | kDataAlternateColors;
}

}  // namespace qv
