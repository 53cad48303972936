// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ModuleCompiler.h"

#include <algorithm>
#include <vector>

#include "common/CodePage.h"
#include "modules/KeywordTable.h"
#include "modules/LabelList.h"
#include "modules/ModuleNumber.h"
#include "modules/ModuleSet.h"
#include "modules/ModuleSourceText.h"
#include "modules/NameCompare.h"
#include "modules/PatternCompiler.h"
#include "platform/FileSystem.h"

namespace qv {

namespace {

constexpr size_t kMaxModuleName = 63;
constexpr size_t kMaxFieldName = 255;
constexpr int kMaxOperands = 10;
constexpr int kMaxFlagCharacters = 15;

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

size_t SkipBlanks(std::string_view line, size_t pos)
{
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    return pos;
}

size_t WordEnd(std::string_view line, size_t pos)
{
    while (pos < line.size() && IsWordChar(line[pos])) ++pos;
    return pos;
}

// Skips a label definition (":" and a word) or a lone ":" at pos; returns the label word
// (empty when none) and moves pos to the statement that follows.
std::string_view SkipLabelDefinition(std::string_view line, size_t& pos)
{
    if (pos >= line.size() || line[pos] != ':') return {};
    size_t end = WordEnd(line, pos + 1);
    std::string_view word = line.substr(pos + 1, end - pos - 1);
    pos = SkipBlanks(line, word.empty() ? pos + 1 : end);
    return word;
}

struct ActionWord {
    std::string_view word;
    Action action;
};

constexpr ActionWord kActionWords[] = {
    {"EXIT", kActExit}, {"CALL", kActCall}, {"SEEK", kActSeek}, {"GOTO", kActGoto},
    {"RETURN", kActReturn}, {"MOV", kActMov}, {"ADD", kActAdd},
};

struct ComparisonText {
    std::string_view text;
    Comparison comparison;
};

constexpr ComparisonText kComparisons[] = {
    {"==", kCmpEqual}, {"!=", kCmpNotEqual}, {">=", kCmpGreaterEqual}, {"<=", kCmpLessEqual},
    {">", kCmpGreater}, {"<", kCmpLess}, {"&", kCmpAnd},
};

uint32_t FlagLetterBits(char letter)
{
    switch (letter & ~0x20) {
    case 'H': return kFlagH;
    case 'B': return kFlagB;
    case 'O': return kFlagO;
    case 'X': return kFlagX;
    case 'K': case 'V': return kFlagK;
    case 'F': case 'S': return kFlagS;
    case 'U': return kFlagU;
    case 'D': return kFlagD;
    case 'C': return kFlagC;
    case 'M': return kFlagM;
    case 'P': return kFlagP;
    case 'N': return kFlagN;
    case 'I': return kFlagI;
    case 'A': return kFlagA;
    case 'J': return kFlagA | kFlagI;
    case 'G': return kFlagG;
    case 'R': case 'Z': return kFlagR;
    default: return 0;
    }
}

ValueTextList ParseValueTextList(std::string_view source)
{
    ValueTextList list;
    list.source = std::string(source);
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        size_t colon = source.find(':', start);
        parts.push_back(source.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        ValueTextList::Entry entry;
        size_t pos = SkipBlanks(parts[i], 0);
        if (pos < parts[i].size() && parts[i][pos] == '?') {
            entry.matchesAll = true;
        } else {
            entry.value = ReadModuleNumber(parts[i], pos, false);
        }
        entry.text = std::string(parts[i + 1]);
        list.entries.push_back(std::move(entry));
    }
    return list;
}

class Compilation {
public:
    Compilation(ModuleSet& set, std::string moduleName) : set_(set), moduleName_(std::move(moduleName)) {}

    int Run(std::string_view source)
    {
        Prepare();
        std::vector<std::string_view> lines = SplitLines(source);
        CollectLabels(lines);
        for (size_t i = 0; i < lines.size(); ++i) {
            set_.lineNumber = static_cast<int>(i + 1);
            CompileLine(lines[i]);
        }
        return Finish();
    }

private:
    void Prepare()
    {
        for (int i = 0; i < ModuleSet::kLocalCount; ++i) labels_.Add(set_.statements[i].name, i);
        paramStart_ = static_cast<int32_t>(set_.statements.size());
        for (int i = 0; i < 4; ++i) {
            StatementRecord param;
            param.name = "PARAM_" + std::to_string(i);
            labels_.Add(param.name, static_cast<int32_t>(set_.statements.size()));
            set_.statements.push_back(std::move(param));
        }
        firstStatement_ = static_cast<int32_t>(set_.statements.size());
        firstEntryPoint_ = static_cast<int32_t>(set_.entryPoints.size());
        firstPattern_ = set_.patterns.size();
        firstValueTexts_ = set_.valueTexts.size();
        moduleIndex_ = static_cast<int32_t>(set_.modules.size());
        set_.ResetErrors();
    }

