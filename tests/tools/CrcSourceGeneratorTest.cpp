// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/TempDir.h"
#include "tools/CrcDialogModel.h"
#include "tools/CrcSourceGenerator.h"

namespace qv {
namespace {

const uint8_t kCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
const BlockByteSource kCheckSource(kCheck, sizeof kCheck);

// The dialog set up for a width and reflected polynomial, with a source chosen (1..3).
std::unique_ptr<CrcDialogModel> Dialog(const char* width, const char* poly, int source, const char* start = "0")
{
    auto model = std::make_unique<CrcDialogModel>(ToolBytes{&kCheckSource, 0, sizeof kCheck});
    model->Fields().widthText = width;
    model->Fields().reflectedText = poly;
    model->Fields().startText = start;
    model->Changed(CrcChange::Other);
    model->SetSource(source);
    return model;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    lines.push_back(text.substr(pos));
    return lines;
}

TEST(CrcSourceGeneratorTest, Crc32AlgorithmAByteForByte)
{
    const std::string text = Dialog("32-Bit", "0xEDB88320", 1, "0xFFFFFFFF")->SourceText();
    const std::string head =
        "typedef unsigned int CrcType;\r\n\r\nCrcType aCrcTable[256] =\r\n    {\r\n"
        "    0x00000000 , 0x77073096 , 0xEE0E612C , 0x990951BA , \r\n"
        "    0x076DC419 , ";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const std::vector<std::string> lines = Lines(text);
    ASSERT_GT(lines.size(), 70u);
    for (int i = 4; i < 68; ++i) EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), ','), 4) << lines[i];
    EXPECT_EQ(lines[67], "    0xB40BBE37 , 0xC30C8EA1 , 0x5A05DF1B , 0x2D02EF8D , ");
    const std::string tail =
        "    };\r\n\r\nCrcType CrcCalc(const void *pMem,int iLen)\r\n{\r\nunsigned char  *pPtr = (unsigned char*)pMem;\r\n"
        "CrcType         uCrc = 0xFFFFFFFF;\r\n\r\n    while(iLen>0)\r\n        {\r\n"
        "        uCrc = aCrcTable[(uCrc^*pPtr)&0xFF] ^ (uCrc>>8);\r\n        pPtr++;\r\n        iLen--;\r\n        }\r\n"
        "\r\nreturn uCrc;\r\n}\r\n\r\nvoid CrcGenerateTable()\r\n{\r\n#define     POLYNOM 0xEDB88320\r\n"
        "unsigned    uPos;\r\nunsigned    uOff;\r\nCrcType     uVal;\r\n\r\n    for(uPos=0;uPos<256;uPos++)\r\n"
        "        {\r\n        uVal = uPos;\r\n\r\n        for(uOff=0;uOff<8;uOff++)\r\n            {\r\n"
        "            uVal = (uVal >> 1) ^ (POLYNOM & ~((uVal&1)-1));\r\n            }\r\n\r\n"
        "        aCrcTable[uPos] = uVal;\r\n        }\r\n}";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    // Header, 256 entries of "0x%08X , ", a line end and four blanks after every fourth.
    const std::string header = "typedef unsigned int CrcType;\r\n\r\nCrcType aCrcTable[256] =\r\n    {\r\n    ";
    EXPECT_EQ(text.size(), header.size() + 256 * 13 + 64 * 6 + tail.size() - 4);
}

