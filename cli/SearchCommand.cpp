// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli search: finds typed values in a file exactly as the search dialog would.
#include <cstdio>
#include <iostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "common/CodePage.h"
#include "search/FindValues.h"
#include "search/SearchCommands.h"
#include "search/SearchEntry.h"
#include "search/ValueText.h"

namespace qv::cli {
namespace {

ValueWidth WidthOption(const CliArgs& args)
{
    auto text = args.Value("width");
    if (!text || *text == "dword") return ValueWidth::DWord;
    if (*text == "byte") return ValueWidth::Byte;
    if (*text == "word") return ValueWidth::Word;
    if (*text == "variable") return ValueWidth::Variable;
    throw UsageError("--width erwartet byte, word, dword oder variable: " + *text);
}

// "O:L" as the selected bytes O .. O+L-1 inside a file of `length` bytes.
ISearchTarget::Range SelectionOption(const std::string& text, int64_t length)
{
    size_t colon = text.find(':');
    auto offset = colon == std::string::npos ? std::nullopt : ParseCliNumber(text.substr(0, colon));
    auto count = colon == std::string::npos ? std::nullopt : ParseCliNumber(text.substr(colon + 1));
    if (!offset || !count || *count == 0) throw UsageError("--in erwartet OFFSET:LAENGE: " + text);
    if (*offset >= static_cast<uint64_t>(length) || *count > static_cast<uint64_t>(length) - *offset)
        throw UsageError("--in liegt nicht in der Datei: " + text);
    return {static_cast<int64_t>(*offset), static_cast<int64_t>(*offset + *count - 1)};
}

// The pattern the dialog builds: one value, or a group within `range` bytes. Values that
// yield no bytes add nothing, as in the dialog's group list.
MultiString PatternFor(const CliArgs& args)
{
    ValueInput input;
    input.ignoreCase = args.Has("ignore-case");
    input.unicode = args.Has("unicode");
    input.bigEndian = args.Has("big-endian");
    const ValueWidth width = WidthOption(args);
    std::vector<std::string> entries;
    const auto& positional = args.Positional();
    for (size_t i = 1; i < positional.size(); ++i) {
        input.text = Utf8ToCp1252(positional[i]).substr(0, kMaxTypedText);
        auto kind = ClassifyValueText(input.text);
        input.kind = kind ? static_cast<int>(*kind) : -1;
        input.width = kind && !IsNumberKind(*kind) ? ValueWidth::Variable : width;
        if (auto entry = BuildSearchEntry(input)) entries.push_back(*entry);
    }
    if (entries.empty()) return {};
    int64_t range = static_cast<int64_t>(args.Number("range").value_or(kDefaultGroupRange));
    if (range <= 0 || range > INT32_MAX) range = kDefaultGroupRange;
    entries.insert(entries.begin(), positional.size() > 2 ? std::to_string(range) : "0");
    return MultiString::FromList(entries);
}

void PrintMatch(const DecodedPattern& pattern)
{
    std::string line;
    for (const SearchValue& value : pattern.values) {
        char text[24];
        std::snprintf(text, sizeof text, "%s0x%llX", line.empty() ? "" : " ", static_cast<unsigned long long>(value.found));
        line += text;
    }
    std::cout << line << "\n";
}

int RunSearch(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {"width", "range", "from", "in"},
                 {"big-endian", "ignore-case", "unicode", "ordered", "backward", "wrap", "all"});
    if (args.Positional().size() < 2) throw UsageError("Datei und mindestens ein Wert erwartet");
    const InputFile input(args.Positional()[0]);
    const uint8_t* bytes = input.Data();
    const int64_t length = static_cast<int64_t>(input.Size());
    input.WillRead(bytes, input.Size());
    DecodedPattern pattern = DecodeSearchPattern(PatternFor(args));
    const bool ordered = args.Has("ordered");

    int matches = 0;
    if (args.Has("all")) {
        for (int64_t start = 0; start < length;) {
            int64_t found = FindValues(pattern, bytes, length, start, length, ordered);
            if (found < 0) break;
            PrintMatch(pattern);
            ++matches;
            start = found + 1;
        }
    } else {
        const bool backward = args.Has("backward");
        uint32_t flags = 0;
        if (backward) flags |= kSearchBackward;
        if (args.Has("wrap")) flags |= kSearchWholeMemory;
        std::optional<ISearchTarget::Range> selection;
        if (auto in = args.Value("in")) {
            selection = SelectionOption(*in, length);
            flags |= kSearchInSelection;
        }
        auto from = args.Number("from");
        // Without a cursor: forward searches from the start, backward ones from the end.
        if (!from && !selection && !backward) flags |= kSearchFromStart;
        // A cursor past the end stands at the end: a backward search then covers the whole file.
        const int64_t cursor = from ? static_cast<int64_t>(std::min<uint64_t>(*from, static_cast<uint64_t>(length)))
                                    : (backward ? length : 0);
        const SearchPlan plan = PlanDialogSearch(flags, cursor, length, selection);
        int64_t found = FindValues(pattern, bytes, length, plan.start, plan.count, ordered);
        if (found < 0 && plan.wrap)
            found = FindValues(pattern, bytes, length, plan.wrapStart, plan.wrapCount, ordered);
        if (found >= 0) {
            PrintMatch(pattern);
            ++matches;
        }
    }
    if (matches > 0) return 0;
    std::cerr << kNotFoundText << "\n";
    return 1;
}

}  // namespace

QV_CLI_COMMAND_FAILURE("search",
               "search FILE VALUE... [--width byte|word|dword|variable] [--big-endian] [--ignore-case] [--unicode] "
               "[--range R] [--ordered] [--backward] [--from OFFSET] [--in O:L] [--wrap] [--all]",
                       "nichts gefunden, oder die Datei ist nicht lesbar oder die Ausgabe nicht schreibbar", RunSearch);

}  // namespace qv::cli
