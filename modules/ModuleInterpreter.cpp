// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ModuleInterpreter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "common/CodePage.h"
#include "common/FormatText.h"
#include "modules/ModuleSet.h"
#include "modules/SourceReader.h"
#include "modules/StringText.h"
#include "modules/ValueFormatter.h"
#include "platform/LongTask.h"

namespace qv {

namespace {

constexpr int kMaxFrames = 16;
constexpr int64_t kScanLimit = 4096;
constexpr size_t kMaxFloatText = 982;
constexpr size_t kMaxStringListText = 1000;
constexpr int kMaxIndexWidth = 32;
// How many statements or pattern tests go by between two looks at the progress.
constexpr int kPollInterval = 4096;

const std::string& CallOverflowText()
{
    static const std::string text = Utf8ToCp1252("CALL Überlauf !!!");
    return text;
}

int32_t TruncateToInt32(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int64_t FloorMod(int64_t value, int64_t divisor)
{
    int64_t remainder = value % divisor;
    return remainder < 0 ? remainder + divisor : remainder;
}

struct Frame {
    int32_t returnStatement = 0;
    int64_t base = 0;
    int64_t loopCounter = 0;
    int32_t indent = 0;
    bool keepBase = false;
    int32_t bodyStart = -1;
};

enum class Outcome { Next, Row, Jumped, Stop };

// The state of one run; see ModuleInterpreter::Run.
class ModuleRun {
public:
    ModuleRun(ModuleSet& set, OutputSlot& slot, SourceReader& reader, TaskProgress* progress)
        : set_(set), statements_(set.statements), slot_(slot), reader_(reader), length_(reader.Size()),
          progress_(progress)
    {
    }

    void Execute(int32_t first, int64_t startOffset, int64_t maxRows, int32_t labelCount, int64_t statementLimit,
                 int64_t patternTestLimit)
    {
        labelMap_.assign(static_cast<size_t>(std::max(labelCount, 0)) + 1, 0);
        current_ = first;
        pos_ = startOffset;
        maxRows_ = maxRows;
        rowsLeft_ = maxRows;
        statementLimit_ = statementLimit;
        statementsLeft_ = statementLimit;
        patternTestsLeft_ = patternTestLimit;
        // Once the rows are used up the run goes on without rows, to learn whether it would
        // have shown more: then its last row says that the limit ended it.
        for (;;) {
            int64_t absolute = base_ + pos_;
            if (absolute > length_ || absolute < 0) return;
            if (current_ < 0 || current_ >= static_cast<int32_t>(statements_.size())) {
                AppendRow(0, "Programmfehler", current_, 0);
                return;
            }
            Tick();
            if (statementsLeft_ <= 0 || patternTestsLeft_ <= 0 || cancelled_) {
                AppendRow(current_, StoppedText(), pos_, base_ + pos_);
                return;
            }
            --statementsLeft_;
            StatementRecord& statement = statements_[static_cast<size_t>(current_)];
            start_ = pos_;
            statement.address = absolute;
            text_.clear();
            flags_ = statement.flags;
            indentBefore_ = indent_;
            sizeOverride_ = false;
            Outcome outcome = Dispatch(statement);
            if (outcome == Outcome::Stop) return;
            if (outcome == Outcome::Row && !FinishRow(statement)) return;
            if (outcome != Outcome::Jumped) ++current_;
        }
    }

private:
    // ---- helpers ----
    bool Valid(int32_t index) const { return index >= 0 && index < static_cast<int32_t>(statements_.size()); }
    int32_t Value(int32_t index) const { return Valid(index) ? statements_[static_cast<size_t>(index)].value : 0; }
    int64_t Address(int32_t index) const { return Valid(index) ? statements_[static_cast<size_t>(index)].address : 0; }
    void SetValue(int32_t index, int32_t value)
    {
        if (Valid(index)) statements_[static_cast<size_t>(index)].value = value;
    }
    bool Has(uint32_t flag) const { return (flags_ & flag) != 0; }
    int64_t Absolute() const { return base_ + pos_; }
    bool Fits(int64_t size) const { return Absolute() >= 0 && Absolute() + size <= length_; }

    void SkipPartialByte()
    {
        if (bitOffset_ != 0) {
            pos_ += (bitOffset_ + 7) / 8;
            bitOffset_ = 0;
        }
    }

    uint64_t ReadLittleEndian(int64_t at, int size)
    {
        const uint8_t* bytes = reader_.At(at, size);
        uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
        return value;
    }

    // Reports the position now and then, and notes a cancel.
    void Tick()
    {
        if (--untilPoll_ > 0) return;
        untilPoll_ = kPollInterval;
        if (!progress_) return;
        progress_->Report(std::clamp<int64_t>(Absolute(), 0, length_), length_);
        if (progress_->Cancelled()) cancelled_ = true;
    }

    // Whether loops of pattern tests may go on.
    bool Budget() const { return patternTestsLeft_ > 0 && !cancelled_; }

    const BytePattern* PatternOf(const StatementRecord& statement) const
    {
        if (statement.pattern < 0 || statement.pattern >= static_cast<int32_t>(set_.patterns.size())) return nullptr;
        return &set_.patterns[static_cast<size_t>(statement.pattern)];
    }

    const ValueTextList* ListOf(const StatementRecord& statement) const
    {
        if (statement.valueTexts < 0 || statement.valueTexts >= static_cast<int32_t>(set_.valueTexts.size()))
            return nullptr;
        return &set_.valueTexts[static_cast<size_t>(statement.valueTexts)];
    }

    bool PatternMatches(const BytePattern& pattern, int64_t at)
    {
        --patternTestsLeft_;
        Tick();
        at += pattern.positionOffset;
        if (pattern.positionVariable >= 0) at += Value(pattern.positionVariable);
        if (at < 0 || at + pattern.count > length_) return false;
        const uint8_t* bytes = reader_.At(at, pattern.count);
        for (int i = 0; i < pattern.count; ++i)
            if ((bytes[i] & pattern.masks[i]) != pattern.values[i]) return false;
        return true;
    }

    void AppendText(uint64_t value, int size, const StatementRecord& statement)
    {
        AppendValueText(text_, value, size, flags_, ListOf(statement), formCount_);
    }

    std::string StoppedText() const
    {
        if (cancelled_) return "Modul abgebrochen";
        if (statementsLeft_ <= 0)
            return FormatTextString("Modul nach %lld Befehlen angehalten", static_cast<long long>(statementLimit_));
        if (patternTestsLeft_ <= 0) return "Modul nach zu vielen Mustervergleichen angehalten";
        return FormatTextString("Modul nach %lld Zeilen angehalten", static_cast<long long>(maxRows_));
    }

    void AppendRow(int32_t nameRef, std::string text, int64_t offset, int64_t address)
    {
        ResultRow row;
        row.nameRef = nameRef;
        row.indent = indent_;
        row.offset = offset;
        row.address = address;
        row.valueText = std::move(text);
        slot_.rows.push_back(std::move(row));
    }

    int32_t RowName(const StatementRecord& statement)
    {
        if (!Has(kFlagI)) return current_;
        int width = Has(kHasNumber1) ? std::clamp(statement.number1, 1, kMaxIndexWidth) : 1;
        int32_t index = Value(statement.label1);
        std::string name = Has(kFlagA)
                               ? FormatTextString("%s[%0*Xh]", statement.name.c_str(), width, static_cast<unsigned>(index))
                               : FormatTextString("%s[%0*i]", statement.name.c_str(), width, index);
        slot_.names.push_back(std::move(name));
        return -static_cast<int32_t>(slot_.names.size() - 1);
    }

    // Appends the statement's row; false when the rows were used up, and the run ends.
    bool FinishRow(const StatementRecord& statement)
    {
        if (!Has(kFlagN)) {
            if (rowsLeft_ <= 0) {
                AppendRow(current_, StoppedText(), start_, base_ + start_);
                return false;
            }
            ResultRow row;
            row.nameRef = RowName(statement);
            row.indent = indentBefore_;
            row.size = pos_ - start_;
            row.offset = start_;
            row.address = base_ + start_;
            if (sizeOverride_) {
                row.size = overrideSize_;
                row.offset = overrideAddress_ - base_;
                row.address = overrideAddress_;
            }
            row.valueText = statement.rowLabel >= 0 ? text_ : std::move(text_);
            slot_.rows.push_back(std::move(row));
            if (statement.ownLabel >= 0 && statement.ownLabel < static_cast<int32_t>(labelMap_.size()))
                labelMap_[static_cast<size_t>(statement.ownLabel)] = static_cast<int32_t>(slot_.rows.size());
            --rowsLeft_;
        }
        if (statement.rowLabel >= 0 && statement.sourceMark != 0 && !text_.empty()) {
            if (ResultRow* row = LabelledRow(statement.rowLabel)) row->valueText = text_;
        }
        return true;
    }

    ResultRow* LabelledRow(int32_t label)
    {
        if (label < 0 || label >= static_cast<int32_t>(labelMap_.size())) return nullptr;
        int32_t number = labelMap_[static_cast<size_t>(label)];
        if (number <= 0 || number > static_cast<int32_t>(slot_.rows.size())) return nullptr;
        return &slot_.rows[static_cast<size_t>(number - 1)];
    }

    // ---- statements ----
    Outcome Dispatch(StatementRecord& statement)
    {
        switch (statement.code) {
        case kCodeByte: return Number(statement, 1);
        case kCodeWord: return Number(statement, 2);
        case kCodeRWord: return Number(statement, 3);
        case kCodeDWord: return Number(statement, 4);
        case kCodeQWord: return Number(statement, 8);
        case kCodeFloat: return Float(statement, 4);
        case kCodeDouble: return Float(statement, 8);
        case kCodeString: case kCodeStringP: case kCodeStringD: case kCodeStringB: case kCodeStringK:
            return String(statement);
        case kCodeBit: case kCodeRest: return Bits(statement);
        case kCodeOffset: return Offset(statement);
        case kCodeLen: return Len(statement);
        case kCodeRva: return Rva(statement);
        case kCodeText: return Outcome::Row;
        case kCodePrint: return Print(statement);
        case kCodeSprint: return Sprint(statement);
        case kCodeUp:
            indent_ = std::max(indent_ - 1, 0);
            return Has(kHasName) ? Outcome::Row : Outcome::Next;
        case kCodeDown:
            ++indent_;
            return Has(kHasName) ? Outcome::Row : Outcome::Next;
        case kCodeAdd: case kCodeMul: case kCodeSub: case kCodeAnd: case kCodeDiv: case kCodeMod: case kCodeMov:
        case kCodeBin:
            return Arithmetic(statement);
        case kCodeIf: return If(statement);
        case kCodeGoto:
            current_ = statement.label1;
            return Outcome::Jumped;
        case kCodeCall: return Call(statement.label1, Has(kFlagG), -1, 0);
        case kCodeLoop: return Loop(statement);
        case kCodeReturn: return Return();
        case kCodeSeek:
            Seek(flags_, statement.label1, Has(kHasLabel1), statement.number1,
                 Has(kHasNumber1), kSeekFactorMask);
            return Outcome::Next;
        case kCodeExit: return Outcome::Stop;
        default: return Outcome::Next;  // BLOCK, MODUL and the variables
        }
    }

    int64_t ElementCount(const StatementRecord& statement, bool hasPattern) const
    {
        int64_t count;
        if (Has(kFlagI)) count = 1;
        else if (Has(kHasNumber1)) count = statement.number1;
        else if (Has(kHasLabel1)) count = Value(statement.label1);
        else count = hasPattern ? kScanLimit : 1;
        if (count == 0 && hasPattern) count = kScanLimit;
        return count;
    }

    Outcome Number(StatementRecord& statement, int size)
    {
        SkipPartialByte();
        formCount_ = 0;
        const BytePattern* pattern = PatternOf(statement);
        int64_t count = ElementCount(statement, pattern != nullptr);
        uint64_t last = 0;
        bool read = false;
        for (int64_t i = 0; i < count && Budget(); ++i) {
            if (pattern && PatternMatches(*pattern, Absolute())) {
                pos_ += pattern->skip;
                break;
            }
            if (!Fits(size)) {
                flags_ |= kFlagN;
                break;
            }
            if (!pattern && !ValueTextOpen(text_, flags_)) {
                // Nothing more would be shown: go straight to the last element that fits.
                int64_t skip = std::min(count - i, (length_ - Absolute()) / size) - 1;
                pos_ += skip * size;
                i += skip;
            }
            last = ReadLittleEndian(Absolute(), size);
            pos_ += size;
            read = true;
            AppendText(last, size, statement);
        }
        if (read) statement.value = static_cast<int32_t>(static_cast<uint32_t>(last));
        return Outcome::Row;
    }

    Outcome Float(StatementRecord& statement, int size)
    {
        SkipPartialByte();
        const BytePattern* pattern = PatternOf(statement);
        int64_t count = ElementCount(statement, pattern != nullptr);
        double last = 0;
        bool read = false;
        for (int64_t i = 0; i < count && Budget(); ++i) {
            if (pattern && PatternMatches(*pattern, Absolute())) {
                pos_ += pattern->skip;
                break;
            }
            if (!Fits(size)) {
                pos_ += size;
                flags_ |= kFlagN;
                break;
            }
            bool showing = !Has(kFlagN) && text_.size() <= kMaxFloatText;
            if (!pattern && !showing) {
                int64_t skip = std::min(count - i, (length_ - Absolute()) / size) - 1;
                pos_ += skip * size;
                i += skip;
            }
            uint64_t bits = ReadLittleEndian(Absolute(), size);
            if (size == 4) {
                float value;
                uint32_t bits32 = static_cast<uint32_t>(bits);
                std::memcpy(&value, &bits32, sizeof value);
                last = value;
            } else {
                std::memcpy(&last, &bits, sizeof last);
            }
            pos_ += size;
            read = true;
            if (showing) {
                if (i > 0) text_ += "  ,  ";
                text_ += FormatFloatValue(last);
            }
        }
        if (read) statement.value = TruncateToInt32(last);
        return Outcome::Row;
    }

    unsigned Unit(int64_t at, bool wide, bool bigEndian)
    {
        if (!wide) return reader_.Byte(at);
        const uint8_t* bytes = reader_.At(at, 2);
        return bigEndian ? (bytes[0] << 8) | bytes[1] : bytes[0] | (bytes[1] << 8);
    }

    void AppendQuoted(int64_t at, int64_t units, bool wide, bool bigEndian, size_t maxText)
    {
        // No character takes less than one place in the text: more units never show.
        units = std::clamp<int64_t>(units, 0, static_cast<int64_t>(maxText) + 1);
        if (wide) {
            units = std::min<int64_t>(units, std::max<int64_t>(length_ - at, 0) / 2);
            AppendQuoted16(text_, reader_.At(at, 2 * units), static_cast<size_t>(units), bigEndian, maxText);
        } else {
            units = std::min<int64_t>(units, std::max<int64_t>(length_ - at, 0));
            AppendQuoted8(text_, reader_.At(at, units), static_cast<size_t>(units), Has(kFlagK), maxText);
        }
    }

    Outcome String(StatementRecord& statement)
    {
        SkipPartialByte();
        const bool wide = Has(kFlagU);
        const bool bigEndian = wide && Has(kFlagM);
        const int64_t unit = wide ? 2 : 1;
        const int64_t at = Absolute();
        const int64_t remainingBytes = std::max<int64_t>(length_ - at, 0);
        const int64_t remainingUnits = remainingBytes / unit;

        bool hasFixed = false;
        int64_t fixed = 0;
        if (Has(kFlagI)) {
            hasFixed = Has(kHasNumber1);
            fixed = 1;
        } else if (Has(kHasNumber1)) {
            hasFixed = true;
            fixed = statement.number1;
        } else if (Has(kHasLabel1)) {
            hasFixed = true;
            fixed = Value(statement.label1);
        }
        if (hasFixed) fixed = std::clamp<int64_t>(fixed, 0, remainingUnits);
        const int64_t limit = std::min(kScanLimit, remainingBytes) / unit;

        const BytePattern* pattern = PatternOf(statement);
        bool matched = false;
        if (pattern) {
            int64_t tests = hasFixed ? fixed : limit;
            for (int64_t k = 0; k < tests && Budget(); ++k) {
                if (PatternMatches(*pattern, at + k * unit)) {
                    fixed = k;
                    hasFixed = true;
                    matched = true;
                    break;
                }
            }
        }
        const int64_t scan = hasFixed ? fixed : limit;

        int64_t length = 0;     // d, the string's length
        int64_t consumed = 0;   // bytes
        switch (statement.code) {
        case kCodeString:
        case kCodeStringD: {
            unsigned end = statement.code == kCodeString ? 0 : '$';
            while (length < scan && Unit(at + length * unit, wide, bigEndian) != end) ++length;
            AppendQuoted(at, length, wide, bigEndian, kMaxValueText);
            consumed = (hasFixed ? fixed : length + 1) * unit;
            break;
        }
        case kCodeStringP: {
            if (remainingBytes < 2) {
                flags_ |= kFlagN;
                return Outcome::Row;
            }
            const uint8_t* prefix = reader_.At(at, 2);
            int64_t count = static_cast<int64_t>(wide && bigEndian ? (prefix[0] << 8) | prefix[1]
                                                                    : prefix[0] | (prefix[1] << 8));
            int64_t shown = hasFixed ? std::min(count, fixed - (wide ? 1 : 2)) : count;
            AppendQuoted(at + 2, shown, wide, bigEndian, kMaxValueText);
            length = count + (wide ? 1 : 2);
            if (hasFixed) length = std::min(length, fixed);
            consumed = hasFixed ? fixed * unit : (wide ? 2 * count + 2 : count + 2);
            break;
        }
        case kCodeStringB: {
            if (remainingBytes < 1) {
                flags_ |= kFlagN;
                return Outcome::Row;
            }
            int64_t count = reader_.Byte(at);
            int64_t shown = hasFixed ? std::min(count, fixed - 1) : count;
            AppendQuoted(at + 1, shown, wide, bigEndian, kMaxValueText);
            length = count + 1;
            if (hasFixed) length = std::min(length, fixed);
            consumed = hasFixed ? fixed * unit : (wide ? 2 * count + 1 : count + 1);
            break;
        }
        default: {  // STRING_K
            int64_t i = 0;
            bool ended = false;
            while (i < scan) {
                int64_t end = i;
                while (end < scan && Unit(at + end * unit, wide, bigEndian) != 0) ++end;
                if (end >= scan) break;  // characters after the last zero are not shown
                if (end == i) {
                    ended = true;
                    break;
                }
                if (text_.size() <= kMaxStringListText) {
                    if (i > 0) text_ += "  ,  ";
                    AppendQuoted(at + i * unit, end - i, wide, bigEndian, kMaxValueText);
                }
                i = end + 1;
            }
            length = ended ? i : scan;
            consumed = (hasFixed ? fixed : length + 1) * unit;
            break;
        }
        }
        if (Has(kFlagS) && !wide) text_ = Utf8ToCp1252(text_);
        pos_ += consumed + (matched ? pattern->skip : 0);
        statement.value = static_cast<int32_t>(length);
        return Outcome::Row;
    }

    Outcome Bits(StatementRecord& statement)
    {
        if (bitOffset_ >= 8) {
            pos_ += bitOffset_ / 8;
            bitOffset_ %= 8;
        }
        int64_t width;
        if (statement.code == kCodeBit) {
            int32_t n = statement.number1;
            width = n == 0 ? 1 : (n < 0 || n > 32 ? 32 : n);
        } else {
            int64_t n = statement.number1 == 0 ? 4 : std::abs(static_cast<int64_t>(statement.number1));
            int64_t q = Has(kFlagG) ? Absolute() : pos_;
            width = (n - (q - statement.number2) % n) * 8 - bitOffset_;
        }
        uint32_t word = 0;
        for (int i = 3; i >= 0; --i) {
            int64_t at = Absolute() + i;
            word = (word << 8) | (at >= 0 && at < length_ ? reader_.Byte(at) : 0);
        }
        int32_t shifted = static_cast<int32_t>(word) >> bitOffset_;
        int32_t value = width >= 32 ? shifted
                                    : static_cast<int32_t>(static_cast<uint32_t>(shifted) & ((1u << width) - 1));
        int64_t bits = bitOffset_ + width;
        int elementSize = static_cast<int>(std::clamp<int64_t>((bits + 7) / 8, 1, 4));
        pos_ += bits / 8;
        bitOffset_ = static_cast<int>(bits % 8);
        if (Absolute() > length_) flags_ |= kFlagN;
        formCount_ = 0;
        AppendText(static_cast<uint32_t>(value), elementSize, statement);
        statement.value = value;
        return Outcome::Row;
    }

    Outcome Offset(StatementRecord& statement)
    {
        int64_t value = Has(kHasLabel1) ? Address(statement.label1) - base_ : (Has(kFlagG) ? Absolute() : pos_);
        if (Has(kHasNumber1)) value += statement.number1;
        return ShowValue(statement, static_cast<int32_t>(value));
    }

    Outcome Len(StatementRecord& statement)
    {
        int64_t value = Has(kFlagA) ? length_ : (Has(kFlagG) ? length_ - base_ : length_ - Absolute());
        if (Has(kHasNumber1)) value += statement.number1;
        return ShowValue(statement, static_cast<int32_t>(value));
    }

    Outcome ShowValue(StatementRecord& statement, int32_t value)
    {
        formCount_ = 0;
        AppendText(static_cast<uint32_t>(value), 4, statement);
        statement.value = value;
        return Outcome::Row;
    }

    Outcome Rva(StatementRecord& statement)
    {
        int64_t rva;
        if (Has(kHasLabel2)) {
            rva = Value(statement.label2);
        } else if (Has(kHasNumber1)) {
            rva = statement.number1;
        } else {
            SkipPartialByte();
            if (!Fits(4)) {
                flags_ |= kFlagN;
                rva = 0;
            } else {
                rva = static_cast<int64_t>(ReadLittleEndian(Absolute(), 4));
                pos_ += 4;
            }
        }
        if (Has(kFlagG)) rva += base_;
        uint32_t v = static_cast<uint32_t>(rva);
        formCount_ = 0;
        if (!Has(kFlagS)) AppendText(v, 4, statement);
        uint32_t result = FileOffsetOf(statement.label1, v);
        if (Has(kFlagS)) {
            formCount_ = 0;
            AppendText(result, 4, statement);
        }
        if (Has(kFlagA) && Has(kHasLabel2)) SetValue(statement.label2, static_cast<int32_t>(result));
        statement.value = static_cast<int32_t>(result);
        return Outcome::Row;
    }

    // The file offset of an RVA by the 16 section headers at the position of statement table.
    uint32_t FileOffsetOf(int32_t table, uint32_t rva)
    {
        constexpr int kHeaders = 16, kHeaderSize = 40;
        if (!Valid(table)) return 0;
        int64_t at = Address(table);
        if (at < 0 || at + kHeaders * kHeaderSize > length_) return 0;
        for (int i = 0; i < kHeaders; ++i, at += kHeaderSize) {
            uint64_t virtualSize = (ReadLittleEndian(at + 8, 4) + 511) & ~uint64_t(511);
            uint64_t virtualAddress = ReadLittleEndian(at + 12, 4);
            uint64_t raw = ReadLittleEndian(at + 20, 4);
            if (virtualAddress <= rva && rva < virtualAddress + virtualSize)
                return static_cast<uint32_t>(raw + (rva - virtualAddress));
        }
        return 0;
    }

    Outcome Print(StatementRecord& statement)
    {
        int32_t value = Value(statement.label1);
        statement.value = value;
        formCount_ = 0;
        if (!Has(kFlagN)) AppendText(static_cast<uint32_t>(value), 4, statement);
        if (Has(kHasNumber1)) {
            sizeOverride_ = true;
            overrideSize_ = statement.number1;
            overrideAddress_ = Address(statement.label1);
        }
        return Outcome::Row;
    }

    Outcome Sprint(StatementRecord& statement)
    {
        int32_t value = Value(statement.label1);
        statement.value = value;
        formCount_ = 0;
        AppendText(static_cast<uint32_t>(value), 4, statement);
        if (Valid(statement.label2)) {
            if (ResultRow* row = LabelledRow(statements_[static_cast<size_t>(statement.label2)].ownLabel)) {
                if (Has(kFlagR)) row->size = value;
                else row->valueText = text_;
            }
        }
        return Outcome::Next;
    }

    Outcome Arithmetic(StatementRecord& statement)
    {
        auto operand = [&](int32_t index) -> int32_t {
            if (!Has(kFlagO)) return Value(index);
            int64_t address = Address(index);
            return static_cast<int32_t>(Has(kFlagG) ? address : address - base_);
        };
        int32_t first, second;
        if (!Has(kHasLabel2)) {
            first = operand(statement.label1);
            second = Has(kHasNumber1) ? statement.number1 : 0;
        } else if (Has(kHasNumber1)) {
            first = operand(statement.label2);
            second = statement.number1;
        } else {
            first = operand(statement.label1);
            second = operand(statement.label2);
        }
        uint32_t a = static_cast<uint32_t>(first), b = static_cast<uint32_t>(second);
        int32_t result = 0;
        switch (statement.code) {
        case kCodeAdd: result = static_cast<int32_t>(a + b); break;
        case kCodeMul: result = static_cast<int32_t>(a * b); break;
        case kCodeSub: result = static_cast<int32_t>(a - b); break;
        case kCodeAnd: result = static_cast<int32_t>(a & b); break;
        case kCodeDiv:
        case kCodeMod: {
            int64_t divisor = second == 0 ? 1 : second;
            int64_t quotient = static_cast<int64_t>(first) / divisor;
            result = static_cast<int32_t>(statement.code == kCodeDiv ? quotient : static_cast<int64_t>(first) % divisor);
            break;
        }
        case kCodeMov: result = second; break;
        default:  // BIN
            result = static_cast<int32_t>(static_cast<uint32_t>(statement.number1) + (1u << (b & 31)));
            break;
        }
        SetValue(Has(kFlagA) ? current_ : statement.label1, result);
        return Outcome::Next;
    }

    Outcome If(StatementRecord& statement)
    {
        const BytePattern* pattern = PatternOf(statement);
        bool result;
        int32_t target, operand;
        bool hasTarget, hasOperand;
        if (pattern) {
            result = PatternMatches(*pattern, Absolute());
            if (Has(kHasNot)) result = !result;
            pos_ += pattern->skip;
            target = statement.label1;
            hasTarget = Has(kHasLabel1);
            operand = statement.number1;
            hasOperand = Has(kHasNumber1);
        } else {
            int32_t v = Value(statement.label1);
            int32_t n = statement.number1;
            switch (statement.condition & kCompareMask) {
            case kCmpNotEqual: result = v != n; break;
            case kCmpGreaterEqual: result = v >= n; break;
            case kCmpLessEqual: result = v <= n; break;
            case kCmpGreater: result = v > n; break;
            case kCmpLess: result = v < n; break;
            case kCmpAnd: result = (v & n) != 0; break;
            default: result = v == n; break;
            }
            if (Has(kHasNot)) result = !result;
            if (Has(kFlagU)) SetValue(statement.label1, static_cast<int32_t>(static_cast<uint32_t>(v) + 1));
            if (Has(kFlagD)) SetValue(statement.label1, static_cast<int32_t>(static_cast<uint32_t>(v) - 1));
            target = statement.label2;
            hasTarget = Has(kHasLabel2);
            operand = statement.number2;
            hasOperand = Has(kHasNumber2);
        }
        if (!result) return Outcome::Next;
        switch (statement.condition >> kActionShift & 7) {
        case kActExit: return Outcome::Stop;
        case kActReturn: return Return();
        case kActGoto:
            current_ = target;
            return Outcome::Jumped;
        case kActCall: return Call(target, Has(kFlagG), -1, 0);
        case kActSeek:
            // An IF keeps its digits in the four bits of the data statements: factor 1 to 16.
            Seek(flags_, target, hasTarget, operand, hasOperand, kDigitFieldMask);
            return Outcome::Next;
        case kActMov: SetValue(target, operand); return Outcome::Next;
        case kActAdd:
            SetValue(target, static_cast<int32_t>(static_cast<uint32_t>(Value(target)) + static_cast<uint32_t>(operand)));
            return Outcome::Next;
        default: return Outcome::Next;
        }
    }

    Outcome Call(int32_t target, bool keepBase, int32_t bodyStart, int64_t loopCounter)
    {
        if (depth_ >= kMaxFrames) {
            ResultRow row;
            row.nameRef = current_;
            row.indent = indent_;
            row.offset = pos_;
            row.address = Absolute();
            row.valueText = CallOverflowText();
            slot_.rows.push_back(std::move(row));
            return Outcome::Stop;
        }
        stack_[depth_++] = Frame{current_ + 1, base_, loopCounter_, indent_, keepBase, bodyStart};
        if (!keepBase) {
            base_ += pos_;
            pos_ = 0;
        }
        loopCounter_ = loopCounter;
        current_ = target;
        return Outcome::Jumped;
    }

    Outcome Loop(const StatementRecord& statement)
    {
        int64_t count;
        int32_t body;
        if (Has(kHasLabel2)) {
            count = Value(statement.label1);
            body = statement.label2;
        } else {
            count = statement.number1;
            body = statement.label1;
        }
        if (count <= 0) return Outcome::Next;
        return Call(body, Has(kFlagG), body, count - 1);
    }

    Outcome Return()
    {
        if (depth_ == 0) return Outcome::Stop;
        const Frame& frame = stack_[depth_ - 1];
        if (loopCounter_ > 0) {
            current_ = frame.bodyStart;
            if (!frame.keepBase) {
                base_ += pos_;
                pos_ = 0;
            }
            --loopCounter_;
            return Outcome::Jumped;
        }
        loopCounter_ = frame.loopCounter;
        indent_ = frame.indent;
        current_ = frame.returnStatement;
        if (!frame.keepBase) {
            int64_t absolute = Absolute();
            base_ = frame.base;
            pos_ = absolute - base_;
        }
        --depth_;
        return Outcome::Jumped;
    }

    void Seek(uint32_t flags, int32_t label, bool hasLabel, int32_t number, bool hasNumber, uint32_t factorMask)
    {
        int64_t v = 0;
        if (hasLabel) {
            if (flags & kFlagM) {
                v = Address(label);
                flags |= kFlagA | kFlagG;
            } else {
                v = Value(label);
            }
        }
        if (hasNumber) v += number;
        uint32_t factor = (flags & factorMask) >> kDigitFieldShift;
        if (factor != 0) v *= factor + 1;
        SkipPartialByte();
        int64_t q = pos_;
        if (flags & kFlagA) {
            pos_ = (flags & kFlagG) ? v - base_ : v;
            if (Absolute() < 0) pos_ = -base_;
        } else if (flags & kFlagR) {
            // Align to the next multiple of n; with N a position already aligned stays.
            int64_t n = std::max<int64_t>(v, 1);
            int64_t origin = (flags & kFlagG) ? base_ : 0;
            int64_t r = origin + q - ((flags & kFlagN) ? 1 : 0);
            pos_ = r - FloorMod(r, n) + n - origin;
        } else {
            pos_ = q + v;
            if (Absolute() < 0) pos_ = -base_;
        }
        if (flags & kFlagB) {
            if (Absolute() > length_) pos_ = -base_;
            if (Absolute() < 0) pos_ = -base_;
        }
    }

    ModuleSet& set_;
    std::vector<StatementRecord>& statements_;
    OutputSlot& slot_;
    SourceReader& reader_;
    int64_t length_;
    TaskProgress* progress_;
    bool cancelled_ = false;
    int untilPoll_ = 1;  // the first statement reports at once

    int64_t base_ = 0;
    int64_t pos_ = 0;
    int bitOffset_ = 0;
    int32_t indent_ = 0;
    int64_t loopCounter_ = 0;
    Frame stack_[kMaxFrames];
    int depth_ = 0;
    int32_t current_ = 0;
    int64_t maxRows_ = 0;
    int64_t rowsLeft_ = 0;
    int64_t statementLimit_ = 0;
    int64_t statementsLeft_ = 0;
    int64_t patternTestsLeft_ = 0;
    std::vector<int32_t> labelMap_;

    // The statement being executed.
    int64_t start_ = 0;
    uint32_t flags_ = 0;
    int32_t indentBefore_ = 0;
    std::string text_;
    int formCount_ = 0;
    bool sizeOverride_ = false;
    int64_t overrideSize_ = 0;
    int64_t overrideAddress_ = 0;
};

}  // namespace

bool ModuleInterpreter::RunInto(OutputSlot& output, const IByteSource& data, int entryPoint, int maxRows,
                                int64_t startOffset, TaskProgress* progress)
{
    if (data.Size() <= 0) return false;
    if (entryPoint < 0 || entryPoint >= static_cast<int>(set_.entryPoints.size())) return false;
    const EntryPoint& entry = set_.entryPoints[static_cast<size_t>(entryPoint)];
    int32_t labelCount = 0;
    if (entry.module >= 0 && entry.module < static_cast<int32_t>(set_.modules.size()))
        labelCount = set_.modules[static_cast<size_t>(entry.module)].labelCount;
    for (int i = 0; i < ModuleSet::kLocalCount; ++i) set_.statements[static_cast<size_t>(i)].value = 0;
    output = OutputSlot();
    if (maxRows > 0) {
        SourceReader reader(data);
        ModuleRun run(set_, output, reader, progress);
        run.Execute(entry.firstStatement, startOffset, maxRows, labelCount, statementLimit_, patternTestLimit_);
    }
    return true;
}

int ModuleInterpreter::Run(int slot, const IByteSource& data, int entryPoint, int maxRows, int64_t startOffset)
{
    if (slot < 0 || slot >= ModuleSet::kSlotCount) return 0;
    OutputSlot output;
    if (!RunInto(output, data, entryPoint, maxRows, startOffset)) return 0;
    OutputSlot& target = set_.slots[static_cast<size_t>(slot)];
    target = std::move(output);
    return static_cast<int>(target.rows.size());
}

int ModuleInterpreter::Run(int slot, const uint8_t* data, int64_t length, int entryPoint, int maxRows,
                           int64_t startOffset)
{
    if (!data) return 0;
    return Run(slot, BlockByteSource(data, length), entryPoint, maxRows, startOffset);
}

}  // namespace qv
