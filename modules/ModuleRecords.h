// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compiled form of structure modules: statements, byte patterns, value text lists,
// entry points and module records, and the rows a run produces.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Statement codes; the values are those of the keyword table. Variables (LOCAL_n, PARAM_n)
// have code 0 and do nothing when executed.
enum StatementCode : uint8_t {
    kCodeVariable = 0x00,
    kCodeString = 0x10,
    kCodeStringP = 0x11,
    kCodeStringD = 0x12,
    kCodeStringB = 0x13,
    kCodeStringK = 0x14,
    kCodeRest = 0x20,
    kCodeBit = 0x21,
    kCodeIf = 0x30,
    kCodeLoop = 0x31,
    kCodeBlock = 0x32,
    kCodeReturn = 0x33,
    kCodeExit = 0x34,
    kCodeSeek = 0x35,
    kCodeCall = 0x36,
    kCodeGoto = 0x37,
    kCodeModul = 0x38,
    kCodeAdd = 0x41,
    kCodeMul = 0x42,
    kCodeSub = 0x43,
    kCodeAnd = 0x44,
    kCodeDiv = 0x47,
    kCodeMod = 0x48,
    kCodeMov = 0x49,
    kCodeBin = 0x4A,
    kCodeText = 0x51,
    kCodePrint = 0x52,
    kCodeSprint = 0x53,
    kCodeUp = 0x54,
    kCodeDown = 0x55,
    kCodeOffset = 0x60,
    kCodeLen = 0x61,
    kCodeRva = 0x62,
    kCodeFloat = 0x84,
    kCodeDouble = 0x88,
    kCodeByte = 0x91,
    kCodeWord = 0x92,
    kCodeRWord = 0x93,
    kCodeDWord = 0x94,
    kCodeQWord = 0xA8,
};

// Bits of StatementRecord::flags: which operands were given, then the flag letters.
enum StatementFlag : uint32_t {
    kHasName = 0x2,
    kHasLabel1 = 0x4,
    kHasCompare = 0x8,
    kHasNumber1 = 0x10,
    kHasNumber2 = 0x20,
    kHasAction = 0x40,
    kHasLabel2 = 0x80,  // L2, or a row label in the flags operand
    kHasPattern = 0x100,
    kHasFlags = 0x200,
    kHasNot = 0x400,
    kLabelFirst = 0x800,  // a label reference came before any number
    kDigitFieldMask = 0xF000,
    kDigitFieldShift = 12,
    kSeekFactorMask = 0x7FF000,  // SEEK keeps a factor of up to 2048 in bits 12 to 22
    kFlagO = 0x10000,
    kFlagD = 0x20000,
    kFlagH = 0x40000,
    kFlagX = 0x80000,
    kFlagS = 0x100000,  // F or S
    kFlagU = 0x200000,
    kFlagC = 0x400000,
    kFlagB = 0x800000,
    kFlagK = 0x1000000,  // K or V
    kFlagM = 0x2000000,
    kFlagP = 0x4000000,
    kFlagI = 0x8000000,
    kFlagN = 0x10000000,
    kFlagA = 0x20000000,
    kFlagR = 0x40000000,  // R or Z
    kFlagG = 0x80000000,
};

// Comparison (bits 0 to 4) and action (bits 5 to 7) of StatementRecord::condition.
enum Comparison : int32_t { kCmpEqual, kCmpNotEqual, kCmpGreaterEqual, kCmpLessEqual, kCmpGreater, kCmpLess, kCmpAnd };
enum Action : int32_t { kActNone, kActExit, kActCall, kActReturn, kActGoto, kActSeek, kActMov, kActAdd };
constexpr int32_t kCompareMask = 0x1F;
constexpr int kActionShift = 5;

struct StatementRecord {
    int32_t value = 0;        // the statement's variable
    uint8_t code = 0;
    uint8_t sourceMark = 0;   // the code for statements from the source, 0 for the closing EXIT
    int32_t label1 = -1;      // statement index of L1
    int32_t label2 = -1;      // statement index of L2
    int32_t rowLabel = -1;    // label number of the ">" label in the flags operand
    int32_t number1 = 0;
    int32_t number2 = 0;
    int32_t pattern = -1;     // index into ModuleSet::patterns
    int32_t condition = 0;
    uint32_t flags = 0;
    int32_t valueTexts = -1;  // index into ModuleSet::valueTexts
    int64_t address = 0;      // absolute position of the last execution
    int32_t ownLabel = -1;    // label number of the label naming this statement
    std::string name;
};

constexpr int kMaxPatternBytes = 32;

struct BytePattern {
    int32_t skip = 0;               // bytes to advance after a match
    int16_t positionOffset = 0;
    int32_t positionVariable = -1;  // statement index whose value is added to the test position
    int count = 0;
    uint8_t values[kMaxPatternBytes] = {};
    uint8_t masks[kMaxPatternBytes] = {};
};

// A flags operand's list of value ":" text pairs, kept as written and split up.
struct ValueTextList {
    struct Entry {
        bool matchesAll = false;  // the value "?"
        int32_t value = 0;
        std::string text;
    };
    std::string source;
    std::vector<Entry> entries;

    // The text of the first entry matching value, or nullptr.
    const std::string* Find(int32_t value) const;
};

struct EntryPoint {
    int32_t firstStatement = 0;
    int32_t module = 0;
    std::string name;
};

struct ModuleRecord {
    int32_t firstEntryPoint = 0;
    int32_t firstStatement = 0;    // the first statement after the module's PARAM_ variables
    int32_t closingStatement = 0;  // the EXIT appended by the compiler
    int32_t labelCount = 0;        // the module's labels, the eight predefined ones included
    std::string name;
};

// One decoded field. nameRef >= 0 is the statement whose name is shown, a negative value
// minus the index of a generated name of the slot.
struct ResultRow {
    int32_t nameRef = 0;
    int32_t indent = 0;
    int64_t size = 0;
    int64_t offset = 0;   // from the block base
    int64_t address = 0;  // from the start of the data
    std::string valueText;
};

struct OutputSlot {
    std::vector<ResultRow> rows;
    std::vector<std::string> names{std::string()};  // generated row names; entry 0 is empty
};

}  // namespace qv
