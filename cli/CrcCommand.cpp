// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli crc: the nine CRC results of a file range, set up through the same field
// synchronisation as the dialog, optionally followed by the generated C source.
#include <iostream>
#include <strings.h>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "cli/ToolRange.h"
#include "tools/ChecksumInput.h"
#include "tools/CrcCatalog.h"
#include "tools/CrcDialogModel.h"

namespace qv::cli {
namespace {

size_t CatalogIndexOf(const std::string& name)
{
    for (size_t index = 1; index < kCrcCatalogSize; ++index)
        if (strcasecmp(CrcCatalogAt(index).name, name.c_str()) == 0) return index;
    std::string names;
    for (size_t index = 1; index < kCrcCatalogSize; ++index) names += std::string("\n  ") + CrcCatalogAt(index).name;
    throw UsageError("unbekannter Katalogeintrag \"" + name + "\"; bekannt sind:" + names);
}

int SourceOf(const std::string& text)
{
    if (text == "A" || text == "a") return 1;
    if (text == "B" || text == "b") return 2;
    if (text == "C" || text == "c") return 3;
    throw UsageError("--source erwartet A, B oder C");
}

int RunCrc(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {"offset", "length", "catalog", "width", "poly", "normal", "formula", "start", "source"},
                 {"invert"});
    if (args.Positional().size() != 1) throw UsageError("genau eine Datei angeben");
    int polynomialOptions = args.Has("poly") + args.Has("normal") + args.Has("formula");
    if (polynomialOptions > 1) throw UsageError("nur eine von --poly, --normal, --formula angeben");
    const InputFile input(args.Positional()[0], RangeReadLimit(args));
    const BlockByteSource file(input.Data(), static_cast<int64_t>(input.Size()));
    const ToolBytes range = RangeOfFile(file, args);
    input.WillRead(input.Data() + range.offset, static_cast<size_t>(range.length));

    // The fields are set up on no bytes, so that only the final setup runs over the input.
    CrcDialogModel model(ToolBytes{});
    model.Load({});
    CrcFields& fields = model.Fields();
    if (auto name = args.Value("catalog")) {
        fields.catalogIndex = CatalogIndexOf(*name);
        model.Changed(CrcChange::Catalog);
    }
    // Each option is typed into its field, in this order, as the user would in the dialog.
    struct TextOption {
        const char* name;
        std::string CrcFields::*field;
        CrcChange change;
    };
    static constexpr TextOption kTextOptions[] = {
        {"width", &CrcFields::widthText, CrcChange::Width},
        {"poly", &CrcFields::reflectedText, CrcChange::Reflected},
        {"normal", &CrcFields::normalText, CrcChange::Normal},
        {"formula", &CrcFields::formulaText, CrcChange::Formula},
        {"start", &CrcFields::startText, CrcChange::Start},
    };
    for (const TextOption& option : kTextOptions) {
        const auto text = args.Value(option.name);
        if (!text) continue;
        fields.*option.field = *text;
        model.Changed(option.change);
        if (option.change == CrcChange::Formula && fields.FormulaInvalid())
            throw UsageError("die Formel ist ungültig: " + *text);
    }
    if (args.Has("invert")) model.SetInvert(true);
    model.SetSource(args.Has("source") ? SourceOf(*args.Value("source")) : CrcDialogModel::kSourceNone);
    model.SetInput(range);

    for (int i = 0; i < CrcDialogModel::kResultCount; ++i)
        std::cout << CrcDialogModel::ResultLabel(i) << '\t' << model.ResultText(i) << '\n';
    if (model.Source() != CrcDialogModel::kSourceNone) std::cout << model.SourceText() << '\n';
    return 0;
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("crc",
               "crc DATEI [--offset O --length L] [--catalog NAME] [--width W] [--poly R | --normal N | --formula F] "
               "[--start S] [--invert] [--source A|B|C]",
               qv::cli::RunCrc);
