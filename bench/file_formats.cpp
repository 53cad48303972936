// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the file format code against what a user would otherwise reach for, in the same
// run: the Intel HEX reader against objcopy, the LZW decoder against zlib's inflate, and
// the C text generator against a printf loop. Ratios are printed after the runs.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "document/CTextGenerator.h"
#include "document/IntelHexReader.h"
#include "document/LzwDecode.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "tests/support/LzwTestEncoder.h"

namespace {

// The machines are shared: CPU time (user + system, of this process or of the child a
// reference runs in) is compared rather than wall time, which other jobs distort.
double CpuSeconds()
{
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) + seconds(children.ru_stime);
}

// CPU seconds and iterations of each benchmark and its bytes per iteration, for the ratios.
struct Measured {
    double seconds = 0;
    double iterations = 0;
    double bytes = 0;
    double Rate() const { return iterations > 0 ? bytes * iterations / seconds / 1e6 : 0; }
};
std::map<std::string, Measured> measured;

template <typename Body>
void Timed(benchmark::State& state, const std::string& name, double bytesPerIteration, Body body)
{
    Measured& m = measured[name];
    for (auto _ : state) {
        const double start = CpuSeconds();
        body();
        m.seconds += CpuSeconds() - start;
        m.iterations += 1;
    }
    m.bytes = bytesPerIteration;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytesPerIteration));
}

std::vector<uint8_t> RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    qv::ReadWholeFile(path, bytes);
    return bytes;
}

// ---- Intel HEX: 16 MiB of random bytes as objcopy writes them -------------------------

struct HexFiles {
    std::string folder, bin, hex, back;
    bool ready = false;
    HexFiles()
    {
        char pattern[] = "/tmp/qv-bench-XXXXXX";
        if (!::mkdtemp(pattern)) return;
        folder = pattern;
        bin = folder + "/data.bin";
        hex = folder + "/data.hex";
        back = folder + "/back.bin";
        const auto data = RandomBytes(16 << 20, 1);
        std::ofstream(bin, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
        ready = std::system(("objcopy -I binary -O ihex " + bin + " " + hex).c_str()) == 0;
    }
    ~HexFiles() { std::system(("rm -rf " + folder).c_str()); }
};

HexFiles& Hex()
{
    static HexFiles files;
    return files;
}

void IntelHexReaderFile(benchmark::State& state)
{
    if (!Hex().ready) return state.SkipWithError("objcopy not available");
    const double size = static_cast<double>(ReadFile(Hex().hex).size());  // also warms the page cache
    // The file is handed to the reader through a memory map, as the CLI reads it.
    Timed(state, "ihex ours", size, [&] {
        qv::MappedFile::Error error;
        const auto file = qv::MappedFile::Open(Hex().hex, false, error);
        if (!file) return state.SkipWithError("cannot map the file");
        auto bytes = qv::IntelHexReader({reinterpret_cast<const char*>(file->Data()), file->Size()}, 0);
        benchmark::DoNotOptimize(bytes.data());
    });
}

void IntelHexObjcopy(benchmark::State& state)
{
    if (!Hex().ready) return state.SkipWithError("objcopy not available");
    const double size = static_cast<double>(ReadFile(Hex().hex).size());
    const std::string command = "objcopy -I ihex -O binary " + Hex().hex + " " + Hex().back;
    Timed(state, "ihex objcopy", size, [&] {
        if (std::system(command.c_str()) != 0) state.SkipWithError("objcopy failed");
    });
}

// ---- LZW: 64 KB blocks of memory-image-like data ----------------------------------------

// Text, small counters, repeated records and zero runs, as found in firmware images.
std::vector<uint8_t> ImageLikeData(size_t count)
{
    std::mt19937 random(2);
    static const char* words[] = {"status", "error ", "config", "buffer", "length", "timer ", "0x00 ", "value "};
    std::vector<uint8_t> out;
    while (out.size() < count) {
        switch (random() % 4) {
        case 0:
            for (int i = 0; i < 8; ++i) {
                const char* word = words[random() % 8];
                out.insert(out.end(), word, word + 6);
            }
            break;
        case 1:
            for (uint32_t i = 0, v = random() % 1000; i < 32; ++i, v += 4) out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), 0, 0});
            break;
        case 2: out.insert(out.end(), random() % 200, 0); break;
        default:
            for (int i = 0; i < 24; ++i) out.push_back(static_cast<uint8_t>(random()));
        }
    }
    out.resize(count);
    return out;
}

