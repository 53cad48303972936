#include "tools/TimeFloatExpression.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

namespace qv {
namespace {

constexpr int kMaxDepth = 200;  // deeper nesting fails instead of exhausting the stack
constexpr int kHighestLevel = 6;

enum class Op { None, LogicalOr, LogicalAnd, Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual,
                BitAnd, BitOr, BitXor, ShiftLeft, ShiftRight, Add, Subtract, Multiply, Divide, Remainder };

struct OpInfo {
    Op op = Op::None;
    int level = 0;
    size_t length = 0;
};

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

// Reads at level L a primary and then the operators of higher levels; an operator of level
// P is followed by a single primary when L is P - 1, else by an evaluation at level P.
// "?" starts a conditional at any level: the true branch is read at level -3 and must end
// at ":", the false branch at level -2 runs to the end of the text or parenthesis.
class FloatEvaluator {
public:
    explicit FloatEvaluator(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    bool Run(double& value)
    {
        value = Evaluate(-2);
        if (!failed_ && pos_ < text_.size()) failed_ = true;  // text after a complete expression
        if (!std::isfinite(value)) {
            value = 0.0;
            failed_ = true;
        }
        return !failed_;
    }

private:
    void SkipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    char At(size_t offset) const { return pos_ + offset < text_.size() ? text_[pos_ + offset] : '\0'; }

    OpInfo PeekOperator() const
    {
        const char next = At(1);
        switch (At(0)) {
        case '|': return next == '|' ? OpInfo{Op::LogicalOr, 1, 2} : OpInfo{Op::BitOr, 3, 1};
        case '&': return next == '&' ? OpInfo{Op::LogicalAnd, 1, 2} : OpInfo{Op::BitAnd, 3, 1};
        case '^': return {Op::BitXor, 3, 1};
        case '=': return next == '=' ? OpInfo{Op::Equal, 2, 2} : OpInfo{};
        case '!': return next == '=' ? OpInfo{Op::NotEqual, 2, 2} : OpInfo{};
        case '<':
            if (next == '<') return {Op::ShiftLeft, 4, 2};
            return next == '=' ? OpInfo{Op::LessEqual, 2, 2} : OpInfo{Op::Less, 2, 1};
        case '>':
            if (next == '>') return {Op::ShiftRight, 4, 2};
            return next == '=' ? OpInfo{Op::GreaterEqual, 2, 2} : OpInfo{Op::Greater, 2, 1};
        case '+': return {Op::Add, 5, 1};
        case '-': return {Op::Subtract, 5, 1};
        case '*': return {Op::Multiply, 6, 1};
        case '/': return {Op::Divide, 6, 1};
        case '%': return {Op::Remainder, 6, 1};
        default: return {};
        }
    }

    double Evaluate(int level)
    {
        if (++depth_ > kMaxDepth) failed_ = true;
        double value = failed_ ? 0.0 : Primary();
        while (!failed_) {
            SkipBlanks();
            if (At(0) == '?') {
                ++pos_;
                value = Conditional(value);
                continue;
            }
            // Only the true branch of a conditional ends at ":"; a deeper level that looks
            // for an operator there makes the text invalid («1 ? 2 + 3 : 4»).
            if (At(0) == ':' && level != -3 && level < kHighestLevel) failed_ = true;
            const OpInfo info = PeekOperator();
            if (failed_ || info.op == Op::None || level >= info.level) break;
            pos_ += info.length;
            const double right = (level == info.level - 1) ? Primary() : Evaluate(info.level);
            if (failed_) break;
            value = Apply(info.op, value, right);
        }
        --depth_;
        return value;
    }

    double Conditional(double condition)
    {
        if (condition == 0) ++lenient_;
        const double whenTrue = Evaluate(-3);
        if (condition == 0) --lenient_;
        if (failed_) return whenTrue;
        SkipBlanks();
        if (At(0) != ':') {
            failed_ = true;
            return whenTrue;
        }
        ++pos_;
        if (condition != 0) ++lenient_;
        const double whenFalse = Evaluate(-2);
        if (condition != 0) --lenient_;
        return condition != 0 ? whenTrue : whenFalse;
    }

    double Primary()
    {
        SkipBlanks();
        if (pos_ >= text_.size() || ++depth_ > kMaxDepth) {
            failed_ = true;
            return 0.0;
        }
        double value = 0.0;
        const char c = text_[pos_];
        if (c == '(') {
            ++pos_;
            value = Evaluate(-1);
            SkipBlanks();
            if (!failed_ && At(0) == ')')
                ++pos_;
            else
                failed_ = true;
        } else if (c == '+' || c == '-' || c == '~' || c == '!') {
            ++pos_;
            const double operand = Primary();
            value = c == '+'   ? operand
                    : c == '-' ? -operand
                    : c == '~' ? static_cast<double>(~ToInteger(operand))
                               : (operand == 0 ? 1.0 : 0.0);
        } else if (IsLetter(c)) {
            value = Name();
        } else {
            value = Number();
        }
        --depth_;
        return value;
    }

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
            if (right == 0) {
                if (lenient_ == 0) failed_ = true;
                return left;
            }
            return op == Op::Divide ? left / right : std::fmod(left, right);
        case Op::None: break;
        }
        return left;
    }

    std::string_view text_;
    size_t pos_ = 0;
    int depth_ = 0;
    int lenient_ = 0;
    bool failed_ = false;
};

}  // namespace

bool EvaluateFloatExpression(std::string_view text, double& value)
{
    value = 0.0;
    return FloatEvaluator(text).Run(value);
}

}  // namespace qv
