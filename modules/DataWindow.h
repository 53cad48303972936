// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DataWnd: the data window without its widgets. It owns the compiled modules, the pages
// (each with its own bytes, start offset, entry point and rows), the display options and
// the persisted module list, and runs the interpreter when a page is refreshed. After the
// user's pages it shows a page for each format that the format table finds in the
// document; those pages run modules of their own set, which the user's module commands
// leave alone.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "modules/ModuleRecords.h"

namespace qv {

class IByteSource;
class IDialogService;
class ILongTaskRunner;
class IPrompt;
class ISettingsStore;
class ModuleSet;
struct FormatTable;

enum DataWndStyle : uint32_t {
    kDataPageSelector = 0x1,
    kDataLoadList = 0x2,
    kDataNoModuleMenu = 0x4,
    kDataNoProperties = 0x8,
    kDataAddressColumn = 0x10,
    kDataOffsetColumn = 0x20,
    kDataSizeColumn = 0x40,
    kDataFixedFont = 0x80,
    kDataBorder = 0x100,
    kDataGridLines = 0x200,
    kDataPersist = 0x400,
    kDataEntryLabels = 0x800,
    kDataAlternateColors = 0x1000,
};
// The style the main frame creates its data window with.
inline constexpr uint32_t kMainFrameDataStyle = 0xF93;
inline constexpr int kMainFrameDataPages = 8;
// The option bits that "Style" persists (the alternating colours are switched on instead).
inline constexpr uint32_t kPersistedOptions =
    kDataOffsetColumn | kDataSizeColumn | kDataAddressColumn | kDataFixedFont | kDataGridLines;

enum DataColumn { kColumnName = 0, kColumnValue, kColumnOffset, kColumnSize, kColumnAddress, kColumnCount };

struct DataPage {
    const IByteSource* source = nullptr;  // the document's bytes of the last refresh
    int64_t bufferLength = 0;
    uint64_t baseAddress = 0;
    int64_t startOffset = 0;
    int64_t length = 0;
    int entryPoint = -1;
    int module = -1;
};

struct DataWndServices {
    ISettingsStore* settings = nullptr;
    IPrompt* prompt = nullptr;
    IDialogService* dialogs = nullptr;
    // Whether a page's bytes can still be read (the document may have been closed or
    // shrunk since the last refresh); without it every source counts as readable.
    std::function<bool(const IByteSource* source, int64_t length)> isReadable;
    // Folder the module file dialog starts in while "ModulPath" is unset.
    std::string defaultModuleFolder;
    // Shows a run's progress with "Abbrechen"; without it runs go inline.
    ILongTaskRunner* runner = nullptr;
    // The document's bytes as the view holds them now and their base address; nullptr for none.
    std::function<const IByteSource*(uint64_t& baseAddress)> documentBytes;
    // The format tables, the user's first (FormatTablePaths).
    std::vector<std::string> formatTables;
};

class DataWnd {
public:
    static constexpr int kMaxPages = 16;  // one output slot of the module set each
    static constexpr int kDefaultMaxRows = 8192;
    static constexpr int kMaxRowsLimit = 16000;
    static constexpr const char* kSection = "DataWindow";
    static constexpr const char* kAutoDetectValue = "AutoDetect";

    // Page counts outside 1..16 are taken as 1 or 16. Loads the module list and restores
    // the pages as the style asks.
    DataWnd(int pageCount, uint32_t style, DataWndServices services);
    // Saves the pages with style kDataPersist.
    ~DataWnd();
    DataWnd(const DataWnd&) = delete;
    DataWnd& operator=(const DataWnd&) = delete;

    // Called after anything shown changed: rows of a page, labels, options, current page.
    std::function<void()> changed;
    // Called when the document's bytes were replaced (ForgetBuffers): time to look for
    // formats again, once the window is shown and idle.
    std::function<void()> bytesReplaced;

