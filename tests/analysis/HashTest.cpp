// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli hash against the coreutils sum programs and Python's hashlib; HashRange's
// progress and cancel.
#include <gtest/gtest.h>

#include "analysis/Hashes.h"
#include "tests/cli/CliRun.h"
#include "tests/support/RandomBytes.h"

namespace qv {
namespace {

class HashCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (test::CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
        dir.Write("empty", std::vector<uint8_t>{});
        dir.Write("one", std::vector<uint8_t>{0x61});
        dir.Write("mib", test::RandomBytes(1 << 20, 7));
    }

    // The first line a shell command prints, run in the test folder.
    std::string Line(const std::string& command)
    {
        const test::ShellRun run = test::RunShell(dir, "cd '" + dir.Path() + "' && " + command);
        EXPECT_EQ(run.code, 0) << command << "\n" << run.err;
        return run.out.substr(0, run.out.find('\n'));
    }

    test::TempDir dir;
};

TEST_F(HashCli, EqualsTheSumProgramsOnEmptyOneByteAndLargeFiles)
{
    const std::vector<std::pair<std::string, std::string>> references = {
        {"md5", "md5sum"},       {"sha1", "sha1sum"},     {"sha224", "sha224sum"}, {"sha256", "sha256sum"},
        {"sha384", "sha384sum"}, {"sha512", "sha512sum"}, {"blake2b-512", "b2sum"},
    };
    for (const char* file : {"empty", "one", "mib"}) {
        for (const auto& [name, program] : references)
            EXPECT_EQ(Line("CLI hash " + std::string(file) + " --algorithm " + name), Line(program + " " + file))
                << name << " of " << file;
        const std::string python = "python3 -c \"import hashlib,sys; print(hashlib.sha3_256(open('" +
                                   std::string(file) + "','rb').read()).hexdigest() + '  " + file + "')\"";
        EXPECT_EQ(Line("CLI hash " + std::string(file) + " --algorithm sha3-256"), Line(python)) << file;
    }
}

TEST_F(HashCli, HashesARangeAndPrintsOneLinePerAlgorithmInTheOrderAsked)
{
    const test::ShellRun run = test::RunShell(
        dir, "cd '" + dir.Path() + "' && CLI hash mib --offset 0x1001 --length 70000 --algorithm sha512 --algorithm md5");
    const std::string range = "tail -c +4098 mib | head -c 70000";
    EXPECT_EQ(run.out, Line(range + " | sha512sum | sed 's/-$/mib/'") + "\n" + Line(range + " | md5sum | sed 's/-$/mib/'") + "\n");
    // Without an algorithm: SHA-256 of the whole file.
    EXPECT_EQ(Line("CLI hash mib"), Line("sha256sum mib"));
}

TEST_F(HashCli, ItsLinesPassTheCheckOfSha256sumAlsoForNamesThatNeedEscaping)
{
    dir.Write("back\\slash", std::vector<uint8_t>{1, 2});
    dir.Write("line\nbreak", std::vector<uint8_t>{3});
    const test::ShellRun run = test::RunShell(
        dir, "cd '" + dir.Path() + "' && CLI hash one back* line* > sums && sha256sum -c sums");
    EXPECT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("line\\nbreak: OK"), std::string::npos) << run.out;
}

TEST_F(HashCli, RefusesUnknownAlgorithmsAndRangesPastTheEndAndGoesOnAfterAnUnreadableFile)
{
    EXPECT_EQ(test::RunShell(dir, "CLI hash '" + dir.File("one") + "' --algorithm sha3-512").code, 2);
    EXPECT_EQ(test::RunShell(dir, "CLI hash '" + dir.File("one") + "' --offset 2").code, 2);
    EXPECT_EQ(test::RunShell(dir, "CLI hash '" + dir.File("one") + "' --offset 1 --length 1").code, 2);
    const test::ShellRun run = test::RunShell(dir, "cd '" + dir.Path() + "' && CLI hash missing one");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, Line("sha256sum one") + "\n");
    EXPECT_NE(run.err.find("missing"), std::string::npos);
}

TEST(HashRange, ReportsProgressPerChunkAndGivesNothingWhenCancelled)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(2 * kHashChunk + 5), 0xAB);
    const BlockByteSource source(bytes.data(), static_cast<int64_t>(bytes.size()));
    TaskProgress progress;
    const auto whole = HashRange(source, 0, INT64_MAX, {HashAlgorithm::Sha256}, progress);
    ASSERT_TRUE(whole);
    EXPECT_EQ(progress.Done(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(progress.Total(), static_cast<int64_t>(bytes.size()));
    // The same bytes fed in one piece give the same digest.
    HashSet direct({HashAlgorithm::Sha256});
    direct.Update(bytes);
    EXPECT_EQ(*whole, direct.FinishHex());

    TaskProgress cancelled;
    cancelled.Cancel();
    EXPECT_FALSE(HashRange(source, 0, INT64_MAX, {HashAlgorithm::Md5}, cancelled));
}

}  // namespace
}  // namespace qv
