// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli as a tool for scripts: exit codes, help, write errors, pipes and devices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/CliRun.h"
#include "tests/modules/BmpModule.h"

namespace qv::test {
namespace {

class CliConventions : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
        data_ = dir_.Write("data.bin", std::string("Hello World, hello world! \x12\x34\x56\x78 AB"));
    }
    ShellRun Run(const std::string& commandLine) { return RunShell(dir_, commandLine); }

    TempDir dir_;
    std::string data_;
};

const char* const kCommands[] = {"search", "checksum", "crc",   "dump", "export",
                                 "convert", "decode",  "calc", "float", "time"};

TEST_F(CliConventions, CommandHelpShowsUsageAndExitCodes)
{
    for (const char* command : kCommands) {
        const ShellRun run = Run(std::string("CLI ") + command + " --help");
        EXPECT_EQ(run.code, 0) << command;
        EXPECT_EQ(run.out.rfind(std::string("Aufruf: quarnival-cli ") + command + " ", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("Rückgabewerte:\n  0  Erfolg\n  1  "), std::string::npos) << command;
        EXPECT_NE(run.out.find("\n  2  falscher Aufruf"), std::string::npos) << command;
        EXPECT_EQ(run.err, "") << command;
    }
    EXPECT_NE(Run("CLI search --help").out.find("1  nichts gefunden"), std::string::npos);
    // A usage error still reads as one, with exit code 2.
    const ShellRun wrong = Run("CLI checksum '" + data_ + "' --bogus");
    EXPECT_EQ(wrong.code, 2);
    EXPECT_NE(wrong.err.find("Unbekannte Option --bogus"), std::string::npos);
}

TEST_F(CliConventions, EveryWriteErrorExitsNonZeroWithAGermanSentence)
{
    const std::string file = "'" + data_ + "'";
    const std::vector<std::string> commands = {
        "--help", "--version", "search --help", "search " + file + " hello --ignore-case --all", "checksum " + file,
        "crc " + file, "dump " + file, "export " + file + " --format c", "export " + file + " --format c --file",
        "convert " + file + " /dev/stdout --to ihex", "calc 1+2", "float double 1.5", "time seconds 0",
    };
    for (const std::string& command : commands) {
        const ShellRun full = Run("CLI " + command + " >/dev/full");
        EXPECT_EQ(full.code, 1) << command;
        EXPECT_NE(full.err.find("Die Ausgabe kann nicht geschrieben werden. Auf dem Datenträger ist kein Platz mehr."),
                  std::string::npos)
            << command << ": " << full.err;
        const ShellRun closed = Run("CLI " + command + " >&-");
        EXPECT_EQ(closed.code, 1) << command;
        EXPECT_NE(closed.err.find("Die Ausgabe kann nicht geschrieben werden."), std::string::npos) << command;
    }
    // A reader that stops early: the writer notices the closed pipe instead of dying silently.
    const ShellRun pipe =
        Run("CLI dump /dev/zero --length 100000000 | head -c 10 >/dev/null; echo \"${PIPESTATUS[0]}\"");
    EXPECT_EQ(pipe.out, "1\n");
    EXPECT_NE(pipe.err.find("quarnival-cli dump: Die Ausgabe kann nicht geschrieben werden. Der Empfänger hat die "
                            "Ausgabe geschlossen."),
              std::string::npos)
        << pipe.err;
}

TEST_F(CliConventions, SystemErrorsAndMemoryReadAsSentences)
{
    const ShellRun folder = Run("CLI checksum '" + dir_.Path() + "'");
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.err, "quarnival-cli checksum: Die Datei \"" + dir_.Path() + "\" ist ein Ordner.\n");
    const ShellRun missing = Run("CLI search '" + dir_.File("nix") + "' 1");
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "quarnival-cli search: Die Datei \"" + dir_.File("nix") + "\" existiert nicht.\n");
    // A search reads a device without end until the memory is gone, and says so in a sentence.
    if (!kMemoryLimitsApply) return;
    const ShellRun endless = Run("prlimit --as=400000000 \"$CLI\" search /dev/zero 1");
    EXPECT_EQ(endless.code, 1);
    EXPECT_NE(endless.err.find("passt nicht in den Arbeitsspeicher"), std::string::npos) << endless.err;
    EXPECT_EQ(endless.err.find("bad_alloc"), std::string::npos);
}

