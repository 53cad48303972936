// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli recovery: the list format, a journal shown, applied into a new file and
// deleted; journals that are damaged, unreadable or in use.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "recovery/JournalWriter.h"
#include "tests/cli/CliRun.h"

namespace qv {
namespace {

using test::RunShell;
using test::TempDir;

class RecoveryCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (test::CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
        std::filesystem::create_directories(folder);
    }
    // An untitled document of 8 zero bytes with two edits.
    std::unique_ptr<JournalWriter> Write(int64_t created)
    {
        JournalHeader header;
        header.createdSeconds = created;
        header.processId = 77;
        header.baseLength = 8;
        header.base = JournalBase::Zeros;
        std::string error;
        auto writer = JournalWriter::Create(folder, header, nullptr, error);
        const uint8_t abc[] = {'a', 'b', 'c'};
        writer->AppendEdit(2, nullptr, 2, abc, 3);
        writer->AppendEdit(0, nullptr, 1, nullptr, 0);
        return writer;
    }
    test::ShellRun Cli(const std::string& arguments)
    {
        return RunShell(dir, "XDG_STATE_HOME='" + dir.Path() + "' CLI recovery " + arguments);
    }

    TempDir dir;
    std::string folder = dir.Path() + "/quarnival/recovery";
};

TEST_F(RecoveryCliTest, ListShowApplyDelete)
{
    Write(1700000000)->Release();
    const test::ShellRun list = Cli("list");
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_TRUE(std::regex_match(list.out, std::regex("1\t\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d\t2\t3\tbereit\tUnbenannt\n")))
        << list.out;

    const test::ShellRun show = Cli("show 1");
    EXPECT_EQ(show.code, 0);
    EXPECT_NE(show.out.find("Ausgangsbytes: 8 Bytes, Nullbytes (neues Dokument)\nÄnderungen: 2\n"), std::string::npos)
        << show.out;
    EXPECT_NE(show.out.find("1\t0x00000002\t-2\t+3\t61 62 63\n"), std::string::npos) << show.out;

    const test::ShellRun apply = Cli("apply 1 '" + dir.File("out.bin") + "'");
    EXPECT_EQ(apply.code, 0) << apply.err;
    EXPECT_EQ(TempDir::Read(dir.File("out.bin")), (std::vector<uint8_t>{0, 'a', 'b', 'c', 0, 0, 0, 0}));
    EXPECT_EQ(Cli("apply 1 '" + dir.File("out.bin") + "'").code, 1) << "only into a new file";

    EXPECT_EQ(Cli("show 2").code, 1);
    EXPECT_EQ(Cli("show zwei").code, 2);
    EXPECT_EQ(Cli("delete 1").code, 0);
    EXPECT_EQ(Cli("list").out, "");
}

TEST_F(RecoveryCliTest, DamagedUnreadableAndInUseJournals)
{
    // Damaged: the last record cut in half.
    std::string damaged;
    {
        auto writer = Write(1700000000);
        damaged = writer->Path();
    }
    std::filesystem::resize_file(damaged, std::filesystem::file_size(damaged) - 5);
    const std::string noise = dir.Write("quarnival/recovery/journal-5-5-0.qvj", std::string(100, '\x17'));
    auto live = Write(1700000100);  // still written by this "editor"

    const test::ShellRun list = Cli("list");
    EXPECT_TRUE(std::regex_search(list.out, std::regex("^1\t-\t-\t-\tnicht lesbar\t" + noise + "\n")));
    EXPECT_TRUE(std::regex_search(list.out, std::regex("\n2\t[^\t]+\t1\t3\tbeschädigt\tUnbenannt\n")));
    EXPECT_TRUE(std::regex_search(list.out, std::regex("\n3\t[^\t]+\t2\t3\tin Benutzung\tUnbenannt\n")));

    const test::ShellRun apply = Cli("apply 2 -");
    EXPECT_EQ(apply.code, 0);
    EXPECT_EQ(apply.out, std::string("\0\0abc\0\0\0\0", 9));
    EXPECT_NE(apply.err.find("1 Eintrag am Ende ist verloren"), std::string::npos) << apply.err;

    const test::ShellRun unreadable = Cli("show 1");
    EXPECT_EQ(unreadable.code, 1);
    EXPECT_NE(unreadable.err.find(noise), std::string::npos);
    EXPECT_EQ(Cli("delete 3").code, 1);
    EXPECT_TRUE(std::filesystem::exists(noise));
    EXPECT_TRUE(std::filesystem::exists(live->Path()));
}

}  // namespace
}  // namespace qv
