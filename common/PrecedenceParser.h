// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operator-precedence reading shared by the expression evaluators: operator levels, the
// conditional operator, parentheses, unary operators, blanks and the nesting limit.
//
// Levels: 1 «|| &&», 2 «== != < <= > >=», 3 «& | ^», 4 «<< >>», 5 «+ -», 6 «* / %». A level-L
// evaluation reads a primary and then the operators of higher levels; an operator of level P
// is followed by a single primary when L is P - 1, else by an evaluation at level P. The
// whole text and the false branch of a conditional are read at level -2, a parenthesis at
// level -1, the true branch of a conditional at level -3 (it must end at ":").
//
// The evaluator derives from PrecedenceParser<Evaluator, T> and supplies:
//   T Operand()                       reads a primary that is not a parenthesis or unary operator
//   T Unary(char op, T operand)       applies «+», «-», «~» or «!»
//   T Apply(ExpressionOp, T, T)       applies a binary operator (see DivisionByZero)
#include <cstddef>
#include <string_view>

namespace qv {

enum class ExpressionOp { None, LogicalOr, LogicalAnd, Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual,
                          BitAnd, BitOr, BitXor, ShiftLeft, ShiftRight, Add, Subtract, Multiply, Divide, Remainder };

template <typename Derived, typename T>
class PrecedenceParser {
protected:
    // The text ends at its first NUL character.
    explicit PrecedenceParser(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    // Reads the whole text. Whatever stops the outermost level and is not the end is an error:
    // an unknown character, ":" outside a conditional, ")" without "(", text after the expression.
    T ParseAll()
    {
        const T value = Evaluate(-2);
        if (!failed_ && pos_ < text_.size()) failed_ = true;
        return value;
    }

    void SkipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    char At(size_t offset) const { return pos_ + offset < text_.size() ? text_[pos_ + offset] : '\0'; }

    T Primary()
    {
        SkipBlanks();
        if (pos_ >= text_.size() || ++depth_ > kMaxDepth) {
            failed_ = true;
            return T{0};
        }
        T value{0};
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
            const T operand = Primary();
            value = Self().Unary(c, operand);
        } else {
            value = Self().Operand();
        }
        --depth_;
        return value;
    }

    // A division by zero fails, except in the branch of a conditional that is not taken.
    T DivisionByZero(T left)
    {
        if (lenient_ == 0) failed_ = true;
        return left;
    }

    std::string_view text_;
    size_t pos_ = 0;
    bool failed_ = false;

private:
    // Deeper nesting (parentheses, unary operators, conditionals) fails instead of
    // exhausting the stack.
    static constexpr int kMaxDepth = 200;

    struct OpInfo {
        ExpressionOp op = ExpressionOp::None;
        int level = 0;
        size_t length = 0;
    };

    Derived& Self() { return static_cast<Derived&>(*this); }

    OpInfo PeekOperator() const
    {
        using Op = ExpressionOp;
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

    T Evaluate(int level)
    {
        if (++depth_ > kMaxDepth) failed_ = true;
        T value = failed_ ? T{0} : Primary();
        while (!failed_) {
            SkipBlanks();
            if (At(0) == '?') {
                ++pos_;
                value = Conditional(value);
                continue;
            }
            // Inside the right operand of an operator below the highest level ":" cannot stand;
            // every other level hands it back (a parenthesis then fails for want of its ")"),
            // so a false branch nested in a true branch ends there too («1?2?3:4:5»).
            if (At(0) == ':' && level >= 1 && level <= 5) {
                failed_ = true;
                break;
            }
            const OpInfo info = PeekOperator();
            if (info.op == ExpressionOp::None || level >= info.level) break;  // handed back to the caller
            pos_ += info.length;
            const T right = (level == info.level - 1) ? Primary() : Evaluate(info.level);
            if (failed_) break;
            value = Self().Apply(info.op, value, right);
        }
        --depth_;
        return value;
    }

    // Both branches are read; the one not taken does not fail on a division by zero.
    T Conditional(T condition)
    {
        if (condition == 0) ++lenient_;
        const T whenTrue = Evaluate(-3);
        if (condition == 0) --lenient_;
        if (failed_) return whenTrue;
        SkipBlanks();
        if (At(0) != ':') {
            failed_ = true;
            return whenTrue;
        }
        ++pos_;
        if (condition != 0) ++lenient_;
        const T whenFalse = Evaluate(-2);
        if (condition != 0) --lenient_;
        return condition != 0 ? whenTrue : whenFalse;
    }

    int depth_ = 0;
    int lenient_ = 0;
};

}  // namespace qv
