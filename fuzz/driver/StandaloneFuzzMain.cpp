// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a libFuzzer target without libFuzzer: over the files named on the command line,
// or, without arguments, over a fixed series of pseudo-random and mutated inputs. Used as a
// smoke test where the compiler has no libFuzzer (the sanitizer build then checks each run).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            std::ifstream in(argv[i], std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
        return 0;
    }
    std::mt19937 random(12345);
    // Printable-heavy alphabet so that text parsers get past their first character.
    const char alphabet[] = "0123456789abcdefABCDEFxX+-*/%&|^~!<>=?:(),;.'\"\\ \t\r\n{}[]#$_HLUQVCD";
    for (int round = 0; round < 3000; ++round) {
        size_t size = random() % (round < 2000 ? 64 : 1024);
        std::vector<uint8_t> input(size);
        for (auto& byte : input)
            byte = (random() % 4 == 0) ? static_cast<uint8_t>(random()) : alphabet[random() % (sizeof alphabet - 1)];
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::puts("fuzz smoke run: 3000 inputs");
    return 0;
}