    // Pass 1: labels and the statement each one names.
    void CollectLabels(const std::vector<std::string_view>& lines)
    {
        int32_t counter = firstStatement_;
        for (size_t i = 0; i < lines.size(); ++i) {
            set_.lineNumber = static_cast<int>(i + 1);
            std::string_view line = lines[i];
            size_t pos = SkipBlanks(line, 0);
            std::string_view label = SkipLabelDefinition(line, pos);
            if (!label.empty() && !labels_.Add(label, counter))
                set_.ReportError("Doppelte Marke '" + std::string(label) + "' gefunden", false, false);
            if (pos < line.size() && line[pos] != ';' && FindKeyword(line.substr(pos, WordEnd(line, pos) - pos)))
                ++counter;
        }
        labels_.Sort();
        // A statement named by several labels is known by the first of them in the list;
        // a row label in the flags refers to that one as well.
        ownLabels_.assign(static_cast<size_t>(counter - paramStart_ + 1), -1);
        for (int number = 0; number < labels_.Count(); ++number) {
            int32_t statement = labels_.At(number).statement;
            if (statement < paramStart_) continue;
            int32_t& own = ownLabels_[static_cast<size_t>(statement - paramStart_)];
            if (own < 0) own = number;
        }
        for (int i = 0; i < 4; ++i) set_.statements[paramStart_ + i].ownLabel = OwnLabelOf(paramStart_ + i);
    }

    int32_t OwnLabelOf(int32_t statement) const
    {
        if (statement < paramStart_ || statement - paramStart_ >= static_cast<int32_t>(ownLabels_.size())) return -1;
        return ownLabels_[static_cast<size_t>(statement - paramStart_)];
    }

    // Pass 2: one statement per line that starts with a keyword.
    void CompileLine(std::string_view line)
    {
        size_t pos = SkipBlanks(line, 0);
        SkipLabelDefinition(line, pos);
        if (pos >= line.size() || line[pos] == ';') return;
        if (!IsWordChar(line[pos])) {
            set_.ReportError("Erwarte Befehl");
            return;
        }
        size_t end = WordEnd(line, pos);
        const Keyword* keyword = FindKeyword(line.substr(pos, end - pos));
        if (!keyword) {
            set_.ReportError("Unbekannter Befehl");
            return;
        }
        line_ = line;
        pos_ = end;
        statement_ = StatementRecord();
        statement_.code = keyword->code;
        statement_.sourceMark = keyword->code;
        statement_.name = "???";
        operands_ = 0;
        labelCount_ = 0;
        rowLabelGiven_ = false;
        ReadOperands();

        int32_t index = static_cast<int32_t>(set_.statements.size());
        if (statement_.code == kCodeBlock && (operands_ & kHasName) &&
            !((operands_ & kHasNumber2) && statement_.number2 != 0)) {
            set_.entryPoints.push_back(EntryPoint{index, moduleIndex_, statement_.name});
            if (firstListedBlock_ < 0) firstListedBlock_ = index;
        }
        if (statement_.code == kCodeModul && (operands_ & kHasName))
            moduleName_ = statement_.name.substr(0, kMaxModuleName);
        statement_.flags |= operands_;
        if (statement_.rowLabel >= 0 || rowLabelGiven_) statement_.flags |= kHasLabel2;
        statement_.ownLabel = OwnLabelOf(index);
        set_.statements.push_back(std::move(statement_));

        if ((operands_ & keyword->required) != keyword->required) set_.ReportError("Syntaxfehler, fehlente Angaben");
        if (operands_ & keyword->forbidden) set_.ReportError("Syntaxfehler, zuviele  Angaben");
    }

    void ReadOperands()
    {
        for (int count = 0; count < kMaxOperands; ++count) {
            pos_ = SkipBlanks(line_, pos_);
            if (pos_ >= line_.size()) return;
            char c = line_[pos_];
            if (c == '"') {
                ReadName();
            } else if (c == '#') {
                ReadFlags();
            } else if (c == '+' || c == '-' || (c >= '0' && c <= '9')) {
                ReadNumber();
            } else if (IsAsciiLetter(c)) {
                ReadWordOperand();
            } else if (c == '!' && !(pos_ + 1 < line_.size() && line_[pos_ + 1] == '=')) {
                if (operands_ & kHasNot) set_.ReportError("Not Zeichen bereits definiert.");
                operands_ |= kHasNot;
                ++pos_;
            } else if (!ReadComparisonOrComment()) {
                return;
            }
        }
    }

