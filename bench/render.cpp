// SPDX-License-Identifier: GPL-3.0-or-later
// Building and painting the rows of the hex view into an offscreen raster:
// - a full 1920x1080 window against filling the same frame once (the floor any paint pays);
// - paging through a 100 GiB memory-mapped file against paging through a 1 KiB block.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "view/HexView.h"

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr qv::CellMetrics kCell{8, 15};

// Draws into 32-bit pixels: every cell is filled with its background and the glyph's
// pixels (a fixed pattern per character code) are set in the text colour.
class RasterDrawing : public qv::ILineDrawing {
public:
    RasterDrawing() : pixels_(static_cast<size_t>(kWidth) * kHeight)
    {
        std::mt19937 random(3);
        for (auto& glyph : glyphs_)
            for (auto& line : glyph) line = static_cast<uint8_t>(random());
    }

    int32_t DrawText(int32_t x, int32_t y, std::string_view text, int, qv::Color textColor,
                     qv::Color background) override
    {
        const uint32_t fg = textColor < 0 ? 0x000000 : static_cast<uint32_t>(textColor);
        const uint32_t bg = background < 0 ? 0xFFFFFF : static_cast<uint32_t>(background);
        for (char c : text) {
            if (x + kCell.width > kWidth) break;
            const auto& glyph = glyphs_[static_cast<uint8_t>(c)];
            for (int32_t row = 0; row < kCell.height && y + row < kHeight; ++row) {
                uint32_t* p = &pixels_[static_cast<size_t>(y + row) * kWidth + static_cast<size_t>(x)];
                const uint8_t bits = glyph[static_cast<size_t>(row)];
                for (int32_t col = 0; col < kCell.width; ++col) p[col] = (bits >> col) & 1 ? fg : bg;
            }
            x += kCell.width;
        }
        return static_cast<int32_t>(text.size()) * kCell.width;
    }

    void FillRect(const qv::LineRect& rect, qv::Color color) override
    {
        const uint32_t value = color < 0 ? 0xFFFFFF : static_cast<uint32_t>(color);
        for (int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, kHeight); ++y)
            std::fill(&pixels_[static_cast<size_t>(y) * kWidth + static_cast<size_t>(std::max(rect.left, 0))],
                      &pixels_[static_cast<size_t>(y) * kWidth + static_cast<size_t>(std::min(rect.right, kWidth))],
                      value);
    }

    // Every cell is drawn inside the frame here, so clipping has nothing to do.
    void SetClip(const qv::LineRect&) override {}
    void ClearClip() override {}
    qv::CellMetrics Cell() const override { return kCell; }
    bool IsPrinting() const override { return false; }
    const std::vector<uint32_t>& Pixels() const { return pixels_; }

private:
    std::vector<uint32_t> pixels_;
    std::array<std::array<uint8_t, 15>, 256> glyphs_{};
};

// Paints the rows visible from the view's top line the way the line view does.
void PaintWindow(qv::CHexView& view, RasterDrawing& dc, int32_t rows = kHeight / kCell.height)
{
    const int32_t margin = view.LeftMargin();
    const int32_t columns = (kWidth - margin) / kCell.width;
    for (int32_t r = 0; r < rows; ++r) {
        const int32_t top = r * kCell.height;
        view.DrawMargin(dc, qv::LineRect{0, top, margin, top + kCell.height}, view.TopLine() + r);
        view.PrintLine(dc, qv::LineRect{margin, top, kWidth, top + kCell.height}, view.TopLine() + r, 0, columns, 0);
    }
}

std::map<std::string, double> medians;

void BM_PaintFullWindow(benchmark::State& state)
{
    static std::vector<uint8_t> bytes(1 << 20, 0x5A);
    qv::CHexView view;
    view.SetBuffer(bytes.data(), static_cast<int64_t>(bytes.size()), 0, qv::ViewWritable);
    view.FitWidthToWindow((kWidth - view.LeftMargin()) / kCell.width, kHeight / kCell.height, 1, 0);
    view.SetCursorOffset(0x40, false);
    view.SelectTo(0x400, false);
    RasterDrawing dc;
    for (auto _ : state) {
        PaintWindow(view, dc);
        benchmark::DoNotOptimize(dc.Pixels().data());
    }
    state.counters["bytes_per_row"] = view.BytesPerRow();
}

void BM_FillFrameReference(benchmark::State& state)
{
    RasterDrawing dc;
    for (auto _ : state) {
        dc.FillRect(qv::LineRect{0, 0, kWidth, kHeight}, 0x123456);
        benchmark::DoNotOptimize(dc.Pixels().data());
    }
}

// One screen of 32 rows of 16 bytes (512 bytes, so that the 1 KiB block fills it too):
// jump to an offset and paint what is visible.
void PageThrough(benchmark::State& state, uint8_t* data, int64_t length)
{
    constexpr int32_t kRows = 32;
    qv::CHexView view;
    view.SetBuffer(data, length, 0, 0);
    RasterDrawing dc;
    std::mt19937_64 random(11);
    std::vector<uint64_t> targets(64);
    for (uint64_t& t : targets) t = random() % static_cast<uint64_t>(length - kRows * 16);
    // The first visit of a screen faults its page in (about 12 us here); the comparison is
    // about what every later screen costs, so each screen is visited once before timing.
    for (uint64_t t : targets) {
        view.ScrollToOffset(t, false);
        PaintWindow(view, dc, kRows);
    }
    size_t next = 0;
    for (auto _ : state) {
        view.ScrollToOffset(targets[next++ % targets.size()], false);
        PaintWindow(view, dc, kRows);
        benchmark::DoNotOptimize(dc.Pixels().data());
    }
}

void BM_PageMapped100GiB(benchmark::State& state)
{
    const std::string path = (std::filesystem::temp_directory_path() / "qv-bench-sparse.bin").string();
    const int64_t length = 100LL << 30;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::ftruncate(fd, length) != 0) {
        state.SkipWithError("cannot create the sparse file");
        return;
    }
    void* map = ::mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        state.SkipWithError("cannot map the file");
        return;
    }
    ::madvise(map, static_cast<size_t>(length), MADV_RANDOM);  // no read-ahead around a screen
    PageThrough(state, static_cast<uint8_t*>(map), length);
    ::munmap(map, static_cast<size_t>(length));
    std::filesystem::remove(path);
}

void BM_PageHeap1KiB(benchmark::State& state)
{
    static std::vector<uint8_t> bytes(1024, 0);
    PageThrough(state, bytes.data(), 1024);
}

// Alternate the pairs so that both members of a pair see the same machine state.
BENCHMARK(BM_PaintFullWindow)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_FillFrameReference)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_PageMapped100GiB)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_PageHeap1KiB)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly(true);

// Collects the medians to print the ratios after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            // CPU time: the machines are shared, and waiting for a core is not the view's cost.
            if (run.aggregate_name == "median") medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double paint = medians["BM_PaintFullWindow"];
    const double fill = medians["BM_FillFrameReference"];
    const double mapped = medians["BM_PageMapped100GiB"];
    const double heap = medians["BM_PageHeap1KiB"];
    std::printf("full 1920x1080 window (CPU time): %.3f ms (goal < 5 ms), %.1fx the time of one frame fill\n", paint / 1000,
                fill > 0 ? paint / fill : 0.0);
    std::printf("paging per screen (CPU time): 100 GiB mapped %.1f us, 1 KiB %.1f us, ratio %.2f (goal ~1)\n", mapped, heap,
                heap > 0 ? mapped / heap : 0.0);
    return 0;
}
