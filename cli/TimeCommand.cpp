// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli time: a value typed into one field of the time converter, or bytes read in
// one of the converter's modes; prints the ten fields with their validity.
#include <iostream>
#include <optional>
#include <utility>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "common/CodePage.h"
#include "common/HexText.h"
#include "tools/TimeConverter.h"

namespace qv::cli {
namespace {

const std::pair<const char*, TimeField> kFields[] = {
    {"text", TimeField::Text},           {"seconds", TimeField::Seconds},
    {"seconds-dump", TimeField::SecondsDump}, {"dos", TimeField::Dos},
    {"ole", TimeField::Ole},             {"ole-dump", TimeField::OleDump},
    {"filetime", TimeField::FileTime},   {"filetime-dump", TimeField::FileTimeDump},
    {"timestamp", TimeField::Timestamp}, {"systemtime", TimeField::SystemTime},
};

const std::pair<const char*, TimeReadMode> kModes[] = {
    {"text", TimeReadMode::Text},         {"utc", TimeReadMode::UtcSeconds},
    {"dos", TimeReadMode::Dos},           {"ole", TimeReadMode::Ole},
    {"filetime", TimeReadMode::FileTime}, {"dbtimestamp", TimeReadMode::DbTimestamp},
    {"systemtime", TimeReadMode::SystemTime}, {"dbdate", TimeReadMode::DbDate},
};

template <typename T, size_t N>
T Lookup(const std::pair<const char*, T> (&table)[N], const std::string& name, const char* what)
{
    for (const auto& [entryName, value] : table)
        if (name == entryName) return value;
    throw UsageError(std::string(what) + " \"" + name + "\"");
}

std::vector<uint8_t> BytesOfDump(const std::string& dump)
{
    std::vector<uint8_t> bytes(kTimeConverterMaxBytes);
    size_t consumed = 0;
    bytes.resize(HexTextToBytes(bytes.data(), static_cast<uint32_t>(bytes.size()), dump, &consumed));
    // More than the converter takes is fine (it reads the first 64), other text is not.
    if (consumed < dump.size() && bytes.size() < kTimeConverterMaxBytes) throw UsageError("--bytes ist kein Hex-Dump");
    return bytes;
}

int RunTime(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {"bytes", "mode"}, {"local"});
    const bool local = args.Has("local");
    const auto bytes = args.Value("bytes");
    const auto mode = args.Value("mode");

    std::optional<TimeConverterModel> model;
    if (bytes || mode) {
        if (!bytes || !mode || !args.Positional().empty()) throw UsageError("--bytes und --mode zusammen angeben");
        model.emplace(nullptr, nullptr, BytesOfDump(*bytes), Lookup(kModes, *mode, "unbekannter Modus"));
        model->SetLocal(local);
        model->Open();
    } else {
        if (args.Positional().size() != 2) throw UsageError("ein Feld und einen Text angeben");
        const TimeField field = Lookup(kFields, args.Positional()[0], "unbekanntes Feld");
        model.emplace(nullptr, nullptr, std::vector<uint8_t>{}, TimeReadMode::LastInput);
        model->SetLocal(local);
        model->EditField(field, Utf8ToCp1252(args.Positional()[1]));
    }
    for (const auto& [name, shown] : kFields)
        std::cout << name << '\t' << Cp1252ToUtf8(model->Text(shown)) << '\t'
                  << (model->IsValid(shown) ? "valid" : "invalid") << '\n';
    return 0;
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("time", "time [--local] FELD TEXT | time [--local] --bytes HEX --mode MODUS", qv::cli::RunTime);
