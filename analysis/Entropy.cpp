// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Entropy.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "common/CodePage.h"

namespace qv {
namespace {

using Histogram = std::array<uint32_t, 256>;

Histogram CountBytes(std::span<const uint8_t> bytes)
{
    // Four tables, so that runs of equal bytes do not wait on the same counter.
    std::array<Histogram, 4> partial{};
    const uint8_t* p = bytes.data();
    const size_t n = bytes.size();
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++partial[0][p[i]];
        ++partial[1][p[i + 1]];
        ++partial[2][p[i + 2]];
        ++partial[3][p[i + 3]];
    }
    for (; i < n; ++i) ++partial[0][p[i]];
    Histogram counts{};
    for (size_t v = 0; v < 256; ++v) counts[v] = partial[0][v] + partial[1][v] + partial[2][v] + partial[3][v];
    return counts;
}

double EntropyOf(const Histogram& counts, size_t total)
{
    // A single value is exactly 0, not a rounding error away from it.
    if (total == 0 || std::find(counts.begin(), counts.end(), total) != counts.end()) return 0;
    // -sum(c/n * log2(c/n)) = log2(n) - sum(c * log2 c) / n
    double weighted = 0;
    for (uint32_t c : counts)
        if (c > 1) weighted += c * std::log2(static_cast<double>(c));
    const double n = static_cast<double>(total);
    return std::clamp(std::log2(n) - weighted / n, 0.0, 8.0);
}

bool IsTextControl(size_t value)
{
    return (value < 0x20 && value != '\t' && value != '\n' && value != '\r') || value == 0x7F;
}

// A block cut out of a text may begin inside a character and end inside one.
bool IsUtf8Cut(std::span<const uint8_t> bytes)
{
    auto isContinuation = [](uint8_t b) { return (b & 0xC0) == 0x80; };
    size_t first = 0;
    while (first < bytes.size() && first < 3 && isContinuation(bytes[first])) ++first;
    size_t end = bytes.size();
    for (size_t back = 1; back <= 3 && back <= end - first; ++back) {
        const uint8_t lead = bytes[end - back];
        if (isContinuation(lead)) continue;
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length > back) end -= back;
        break;
    }
    return IsValidUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + first, end - first));
}

}  // namespace

double ShannonEntropy(std::span<const uint8_t> bytes)
{
    return EntropyOf(CountBytes(bytes), bytes.size());
}

BlockMeasure MeasureBlock(std::span<const uint8_t> bytes)
{
    const Histogram counts = CountBytes(bytes);
    BlockMeasure measure;
    measure.entropy = EntropyOf(counts, bytes.size());
    if (counts[0] == bytes.size()) {
        measure.kind = BlockKind::Zero;
    } else if (counts[0xFF] == bytes.size()) {
        measure.kind = BlockKind::Ones;
    } else {
        bool controls = false, high = false;
        for (size_t v = 0; v < 256; ++v) {
            if (counts[v] == 0) continue;
            controls = controls || IsTextControl(v);
            high = high || v >= 0x80;
        }
        const bool text = !controls && (!high || IsUtf8Cut(bytes));
        measure.kind = text ? BlockKind::Text : BlockKind::Data;
    }
    return measure;
}

}  // namespace qv
