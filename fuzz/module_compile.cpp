// SPDX-License-Identifier: GPL-3.0-or-later
// Compiles arbitrary text as a structure module and walks the results.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "modules/ErrorSink.h"
#include "modules/ModuleCompiler.h"
#include "modules/ModuleSet.h"
#include "modules/ModuleSourceText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::ModuleSet set;
    qv::ErrorSink sink;
    set.SetErrorSink(&sink);
    std::string source = qv::ModuleSourceText(std::string_view(reinterpret_cast<const char*>(data), size));
    qv::ModuleCompiler compiler(set);
    compiler.Compile(source, "a");
    compiler.Compile(source, "a");  // already loaded: rejected again
    for (size_t i = 0; i < set.entryPoints.size(); ++i) set.EntryPointName(static_cast<int>(i));
    auto range = set.EntryPointRange(0);
    set.FindEntryPoint("x", range.first, range.second);
    set.ClearAll();
    return 0;
}
