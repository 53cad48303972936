// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli as whole processes against what a script would otherwise run, in the same
// run and alternating: a memmem loop over a map (search --all), one zlib crc32 pass over a
// map (crc), objcopy (Intel HEX to binary); checksum in GB/s; and the peak memory of the
// search and crc processes beyond the mapped file. Times are the children's processor
// time (user + system), so that other load on the shared machine does not count; every
// file is read into the page cache right before each timed run.
//
// Usage: bench_cli [FOLDER]  (the test files, about 850 MB, are made there and removed;
// default $TMPDIR or /tmp). QV_CLI names the program, else quarnival-cli next to this one.
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "bench/BenchProcess.h"

namespace {

using namespace bench;

constexpr int kRounds = 5;

struct Mapped {
    explicit Mapped(const char* path)
    {
        const int fd = ::open(path, O_RDONLY);
        struct stat st {};
        ::fstat(fd, &st);
        size = static_cast<size_t>(st.st_size);
        data = static_cast<const uint8_t*>(::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0));
        ::close(fd);
    }
    const uint8_t* data;
    size_t size;
};

// Child modes: the references, as processes of their own.
int MemmemLoop(const char* path, const char* hex)
{
    std::vector<uint8_t> needle;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) needle.push_back(static_cast<uint8_t>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    const Mapped file(path);
    size_t count = 0;
    const uint8_t* p = file.data;
    const uint8_t* end = file.data + file.size;
    while (const void* found = ::memmem(p, static_cast<size_t>(end - p), needle.data(), needle.size())) {
        ++count;
        p = static_cast<const uint8_t*>(found) + 1;
    }
    std::printf("%zu\n", count);
    return 0;
}

int Crc32Pass(const char* path)
{
    const Mapped file(path);
    uLong crc = crc32(0, nullptr, 0);
    for (size_t done = 0; done < file.size; done += 1u << 30)
        crc = crc32(crc, file.data + done, static_cast<uInt>(std::min<size_t>(file.size - done, 1u << 30)));
    std::printf("%08lX\n", crc);
    return 0;
}

