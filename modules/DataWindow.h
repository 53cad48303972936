// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DataWnd: the data window without its widgets. It owns the compiled modules, the pages
// (each with its own buffer, start offset, entry point and rows), the display options and
// the persisted module list, and runs the interpreter when a page is refreshed.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "modules/ModuleRecords.h"

namespace qv {

class IDialogService;
class IPrompt;
class ISettingsStore;
class ModuleSet;

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
    const uint8_t* buffer = nullptr;
    int32_t bufferLength = 0;
    uint64_t baseAddress = 0;
    int32_t startOffset = 0;
    int32_t length = 0;
    int entryPoint = -1;
    int module = -1;
};

struct DataWndServices {
    ISettingsStore* settings = nullptr;
    IPrompt* prompt = nullptr;
    IDialogService* dialogs = nullptr;
    // Whether a page's buffer can still be read (the document may have been closed or
    // shrunk since the last refresh); without it every buffer counts as readable.
    std::function<bool(const uint8_t* buffer, int32_t length)> isReadable;
    // Folder the module file dialog starts in while "ModulPath" is unset.
    std::string defaultModuleFolder;
};

class DataWnd {
public:
    static constexpr int kMaxPages = 16;  // one output slot of the module set each
    static constexpr int kDefaultMaxRows = 8192;
    static constexpr int kMaxRowsLimit = 16000;
    static constexpr const char* kSection = "DataWindow";

    // Page counts outside 1..16 are taken as 1 or 16. Loads the module list and restores
    // the pages as the style asks.
    DataWnd(int pageCount, uint32_t style, DataWndServices services);
    // Saves the pages with style kDataPersist.
    ~DataWnd();
    DataWnd(const DataWnd&) = delete;
    DataWnd& operator=(const DataWnd&) = delete;

    // Called after anything shown changed: rows of a page, labels, options, current page.
    std::function<void()> changed;

    int PageCount() const { return pageCount_; }
    int CurrentPage() const { return current_; }
    const DataPage& Page(int page) const { return pages_[static_cast<size_t>(Resolve(page))]; }
    std::string PageLabel(int page) const;  // UTF-8
    uint32_t Style() const { return style_; }
    bool Option(uint32_t bit) const { return (style_ & bit) != 0; }
    void SetOption(uint32_t bit, bool on);
    int MaxRows() const { return maxRows_; }
    void SetMaxRows(int rows);
    const ModuleSet& Modules() const { return *set_; }

    // The refresh command: stores the values and decodes the page (page -1: the current one).
    void SetData(const uint8_t* buffer, int32_t bufferLength, int32_t start, int32_t length, uint64_t baseAddress,
                 int page = -1);
    void Refresh(int page = -1);
    // The view was handed another block (a new or opened document, a shrunk file): every
    // page forgets its buffer and rows, as for a buffer that is no longer readable.
    void ForgetBuffers();
    void SelectPage(int page);

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
    int Resolve(int page) const { return page < 0 || page >= pageCount_ ? current_ : page; }
    void SetEntryPoint(DataPage& page, int entryPoint);
    static void ForgetBuffer(DataPage& page);
    void SaveSettings() const;
    void RestoreSettings();
    void Changed() const;

    std::unique_ptr<ModuleSet> set_;
    std::array<DataPage, kMaxPages> pages_{};
    std::array<std::string, kMaxPages> labels_{};
    std::array<uint32_t, kMaxPages> revisions_{};  // entry point names of the labels, when set
    int pageCount_ = 1;
    int current_ = 0;
    uint32_t style_ = 0;
    int maxRows_ = kDefaultMaxRows;
    DataWndServices services_;
};

}  // namespace qv