TEST(CrcSourceGeneratorTest, Crc7AlgorithmCTwelvePerLine)
{
    const std::string text = Dialog("7-Bit", "0x48", 3)->SourceText();
    EXPECT_EQ(text.substr(0, 30), "typedef unsigned char CrcType;");
    const std::vector<std::string> lines = Lines(text);
    EXPECT_EQ(lines[4].substr(0, 32), "    0x00 , 0x09 , 0x12 , 0x1B , ");
    EXPECT_EQ(std::count(lines[4].begin(), lines[4].end(), ','), 12);
    EXPECT_EQ(std::count(lines[25].begin(), lines[25].end(), ','), 4);  // 21 full lines, then 4 entries
    EXPECT_EQ(lines[26], "    };");
    EXPECT_NE(text.find("        uCrc = aCrcTable[(uCrc<<1)^*pPtr];\r\n"), std::string::npos);
    EXPECT_NE(text.find("#define     POLYNOM 0x89\r\n"), std::string::npos);
    EXPECT_NE(text.find("        uVal = (uPos&0x80)? uPos^POLYNOM:uPos;\r\n"), std::string::npos);
    EXPECT_NE(text.find("            if(uVal&0x40)\r\n"), std::string::npos);
    const std::string end = "        aCrcTable[uPos] = uVal;\r\n        }\r\n}";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

TEST(CrcSourceGeneratorTest, AlgorithmBMaskAndShiftTexts)
{
    const std::string twelve = Dialog("12-Bit", "0xF01", 2)->SourceText();
    EXPECT_NE(twelve.find("        {\r\n        uCrc   &= 0xFFF;\r\n        ucByte  = (unsigned char)((uCrc>>8)^*pPtr);\r\n"
                          "        uCrc    = aCrcTable[ucByte]^(uCrc<<8);\r\n"),
              std::string::npos);
    EXPECT_NE(twelve.find("return uCrc&0xFFF;\r\n"), std::string::npos);
    EXPECT_NE(twelve.find("        aCrcTable[uPos] = uVal&0xFFF;\r\n"), std::string::npos);
    EXPECT_NE(twelve.find("#define     POLYNOM 0x80F\r\n"), std::string::npos);
    EXPECT_NE(twelve.find("        uXor = uPos<<8;\r\n"), std::string::npos);
    EXPECT_NE(twelve.find("            if((uVal^uXor)&0x800)\r\n"), std::string::npos);
    EXPECT_NE(twelve.find("typedef unsigned short CrcType;"), std::string::npos);

    const std::string eight = Dialog("8-Bit", "0x8C", 2)->SourceText();
    EXPECT_NE(eight.find("        {\r\n        ucByte  = (unsigned char)(uCrc^*pPtr);\r\n"
                         "        uCrc    = aCrcTable[ucByte]^uCrc;\r\n"),
              std::string::npos);
    EXPECT_NE(eight.find("return uCrc;\r\n"), std::string::npos);
    EXPECT_EQ(eight.find("&="), std::string::npos);

    const std::string wide = Dialog("64-Bit", "0xC96C5795D7870F42", 2)->SourceText();
    const std::vector<std::string> lines = Lines(wide);
    EXPECT_EQ(lines[0], "typedef unsigned __int64 CrcType;");
    for (int i = 4; i < 4 + 128; ++i) EXPECT_EQ(lines[i], "    0x0000000000000000 , 0x0000000000000000 , ");
    EXPECT_EQ(lines[132], "    };");
}

TEST(CrcSourceGeneratorTest, EightBitAlgorithmCMasksItsIndex)
{
    // At 8 bits table entries reach 0x80 and above; an unmasked index would leave the table.
    const std::string text = Dialog("8-Bit", "0xE0", 3)->SourceText();
    EXPECT_NE(text.find("        uCrc = aCrcTable[((uCrc<<1)^*pPtr)&0xFF];\r\n"), std::string::npos);
}

TEST(CrcSourceGeneratorTest, FormatsValuesWithTheWidthsDigitCount)
{
    EXPECT_EQ(FormatCrcValue(0x5, 1), "0x5");
    EXPECT_EQ(FormatCrcValue(0x5, 5), "0x05");
    EXPECT_EQ(FormatCrcValue(0x1A3, 4), "0x1A3");
    EXPECT_EQ(FormatCrcValue(~0ull, 64), "0xFFFFFFFFFFFFFFFF");
}

// The generated code is compiled with the system's C compiler and must reproduce the
// dialog's result for its algorithm over the test bytes.
TEST(CrcSourceGeneratorTest, GeneratedCodeCompilesAndGivesTheDialogsResult)
{
    if (std::system("cc --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler (cc) found";
    test::TempDir dir;
    struct Case {
        const char* width;
        const char* poly;
        const char* start;
    } cases[] = {{"32-Bit", "0xEDB88320", "0xFFFFFFFF"}, {"16-Bit", "0x8408", "0x1D0F"}, {"12-Bit", "0xF01", "0x123"},
                 {"7-Bit", "0x48", "0x0"},          {"8-Bit", "0xE0", "0xFF"},     {"24-Bit", "0xDF3261", "0xB704CE"},
                 {"64-Bit", "0xC96C5795D7870F42", "-1"}, {"40-Bit", "0x123456789", "0x77"}};
    int built = 0;
    for (const Case& c : cases) {
        for (int source = 1; source <= 3; ++source) {
            const auto model = Dialog(c.width, c.poly, source, c.start);
            const std::string stem = dir.Path() + "/crc" + std::to_string(built++);
            {
                std::ofstream out(stem + ".c", std::ios::binary);
                out << "#include <stdio.h>\n#define __int64 long long\n" << model->SourceText()
                    << "\nint main(void) {\n"
                       "    static const unsigned char bytes[] = \"123456789\";\n"
                       "    CrcType table[256]; int i; int same = 1;\n"
                       "    for (i = 0; i < 256; ++i) table[i] = aCrcTable[i];\n"
                       "    if (sizeof(CrcType) <= 4) { CrcGenerateTable();\n"
                       "        for (i = 0; i < 256; ++i) same = same && table[i] == aCrcTable[i]; }\n"
                       "    printf(\"%llX %d\\n\", (unsigned long long)CrcCalc(bytes, 9), same);\n"
                       "    return 0;\n}\n";
            }
            const std::string command = "cc -w -o " + stem + " " + stem + ".c && " + stem + " > " + stem + ".out";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            std::ifstream in(stem + ".out");
            std::string result;
            int sameTable = 0;
            in >> result >> sameTable;
            const uint64_t expected = (*model->Results())[3 * (source - 1)];
            char hex[32];
            std::snprintf(hex, sizeof hex, "%llX", static_cast<unsigned long long>(expected));
            EXPECT_EQ(result, hex) << c.width << " " << c.poly << " algorithm " << source;
            EXPECT_EQ(sameTable, 1) << c.width << " " << c.poly << " algorithm " << source;
        }
    }
}

}  // namespace
}  // namespace qv
