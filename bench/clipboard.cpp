// SPDX-License-Identifier: GPL-3.0-or-later
// Copying a 4 MiB selection as a ":" hex dump: the view's copy command into a clipboard that
// converts the text to UTF-8 as the Qt boundary does, against a plain snprintf dump of the
// same bytes (the simple way to write it).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/CodePage.h"
#include "view/HexView.h"

namespace {

constexpr size_t kBytes = 4u << 20;

class Utf8Clipboard : public qv::IClipboard {
public:
    std::optional<std::string> GetText() override { return text; }
    bool SetText(const std::string& value) override
    {
        text = qv::Cp1252ToUtf8(value);
        return true;
    }
    std::string text;
};

std::vector<uint8_t> Data()
{
    std::vector<uint8_t> bytes(kBytes);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13 + (i >> 9));
    return bytes;
}

void ViewCopy(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = Data();
    qv::CHexView view;
    uint8_t* block = qv::ViewBuffer::Allocate(bytes.size());
    std::copy(bytes.begin(), bytes.end(), block);
    view.SetBuffer(block, static_cast<int32_t>(bytes.size()), 0, qv::ViewWritable | qv::ViewOwnsBuffer);
    view.SetCursorOffset(0, false);
    view.SelectTo(static_cast<uint32_t>(bytes.size()), false);
    Utf8Clipboard clipboard;
    for (auto _ : state) {
        view.CopyToClipboard(clipboard);
        benchmark::DoNotOptimize(clipboard.text.data());
    }
    if (clipboard.text.size() != 3 * kBytes) state.SkipWithError("wrong text length");
}

void SnprintfDump(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = Data();
    std::string text;
    for (auto _ : state) {
        text.assign(3 * kBytes + 1, '\0');
        char* out = text.data();
        *out++ = ':';
        for (size_t i = 0; i < bytes.size(); ++i) out += std::snprintf(out, 4, i + 1 < bytes.size() ? "%02X " : "%02X", bytes[i]);
        benchmark::DoNotOptimize(text.data());
    }
}

}  // namespace

BENCHMARK(ViewCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(SnprintfDump)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