TEST_F(CliConventions, RangeToolsReadStreamsOnlyAsFarAsTheirRange)
{
    const std::string zeros = dir_.File("zeros.bin");
    ASSERT_EQ(Run("head -c 3000000 /dev/zero > '" + zeros + "'").code, 0);
    const char* const ranges[] = {"", " --offset 0x10 --length 0x100000", " --offset 5 --length 7"};
    for (const char* range : ranges) {
        const ShellRun file = Run("CLI checksum '" + zeros + "'" + range + " && CLI crc '" + zeros + "'" + range);
        const ShellRun device = Run(std::string("CLI checksum /dev/zero") + range + " && CLI crc /dev/zero" + range);
        EXPECT_EQ(device.code, 0) << range << device.err;
        EXPECT_EQ(device.out, file.out) << range;
    }
    EXPECT_EQ(Run("CLI export /dev/zero --offset 0x100 --length 2 --format c").out, "0x00,0x00,\n");
    const ShellRun past = Run("head -c 100 /dev/zero | CLI checksum /dev/stdin --offset 90 --length 11");
    EXPECT_EQ(past.code, 2);
}

TEST_F(CliConventions, PipesAndProcessSubstitutionAreReadToTheirEnd)
{
    const std::string file = "'" + data_ + "'";
    const ShellRun fromFile = Run("CLI checksum " + file + " && CLI crc " + file + " && CLI search " + file +
                                  " hello --ignore-case --all && CLI dump " + file + " --offset 3");
    ASSERT_EQ(fromFile.code, 0);
    const ShellRun fromPipes = Run("cat " + file + " | CLI checksum /dev/stdin && CLI crc <(cat " + file +
                                   ") && cat " + file + " | CLI search /dev/stdin hello --ignore-case --all && cat " +
                                   file + " | CLI dump /dev/stdin --offset 3");
    EXPECT_EQ(fromPipes.code, 0) << fromPipes.err;
    EXPECT_EQ(fromPipes.out, fromFile.out);

    const std::string hex = dir_.Write("in.hex", ":0300000001020305\r\n:00000001FF\r\n");
    const ShellRun converted = Run("CLI convert <(cat '" + hex + "') '" + dir_.File("out.bin") + "' --from ihex");
    EXPECT_EQ(converted.code, 0) << converted.err;
    const std::vector<uint8_t> bytes = TempDir::Read(dir_.File("out.bin"));
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[2], 3);

    const std::vector<uint8_t> bmp = MakeBitmap(2, 2, 1, {0, 0xFFFFFF}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    const std::string picture = dir_.Write("bild.bmp", bmp), module = dir_.Write("bmp.dfm", kBmpModule);
    const ShellRun decodedFile = Run("CLI decode '" + picture + "' '" + module + "'");
    const ShellRun decodedPipe = Run("CLI decode <(cat '" + picture + "') '" + module + "'");
    EXPECT_EQ(decodedPipe.code, 0);
    EXPECT_NE(decodedFile.out.find("Dateigröße\t70 "), std::string::npos);
    EXPECT_EQ(decodedPipe.out, decodedFile.out);

    // An empty pipe is empty input, not a success.
    const ShellRun empty = Run("CLI convert <(true) '" + dir_.File("empty.bin") + "' --from ihex");
    EXPECT_EQ(empty.code, 1);
    EXPECT_NE(empty.err.find("ergibt keine Bytes"), std::string::npos);
}

