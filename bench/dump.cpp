// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli dump against xxd on the same 256 MiB file, alternating, output to /dev/null.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/ChildProcess.h"

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

using qv::bench::CliPath;

double Run(const std::vector<std::string>& argv)
{
    return qv::bench::RunChild(argv).wall;
}

void WarmCache()
{
    qv::bench::WarmCache(TestFile());
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
