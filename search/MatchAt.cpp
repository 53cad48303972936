// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/MatchAt.h"

#include <bit>
#include <cstring>

#include "search/ScanKernel.h"

namespace qv {
namespace {

bool VerifyExact(const void* context, const uint8_t* at)
{
    const auto& value = *static_cast<const SearchValue*>(context);
    return std::memcmp(at, value.bytes.data(), static_cast<size_t>(value.length)) == 0;
}

bool VerifyFolded(const void* context, const uint8_t* at)
{
    const auto& value = *static_cast<const SearchValue*>(context);
    for (int i = 0; i < value.length; ++i)
        if (FoldCase(at[i]) != FoldCase(value.bytes[i])) return false;
    return true;
}

bool VerifyMasked(const void* context, const uint8_t* at)
{
    const auto& value = *static_cast<const SearchValue*>(context);
    const uint8_t* mask = value.bytes.data() + value.length;
    for (int i = 0; i < value.length; ++i)
        if (((at[i] ^ value.bytes[i]) & mask[i]) != 0) return false;
    return true;
}

bool IsLetter(uint8_t byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'); }

// A probe on a case-folded byte: OR-ing 0x20 maps exactly A and a (and only those) to a.
void FoldedProbe(uint8_t byte, uint8_t& orMask, uint8_t& want)
{
    orMask = IsLetter(byte) ? 0x20 : 0;
    want = static_cast<uint8_t>(byte | orMask);
}

// The two positions whose masks fix the most bits filter best.
void PickMaskedOffsets(const SearchValue& value, int& first, int& second)
{
    const uint8_t* mask = value.bytes.data() + value.length;
    first = 0;
    for (int i = 1; i < value.length; ++i)
        if (std::popcount(mask[i]) > std::popcount(mask[first])) first = i;
    second = first;
    for (int i = 0; i < value.length; ++i)
        if (i != first && (second == first || std::popcount(mask[i]) > std::popcount(mask[second]))) second = i;
}

ScanJob MakeJob(const SearchValue& value, const uint8_t* data)
{
    ScanJob job;
    job.data = data;
    job.context = &value;
    ScanProbe& probe = job.probe;
    const int last = value.length - 1;
    switch (value.mode) {
    case MatchMode::Exact: {
        // The second probe takes the last byte that differs from the first, so that runs
        // of equal bytes in the document do not pass both probes everywhere.
        int b = last;
        while (b > 0 && value.bytes[b] == value.bytes[0]) --b;
        probe.offsetB = b > 0 ? b : last;
        probe.wantA = value.bytes[0];
        probe.wantB = value.bytes[probe.offsetB];
        job.verify = value.length > 2 ? VerifyExact : nullptr;
        break;
    }
    case MatchMode::IgnoreCase:
        probe.offsetB = last;
        FoldedProbe(value.bytes[0], probe.orA, probe.wantA);
        FoldedProbe(value.bytes[last], probe.orB, probe.wantB);
        job.verify = value.length > 2 ? VerifyFolded : nullptr;
        break;
    case MatchMode::Masked: {
        PickMaskedOffsets(value, probe.offsetA, probe.offsetB);
        const uint8_t* mask = value.bytes.data() + value.length;
        probe.andA = mask[probe.offsetA];
        probe.andB = mask[probe.offsetB];
        probe.wantA = value.bytes[probe.offsetA] & probe.andA;
        probe.wantB = value.bytes[probe.offsetB] & probe.andB;
        job.verify = value.length > 2 ? VerifyMasked : nullptr;
        break;
    }
    }
    probe.plain = probe.andA == 0xFF && probe.andB == 0xFF && probe.orA == 0 && probe.orB == 0;
    return job;
}

// [lo, hi) upward or downward: the single-byte exact case is what memchr does best.
int64_t Scan(const SearchValue& value, const uint8_t* data, int64_t lo, int64_t hi, bool upward)
{
    if (value.length == 1 && value.mode == MatchMode::Exact) {
        const void* hit = upward ? std::memchr(data + lo, value.bytes[0], static_cast<size_t>(hi - lo))
                                 : memrchr(data + lo, value.bytes[0], static_cast<size_t>(hi - lo));
        return hit ? static_cast<const uint8_t*>(hit) - data : -1;
    }
    ScanJob job = MakeJob(value, data);
    return upward ? ScanUp(job, lo, hi) : ScanDown(job, lo, hi);
}

}  // namespace

bool ValueMatches(const SearchValue& value, const uint8_t* at)
{
    switch (value.mode) {
    case MatchMode::Exact: return VerifyExact(&value, at);
    case MatchMode::IgnoreCase: return VerifyFolded(&value, at);
    case MatchMode::Masked: return VerifyMasked(&value, at);
    }
    return false;
}

std::optional<PositionRun> ClampRun(int64_t length, int64_t size, int64_t start, int64_t count)
{
    const int64_t positions = size - length + 1;  // valid start positions 0 .. positions-1
    if (size <= 0 || positions <= 0) return std::nullopt;
    if (count > 0) {
        if (start >= positions) return std::nullopt;
        if (start + count >= positions) count = positions - start;
        if (start < 0) {
            count += start;
            start = 0;
        }
        if (count <= 0) return std::nullopt;
        return PositionRun{start, start + count, true};
    }
    if (start < 0) return std::nullopt;
    int64_t tries = -count;
    if (start - tries < 0) tries = start + 1;
    if (start >= positions) {
        tries -= start - positions;
        start = positions - 1;
    }
    if (tries <= 0) return std::nullopt;
    const int64_t lowest = start - tries + 1 > 0 ? start - tries + 1 : 0;
    return PositionRun{lowest, start + 1, false};
}

int64_t MatchAt(const SearchValue& value, const uint8_t* data, int64_t size, int64_t start, int64_t count)
{
    if (value.length <= 0) return start;
    if (data == nullptr) return -1;
    const std::optional<PositionRun> run = ClampRun(value.length, size, start, count);
    if (!run) return -1;
    return Scan(value, data, run->lowest, run->end, run->upward);
}

}  // namespace qv
