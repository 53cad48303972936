// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcSourceGenerator.h"

#include "common/FormatText.h"

namespace qv {

std::string FormatCrcValue(uint64_t value, unsigned width)
{
    const std::string format = FormatTextString("0x%%0%uI64X", (width + 3) / 4);
    return FormatTextString(format.c_str(), static_cast<unsigned long long>(value));
}

namespace {

const char* TypeLine(unsigned width)
{
    if (width <= 8) return "typedef unsigned char";
    if (width <= 16) return "typedef unsigned short";
    if (width <= 32) return "typedef unsigned int";
    return "typedef unsigned __int64";
}

unsigned EntriesPerLine(unsigned width)
{
    if (width <= 8) return 12;
    if (width <= 16) return 8;
    if (width <= 32) return 4;
    return 2;
}

std::string JoinLines(std::initializer_list<std::string> lines)
{
    std::string text;
    bool first = true;
    for (const std::string& line : lines) {
        if (!first) text += "\r\n";
        text += line;
        first = false;
    }
    return text;
}

// The function CrcCalc of algorithms A and C, which differ only in the table look-up that
// gives the next register value.
std::string TableLookupCrcCalc(const CrcSourceInput& in, const std::string& nextValue)
{
    return JoinLines({
        "CrcType CrcCalc(const void *pMem,int iLen)",
        "{",
        "unsigned char  *pPtr = (unsigned char*)pMem;",
        "CrcType         uCrc = " + FormatCrcValue(in.start, in.width) + ";",
        "",
        "    while(iLen>0)",
        "        {",
        "        uCrc = " + nextValue + ";",
        "        pPtr++;",
        "        iLen--;",
        "        }",
        "",
        "return uCrc;",
        "}",
    });
}

std::string TemplateA(const CrcSourceInput& in, const std::string& closing)
{
    const unsigned w = in.width;
    return JoinLines({
        closing + "};",
        "",
        TableLookupCrcCalc(in, std::string("aCrcTable") +
                                   (w <= 8 ? "[uCrc^*pPtr]" : "[(uCrc^*pPtr)&0xFF] ^ (uCrc>>8)")),
        "",
        "void CrcGenerateTable()",
        "{",
        "#define     POLYNOM " + in.reflectedText,
        "unsigned    uPos;",
        "unsigned    uOff;",
        "CrcType     uVal;",
        "",
        "    for(uPos=0;uPos<256;uPos++)",
        "        {",
        "        uVal = uPos;",
        "",
        "        for(uOff=0;uOff<8;uOff++)",
        "            {",
        "            uVal = (uVal >> 1) ^ (POLYNOM & ~((uVal&1)-1));",
        "            }",
        "",
        "        aCrcTable[uPos] = uVal;",
        "        }",
        "}",
    });
}

std::string TemplateB(const CrcSourceInput& in, const std::string& closing)
{
    const unsigned w = in.width;
    const unsigned v = CrcShiftB(w);
    const bool natural = w == 8 || w == 16 || w == 32 || w == 64;
    const std::string maskText = FormatCrcValue(CrcMask(w), w);
    const std::string maskStatement = natural ? "" : "\r\n        uCrc   &= " + maskText + ";";
    const std::string maskSuffix = natural ? "" : "&" + maskText;
    const std::string shiftedDown = w <= 8 ? "uCrc" : FormatTextString("(uCrc>>%u)", v);
    const std::string shiftedUp = w <= 8 ? "uCrc" : FormatTextString("(uCrc<<%u)", v);
    return JoinLines({
        closing + "};",
        "",
        "CrcType CrcCalc(const void *pMem,int iLen)",
        "{",
        "unsigned char  *pPtr = (unsigned char*)pMem;",
        "unsigned char   ucByte;",
        "CrcType         uCrc = " + FormatCrcValue(in.start, w) + ";",
        "",
        "    while(iLen>0)",
        "        {" + maskStatement,
        "        ucByte  = (unsigned char)(" + shiftedDown + "^*pPtr);",
        "        uCrc    = aCrcTable[ucByte]^" + shiftedUp + ";",
        "        pPtr++;",
        "        iLen--;",
        "        }",
        "",
        "return uCrc" + maskSuffix + ";",
        "}",
        "",
        "void CrcGenerateTable()",
        "{",
        "#define     POLYNOM " + in.normalText,
        "unsigned    uPos;",
        "unsigned    uOff;",
        "unsigned    uXor;",
        "CrcType     uVal;",
        "",
        "    for(uPos=0;uPos<256;uPos++)",
        "        {",
        "        uVal = 0;",
        FormatTextString("        uXor = uPos<<%u;", v),
        "",
        "        for(uOff=0;uOff<8;uOff++)",
        "            {",
        "            if((uVal^uXor)&" + FormatCrcValue(1ull << (w - 1), w) + ")",
        "                    uVal = (uVal<<1)^POLYNOM;",
        "            else    uVal = (uVal<<1);",
        "",
        "            uXor <<= 1;",
        "            }",
        "",
        "        aCrcTable[uPos] = uVal" + maskSuffix + ";",
        "        }",
        "}",
    });
}

// The unmasked index (uCrc<<1)^*pPtr stays inside the table only while every entry is
// below 0x80; otherwise (e.g. at 8 bits) the index is masked like at the wider widths.
bool PlainIndexIsSafe(const CrcSourceInput& in)
{
    if (in.width > 8 || in.table == nullptr) return false;
    for (uint64_t entry : *in.table)
        if (entry >= 0x80) return false;
    return true;
}

std::string TemplateC(const CrcSourceInput& in, const std::string& closing)
{
    const unsigned w = in.width;
    const uint64_t leading = w < 64 ? 1ull << w : 0;
    return JoinLines({
        closing + "};",
        "",
        TableLookupCrcCalc(in, std::string("aCrcTable[") +
                                   (PlainIndexIsSafe(in) ? "(uCrc<<1)^*pPtr" : "((uCrc<<1)^*pPtr)&0xFF") + "]"),
        "",
        "void CrcGenerateTable()",
        "{",
        "#define     POLYNOM " + FormatCrcValue(in.normal | leading, w),
        "unsigned    uPos;",
        "unsigned    uOff;",
        "CrcType     uVal;",
        "",
        "    for(uPos=0;uPos<256;uPos++)",
        "        {",
        "        uVal = (uPos&" + FormatCrcValue(leading, w) + ")? uPos^POLYNOM:uPos;",
        "",
        "        for(uOff=1;uOff<8;uOff++)",
        "            {",
        "            if(uVal&" + FormatCrcValue(1ull << (w - 1), w) + ")",
        "                {",
        "                uVal <<= 1;",
        "                uVal ^= POLYNOM;",
        "                }",
        "            else{",
        "                uVal <<= 1;",
        "                }",
        "            }",
        "",
        "        aCrcTable[uPos] = uVal;",
        "        }",
        "}",
    });
}

}  // namespace

std::string GenerateCrcSource(CrcAlgorithm algorithm, const CrcSourceInput& input)
{
    const unsigned w = input.width < 1 ? 1 : input.width > 64 ? 64 : input.width;
    const unsigned perLine = EntriesPerLine(w);
    const std::string closing = 256 % perLine != 0 ? "\r\n    " : "";

    std::string text = std::string(TypeLine(w)) + " CrcType;\r\n\r\nCrcType aCrcTable[256] =\r\n    {\r\n    ";
    text.reserve(256 * 24 + 1024);
    for (unsigned i = 0; i < 256; ++i) {
        text += FormatCrcValue(input.table ? (*input.table)[i] : 0, w);
        text += (i + 1) % perLine == 0 ? " , \r\n    " : " , ";
    }
    CrcSourceInput in = input;
    in.width = w;
    switch (algorithm) {
    case CrcAlgorithm::A: text += TemplateA(in, closing); break;
    case CrcAlgorithm::B: text += TemplateB(in, closing); break;
    case CrcAlgorithm::C: text += TemplateC(in, closing); break;
    }
    return text;
}

}  // namespace qv
