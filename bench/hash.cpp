// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli hash (SHA-256) against sha256sum on the same 1 GiB file in the page cache,
// alternating in every round, output to /dev/null. The ratio is of the children's processor
// time (user + system), so that other load on the shared machine does not count.
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

constexpr uint64_t kFileSize = uint64_t{1} << 30;

const std::string& TestFile()
{
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "qv-bench-hash.bin").string();
        if (!std::filesystem::exists(p) || std::filesystem::file_size(p) != kFileSize) {
            std::ofstream out(p, std::ios::binary);
            std::mt19937_64 random(7);
            std::vector<uint64_t> block(1 << 17);
            for (uint64_t written = 0; written < kFileSize; written += block.size() * 8) {
                for (uint64_t& v : block) v = random();
                out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 8));
            }
        }
        return p;
    }();
    return path;
}

std::vector<double> cliTimes;
std::vector<double> coreutilsTimes;

// One round runs both programs, one right after the other, on the warmed file.
void BM_Sha256Round(benchmark::State& state)
{
    for (auto _ : state) {
        qv::bench::WarmCache(TestFile());
        const qv::bench::ChildTimes cli = qv::bench::RunChild({qv::bench::CliPath(), "hash", TestFile()});
        qv::bench::WarmCache(TestFile());
        const qv::bench::ChildTimes coreutils = qv::bench::RunChild({"sha256sum", TestFile()});
        state.SetIterationTime(cli.wall);
        cliTimes.push_back(cli.processor);
        coreutilsTimes.push_back(coreutils.processor);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

BENCHMARK(BM_Sha256Round)->UseManualTime()->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double cli = Median(cliTimes);
    const double coreutils = Median(coreutilsTimes);
    std::printf("SHA-256 of 1 GiB, processor time: quarnival-cli %.3f s, sha256sum %.3f s, speed-up %.2fx (goal >= 2x)\n", cli,
                coreutils, cli > 0 ? coreutils / cli : 0.0);
    return 0;
}
