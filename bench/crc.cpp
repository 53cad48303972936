// SPDX-License-Identifier: GPL-3.0-or-later
// CRC speed against zlib's crc32 over 256 MiB, measured alternately in the same run:
// algorithm A for CRC-32 alone, and all nine results of the CRC dialog.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "common/Bits.h"
#include "tools/CrcCalculator.h"
#include "tools/CrcFastA.h"

namespace {

constexpr size_t kSize = 256u << 20;

const std::vector<uint8_t>& Data()
{
    static const std::vector<uint8_t> data = [] {
        std::vector<uint8_t> bytes(kSize);  // written in full: every page is faulted in
        std::mt19937_64 random(1);
        for (size_t i = 0; i < kSize; i += 8) {
            const uint64_t r = random();
            std::copy_n(reinterpret_cast<const uint8_t*>(&r), 8, &bytes[i]);
        }
        return bytes;
    }();
    return data;
}

uint64_t ZlibPass()
{
    const auto& d = Data();
    return crc32(0, d.data(), static_cast<uInt>(d.size()));
}

const qv::CrcTable& Crc32Table()
{
    static const qv::CrcTable table = qv::CrcTableA(0xEDB88320);
    return table;
}

uint64_t CrcAPass()
{
    const auto& d = Data();
    return qv::CrcFastUpdateA(Crc32Table(), 0xEDB88320, 0xFFFFFFFF, d.data(), d.size()) ^ 0xFFFFFFFF;
}

struct Setup {
    unsigned width;
    uint64_t reflected;
};

uint64_t NineResults(const Setup& setup)
{
    qv::CrcCalculator calculator;  // tables and periods are part of the cost
    calculator.SetPolynomial(setup.width, setup.reflected, qv::ReflectBits(setup.reflected, setup.width));
    const auto& d = Data();
    const qv::CrcResults r = calculator.Compute(0x12345678 & qv::CrcMask(setup.width), true, d.data(), d.size());
    return r[0] ^ r[4] ^ r[8];
}

template <typename F>
double Seconds(F f)
{
    const auto begin = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(f());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

void BM_ZlibCrc32(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(ZlibPass());
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_ZlibCrc32)->Unit(benchmark::kMillisecond);

void BM_CrcA32(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(CrcAPass());
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_CrcA32)->Unit(benchmark::kMillisecond);

void BM_NineResults(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(NineResults({32, 0xEDB88320}));
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_NineResults)->Unit(benchmark::kMillisecond);

void PrintRatios()
{
    if (ZlibPass() != CrcAPass()) std::printf("FEHLER: Algorithmus A weicht von zlib ab\n");
    const Setup setups[] = {{32, 0xEDB88320}, {16, 0x8408}, {12, 0xF01}, {7, 0x48}, {24, 0xDF3261},
                            {64, 0xC96C5795D7870F42ull}};
    constexpr int kRounds = 5;
    std::vector<double> zlib, fastA;
    std::vector<std::vector<double>> nine(std::size(setups));
    for (int round = 0; round < kRounds; ++round) {
        zlib.push_back(Seconds(ZlibPass));
        fastA.push_back(Seconds(CrcAPass));
        for (size_t s = 0; s < std::size(setups); ++s) nine[s].push_back(Seconds([&] { return NineResults(setups[s]); }));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double z = median(zlib);
    const double gib = double(kSize) / (1u << 30);
    std::printf("zlib crc32:                 %7.2f ms  %6.2f GiB/s\n", z * 1e3, gib / z);
    std::printf("algorithm A, CRC-32:        %7.2f ms  %6.2f GiB/s  ratio zlib/A %.2f (need >= 1)\n",
                median(fastA) * 1e3, gib / median(fastA), z / median(fastA));
    for (size_t s = 0; s < std::size(setups); ++s) {
        const double t = median(nine[s]);
        std::printf("nine results, width %2u:     %7.2f ms  ratio to one zlib pass %.2f (need <= 3)\n",
                    setups[s].width, t * 1e3, t / z);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Data();
    PrintRatios();
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
