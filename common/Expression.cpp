// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Expression.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "common/NumberText.h"
#include "common/PrecedenceParser.h"

namespace qv {
namespace {

// Evaluates with wrap-around arithmetic on the unsigned type U.
template <typename U>
class Evaluator : public PrecedenceParser<Evaluator<U>, U> {
    using Base = PrecedenceParser<Evaluator<U>, U>;
    friend Base;
    using Op = ExpressionOp;
    using S = std::make_signed_t<U>;
    static constexpr unsigned kBits = sizeof(U) * 8;
    using Base::text_;
    using Base::pos_;
    using Base::failed_;

public:
    Evaluator(std::string_view text, const NameResolver& resolver) : Base(text), resolver_(resolver) {}

    size_t Run(U& value, bool& ok)
    {
        value = Base::ParseAll();
        ok = !failed_;
        return pos_;
    }

private:
    U Unary(char op, U operand)
    {
        return op == '+' ? operand : op == '-' ? U(U{0} - operand) : op == '~' ? U(~operand) : U(operand == 0);
    }

    U Operand() { return text_[pos_] == '\'' ? CharacterConstant() : NameOrNumber(); }

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
            if (right == 0) return Base::DivisionByZero(left);
            // The smallest value divided by -1 would trap: its quotient wraps around to the
            // smallest value itself, and the remainder is 0.
            if (sr == -1) return op == Op::Divide ? static_cast<U>(U{0} - left) : U{0};
            return static_cast<U>(op == Op::Divide ? sl / sr : sl % sr);
        case Op::None: break;
        }
        return left;
    }

    const NameResolver& resolver_;
};

// Evaluates on the unsigned type U and hands the result over as the signed type of the caller.
template <typename U, typename Signed>
size_t EvaluateAs(std::string_view text, Signed& value, bool* ok, const NameResolver& resolver)
{
    U result = 0;
    bool success = false;
    const size_t consumed = Evaluator<U>(text, resolver).Run(result, success);
    value = static_cast<Signed>(result);
    if (ok) *ok = success;
    return consumed;
}

}  // namespace

size_t EvaluateExpression(std::string_view text, int32_t& value, bool* ok, const NameResolver& resolver)
{
    return EvaluateAs<uint32_t>(text, value, ok, resolver);
}

size_t EvaluateExpression64(std::string_view text, int64_t& value, bool* ok, const NameResolver& resolver)
{
    return EvaluateAs<uint64_t>(text, value, ok, resolver);
}

}  // namespace qv
