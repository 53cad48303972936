// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/IntelHexReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "common/HexText.h"

namespace qv {

namespace {

constexpr size_t kMaxLineLength = 511;
constexpr size_t kMaxRecordBytes = 128;
constexpr size_t kGrowthStep = 0x10000;

enum RecordType : uint8_t { kData = 0x00, kSegmentBase = 0x02, kLinearBase = 0x04 };

// One decoded line: count, address, type and the bytes after them.
struct Record {
    uint8_t bytes[kMaxRecordBytes];
    size_t size = 0;  // bytes decoded, at least 5
    uint8_t Count() const { return bytes[0]; }
    uint32_t Address() const { return (uint32_t{bytes[1]} << 8) | bytes[2]; }
    uint8_t Type() const { return bytes[3]; }
    const uint8_t* Data() const { return bytes + 4; }
};

// Walks the text as lines: split at CR or LF, leading blanks, tabs and line ends skipped,
// at most kMaxLineLength characters a line (a longer line continues as the next one).
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::optional<std::string_view> Next()
    {
        while (position_ < text_.size() && IsSkipped(text_[position_])) ++position_;
        if (position_ >= text_.size()) return std::nullopt;
        const size_t start = position_;
        const size_t limit = std::min(text_.size(), start + kMaxLineLength);
        const void* found = std::memchr(text_.data() + start, '\n', limit - start);
        size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - text_.data()) : limit;
        if (const void* cr = std::memchr(text_.data() + start, '\r', end - start))
            end = static_cast<size_t>(static_cast<const char*>(cr) - text_.data());
        position_ = end;
        return text_.substr(start, end - start);
    }

private:
    static bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    std::string_view text_;
    size_t position_ = 0;
};

constexpr uint8_t kNoDigit = 0x10;  // any value above 15 marks a character that is no digit
constexpr auto kDigitValues = [] {
    std::array<uint8_t, 256> values{};
    values.fill(kNoDigit);
    for (int c = '0'; c <= '9'; ++c) values[c] = static_cast<uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) values[c] = values[c + 'a' - 'A'] = static_cast<uint8_t>(c - 'A' + 10);
    return values;
}();

// Files hold almost only well-formed records: ":" and pairs of hex digits. Those are
// decoded here with a table, which is several times faster than the general dump reader;
// every other line goes to the general reader, which gives the same bytes for these.
bool DecodeWellFormed(std::string_view digits, Record& record)
{
    if (digits.size() % 2 != 0 || digits.size() / 2 > kMaxRecordBytes) return false;
    const auto* text = reinterpret_cast<const uint8_t*>(digits.data());
    uint8_t noDigit = 0;
    for (size_t i = 0; i < digits.size() / 2; ++i) {
        const uint8_t high = kDigitValues[text[2 * i]];
        const uint8_t low = kDigitValues[text[2 * i + 1]];
        noDigit |= high | low;
        record.bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    record.size = digits.size() / 2;
    return (noDigit & kNoDigit) == 0;
}

// The record on a line starting with ":", or nothing when the line holds none.
bool DecodeRecord(std::string_view line, Record& record)
{
    if (line.empty() || line[0] != ':') return false;
    if (!DecodeWellFormed(line.substr(1), record)) record.size = HexTextToBytes(record.bytes, kMaxRecordBytes, line);
    return record.size >= 5;
}

// The base an 02 or 04 record sets, or nothing when the record sets none.
std::optional<int64_t> RecordBase(const Record& record)
{
    if (record.Count() < 2 || record.size < 7) return std::nullopt;
    const int64_t value = (int64_t{record.Data()[0]} << 8) | record.Data()[1];
    if (record.Type() == kSegmentBase) return value * 16;
    if (record.Type() == kLinearBase) return value * 65536;
    return std::nullopt;
}

}  // namespace

std::vector<uint8_t> IntelHexReader(std::string_view content, uint32_t startOffset)
{
    std::vector<uint8_t> block(kGrowthStep, 0);
    // A dense file takes 44 characters for 16 bytes: reserving for that spares the copies of
    // a growing block.
    block.reserve(std::min(content.size() / 44 * 16, static_cast<size_t>(kIntelHexMaxIndex)));
    size_t highest = 0;
    int64_t base = 0;
    Record record;
    LineReader lines(content);
    while (auto line = lines.Next()) {
        if (!DecodeRecord(*line, record)) continue;
        if (record.Type() != kData) {
            if (auto newBase = RecordBase(record)) base = *newBase;
            continue;
        }
        size_t count = std::min<size_t>(record.Count(), record.size - 5);
        const uint8_t* data = record.Data();
        // 32-bit address arithmetic: a start offset of -16 (0xFFFFFFF0) places the records 16
        // bytes higher, as the wrap-around gives.
        int64_t index = static_cast<int32_t>(record.Address() + static_cast<uint32_t>(base) - startOffset);
        if (index < 0) {
            const int64_t dropped = std::min<int64_t>(-index, static_cast<int64_t>(count));
            data += dropped;
            count -= static_cast<size_t>(dropped);
            index = 0;
            if (count == 0) continue;
        }
        if (index > kIntelHexMaxIndex) continue;
        const size_t first = static_cast<size_t>(index);
        const size_t end = first + count;
        if (end > block.size()) block.resize((end + kGrowthStep - 1) / kGrowthStep * kGrowthStep, 0);
        std::memcpy(block.data() + first, data, count);
        highest = std::max(highest, end);
    }
    block.resize((highest + 1023) / 1024 * 1024);
    return block;
}

uint32_t ProposeStartOffset(std::string_view content)
{
    int64_t proposal = 0;
    Record record;
    LineReader lines(content);
    while (auto line = lines.Next()) {
        if (!DecodeRecord(*line, record)) continue;
        if (record.Type() == kData) break;
        if (auto base = RecordBase(record)) proposal = *base;
    }
    return static_cast<uint32_t>(proposal);
}

}  // namespace qv
