// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli compare against cmp, as whole processes in the same run and alternating:
// two equal 1 GiB files against `cmp`, and two 1 GiB files with 1% of their bytes changed
// at random against `cmp -l` (which names every differing byte, as compare names every run).
// Times are the children's processor time (user + system); every file is read into the
// page cache right before each timed run. Then the editor's case: the next difference of
// two mapped 4 GiB files that differ in their last byte only, found by the run finder,
// against one memcmp over the same maps.
//
// Usage: bench_compare [FOLDER] [GIB]  (about 4 + 2*GIB GiB of files are made there and
// removed; default $TMPDIR or /tmp and 4; GIB 0 leaves the editor's case out). QV_CLI names
// the program, else quarnival-cli next to this one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "compare/DiffFinder.h"
#include "platform/MappedFile.h"

namespace {

constexpr size_t kMiB = size_t{1} << 20;
constexpr int kRounds = 5;

std::string CliPath()
{
    if (const char* cli = std::getenv("QV_CLI")) return cli;
    std::vector<char> self(4096);
    const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size() - 1);
    const std::string path(self.data(), static_cast<size_t>(std::max<ssize_t>(n, 0)));
    return path.substr(0, path.rfind('/') + 1) + "quarnival-cli";
}

// Processor seconds of a child whose output this process reads and drops (cmp notices
// output to /dev/null and stops at the first difference); it must end with `expectedExit`.
double ProcessSeconds(const std::vector<std::string>& args, int expectedExit)
{
    int output[2];
    if (::pipe(output) != 0) std::exit(1);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    ::close(output[1]);
    std::vector<char> drop(kMiB);
    while (::read(output[0], drop.data(), drop.size()) > 0) {
    }
    ::close(output[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != expectedExit) {
        std::fprintf(stderr, "%s ended with %d\n", args[0].c_str(), WEXITSTATUS(status));
        std::exit(1);
    }
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

void Warm(const std::vector<std::string>& paths)
{
    std::vector<char> buffer(8 * kMiB);
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
    }
}

uint64_t Next(uint64_t& state)
{
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

// Writes `size` random bytes to `first`, and to `second` the same bytes with `changes`
// random ones altered (and the last byte when `lastDiffers`), in pieces of 64 MiB.
void WritePair(const std::string& first, const std::string& second, size_t size, size_t changes, bool lastDiffers)
{
    FILE* a = std::fopen(first.c_str(), "wb");
    FILE* b = std::fopen(second.c_str(), "wb");
    uint64_t state = 0x9E3779B97F4A7C15ull, changeState = 0x2545F4914F6CDD1Dull;
    std::vector<uint8_t> piece(64 * kMiB);
    const size_t changesPerPiece = changes / (size / piece.size());
    for (size_t done = 0; done < size; done += piece.size()) {
        for (size_t i = 0; i < piece.size(); i += 8) {
            const uint64_t word = Next(state);
            std::memcpy(piece.data() + i, &word, 8);
        }
        std::fwrite(piece.data(), 1, piece.size(), a);
        for (size_t k = 0; k < changesPerPiece; ++k) piece[Next(changeState) % piece.size()] ^= 0x5A;
        if (lastDiffers && done + piece.size() >= size) piece.back() ^= 1;
        std::fwrite(piece.data(), 1, piece.size(), b);
    }
    std::fclose(a);
    std::fclose(b);
}

// Median processor seconds of two commands, run alternately after warming their files.
std::pair<double, double> Medians(const std::vector<std::string>& files, const std::vector<std::string>& ours,
                                  const std::vector<std::string>& reference, int exit)
{
    std::vector<double> a, b;
    for (int round = 0; round < kRounds; ++round) {
        Warm(files);
        a.push_back(ProcessSeconds(ours, exit));
        Warm(files);
        b.push_back(ProcessSeconds(reference, exit));
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[kRounds / 2], b[kRounds / 2]};
}

double Seconds(const std::chrono::steady_clock::time_point& since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void EditorCase(const std::string& folder, size_t gib)
{
    const std::string left = folder + "/big-a.bin", right = folder + "/big-b.bin";
    const size_t size = gib << 30;
    WritePair(left, right, size, 0, true);
    double fresh = 1e9, freshReference = 1e9, mapped = 1e9, mappedReference = 1e9;
    for (int round = 0; round < 3; ++round) {
        Warm({left, right});
        // Fresh maps each time, as a compare started in the editor has; then the same maps
        // again, their pages in place.
        qv::MappedFile::Error error = qv::MappedFile::Error::None;
        auto a = qv::MappedFile::Open(left, false, error), b = qv::MappedFile::Open(right, false, error);
        auto c = qv::MappedFile::Open(left, false, error), d = qv::MappedFile::Open(right, false, error);
        const qv::BlockByteSource leftBytes(a->Data(), static_cast<int64_t>(a->Size()));
        const qv::BlockByteSource rightBytes(b->Data(), static_cast<int64_t>(b->Size()));
        const qv::DiffFinder diff(leftBytes, rightBytes, {});
        for (double* best : {&fresh, &mapped}) {
            const auto start = std::chrono::steady_clock::now();
            if (diff.NextDifference(0) != static_cast<int64_t>(size) - 1) std::fprintf(stderr, "wrong difference\n");
            *best = std::min(*best, Seconds(start));
        }
        for (double* best : {&freshReference, &mappedReference}) {
            const auto start = std::chrono::steady_clock::now();
            const volatile int sign = std::memcmp(c->Data(), d->Data(), size);
            *best = std::min(*best, Seconds(start));
            (void)sign;
        }
    }
    std::printf("next difference at the end of two %zu GiB files: fresh maps %.3f s, memcmp %.3f s: %.2fx; "
                "maps in place %.3f s, memcmp %.3f s: %.2fx\n",
                gib, fresh, freshReference, freshReference / fresh, mapped, mappedReference, mappedReference / mapped);
    std::remove(left.c_str());
    std::remove(right.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = argc > 1 ? argv[1] : (tmp ? tmp : "/tmp");
    const size_t bigGib = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 4;
    folder += "/qv-bench-compare-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        std::perror(folder.c_str());
        return 1;
    }
    const std::string cli = CliPath();
    const std::string a = folder + "/a.bin", same = folder + "/same.bin", changed = folder + "/changed.bin";
    const size_t size = size_t{1} << 30;
    WritePair(a, same, size, 0, false);
    WritePair(a, changed, size, size / 100, false);

    std::printf("quarnival-cli compare against cmp, processor time of whole processes, median of %d\n", kRounds);
    auto [ours, ref] = Medians({a, same}, {cli, "compare", a, same}, {"cmp", a, same}, 0);
    std::printf("equal 1 GiB files: compare %.3f s, cmp %.3f s: %.2fx (need >= 2)\n", ours, ref, ref / ours);
    std::tie(ours, ref) = Medians({a, changed}, {cli, "compare", a, changed}, {"cmp", "-l", a, changed}, 1);
    std::printf("1 GiB, 1%% of the bytes changed: compare %.3f s, cmp -l %.3f s: %.2fx (need >= 4)\n", ours, ref,
                ref / ours);
    for (const std::string& path : {a, same, changed}) std::remove(path.c_str());

    if (bigGib > 0) EditorCase(folder, bigGib);
    ::rmdir(folder.c_str());
    return 0;
}
