// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs an entry point of a ModuleSet over a data buffer and fills one of its output
// slots with one row per decoded field. The data is only read.
#include <cstdint>

#include "modules/ModuleRecords.h"

namespace qv {

class IByteSource;
class ModuleSet;
class TaskProgress;

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
    int Run(int slot, const IByteSource& data, int entryPoint, int maxRows, int64_t startOffset);
    int Run(int slot, const uint8_t* data, int64_t length, int entryPoint, int maxRows, int64_t startOffset);

    // The same run into an output slot of the caller's, so that the set's slots stay as they
    // are while the run goes on (on a worker thread). With progress, the run reports the
    // position it reached and stops, with a last row that says so, when it is cancelled.
    // Returns false, leaving output untouched, when the length or entry point is not valid.
    bool RunInto(OutputSlot& output, const IByteSource& data, int entryPoint, int maxRows, int64_t startOffset,
                 TaskProgress* progress = nullptr);

private:
    ModuleSet& set_;
    int64_t statementLimit_ = kStatementLimit;
    int64_t patternTestLimit_ = kPatternTestLimit;
};

}  // namespace qv
