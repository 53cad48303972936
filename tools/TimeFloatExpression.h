// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating-point expression of the OLE date field: the operators and level rules of
// the integer expressions (common/Expression.h) on double values, decimal floating-point
// numbers, the functions ABS ACOS ACOT ASIN ATAN CEIL COS COT FLOOR LN LOG LOGn ROOTn
// ROUND SIN SQRT TAN (each applied to the operand that follows) and the constants E and
// PI, names in any letter case.
#include <string_view>

namespace qv {

// True when the whole text is a valid expression. On failure `value` holds what was
// computed before the failure. Arguments outside a function's domain and results that
// are not finite numbers are failures.
bool EvaluateFloatExpression(std::string_view text, double& value);

}  // namespace qv