    void ReadName()
    {
        size_t close = line_.find('"', pos_ + 1);
        if (operands_ & kHasName) {
            set_.ReportError("Name ist bereits angegeben");
        } else if (close == std::string_view::npos) {
            statement_.name.clear();
        } else {
            statement_.name = std::string(line_.substr(pos_ + 1, std::min(close - pos_ - 1, kMaxFieldName)));
        }
        operands_ |= kHasName;
        pos_ = close == std::string_view::npos ? line_.size() : close + 1;
    }

    void ReadNumber()
    {
        int32_t value = ReadModuleNumber(line_, pos_, true);
        if (!(operands_ & kHasNumber1)) {
            statement_.number1 = value;
            operands_ |= kHasNumber1;
        } else if (!(operands_ & kHasNumber2)) {
            statement_.number2 = value;
            operands_ |= kHasNumber2;
        } else {
            set_.ReportError("Zuviele Zahlen definiert");
        }
    }

    void ReadWordOperand()
    {
        size_t end = WordEnd(line_, pos_);
        std::string_view word = line_.substr(pos_, end - pos_);
        if (SameName(word, "UNTIL") && end < line_.size() && IsBlank(line_[end])) {
            ReadPattern(end + 1);
            return;
        }
        for (const auto& action : kActionWords) {
            if (!SameName(word, action.word)) continue;
            if (operands_ & kHasAction) {
                set_.ReportError(std::string(action.word) + " ist nicht erlaubt.");
            } else {
                statement_.condition |= action.action << kActionShift;
                operands_ |= kHasAction;
            }
            pos_ = end;
            return;
        }
        pos_ = end;
        int number = labels_.Find(word);
        int32_t target = number < 0 ? -1 : labels_.At(number).statement;
        if (number < 0) set_.ReportError("Unbekannte Marke :" + std::string(word), false, false);
        if (!(operands_ & (kHasNumber1 | kHasNumber2))) operands_ |= kLabelFirst;
        if (labelCount_ == 0) {
            statement_.label1 = target;
            operands_ |= kHasLabel1;
        } else if (labelCount_ == 1) {
            statement_.label2 = target;
            operands_ |= kHasLabel2;
        } else {
            set_.ReportError("Zuviele Marken definiert");
        }
        ++labelCount_;
    }

    void ReadPattern(size_t start)
    {
        pos_ = start;
        BytePattern pattern;
        bool hasBytes = CompilePattern(line_, pos_, labels_, pattern);
        if (operands_ & kHasPattern) {
            set_.ReportError("Bis-Dump bereits definiert.");
            return;
        }
        operands_ |= kHasPattern;
        if (!hasBytes) return;
        statement_.pattern = static_cast<int32_t>(set_.patterns.size());
        set_.patterns.push_back(pattern);
    }

    // A comparison, or a ";" that starts the comment; false ends the operands.
    bool ReadComparisonOrComment()
    {
        bool matched = false;
        for (const auto& comparison : kComparisons) {
            if (line_.substr(pos_, comparison.text.size()) != comparison.text) continue;
            if (operands_ & kHasCompare) {
                set_.ReportError("Unerlaubte Vergleichsfunktion.");
            } else {
                statement_.condition = (statement_.condition & ~kCompareMask) | comparison.comparison;
                operands_ |= kHasCompare;
            }
            pos_ += comparison.text.size();
            matched = true;
            break;
        }
        if (pos_ < line_.size() && line_[pos_] == ';') return false;
        if (!matched) {
            set_.ReportError("Unbekanntes Zeichen");
            return false;
        }
        return true;
    }

    void ReadFlags()
    {
        bool discard = (operands_ & kHasFlags) != 0;
        if (discard) set_.ReportError("Flags bereits definiert.");
        operands_ |= kHasFlags;
        ++pos_;
        bool seek = statement_.code == kCodeSeek;
        uint32_t bits = 0;
        for (int count = 0; count < kMaxFlagCharacters && pos_ < line_.size(); ++count) {
            char c = line_[pos_];
            if (c >= '0' && c <= '9') {
                int digits = c - '0';
                ++pos_;
                if (pos_ < line_.size() && line_[pos_] >= '0' && line_[pos_] <= '9' && count + 1 < kMaxFlagCharacters) {
                    digits = digits * 10 + (line_[pos_] - '0');
                    ++pos_;
                    ++count;
                }
                uint32_t field = seek ? static_cast<uint32_t>((digits + 2047) % 2048) : static_cast<uint32_t>((digits + 15) % 16);
                uint32_t mask = seek ? kSeekFactorMask : kDigitFieldMask;
                bits = (bits & ~mask) | (field << kDigitFieldShift);
            } else if (c == '>') {
                ++pos_;
                size_t end = WordEnd(line_, pos_);
                std::string_view name = line_.substr(pos_, end - pos_);
                pos_ = end;
                if (!discard) ReadRowLabel(name);
            } else if (c == '"') {
                size_t close = line_.find('"', pos_ + 1);
                std::string_view text = line_.substr(pos_ + 1, close == std::string_view::npos ? std::string_view::npos : close - pos_ - 1);
                pos_ = close == std::string_view::npos ? line_.size() : close + 1;
                if (!discard) {
                    statement_.valueTexts = static_cast<int32_t>(set_.valueTexts.size());
                    set_.valueTexts.push_back(ParseValueTextList(text));
                }
                break;
            } else if (uint32_t letter = FlagLetterBits(c); letter != 0 && IsAsciiLetter(c)) {
                // Letters without a meaning for SEEK would overwrite its factor.
                if (!seek || (letter & kSeekFactorMask) == 0) bits |= letter;
                ++pos_;
            } else {
                break;
            }
        }
        if (!discard) statement_.flags |= bits;
    }

