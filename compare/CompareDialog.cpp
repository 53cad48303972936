// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/CompareDialog.h"

#include "common/Expression.h"

namespace qv {

namespace {

std::optional<int64_t> Offset(const std::string& text)
{
    int64_t value = 0;
    bool ok = false;
    EvaluateExpression64(text, value, &ok);
    if (!ok || value < 0) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> CompareDialog::Problem() const
{
    if (path.find_first_not_of(' ') == std::string::npos) return "Bitte geben Sie die Datei an, mit der verglichen werden soll.";
    if (!Offset(leftStart) || !Offset(rightStart))
        return "Ein Offset muss eine Zahl ab 0 sein (etwa 0x200 oder 512).";
    return std::nullopt;
}

CompareAlignment CompareDialog::Alignment() const
{
    return {Offset(leftStart).value_or(0), Offset(rightStart).value_or(0), -1};
}

}  // namespace qv
