// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Compiles module text and runs it over bytes, giving the rows as plain values.
#include <cstdint>
#include <string>
#include <vector>

#include "modules/ErrorSink.h"
#include "modules/ModuleCompiler.h"
#include "modules/ModuleInterpreter.h"
#include "modules/ModuleSet.h"

namespace qv::test {

struct Row {
    std::string name;
    std::string text;
    int64_t offset;
    int64_t size;
    int64_t address;
    int32_t indent;
};

class ModuleFixture {
public:
    ModuleFixture() { set.SetErrorSink(&sink); }

    int Compile(const std::string& source, const std::string& name = "Test")
    {
        return ModuleCompiler(set).Compile(source, name);
    }

    std::vector<Row> Run(const std::vector<uint8_t>& data, int entry = 0, int maxRows = 8192, int64_t start = 0,
                         int slot = 0)
    {
        ModuleInterpreter interpreter(set);
        interpreter.SetLimits(statementLimit, patternTestLimit);
        int count = interpreter.Run(slot, data.data(), static_cast<int64_t>(data.size()), entry, maxRows, start);
        std::vector<Row> rows;
        for (int i = 0; i < count; ++i) {
            RowView view = set.Row(slot, i);
            rows.push_back(Row{std::string(view.name), std::string(view.valueText), view.row->offset, view.row->size,
                               view.row->address, view.row->indent});
        }
        return rows;
    }

    // Compiles and runs in one go; the compile must be clean.
    std::vector<Row> Decode(const std::string& source, const std::vector<uint8_t>& data)
    {
        Compile(source);
        return Run(data);
    }

    // The value of the statement named by label (searched among the statement names).
    int32_t ValueOf(const std::string& statementName) const
    {
        for (const auto& statement : set.statements)
            if (statement.name == statementName) return statement.value;
        return -12345678;
    }

    ModuleSet set;
    ErrorSink sink;
    int64_t statementLimit = ModuleInterpreter::kStatementLimit;
    int64_t patternTestLimit = ModuleInterpreter::kPatternTestLimit;
};

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

inline std::vector<uint8_t> BytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace qv::test
