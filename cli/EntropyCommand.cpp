// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli entropy: the Shannon entropy of a file block by block, as the editor's
// entropy strip measures it.
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "analysis/Entropy.h"
#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"

namespace qv::cli {
namespace {

constexpr uint64_t kDefaultBlock = 4096;
// Blocks are measured in groups this large, each faulted in with one call before it is read.
constexpr uint64_t kReadChunk = uint64_t{8} << 20;

const char* KindName(BlockKind kind)
{
    switch (kind) {
    case BlockKind::Zero: return "zero";
    case BlockKind::Ones: return "ff";
    case BlockKind::Text: return "text";
    default: return "data";
    }
}

int RunEntropy(const std::vector<std::string>& argList)
{
    const CliArgs args(argList, {"block"}, {"json"});
    if (args.Positional().size() != 1) throw UsageError("genau eine Datei angeben");
    const uint64_t block = args.Number("block").value_or(kDefaultBlock);
    if (block == 0 || block > (uint64_t{1} << 30)) throw UsageError("--block muss zwischen 1 und 1073741824 liegen");
    const bool json = args.Has("json");

    const InputFile input(args.Positional()[0]);
    const uint64_t size = input.Size();
    // Whole blocks per read-ahead piece.
    const uint64_t chunk = std::max<uint64_t>(kReadChunk / block, 1) * block;
    if (json) std::cout << "{\"block\":" << block << ",\"size\":" << size << ",\"blocks\":[";
    for (uint64_t at = 0; at < size; at += block) {
        if (at % chunk == 0) input.WillRead(input.Data() + at, std::min(chunk, size - at));
        const uint64_t length = std::min(block, size - at);
        const BlockMeasure measure = MeasureBlock({input.Data() + at, static_cast<size_t>(length)});
        char line[128];
        if (json)
            std::snprintf(line, sizeof line, "%s\n{\"offset\":%llu,\"length\":%llu,\"entropy\":%.3f,\"kind\":\"%s\"}",
                          at == 0 ? "" : ",", static_cast<unsigned long long>(at),
                          static_cast<unsigned long long>(length), measure.entropy,
                          KindName(measure.kind));
        else
            std::snprintf(line, sizeof line, "0x%08llX  %.3f\n", static_cast<unsigned long long>(at),
                          measure.entropy);
        std::cout << line;
    }
    if (json) std::cout << "\n]}\n";
    return 0;
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("entropy", "entropy DATEI [--block N] [--json]", qv::cli::RunEntropy);