    void ReadRowLabel(std::string_view name)
    {
        if (name.empty()) {
            set_.ReportError("Leere Marke in Flags");
        } else if (!AllowsRowLabel(statement_.code)) {
            set_.ReportError("Marken sind in den Flags nicht erlaubt");
        } else if (rowLabelGiven_) {
            set_.ReportError("Einen Marke ist in den Flags bereits definiert");
        } else {
            rowLabelGiven_ = true;
            int number = labels_.Find(name);
            if (number < 0) {
                set_.ReportError("Unbekannte Marke :" + std::string(name), false, false);
            } else {
                statement_.rowLabel = OwnLabelOf(labels_.At(number).statement);
            }
        }
    }

    int Finish()
    {
        set_.lineNumber = 0;
        if (moduleName_.empty()) moduleName_ = std::to_string(moduleIndex_ + 1);
        if (set_.FindModule(moduleName_) >= 0) {
            set_.ReportError("Modul ist bereits geladen.", true);
            // The rejected module leaves no trace, its PARAM_ variables included.
            set_.statements.resize(static_cast<size_t>(paramStart_));
            set_.entryPoints.resize(static_cast<size_t>(firstEntryPoint_));
            set_.patterns.resize(firstPattern_);
            set_.valueTexts.resize(firstValueTexts_);
            return ModuleCompiler::kAlreadyLoaded;
        }
        bool startsWithBlock = firstListedBlock_ >= 0 &&
                               (firstListedBlock_ == firstStatement_ ||
                                (firstListedBlock_ == firstStatement_ + 1 &&
                                 set_.statements[static_cast<size_t>(firstStatement_)].code == kCodeModul));
        if (!startsWithBlock) {
            std::string name = ("Modul - " + moduleName_).substr(0, kMaxFieldName);
            set_.entryPoints.push_back(EntryPoint{firstStatement_, moduleIndex_, std::move(name)});
        }
        StatementRecord closing;
        closing.code = kCodeExit;
        closing.name.clear();
        int32_t closingIndex = static_cast<int32_t>(set_.statements.size());
        closing.ownLabel = OwnLabelOf(closingIndex);
        set_.statements.push_back(std::move(closing));
        set_.modules.push_back(ModuleRecord{firstEntryPoint_, firstStatement_, closingIndex, labels_.Count(), moduleName_});
        return ModuleCompiler::kCompiled;
    }

    ModuleSet& set_;
    std::string moduleName_;
    LabelList labels_;
    std::vector<int32_t> ownLabels_;  // per statement from paramStart_
    int32_t paramStart_ = 0;
    int32_t firstStatement_ = 0;
    int32_t firstEntryPoint_ = 0;
    size_t firstPattern_ = 0;
    size_t firstValueTexts_ = 0;
    int32_t moduleIndex_ = 0;
    int32_t firstListedBlock_ = -1;

    // The statement being read.
    std::string_view line_;
    size_t pos_ = 0;
    StatementRecord statement_;
    uint32_t operands_ = 0;  // operand bits; kHasLabel2 only for a second label reference
    int labelCount_ = 0;
    bool rowLabelGiven_ = false;
};

}  // namespace

std::string ModuleNameFromPath(const std::string& path)
{
    std::string name = FileNameOf(path);
    name = name.substr(0, name.find('.'));
    if (IsValidUtf8(name)) name = Utf8ToCp1252(name);
    return name.substr(0, kMaxModuleName);
}

int ModuleCompiler::Load(const std::string& path, const std::optional<std::string>& moduleName)
{
    set_.ResetErrors();
    set_.lineNumber = 0;
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path, bytes) != FileError::None) {
        set_.ReportError("Kann Datei nicht öffnen.");
        return kNotOpened;
    }
    std::string name = moduleName ? moduleName->substr(0, kMaxModuleName) : ModuleNameFromPath(path);
    std::string source = ModuleSourceText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return Compile(source, std::move(name));
}

int ModuleCompiler::Compile(std::string_view source, std::string moduleName)
{
    return Compilation(set_, std::move(moduleName)).Run(source);
}

}  // namespace qv