TEST_F(CliConventions, ConvertWritesIntoFifosAndDevicesWithoutReplacingThem)
{
    const std::string fifo = dir_.File("fifo");
    const std::string received = dir_.File("received");
    const ShellRun run = Run("mkfifo '" + fifo + "' && { cat '" + fifo + "' > '" + received + "' & } && CLI convert '" +
                             data_ + "' '" + fifo + "' --to c; code=$?; wait; test -p '" + fifo +
                             "' && echo fifo; exit $code");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "fifo\n");
    const std::vector<uint8_t> text = TempDir::Read(received);
    EXPECT_EQ(std::string(text.begin(), text.begin() + 11), "0x48,0x65,0");

    const ShellRun toStdout = Run("CLI convert '" + data_ + "' /dev/stdout --to bin");
    EXPECT_EQ(toStdout.code, 0);
    EXPECT_EQ(std::vector<uint8_t>(toStdout.out.begin(), toStdout.out.end()), TempDir::Read(data_));
    // Standard output redirected to a file: the file gets the bytes, appended as asked.
    const std::string log = dir_.Write("log.txt", "Anfang:");
    EXPECT_EQ(Run("CLI convert '" + data_ + "' /dev/stdout >>'" + log + "'").code, 0);
    EXPECT_EQ(TempDir::Read(log).size(), 7 + TempDir::Read(data_).size());

    EXPECT_EQ(Run("CLI convert '" + data_ + "' /dev/null && test -c /dev/null").code, 0);
    const ShellRun full = Run("CLI convert '" + data_ + "' /dev/full");
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.err.find("\"/dev/full\" kann nicht geschrieben werden. Auf dem Datenträger ist kein Platz mehr."),
              std::string::npos);
}

TEST_F(CliConventions, ConvertRefusesToDropBytesAndSaysHowMany)
{
    const std::string big = dir_.File("big.bin");
    ASSERT_EQ(Run("head -c 16777300 /dev/zero > '" + big + "'").code, 0);
    const ShellRun c = Run("CLI convert '" + big + "' '" + dir_.File("big.h") + "'");
    EXPECT_EQ(c.code, 1);
    EXPECT_NE(c.err.find("84 von 16777300 Bytes fielen weg"), std::string::npos) << c.err;
    EXPECT_EQ(Run("test -e '" + dir_.File("big.h") + "'").code, 1);

    // Intel HEX addresses end at 4 GiB: of 0x20000 bytes from 0xFFFF0000 the second half has none.
    const std::string mid = dir_.File("mid.bin");
    ASSERT_EQ(Run("head -c 131072 /dev/zero > '" + mid + "'").code, 0);
    const std::string target = dir_.Write("old.hex", "alt");
    const ShellRun hex = Run("CLI convert '" + mid + "' '" + target + "' --base 0xFFFF0000");
    EXPECT_EQ(hex.code, 1);
    EXPECT_NE(hex.err.find("65536 von 131072 Bytes fielen weg"), std::string::npos) << hex.err;
    EXPECT_EQ(TempDir::Read(target), (std::vector<uint8_t>{'a', 'l', 't'}));
    EXPECT_EQ(Run("CLI convert '" + mid + "' '" + target + "' --base 0xFFFE0000").code, 0);
}

TEST_F(CliConventions, BackwardSearchWithWrapFindsValuesAboveTheCursor)
{
    const std::string file = "'" + data_ + "'";
    // "o" at 4, 7, 17 and 20: from 2 nothing lies below, so the search goes on down from the end.
    EXPECT_EQ(Run("CLI search " + file + " '\"o\"' --from 2 --backward --wrap").out, "0x14\n");
    EXPECT_EQ(Run("CLI search " + file + " '\"o\"' --from 100 --backward --wrap").out, "0x14\n");
    EXPECT_EQ(Run("CLI search " + file + " '\"o\"' --from 100 --backward").out, "0x14\n");
    EXPECT_EQ(Run("CLI search " + file + " '\"AB\"' --from 0 --backward --wrap").out, "0x1F\n");
    const ShellRun none = Run("CLI search " + file + " '\"o\"' --from 2 --backward");
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.out, "");
}

}  // namespace
}  // namespace qv::test
