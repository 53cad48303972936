#include "common/Expression.h"

#include <algorithm>
#include <type_traits>

#include "common/NumberText.h"

namespace qv {
namespace {

// Deeper nesting (parentheses, unary operators, conditionals) fails instead of
// exhausting the stack.
constexpr int kMaxDepth = 200;

enum class Op { None, LogicalOr, LogicalAnd, Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual,
                BitAnd, BitOr, BitXor, ShiftLeft, ShiftRight, Add, Subtract, Multiply, Divide, Remainder };

struct OpInfo {
    Op op = Op::None;
    int level = 0;
    size_t length = 0;
};

// Evaluates with wrap-around arithmetic on the unsigned type U. A level-L evaluation reads
// a primary and then applies operators of higher levels; an operator of level P is
// followed by a single primary when L is P - 1, else by an evaluation at level P.
template <typename U>
class Evaluator {
    using S = std::make_signed_t<U>;
    static constexpr unsigned kBits = sizeof(U) * 8;

public:
    Evaluator(std::string_view text, const NameResolver& resolver) : text_(text), resolver_(resolver)
    {
        if (size_t zero = text_.find('\0'); zero != std::string_view::npos) text_ = text_.substr(0, zero);
    }

    size_t Run(U& value, bool& ok)
    {
        value = Evaluate(-2);
        // Whatever stopped the outermost level and is not the end is an error: an unknown
        // character, ":" outside a conditional, ")" without "(", text after the expression.
        if (!failed_ && pos_ < text_.size()) failed_ = true;
        ok = !failed_;
        return pos_;
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

    U Evaluate(int level)
    {
        if (++depth_ > kMaxDepth) failed_ = true;
        U value = failed_ ? U{0} : Primary();
        while (!failed_) {
            SkipBlanks();
            if (At(0) == '?') {
                ++pos_;
                value = Conditional(value);
                continue;
            }
            // Only a true branch, or the single operand read at the highest level, ends at ":";
            // inside the right operand of any other operator it cannot stand.
            if (At(0) == ':' && level >= 1 && level <= 5) {
                failed_ = true;
                break;
            }
            const OpInfo info = PeekOperator();
            if (info.op == Op::None || level >= info.level) break;  // handed back to the caller
            pos_ += info.length;
            const U right = (level == info.level - 1) ? Primary() : Evaluate(info.level);
            if (failed_) break;
            value = Apply(info.op, value, right);
        }
        --depth_;
        return value;
    }

    // Both branches are read; the one not taken does not fail on a division by zero.
    U Conditional(U condition)
    {
        if (condition == 0) ++lenient_;
        const U whenTrue = Evaluate(-3);
        if (condition == 0) --lenient_;
        if (failed_) return whenTrue;
        SkipBlanks();
        if (At(0) != ':') {
            failed_ = true;
            return whenTrue;
        }
        ++pos_;
        if (condition != 0) ++lenient_;
        const U whenFalse = Evaluate(-2);
        if (condition != 0) --lenient_;
        return condition != 0 ? whenTrue : whenFalse;
    }

    U Primary()
    {
        SkipBlanks();
        if (pos_ >= text_.size() || ++depth_ > kMaxDepth) {
            failed_ = true;
            return 0;
        }
        U value = 0;
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
            const U operand = Primary();
            value = c == '+' ? operand : c == '-' ? U(U{0} - operand) : c == '~' ? U(~operand) : U(operand == 0);
        } else if (c == '\'') {
            value = CharacterConstant();
        } else {
            value = NameOrNumber();
        }
        --depth_;
        return value;
    }

    U NameOrNumber()
    {
        const std::string_view rest = text_.substr(pos_);
        if (resolver_ && !(rest[0] >= '0' && rest[0] <= '9')) {
            int64_t resolved = 0;
            const int used = resolver_(rest, resolved);
            if (used > 0) {
                pos_ += std::min(static_cast<size_t>(used), rest.size());
                return static_cast<U>(resolved);
            }
        }
        size_t used = 0;
        const U number = static_cast<U>(ParseNumber64(rest, kNumberSuffixes, &used));
        if (used == 0) failed_ = true;
        pos_ += used;
        return number;
    }

