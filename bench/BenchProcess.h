// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmarks that run quarnival-cli as whole processes share: where the program
// is, running a child and taking its processor time and peak memory, warming a file into
// the page cache, and writing a file of pseudo-random bytes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace bench {

constexpr size_t kMiB = size_t{1} << 20;

struct Run {
    double seconds = 0;   // user + system time of the child
    double maxRssMb = 0;  // its peak resident set, in MB
};

inline std::string SelfPath()
{
    std::vector<char> path(4096);
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    return n > 0 ? std::string(path.data(), static_cast<size_t>(n)) : std::string();
}

// QV_CLI names the program, else quarnival-cli next to the benchmark.
inline std::string CliPath()
{
    if (const char* cli = std::getenv("QV_CLI")) return cli;
    const std::string self = SelfPath();
    return self.substr(0, self.rfind('/') + 1) + "quarnival-cli";
}

// Runs a child with its output thrown away; ends the benchmark when it fails.
inline Run RunProcess(const std::vector<std::string>& args)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "failed (%d): %s ...\n", WEXITSTATUS(status), args[0].c_str());
        std::exit(1);
    }
    Run run;
    run.seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    run.maxRssMb = static_cast<double>(usage.ru_maxrss) * 1024.0 / 1e6;
    return run;
}

// A fresh folder for the test files below the folder named on the command line, else
// below $TMPDIR or /tmp; ends the benchmark when it cannot be made.
inline std::string MakeFileFolder(int argc, char** argv, const std::string& name)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = argc > 1 ? argv[1] : (tmp ? tmp : "/tmp");
    folder += "/" + name + "-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        std::perror(folder.c_str());
        std::exit(1);
    }
    return folder;
}

// Reads the file through once so that its pages are in the page cache.
inline void Warm(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::vector<char> buffer(kMiB);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
}

// `size` pseudo-random bytes (xorshift from `seed`), written in pieces of 64 MiB, with the
// planted value at `plantAt` and every `plantEvery` bytes after it.
inline void WriteRandomFile(const std::string& path, size_t size, uint64_t seed,
                            const std::vector<uint8_t>& planted = {}, size_t plantAt = 4093, size_t plantEvery = kMiB)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    std::vector<uint8_t> bytes(64 * kMiB);
    uint64_t state = seed;
    for (size_t done = 0; done < size; done += bytes.size()) {
        const size_t piece = std::min(bytes.size(), size - done);
        for (size_t i = 0; i < piece; i += 8) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            std::memcpy(bytes.data() + i, &state, std::min<size_t>(8, piece - i));
        }
        for (size_t at = plantAt; !planted.empty() && at + planted.size() <= size; at += plantEvery)
            if (at >= done && at + planted.size() <= done + piece)
                std::memcpy(bytes.data() + (at - done), planted.data(), planted.size());
        std::fwrite(bytes.data(), 1, piece, file);
    }
    std::fclose(file);
}

}  // namespace bench
