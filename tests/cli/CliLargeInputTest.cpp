// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli on inputs larger than its pieces and larger than 32 bits can address.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/CodePage.h"
#include "document/CTextGenerator.h"
#include "tests/cli/CliRun.h"

namespace qv::test {
namespace {

class CliLargeInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
    }
    ShellRun Run(const std::string& commandLine) { return RunShell(dir_, commandLine); }

    TempDir dir_;
};

// The export streams its text in pieces; joined they are the text the copy command makes at once.
TEST_F(CliLargeInput, ExportedTextInPiecesEqualsTheWholeText)
{
    std::vector<uint8_t> bytes((5u << 19) + 7);
    uint32_t state = 12345;
    for (uint8_t& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 23);
    }
    const std::string file = dir_.Write("random.bin", bytes);
    struct Case {
        const char* options;
        int format;
        int valueSize;
        int line;
    };
    const Case cases[] = {
        {"--format c", kCTextC, 1, 16},
        {"--format c --size 2 --line 7", kCTextC, 2, 7},
        {"--format c --size 8 --line 0", kCTextC, 8, 0},
        {"--format c --size 4 --big-endian --line 3", kCTextC | kCTextBigEndian, 4, 3},
        {"--format asm --size 4 --line 5", kCTextAssembler, 4, 5},
        {"--format dump --size 2 --line 13", kCTextDump, 2, 13},
        {"--format base64", kCTextTypes, kTextBase64, 16},
        {"--format hex-text", kCTextTypes, kTextHex, 16},
        {"--format min-text", kCTextTypes, kTextMin, 16},
        {"--format chars", kCTextTypes, kTextChars, 16},
    };
    for (const Case& c : cases) {
        std::string whole((bytes.size() / static_cast<size_t>(c.valueSize) + 2 * bytes.size()) * 4 + 20, '\0');
        whole.resize(GenerateCText(bytes.data(), bytes.size(), c.valueSize, c.format, c.line, whole.data(),
                                   whole.size()));
        const ShellRun run = Run("CLI export '" + file + "' " + c.options);
        EXPECT_EQ(run.code, 0) << c.options;
        EXPECT_TRUE(run.out == Cp1252ToUtf8(whole)) << c.options << ": " << run.out.size() << " characters";
    }
}

// A sparse file of 5 GiB under a data limit far below its size: nothing may copy it.
TEST_F(CliLargeInput, FilesBeyondFourGibWithSixtyFourBitOffsets)
{
    const std::string big = dir_.File("big.bin");
    // The value at 0x100000010, 16 bytes into a window that starts at 4 GiB.
    const std::string window = std::string(16, '\0') + "Quarniv!" + std::string(8, '\0');
    const std::string small = dir_.Write("small.bin", window);
    ASSERT_EQ(Run("truncate -s 5G '" + big + "' && printf 'Quarniv!' | dd of='" + big +
                  "' bs=1 seek=$((0x100000010)) conv=notrunc status=none")
                  .code,
              0);
    const std::string limited = kMemoryLimitsApply ? "prlimit --data=1500000000 \"$CLI\" " : "\"$CLI\" ";

    // One pass over the whole file (the holes are read as pages of zeros, which is slow
    // enough); the other searches start near the value.
    const ShellRun all = Run(limited + "search '" + big + "' '\"Quarniv!\"' --all");
    EXPECT_EQ(all.code, 0) << all.err;
    EXPECT_EQ(all.out, "0x100000010\n");
    EXPECT_EQ(Run(limited + "search '" + big + "' '\"Quarniv!\"' --from 0x100000011 --backward").out,
              "0x100000010\n");
    EXPECT_EQ(Run(limited + "search '" + big + "' '\"Quarniv!\"' --from 0x20 --backward --wrap").out,
              "0x100000010\n");
    EXPECT_EQ(Run(limited + "search '" + big + "' '\"Quarniv!\"' --in 0xFFFFFFF0:0x100").out, "0x100000010\n");

    const char* const ranged[] = {"checksum", "crc"};
    for (const char* command : ranged) {
        const ShellRun fromBig = Run(limited + command + " '" + big + "' --offset 0x100000000 --length 32");
        EXPECT_EQ(fromBig.code, 0) << command << fromBig.err;
        EXPECT_EQ(fromBig.out, Run(std::string("CLI ") + command + " '" + small + "' --length 32").out) << command;
    }
    const ShellRun exported = Run(limited + "export '" + big + "' --offset 0x100000000 --length 32 --format c");
    EXPECT_EQ(exported.code, 0);
    EXPECT_EQ(exported.out, Run("CLI export '" + small + "' --format c").out);
    const ShellRun dumped = Run(limited + "dump '" + big + "' --offset 0xFFFFFFF0 --length 48 --address-digits 8");
    EXPECT_EQ(dumped.code, 0);
    // A row of zeros below 4 GiB, then the window; addresses show their lowest eight digits.
    const std::string windowDump = Run("CLI dump '" + small + "' --address-digits 8").out;
    const std::string zeroRow = windowDump.substr(0, windowDump.find('\n') + 1);
    EXPECT_EQ(dumped.out, "FFFFFFF0" + zeroRow.substr(8) + windowDump);
    EXPECT_NE(dumped.out.find("Quarniv!"), std::string::npos);
    // Without a range the tools read the start, as their dialogs do without a selection.
    EXPECT_EQ(Run(limited + "checksum '" + big + "'").code, 0);
}

}  // namespace
}  // namespace qv::test
