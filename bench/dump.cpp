// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli dump against xxd on the same 256 MiB file, alternating, output to /dev/null.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

const std::string& TestFile()
{
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "qv-bench-dump.bin").string();
        if (!std::filesystem::exists(p) || std::filesystem::file_size(p) != (256u << 20)) {
            std::ofstream out(p, std::ios::binary);
            std::mt19937 random(7);
            std::vector<uint32_t> block(1 << 18);
            for (int i = 0; i < 256; ++i) {
                for (uint32_t& v : block) v = random();
                out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 4));
            }
        }
        return p;
    }();
    return path;
}

std::string CliPath()
{
    if (const char* cli = std::getenv("QV_CLI")) return cli;
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quarnival-cli").string();
}

// Runs the program with stdout on /dev/null and returns the wall time in seconds.
double Run(const std::vector<std::string>& argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void WarmCache()
{
    std::ifstream in(TestFile(), std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
    }
}

std::vector<double> cliTimes;
std::vector<double> xxdTimes;

void BM_DumpCli(benchmark::State& state)
{
    for (auto _ : state) {
        WarmCache();
        const double seconds = Run({CliPath(), "dump", TestFile()});
        state.SetIterationTime(seconds);
        cliTimes.push_back(seconds);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (256 << 20));
}

void BM_DumpXxd(benchmark::State& state)
{
    for (auto _ : state) {
        WarmCache();
        const double seconds = Run({"xxd", TestFile()});
        state.SetIterationTime(seconds);
        xxdTimes.push_back(seconds);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (256 << 20));
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

// Alternating repetitions so that both see the same machine state.
BENCHMARK(BM_DumpCli)->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpXxd)->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double cli = Median(cliTimes);
    const double xxd = Median(xxdTimes);
    std::printf("dump 256 MiB: quarnival-cli %.3f s, xxd %.3f s, speed-up %.2fx (goal >= 3x)\n", cli, xxd,
                cli > 0 ? xxd / cli : 0.0);
    return 0;
}
