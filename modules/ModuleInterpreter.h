// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs an entry point of a ModuleSet over a data buffer and fills one of its output
// slots with one row per decoded field. The data is only read.
#include <cstdint>

namespace qv {

class ModuleSet;

class ModuleInterpreter {
public:
    // A run also stops after this many executed statements, or this many pattern tests,
    // so that a module that loops without producing rows still ends.
    static constexpr int64_t kStatementLimit = 10'000'000;
    static constexpr int64_t kPatternTestLimit = 100'000'000;

    explicit ModuleInterpreter(ModuleSet& set) : set_(set) {}

    void SetLimits(int64_t statements, int64_t patternTests)
    {
        statementLimit_ = statements;
        patternTestLimit_ = patternTests;
    }

    // Returns the number of rows in the slot; 0 without touching the slot when the slot,
    // the length or the entry point is not valid.
    int Run(int slot, const uint8_t* data, int32_t length, int entryPoint, int maxRows, int32_t startOffset);

private:
    ModuleSet& set_;
    int64_t statementLimit_ = kStatementLimit;
    int64_t patternTestLimit_ = kPatternTestLimit;
};

}  // namespace qv