struct LzwBlocks {
    static constexpr size_t kBlock = 65535;
    std::vector<uint8_t> data = ImageLikeData(kBlock * 64);
    std::vector<std::vector<uint8_t>> lzw, deflated;
    LzwBlocks()
    {
        for (size_t start = 0; start < data.size(); start += kBlock) {
            lzw.push_back(qv::test::LzwTestEncode(data.data() + start, kBlock));
            uLongf size = compressBound(kBlock);
            std::vector<uint8_t> z(size);
            compress2(z.data(), &size, data.data() + start, kBlock, 6);
            z.resize(size);
            deflated.push_back(std::move(z));
        }
    }
};

LzwBlocks& Lzw()
{
    static LzwBlocks blocks;
    return blocks;
}

void LzwDecodeBlocks(benchmark::State& state)
{
    std::vector<uint8_t> out(65552, 1);
    Timed(state, "lzw ours", static_cast<double>(Lzw().data.size()), [&] {
        for (const auto& block : Lzw().lzw)
            if (qv::LzwDecode(block.data(), block.size(), out.data(), out.size()) != LzwBlocks::kBlock)
                state.SkipWithError("decode failed");
    });
}

void ZlibInflateBlocks(benchmark::State& state)
{
    std::vector<uint8_t> out(65552, 1);
    Timed(state, "lzw zlib", static_cast<double>(Lzw().data.size()), [&] {
        for (const auto& block : Lzw().deflated) {
            uLongf size = out.size();
            uncompress(out.data(), &size, block.data(), block.size());
        }
    });
}

// ---- C text: 4 MB as a C array of bytes --------------------------------------------------

const std::vector<uint8_t>& TextInput()
{
    static const auto data = RandomBytes(4 << 20, 3);
    return data;
}

void GenerateCTextBytes(benchmark::State& state)
{
    const auto& data = TextInput();
    std::vector<char> out(data.size() * 6 + 64, 1);
    Timed(state, "ctext ours", static_cast<double>(data.size()), [&] {
        benchmark::DoNotOptimize(qv::GenerateCText(data.data(), data.size(), 1, qv::kCTextC, 16, out.data(), out.size()));
    });
}

void PrintfCText(benchmark::State& state)
{
    const auto& data = TextInput();
    std::vector<char> out(data.size() * 6 + 64, 1);
    Timed(state, "ctext printf", static_cast<double>(data.size()), [&] {
        char* p = out.data();
        for (size_t i = 0; i < data.size(); ++i) {
            p += std::snprintf(p, 8, "0x%02X,", data[i]);
            if (i % 16 == 15) *p++ = '\n';
        }
        benchmark::DoNotOptimize(p);
    });
}

// References and ours alternate so that drifting machine speed hits both alike.
BENCHMARK(IntelHexObjcopy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(IntelHexReaderFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(IntelHexObjcopy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(IntelHexReaderFile)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ZlibInflateBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(LzwDecodeBlocks)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintfCText)->Unit(benchmark::kMillisecond);
BENCHMARK(GenerateCTextBytes)->Unit(benchmark::kMillisecond);

void Ratio(const char* what, const char* ours, const char* reference, const char* goal)
{
    const double a = measured[ours].Rate(), b = measured[reference].Rate();
    if (a <= 0 || b <= 0) return;
    std::printf("%-34s %8.1f MB/s vs %8.1f MB/s  ratio %5.2fx  (%s)\n", what, a, b, a / b, goal);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n");
    Ratio("Intel HEX read vs objcopy", "ihex ours", "ihex objcopy", "goal: at least 3x");
    Ratio("LzwDecode output vs zlib inflate", "lzw ours", "lzw zlib", "goal: at least 300 MB/s");
    Ratio("GenerateCText C input vs printf", "ctext ours", "ctext printf", "goal: at least 200 MB/s");
    return 0;
}
