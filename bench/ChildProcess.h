// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// For benchmarks that time whole programs: where quarnival-cli is, running a program with
// its standard output on /dev/null, and reading a file into the page cache right before.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace qv::bench {

// QV_CLI, else quarnival-cli next to the benchmark.
inline std::string CliPath()
{
    if (const char* cli = std::getenv("QV_CLI")) return cli;
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quarnival-cli").string();
}

struct ChildTimes {
    double wall = -1;       // seconds
    double processor = -1;  // user + system seconds of the child: other load on the machine does not count
};

inline ChildTimes RunChild(const std::vector<std::string>& argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    ChildTimes times;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        times.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        times.processor = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    }
    posix_spawn_file_actions_destroy(&actions);
    return times;
}

// The page cache drops pages left untouched for a while: read the file right before timing.
inline void WarmCache(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
    }
}

}  // namespace qv::bench