    // «'A'», «'\n'», «'\x41'», «'\101'»; several characters fill the value from the right.
    U CharacterConstant()
    {
        ++pos_;
        U value = 0;
        size_t count = 0;
        while (pos_ < text_.size() && text_[pos_] != '\'') {
            value = static_cast<U>((value << 8) | EscapedCharacter());
            ++count;
        }
        if (count == 0 || pos_ >= text_.size()) {
            failed_ = true;
            return value;
        }
        ++pos_;
        return value;
    }

    uint8_t EscapedCharacter()
    {
        const char c = text_[pos_++];
        if (c != '\\' || pos_ >= text_.size()) return static_cast<uint8_t>(c);
        const char e = text_[pos_++];
        switch (e) {
        case 'a': return 7;
        case 'b': return 8;
        case 'f': return 12;
        case 'n': return 10;
        case 'r': return 13;
        case 't': return 9;
        case 'v': return 11;
        case 'x': {
            // Up to two hexadecimal digits.
            size_t used = 0;
            const auto code = ParseNumber(text_.substr(pos_, 2), 16 | kNumberNoSign | kNumberNoLeadingBlanks, &used);
            pos_ += used;
            return static_cast<uint8_t>(code);
        }
        default:
            if (e >= '0' && e <= '7') {
                unsigned code = static_cast<unsigned>(e - '0');
                for (int i = 0; i < 2 && pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '7'; ++i)
                    code = code * 8 + static_cast<unsigned>(text_[pos_++] - '0');
                return static_cast<uint8_t>(code);
            }
            return static_cast<uint8_t>(e);  // \\ \' \" \? and any other character stand for themselves
        }
    }

    U Apply(Op op, U left, U right)
    {
        const auto sl = static_cast<S>(left), sr = static_cast<S>(right);
        switch (op) {
        case Op::LogicalOr: return left != 0 || right != 0;
        case Op::LogicalAnd: return left != 0 && right != 0;
        case Op::Equal: return left == right;
        case Op::NotEqual: return left != right;
        case Op::Less: return sl < sr;
        case Op::LessEqual: return sl <= sr;
        case Op::Greater: return sl > sr;
        case Op::GreaterEqual: return sl >= sr;
        case Op::BitAnd: return left & right;
        case Op::BitOr: return left | right;
        case Op::BitXor: return left ^ right;
        case Op::ShiftLeft: return static_cast<U>(left << (right % kBits));
        case Op::ShiftRight: return static_cast<U>(sl >> (right % kBits));  // keeps the sign
        case Op::Add: return static_cast<U>(left + right);
        case Op::Subtract: return static_cast<U>(left - right);
        case Op::Multiply: return static_cast<U>(left * right);
        case Op::Divide:
        case Op::Remainder:
            if (right == 0) {
                if (lenient_ == 0) failed_ = true;
                return left;
            }
            // The smallest value divided by -1 would trap: its quotient wraps around to the
            // smallest value itself, and the remainder is 0.
            if (sr == -1) return op == Op::Divide ? static_cast<U>(U{0} - left) : U{0};
            return static_cast<U>(op == Op::Divide ? sl / sr : sl % sr);
        case Op::None: break;
        }
        return left;
    }

    std::string_view text_;
    const NameResolver& resolver_;
    size_t pos_ = 0;
    int depth_ = 0;
    int lenient_ = 0;
    bool failed_ = false;
};

}  // namespace

size_t EvaluateExpression(std::string_view text, int32_t& value, bool* ok, const NameResolver& resolver)
{
    uint32_t result = 0;
    bool success = false;
    const size_t consumed = Evaluator<uint32_t>(text, resolver).Run(result, success);
    value = static_cast<int32_t>(result);
    if (ok) *ok = success;
    return consumed;
}

size_t EvaluateExpression64(std::string_view text, int64_t& value, bool* ok, const NameResolver& resolver)
{
    uint64_t result = 0;
    bool success = false;
    const size_t consumed = Evaluator<uint64_t>(text, resolver).Run(result, success);
    value = static_cast<int64_t>(result);
    if (ok) *ok = success;
    return consumed;
}

}  // namespace qv
