// SPDX-License-Identifier: GPL-3.0-or-later
// Checksum speed over 256 MiB, against zlib's adler32 (the nearest simple checksum a
// user would reach for), measured alternately in the same run.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tools/Checksum.h"

namespace {

constexpr size_t kSize = 256u << 20;

const std::vector<uint8_t>& Data()
{
    static const std::vector<uint8_t> data = [] {
        std::vector<uint8_t> bytes(kSize);
        for (size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
        return bytes;
    }();
    return data;
}

uint64_t Sums()
{
    const qv::Checksums s = qv::ComputeChecksums(Data().data(), Data().size());
    return s.bytes.added ^ s.dwordsBig.xored ^ s.wordsLittle.added;
}

uint64_t Adler()
{
    return adler32(1, Data().data(), static_cast<uInt>(Data().size()));
}

void BM_Checksums(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(Sums());
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_Checksums)->Unit(benchmark::kMillisecond);

void BM_ZlibAdler32(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(Adler());
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_ZlibAdler32)->Unit(benchmark::kMillisecond);

template <typename F>
double Seconds(F f)
{
    const auto begin = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(f());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Data();
    std::vector<double> sums, adler;
    for (int round = 0; round < 5; ++round) {
        adler.push_back(Seconds(Adler));
        sums.push_back(Seconds(Sums));
    }
    std::sort(sums.begin(), sums.end());
    std::sort(adler.begin(), adler.end());
    const double gib = double(kSize) / (1u << 30);
    std::printf("zlib adler32:      %7.2f ms  %6.2f GiB/s\n", adler[2] * 1e3, gib / adler[2]);
    std::printf("fifteen checksums: %7.2f ms  %6.2f GiB/s (need >= 4 GB/s)  ratio adler32/checksums %.2f\n",
                sums[2] * 1e3, gib / sums[2], adler[2] / sums[2]);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
