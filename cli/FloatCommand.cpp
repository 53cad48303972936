// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli float: a value typed into one field of the float converter, then the swap
// buttons pressed in order; prints every field with its validity.
#include <iostream>
#include <utility>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "common/CodePage.h"
#include "tools/FloatConverter.h"

namespace qv::cli {
namespace {

const std::pair<const char*, FloatField> kFields[] = {
    {"double", FloatField::DoubleValue},
    {"float", FloatField::FloatValue},
    {"double-mantissa", FloatField::DoubleMantissa},
    {"float-mantissa", FloatField::FloatMantissa},
    {"double-exponent", FloatField::DoubleExponent},
    {"float-exponent", FloatField::FloatExponent},
    {"hex-dump", FloatField::HexDump},
};

FloatField FieldNamed(const std::string& name)
{
    for (const auto& [fieldName, field] : kFields)
        if (name == fieldName) return field;
    throw UsageError("unbekanntes Feld \"" + name + "\"");
}

int RunFloat(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {"swap"}, {});
    if (args.Positional().size() != 2) throw UsageError("ein Feld und einen Text angeben");
    const FloatField field = FieldNamed(args.Positional()[0]);

    FloatConverterModel model(nullptr, 0);
    model.EditField(field, Utf8ToCp1252(args.Positional()[1]));
    for (const std::string& swap : args.Values("swap")) {
        if (swap == "bytes")
            model.SwapBytes();
        else if (swap == "words")
            model.SwapWords();
        else if (swap == "qwords")
            model.SwapQWords();
        else
            throw UsageError("--swap nimmt bytes, words oder qwords");
    }
    for (const auto& [name, shown] : kFields)
        std::cout << name << '\t' << Cp1252ToUtf8(model.Text(shown)) << '\t'
                  << (model.IsValid(shown) ? "valid" : "invalid") << '\n';
    return 0;
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("float", "float FELD TEXT [--swap bytes|words|qwords]...", qv::cli::RunFloat);
