// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 clipboard read against a real X server (Xvfb) and a real owner (xclip): text,
// a long text in pieces, no owner, and an owner that has stopped answering.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/qt/X11Selection.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

bool Installed(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Starts a program with its standard input from `input` (or /dev/null) and its
// descriptor `keep` left open; returns its process id.
pid_t Spawn(std::vector<std::string> args, const std::string& input = "/dev/null", int keep = -1)
{
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    const int in = ::open(input.c_str(), O_RDONLY);
    ::dup2(in, 0);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keep) ::close(fd);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

void Stop(pid_t pid)
{
    if (pid <= 0) return;
    ::kill(pid, SIGCONT);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

class X11SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Installed("Xvfb") || !Installed("xclip")) GTEST_SKIP() << "needs Xvfb and xclip";
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        server_ = Spawn({"Xvfb", "-displayfd", std::to_string(pipe[1]), "-nolisten", "tcp", "-screen", "0",
                         "320x200x24"},
                        "/dev/null", pipe[1]);
        ::close(pipe[1]);
        std::string number;
        char c = 0;
        while (::read(pipe[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(pipe[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        display_ = ":" + number;
        selection_ = X11Selection::Open(display_);
        ASSERT_TRUE(selection_);
    }
    void TearDown() override
    {
        Stop(owner_);
        selection_.reset();
        Stop(server_);
    }

    // xclip owns the clipboard with the text until it is stopped.
    void Own(const std::string& text)
    {
        Stop(owner_);
        const std::string file = dir_.Write("clip.txt", text);
        owner_ = Spawn({"xclip", "-display", display_, "-quiet", "-selection", "clipboard", "-i"}, file);
        for (int i = 0; i < 300 && !selection_->HasOwner(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(selection_->HasOwner());
    }

    test::TempDir dir_;
    pid_t server_ = -1, owner_ = -1;
    std::string display_;
    std::unique_ptr<X11Selection> selection_;
};

TEST_F(X11SelectionTest, ReadsTextAndGivesUpOnASilentOwner)
{
    using Outcome = SelectionText::Outcome;
    EXPECT_FALSE(selection_->HasOwner());
    EXPECT_EQ(selection_->ReadText(std::chrono::milliseconds(1000)).outcome, Outcome::NoText);

    Own("Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9");
    SelectionText text = selection_->ReadText(std::chrono::milliseconds(1000));
    EXPECT_EQ(text.outcome, Outcome::Text);
    EXPECT_TRUE(text.utf8);
    EXPECT_EQ(text.bytes, "Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9");

    // A long text comes in pieces.
    std::string longText;
    for (int i = 0; longText.size() < (1 << 20); ++i) longText += std::to_string(i) + ' ';
    Own(longText);
    text = selection_->ReadText(std::chrono::milliseconds(1000));
    EXPECT_EQ(text.outcome, Outcome::Text);
    EXPECT_EQ(text.bytes.size(), longText.size());
    EXPECT_EQ(text.bytes, longText);

    // The owner stops answering: the read gives up after the patience, not Qt's 5 s a request.
    ::kill(owner_, SIGSTOP);
    const auto start = std::chrono::steady_clock::now();
    text = selection_->ReadText(std::chrono::milliseconds(1000));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(text.outcome, Outcome::NoAnswer);
    EXPECT_GE(seconds, 0.9);
    EXPECT_LT(seconds, 2.0);
    EXPECT_TRUE(selection_->HasOwner()) << "asked of the server, which answers";
}

}  // namespace
}  // namespace qv
