// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli hash: cryptographic hashes of a file or a range of it, one line per
// algorithm in the form the coreutils sum programs print, so that their -c accepts it.
#include <algorithm>
#include <iostream>

#include "analysis/Hashes.h"
#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"

namespace qv::cli {
namespace {

// Mapped input is walked in pieces this large, each faulted in with one call before it is read.
constexpr uint64_t kReadChunk = uint64_t{8} << 20;

std::vector<HashAlgorithm> ChosenAlgorithms(const CliArgs& args)
{
    std::vector<HashAlgorithm> algorithms;
    for (const std::string& name : args.Values("algorithm")) {
        const auto algorithm = FindHashAlgorithm(name);
        if (!algorithm) {
            std::string known;
            for (const HashAlgorithmInfo& info : HashAlgorithms()) known += std::string(known.empty() ? "" : ", ") + info.name;
            throw UsageError("unbekanntes Verfahren \"" + name + "\" (bekannt: " + known + ")");
        }
        if (std::find(algorithms.begin(), algorithms.end(), *algorithm) == algorithms.end())
            algorithms.push_back(*algorithm);
    }
    if (algorithms.empty()) algorithms.push_back(HashAlgorithm::Sha256);
    return algorithms;
}

// A name with a backslash or a line break is written escaped, and the line then starts with
// a backslash, as the coreutils sum programs do it.
std::string NameOnLine(const std::string& name, bool& escaped)
{
    std::string text;
    escaped = false;
    for (char c : name) {
        switch (c) {
        case '\\': text += "\\\\"; escaped = true; break;
        case '\n': text += "\\n"; escaped = true; break;
        case '\r': text += "\\r"; escaped = true; break;
        default: text += c;
        }
    }
    return text;
}

// The lines of one file: one per algorithm.
void HashFile(const std::string& path, const std::vector<HashAlgorithm>& algorithms, const CliArgs& args)
{
    const uint64_t offset = args.Number("offset").value_or(0);
    const auto length = args.Number("length");
    const uint64_t readLimit = length && offset + *length >= offset ? offset + *length : UINT64_MAX;
    const InputFile input(path, readLimit);
    if (offset > input.Size()) throw UsageError("--offset liegt hinter dem Ende von \"" + path + "\"");
    if (length && *length > input.Size() - offset)
        throw UsageError("--length reicht über das Ende von \"" + path + "\" hinaus");
    const uint64_t end = length ? offset + *length : input.Size();

    HashSet hashes(algorithms);
    for (uint64_t at = offset; at < end;) {
        const uint64_t piece = std::min(kReadChunk, end - at);
        input.WillRead(input.Data() + at, piece);
        hashes.Update({input.Data() + at, static_cast<size_t>(piece)});
        at += piece;
    }
    bool escaped = false;
    const std::string name = NameOnLine(path, escaped);
    for (const std::string& digest : hashes.FinishHex()) std::cout << (escaped ? "\\" : "") << digest << "  " << name << '\n';
}

// Like the coreutils sum programs, a file that cannot be read is reported and the others
// are still hashed; the exit code then tells that one failed.
int RunHash(const std::vector<std::string>& argList)
{
    const CliArgs args(argList, {"algorithm", "offset", "length"}, {});
    if (args.Positional().empty()) throw UsageError("mindestens eine Datei angeben");
    const std::vector<HashAlgorithm> algorithms = ChosenAlgorithms(args);
    int code = 0;
    for (const std::string& path : args.Positional()) {
        try {
            HashFile(path, algorithms, args);
        } catch (const UsageError&) {
            throw;
        } catch (const std::runtime_error& error) {
            std::cout.flush();
            std::cerr << "quarnival-cli hash: " << error.what() << "\n";
            code = 1;
        }
    }
    return code;
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("hash", "hash DATEI... [--algorithm NAME]... [--offset O --length L]", qv::cli::RunHash);
