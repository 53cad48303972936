// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli calc: an integer expression in every form the number calculator shows.
#include <iostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "common/CodePage.h"
#include "tools/CalculatorModel.h"

namespace qv::cli {
namespace {

// The words are joined with blanks, so that «calc 1 + 2» works as well as «calc "1 + 2"».
int RunCalc(const std::vector<std::string>& args)
{
    if (args.empty()) throw UsageError("einen Ausdruck angeben");
    std::string expression;
    for (const std::string& word : args) expression += (expression.empty() ? "" : " ") + word;

    const CalculatorResult result = EvaluateCalculatorInput(Utf8ToCp1252(expression));
    std::cout << "Dezimal:\t" << result.decimal << "\n"
              << "Hexadezimal:\t" << result.hexadecimal << "\n"
              << "Oktal:\t" << result.octal << "\n"
              << "Binär:\t" << result.binary << "\n"
              << "Ansi:\t" << Cp1252ToUtf8(result.ansi) << "\n";
    return result.valid ? 0 : 1;
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("calc", "calc AUSDRUCK", qv::cli::RunCalc);
