// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// All compiled modules of one data window: one shared statement list (the first four are
// the LOCAL_ variables of every module), patterns, value text lists, entry points, module
// records and the 16 output slots of the interpreter.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modules/ModuleRecords.h"

namespace qv {

class ErrorSink;

// A row with its texts resolved; row == nullptr for an out-of-range slot or row.
struct RowView {
    const ResultRow* row = nullptr;
    std::string_view name;
    std::string_view valueText;
};

class ModuleSet {
public:
    static constexpr int kSlotCount = 16;
    static constexpr int kLocalCount = 4;

    ModuleSet();

    std::vector<StatementRecord> statements;
    std::vector<BytePattern> patterns;
    std::vector<ValueTextList> valueTexts;
    std::vector<EntryPoint> entryPoints;
    std::vector<ModuleRecord> modules;
    std::array<OutputSlot, kSlotCount> slots;
    int currentSlot = 0;

    // Empties everything but the four LOCAL_ variables.
    void ClearAll();

    // Error reporting of the compiler: lines go to the sink while one is set.
    void SetErrorSink(ErrorSink* sink) { sink_ = sink; }
    int ErrorCount() const { return errorCount_; }
    void ResetErrors() { errorCount_ = 0; }
    int lineNumber = 0;
    // message is UTF-8 (a fixed text) or Windows-1252 (text from the source) as said.
    void ReportError(std::string_view message, bool warning = false, bool messageIsUtf8 = true);

    // Names of entry point i and module i (empty when out of range).
    std::string_view EntryPointName(int i) const;
    std::string_view ModuleName(int i) const;
    // Entry points of module m: [first, end).
    std::pair<int, int> EntryPointRange(int module) const;
    // Exact (case-sensitive) look-ups; -1 when not found.
    int FindModule(std::string_view name) const;
    int FindEntryPoint(std::string_view name, int first, int end) const;

    RowView Row(int slot, int index) const;
    void ClearSlot(int slot);

private:
    ErrorSink* sink_ = nullptr;
    int errorCount_ = 0;
};

}  // namespace qv
