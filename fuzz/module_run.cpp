// SPDX-License-Identifier: GPL-3.0-or-later
// Compiles the first part of the input as a module and runs every entry point over the
// rest. The first byte chooses where the module text ends. The limits are lower than in
// the program so that looping inputs stay quick; the bounds themselves are the same code.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "modules/ModuleCompiler.h"
#include "modules/ModuleInterpreter.h"
#include "modules/ModuleSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    size_t split = 1 + (size - 1) * data[0] / 255;
    std::string_view source(reinterpret_cast<const char*>(data + 1), split - 1);
    qv::ModuleSet set;
    qv::ModuleCompiler(set).Compile(source, "m");
    qv::ModuleInterpreter interpreter(set);
    interpreter.SetLimits(20000, 200000);
    const uint8_t* bytes = data + split;
    auto length = static_cast<int32_t>(size - split);
    for (int entry = 0; entry < static_cast<int>(set.entryPoints.size()) && entry < 8; ++entry) {
        for (int32_t start : {0, length / 2}) {
            int rows = interpreter.Run(entry % qv::ModuleSet::kSlotCount, bytes, length, entry, 500, start);
            for (int i = 0; i < rows; ++i) set.Row(entry % qv::ModuleSet::kSlotCount, i);
        }
    }
    return 0;
}
