// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/KeywordTable.h"

#include <iterator>

#include "modules/ModuleRecords.h"
#include "modules/NameCompare.h"

namespace qv {

namespace {

constexpr uint32_t kName = kHasName, kNum1 = kHasNumber1, kNum2 = kHasNumber2, kLab1 = kHasLabel1,
                   kLab2 = kHasLabel2, kCmp = kHasCompare, kNot = kHasNot, kAct = kHasAction, kPat = kHasPattern,
                   kFlags = kHasFlags, kLab1First = kHasLabel1 | kLabelFirst;
constexpr uint32_t kAllOperands = kName | kNum1 | kNum2 | kLab1 | kLab2 | kCmp | kNot | kAct | kPat | kFlags;
constexpr uint32_t kAllButName = kAllOperands & ~kName;
constexpr uint32_t kDataForbidden = kNum2 | kLab2 | kCmp | kNot | kAct;
constexpr uint32_t kArithmeticForbidden = kName | kCmp | kNot | kAct | kPat;

constexpr Keyword kKeywords[] = {
    {"BIT", kCodeBit, 0, kDataForbidden},
    {"BYTE", kCodeByte, 0, kDataForbidden},
    {"WORD", kCodeWord, 0, kDataForbidden},
    {"RWORD", kCodeRWord, 0, kDataForbidden},
    {"DWORD", kCodeDWord, 0, kDataForbidden},
    {"QWORD", kCodeQWord, 0, kDataForbidden},
    {"FLOAT", kCodeFloat, 0, kDataForbidden},
    {"DOUBLE", kCodeDouble, 0, kDataForbidden},
    {"STRING", kCodeString, 0, kDataForbidden},
    {"STRING_P", kCodeStringP, 0, kDataForbidden},
    {"STRING_D", kCodeStringD, 0, kDataForbidden},
    {"STRING_B", kCodeStringB, 0, kDataForbidden},
    {"STRING_K", kCodeStringK, 0, kDataForbidden},
    {"REST", kCodeRest, kNum1, kLab1 | kLab2 | kCmp | kNot | kAct},
    {"OFFSET", kCodeOffset, 0, kDataForbidden},
    {"LEN", kCodeLen, 0, kLab1 | kNum2 | kLab2 | kCmp | kNot | kAct | kPat},
    {"IF", kCodeIf, kLab1 | kAct, kName},
    {"LOOP", kCodeLoop, 0, kNum2 | kCmp | kNot | kAct | kPat},
    {"BLOCK", kCodeBlock, kName, kLab1 | kLab2 | kCmp | kNot | kAct | kPat | kFlags},
    {"MODUL", kCodeModul, kName, kAllButName},
    {"RETURN", kCodeReturn, 0, kAllButName},
    {"EXIT", kCodeExit, 0, kAllButName},
    {"SEEK", kCodeSeek, 0, kName | kLab2 | kCmp | kNot | kAct | kPat},
    {"TEXT", kCodeText, kName, kAllButName & ~kFlags},
    {"CALL", kCodeCall, kLab1, kName | kNum2 | kLab2 | kCmp | kNot | kAct | kPat},
    {"GOTO", kCodeGoto, kLab1, kName | kNum2 | kLab2 | kCmp | kNot | kAct | kPat},
    {"PRINT", kCodePrint, kLab1, kNum2 | kLab2 | kCmp | kNot | kAct},
    {"SPRINT", kCodeSprint, kLab1 | kLab2, kNum2 | kCmp | kNot | kAct},
    {"ADD", kCodeAdd, kLab1First, kArithmeticForbidden},
    {"MUL", kCodeMul, kLab1First, kArithmeticForbidden},
    {"SUB", kCodeSub, kLab1First, kArithmeticForbidden},
    {"AND", kCodeAnd, kLab1First, kArithmeticForbidden},
    {"DIV", kCodeDiv, kLab1First, kArithmeticForbidden},
    {"MOD", kCodeMod, kLab1First, kArithmeticForbidden},
    {"BIN", kCodeBin, kLab1First, kArithmeticForbidden},
    {"MOV", kCodeMov, kLab1First, kArithmeticForbidden},
    {"DOWN", kCodeDown, 0, kNum2 | kLab2 | kCmp | kNot | kAct | kPat},
    {"UP", kCodeUp, 0, kAllButName},
    {"RVA", kCodeRva, kLab1First, kCmp | kAct | kPat},
};

}  // namespace

const Keyword* FindKeyword(std::string_view word)
{
    for (const auto& keyword : kKeywords)
        if (SameName(keyword.word, word)) return &keyword;
    return nullptr;
}

bool AllowsRowLabel(uint8_t code)
{
    switch (code) {
    case kCodeIf: case kCodeLoop: case kCodeBlock: case kCodeModul: case kCodeReturn: case kCodeExit:
    case kCodeSeek: case kCodeText: case kCodeCall: case kCodeGoto: case kCodeSprint: case kCodeAdd:
    case kCodeMul: case kCodeSub: case kCodeAnd: case kCodeDiv: case kCodeMod: case kCodeBin: case kCodeMov:
    case kCodeDown: case kCodeUp: case kCodeRva:
        return false;
    default:
        return true;
    }
}

}  // namespace qv
