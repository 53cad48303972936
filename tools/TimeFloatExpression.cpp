// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeFloatExpression.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "common/PrecedenceParser.h"

namespace qv {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string UpperWord(std::string_view word)
{
    std::string upper(word);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// The bit operators work on the integral part.
int64_t ToInteger(double value)
{
    if (!(value > -9.2e18 && value < 9.2e18)) return 0;
    return static_cast<int64_t>(value);
}

// Evaluates on double values.
class FloatEvaluator : public PrecedenceParser<FloatEvaluator, double> {
    using Base = PrecedenceParser<FloatEvaluator, double>;
    friend Base;
    using Op = ExpressionOp;

public:
    explicit FloatEvaluator(std::string_view text) : Base(text) {}

    bool Run(double& value)
    {
        value = ParseAll();
        if (!std::isfinite(value)) {
            value = 0.0;
            failed_ = true;
        }
        return !failed_;
    }

private:
    double Unary(char op, double operand)
    {
        return op == '+'   ? operand
               : op == '-' ? -operand
               : op == '~' ? static_cast<double>(~ToInteger(operand))
                           : (operand == 0 ? 1.0 : 0.0);
    }

    double Operand() { return IsLetter(text_[pos_]) ? Name() : Number(); }

    // A decimal floating-point number: digits, point, exponent.
    double Number()
    {
        double number = 0.0;
        auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), number,
                                            std::chars_format::general);
        if (error != std::errc()) {  // no number, or one beyond the double range
            failed_ = true;
            return 0.0;
        }
        pos_ = static_cast<size_t>(end - text_.data());
        return number;
    }

    // The number written directly after LOG or ROOT, if there is one.
    bool AttachedNumber(double& number)
    {
        if (!IsDigit(At(0)) && !(At(0) == '.' && IsDigit(At(1)))) return false;
        number = Number();
        return true;
    }

    double Name()
    {
        size_t start = pos_;
        while (pos_ < text_.size() && IsLetter(text_[pos_])) ++pos_;
        const std::string name = UpperWord(text_.substr(start, pos_ - start));
        if (name == "PI") return std::numbers::pi;
        if (name == "E") return std::numbers::e;

        double base = 0.0;
        bool attached = (name == "LOG" || name == "ROOT") && AttachedNumber(base);
        if (failed_) return 0.0;
        if (name == "ROOT" && !attached) return Fail(0.0);
        const double x = Primary();
        if (failed_) return x;
        if (name == "ABS") return std::fabs(x);
        if (name == "ACOS") return x >= -1 && x <= 1 ? std::acos(x) : Fail(x);
        if (name == "ASIN") return x >= -1 && x <= 1 ? std::asin(x) : Fail(x);
        if (name == "ACOT") return std::numbers::pi / 2 - std::atan(x);
        if (name == "ATAN") return std::atan(x);
        if (name == "CEIL") return std::ceil(x);
        if (name == "FLOOR") return std::floor(x);
        if (name == "ROUND") return std::floor(x + 0.5);
        if (name == "COS") return std::cos(x);
        if (name == "SIN") return std::sin(x);
        if (name == "TAN") return Finite(std::tan(x));
        if (name == "COT") return Finite(1.0 / std::tan(x));
        if (name == "SQRT") return x >= 0 ? std::sqrt(x) : Fail(x);
        if (name == "LN") return x > 0 ? std::log(x) : Fail(x);
        if (name == "LOG") {
            if (x <= 0) return Fail(x);
            if (!attached) return std::log10(x);
            return base > 0 && base != 1 ? std::log(x) / std::log(base) : Fail(x);
        }
        if (name == "ROOT") {
            if (x < 0 || base == 0) return Fail(x);
            return Finite(std::pow(x, 1.0 / base));
        }
        return Fail(0.0);  // an unknown name
    }

    double Fail(double value)
    {
        failed_ = true;
        return value;
    }

    double Finite(double value) { return std::isfinite(value) ? value : Fail(0.0); }

    double Apply(Op op, double left, double right)
    {
        switch (op) {
        case Op::LogicalOr: return (left != 0 || right != 0) ? 1.0 : 0.0;
        case Op::LogicalAnd: return (left != 0 && right != 0) ? 1.0 : 0.0;
        case Op::Equal: return left == right ? 1.0 : 0.0;
        case Op::NotEqual: return left != right ? 1.0 : 0.0;
        case Op::Less: return left < right ? 1.0 : 0.0;
        case Op::LessEqual: return left <= right ? 1.0 : 0.0;
        case Op::Greater: return left > right ? 1.0 : 0.0;
        case Op::GreaterEqual: return left >= right ? 1.0 : 0.0;
        case Op::BitAnd: return static_cast<double>(ToInteger(left) & ToInteger(right));
        case Op::BitOr: return static_cast<double>(ToInteger(left) | ToInteger(right));
        case Op::BitXor: return static_cast<double>(ToInteger(left) ^ ToInteger(right));
        case Op::ShiftLeft:
            return static_cast<double>(static_cast<int64_t>(static_cast<uint64_t>(ToInteger(left))
                                                            << (static_cast<uint64_t>(ToInteger(right)) % 64)));
        case Op::ShiftRight: return static_cast<double>(ToInteger(left) >> (static_cast<uint64_t>(ToInteger(right)) % 64));
        case Op::Add: return left + right;
        case Op::Subtract: return left - right;
        case Op::Multiply: return left * right;
        case Op::Divide:
        case Op::Remainder:
            if (right == 0) return DivisionByZero(left);
            return op == Op::Divide ? left / right : std::fmod(left, right);
        case Op::None: break;
        }
        return left;
    }
};

}  // namespace

bool EvaluateFloatExpression(std::string_view text, double& value)
{
    value = 0.0;
    return FloatEvaluator(text).Run(value);
}

}  // namespace qv