// Median processor times of two commands, run alternately, each after warming `warm`.
std::pair<Run, Run> Compare(const std::vector<std::string>& warm, const std::vector<std::string>& a,
                            const std::vector<std::string>& b)
{
    std::vector<Run> runsA, runsB;
    for (int round = 0; round < kRounds; ++round) {
        for (const std::string& path : warm) Warm(path);
        runsA.push_back(RunProcess(a));
        for (const std::string& path : warm) Warm(path);
        runsB.push_back(RunProcess(b));
    }
    const auto bySeconds = [](const Run& x, const Run& y) { return x.seconds < y.seconds; };
    std::sort(runsA.begin(), runsA.end(), bySeconds);
    std::sort(runsB.begin(), runsB.end(), bySeconds);
    Run medianA = runsA[kRounds / 2], medianB = runsB[kRounds / 2];
    for (const Run& run : runsA) medianA.maxRssMb = std::max(medianA.maxRssMb, run.maxRssMb);
    return {medianA, medianB};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--memmem") == 0) return MemmemLoop(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "--crc32") == 0) return Crc32Pass(argv[2]);

    const std::string folder = MakeFileFolder(argc, argv, "qv-bench-cli");
    const std::string cli = CliPath(), self = SelfPath();
    const std::string big = folder + "/search.bin", mid = folder + "/crc.bin", image = folder + "/image.bin";
    const std::string hex = folder + "/image.hex", out = folder + "/out.bin";
    const std::vector<uint8_t> value8 = {0x51, 0x75, 0x61, 0x72, 0x6E, 0x69, 0x76, 0x21};
    WriteRandomFile(big, 512 * kMiB, 0x9E3779B97F4A7C15ull, value8);
    WriteRandomFile(mid, 256 * kMiB, 0x2545F4914F6CDD1Dull, {});
    WriteRandomFile(image, 16 * kMiB, 0x1234567887654321ull, {});
    RunProcess({cli, "convert", image, hex});

    std::printf("quarnival-cli against references, processor time of whole processes, median of %d\n", kRounds);
    const double mapMb = 256.0 * kMiB / 1e6;
    double searchRss = 0;
    const struct {
        const char* label;
        const char* cliValue;
        const char* memmemValue;
    } searches[] = {{"8-byte", "\"Quarniv!\"", "517561726E697621"}, {"2-byte", "0x3B7A", "7A3B"}};
    for (const auto& s : searches) {
        const auto [ours, ref] =
            Compare({big}, {cli, "search", big, s.cliValue, "--width", "word", "--all"},
                    {self, "--memmem", big, s.memmemValue});
        std::printf("search --all %s, 512 MiB: %.3f s, memmem loop over a map %.3f s: %.2fx (need >= 2)\n", s.label,
                    ours.seconds, ref.seconds, ref.seconds / ours.seconds);
        searchRss = std::max(searchRss, ours.maxRssMb - 512.0 * kMiB / 1e6);
    }
    {
        // The same bytes written in 4 KiB pieces: the page cache then holds them in small
        // pages, and mapping them costs both sides more system time.
        const std::string small = folder + "/small-pages.bin";
        RunProcess({"dd", "if=" + big, "of=" + small, "bs=4096", "status=none"});
        const auto [ours, ref] = Compare({small}, {cli, "search", small, searches[0].cliValue, "--all"},
                                         {self, "--memmem", small, searches[0].memmemValue});
        std::printf("search --all 8-byte, 512 MiB written in 4 KiB pieces: %.3f s, memmem loop %.3f s: %.2fx\n",
                    ours.seconds, ref.seconds, ref.seconds / ours.seconds);
        ::unlink(small.c_str());
    }
    const auto [crc, zlib] = Compare({mid}, {cli, "crc", mid, "--length", "0x10000000"}, {self, "--crc32", mid});
    std::printf("crc --length 256 MiB (nine results): %.3f s, one zlib crc32 pass over a map %.3f s: %.2f passes "
                "(need <= 3)\n",
                crc.seconds, zlib.seconds, crc.seconds / zlib.seconds);
    const auto [crcFirst, zlib2] = Compare({mid}, {cli, "crc", mid}, {self, "--crc32", mid});
    std::printf("crc FILE 256 MiB (the dialog's first MiB): %.3f s, zlib pass %.3f s: %.2f passes (need <= 3)\n",
                crcFirst.seconds, zlib2.seconds, crcFirst.seconds / zlib2.seconds);
    const auto [convert, objcopy] = Compare({hex}, {cli, "convert", hex, out},
                                            {"objcopy", "-I", "ihex", "-O", "binary", hex, out});
    std::printf("convert Intel HEX of a 16 MiB image: %.3f s, objcopy %.3f s: %.2fx (need >= 3)\n", convert.seconds,
                objcopy.seconds, objcopy.seconds / convert.seconds);
    const auto [sums, sumsFirst] =
        Compare({mid}, {cli, "checksum", mid, "--length", "0x10000000"}, {cli, "checksum", mid});
    std::printf("checksum --length 256 MiB: %.3f s = %.2f GB/s; checksum FILE (first MiB): %.3f s = %.2f GB/s of "
                "file (need >= 3)\n",
                sums.seconds, 256.0 * kMiB / 1e9 / sums.seconds, sumsFirst.seconds,
                256.0 * kMiB / 1e9 / sumsFirst.seconds);
    std::printf("peak memory besides the map: search %.1f MB, crc %.1f MB (need < 32)\n", searchRss,
                crc.maxRssMb - mapMb);

    for (const std::string& path : {big, mid, image, hex, out}) ::unlink(path.c_str());
    ::rmdir(folder.c_str());
    return 0;
}