    // The user's pages, then the pages of the detected formats.
    int PageCount() const { return pageCount_ + detectedCount_; }
    int UserPageCount() const { return pageCount_; }
    bool IsFormatPage(int page) const { return Resolve(page) >= pageCount_; }
    int CurrentPage() const { return current_; }
    // The page to select at the next start: a format's page is gone by then, so the user's
    // page shown before it.
    int PageToRemember() const { return current_ < pageCount_ ? current_ : lastUserPage_; }
    const DataPage& Page(int page) const { return pages_[static_cast<size_t>(Resolve(page))]; }
    std::string PageLabel(int page) const;  // UTF-8
    uint32_t Style() const { return style_; }
    bool Option(uint32_t bit) const { return (style_ & bit) != 0; }
    void SetOption(uint32_t bit, bool on);
    int MaxRows() const { return maxRows_; }
    void SetMaxRows(int rows);
    const ModuleSet& Modules() const { return *set_; }
    // The modules of the detected formats.
    const ModuleSet& FormatModules() const { return *formats_; }

    // The refresh command: stores the values and decodes the page (page -1: the current one).
    // The source must stay readable while isReadable says so.
    void SetData(const IByteSource* source, int64_t start, int64_t length, uint64_t baseAddress, int page = -1);
    void Refresh(int page = -1);
    // The view was handed another block (a new or opened document, a shrunk file): every
    // page forgets its bytes and rows, as for bytes that are no longer readable.
    void ForgetBuffers();
    void SelectPage(int page);

    // "Format automatisch erkennen" (stored): looks the document's bytes up in the format
    // tables and decodes every format found from offset 0, each on a page of its own
    // after the user's pages. When the same formats are found as before, their pages are
    // decoded again and the current page stays; otherwise the first new one becomes current.
    bool AutoDetect() const { return autoDetect_; }
    void SetAutoDetect(bool on);
    void DetectFormats();

    bool LoadModule(const std::string& path);
    // The module file dialog; with addToList every chosen file also goes into the list.
    void ChooseModules(bool addToList);
    int LoadModuleList();
    void ClearModules();
    void RemoveFromModuleList();
    // "Daten Fenster Optionen" for the current page.
    void ShowOptions();

    // Rows of a page's last run.
    int RowCount(int page) const;
    // Counts the runs of a page (and every emptying of its rows), so that views know when to reload.
    uint32_t Revision(int page) const { return revisions_[static_cast<size_t>(Resolve(page))]; }
    const std::vector<ResultRow>& Rows(int page) const;
    const ResultRow* RowAt(int page, int row) const;
    std::string ColumnText(int page, int row, int column) const;  // Windows-1252
    // The copy text of a row: one column, or with column -1 the joined form.
    std::string CopyText(int page, int row, int column) const;

private:
    // Page -1 is the current one; every other number names one of the 16 slots, shown or not.
    int Resolve(int page) const { return page < 0 ? current_ : std::min(page, kMaxPages - 1); }
    ModuleSet& SetOf(int page) const { return page >= pageCount_ ? *formats_ : *set_; }
    static void ForgetBuffer(DataPage& page);
    // The format module's entry point for a rule; -1 when the module or entry is missing.
    int FormatEntryPoint(const std::string& module, const std::string& entryPoint);
    void RemoveFormatPages();
    // Offers the bad lines of the format tables once, at the first detection.
    void OfferFormatTableErrors();
    void SaveSettings() const;
    void RestoreSettings();
    void Changed() const;

    std::unique_ptr<ModuleSet> set_;
    std::unique_ptr<ModuleSet> formats_;
    std::unique_ptr<FormatTable> formatTable_;
    std::vector<std::pair<std::string, int>> formatModules_;  // module file, module index (-1: unusable)
    std::array<DataPage, kMaxPages> pages_{};
    std::array<uint32_t, kMaxPages> revisions_{};
    int pageCount_ = 1;
    int detectedCount_ = 0;
    int current_ = 0;
    int lastUserPage_ = 0;
    bool autoDetect_ = true;
    uint32_t style_ = 0;
    int maxRows_ = kDefaultMaxRows;
    DataWndServices services_;
};

}  // namespace qv
