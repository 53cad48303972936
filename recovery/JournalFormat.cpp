// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/JournalFormat.h"

#include "tools/CrcAlgorithms.h"
#include "tools/CrcFastA.h"

namespace qv {
namespace {

constexpr uint32_t kHeaderVersion = 1;
constexpr uint64_t kCrc32Reflected = 0xEDB88320;
constexpr uint8_t kRemovedFollow = 0x1;
constexpr uint8_t kInsertedZeros = 0x2;
constexpr uint8_t kHasSnapshot = 0x1;
constexpr uint8_t kKeepsRemoved = 0x2;

const CrcTable& Crc32Table()
{
    static const CrcTable table = CrcTableA(kCrc32Reflected);
    return table;
}

}  // namespace

void JournalChecksum::Add(const void* data, size_t length)
{
    state_ = CrcFastUpdateA(Crc32Table(), kCrc32Reflected, state_, static_cast<const uint8_t*>(data), length);
}

void PayloadWriter::U32(uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PayloadWriter::U64(uint64_t value)
{
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PayloadWriter::Text(const std::string& text)
{
    U32(static_cast<uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
}

const uint8_t* PayloadReader::Bytes(uint64_t n)
{
    if (n > size_ - at_) return nullptr;
    const uint8_t* start = data_ + at_;
    at_ += static_cast<size_t>(n);
    return start;
}

std::optional<uint8_t> PayloadReader::U8()
{
    const uint8_t* p = Bytes(1);
    if (!p) return std::nullopt;
    return *p;
}

std::optional<uint32_t> PayloadReader::U32()
{
    const uint8_t* p = Bytes(4);
    if (!p) return std::nullopt;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
    return value;
}

std::optional<uint64_t> PayloadReader::U64()
{
    const uint8_t* p = Bytes(8);
    if (!p) return std::nullopt;
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value |= static_cast<uint64_t>(p[i]) << (8 * i);
    return value;
}

std::optional<int64_t> PayloadReader::I64()
{
    auto value = U64();
    if (!value) return std::nullopt;
    return static_cast<int64_t>(*value);
}

std::optional<std::string> PayloadReader::Text()
{
    auto length = U32();
    if (!length) return std::nullopt;
    const uint8_t* p = Bytes(*length);
    if (!p) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(p), *length);
}

std::vector<uint8_t> EncodeHeader(const JournalHeader& header)
{
    PayloadWriter out;
    out.U32(kHeaderVersion);
    out.I64(header.createdSeconds);
    out.U32(static_cast<uint32_t>(header.processId));
    out.Text(header.path);
    const FileStamp stamp = header.stamp.value_or(FileStamp{});
    out.U8(header.stamp ? 1 : 0);
    out.U64(stamp.device);
    out.U64(stamp.inode);
    out.I64(stamp.size);
    out.I64(stamp.modifiedNs);
    out.U8(static_cast<uint8_t>(header.format));
    out.U32(header.readOffset);
    out.U64(header.baseAddress);
    out.I64(header.baseLength);
    out.U8(static_cast<uint8_t>(header.base));
    out.U8(static_cast<uint8_t>((header.hasSnapshot ? kHasSnapshot : 0) | (header.keepsRemovedBytes ? kKeepsRemoved : 0)));
    return std::move(out.bytes);
}

std::optional<JournalHeader> DecodeHeader(const uint8_t* payload, size_t size)
{
    PayloadReader in(payload, size);
    JournalHeader header;
    auto version = in.U32();
    auto created = in.I64();
    auto pid = in.U32();
    auto path = in.Text();
    auto hasStamp = in.U8();
    FileStamp stamp;
    auto device = in.U64();
    auto inode = in.U64();
    auto fileSize = in.I64();
    auto modified = in.I64();
    auto format = in.U8();
    auto readOffset = in.U32();
    auto baseAddress = in.U64();
    auto baseLength = in.I64();
    auto base = in.U8();
    auto flags = in.U8();
    if (!(version && created && pid && path && hasStamp && device && inode && fileSize && modified && format &&
          readOffset && baseAddress && baseLength && base && flags) ||
        !in.AtEnd() || *version != kHeaderVersion)
        return std::nullopt;
    if (*format > static_cast<uint8_t>(DocumentFormat::CArray) || *base > static_cast<uint8_t>(JournalBase::Zeros) ||
        *baseLength < 0)
        return std::nullopt;
    header.createdSeconds = *created;
    header.processId = static_cast<int32_t>(*pid);
    header.path = std::move(*path);
    if (*hasStamp) header.stamp = FileStamp{*device, *inode, *fileSize, *modified};
    header.format = static_cast<DocumentFormat>(*format);
    header.readOffset = *readOffset;
    header.baseAddress = *baseAddress;
    header.baseLength = *baseLength;
    header.base = static_cast<JournalBase>(*base);
    header.hasSnapshot = (*flags & kHasSnapshot) != 0;
    header.keepsRemovedBytes = (*flags & kKeepsRemoved) != 0;
    return header;
}

std::vector<uint8_t> EncodeEditHead(uint64_t sequence, int64_t offset, int64_t removedCount, bool removedFollow,
                                    int64_t insertedCount, bool insertedAreZeros)
{
    PayloadWriter out;
    out.bytes.reserve(33);
    out.U64(sequence);
    out.I64(offset);
    out.I64(removedCount);
    out.U8(static_cast<uint8_t>((removedFollow ? kRemovedFollow : 0) | (insertedAreZeros ? kInsertedZeros : 0)));
    out.I64(insertedCount);
    return std::move(out.bytes);
}

std::optional<JournalEdit> DecodeEdit(const uint8_t* payload, size_t size)
{
    PayloadReader in(payload, size);
    JournalEdit edit;
    auto sequence = in.U64();
    auto offset = in.I64();
    auto removedCount = in.I64();
    auto flags = in.U8();
    auto insertedCount = in.I64();
    if (!(sequence && offset && removedCount && flags && insertedCount) || *offset < 0 || *removedCount < 0 || *insertedCount < 0) return std::nullopt;
    edit.sequence = *sequence;
    edit.offset = *offset;
    edit.removedCount = *removedCount;
    edit.insertedCount = *insertedCount;
    if (*flags & kRemovedFollow) {
        const uint8_t* removed = in.Bytes(static_cast<uint64_t>(*removedCount));
        if (!removed) return std::nullopt;
        edit.removed.assign(removed, removed + *removedCount);
    }
    if (!(*flags & kInsertedZeros)) {
        const uint8_t* inserted = in.Bytes(static_cast<uint64_t>(*insertedCount));
        if (!inserted) return std::nullopt;
        edit.inserted.assign(inserted, inserted + *insertedCount);
    }
    if (!in.AtEnd()) return std::nullopt;
    return edit;
}

std::vector<uint8_t> FrameStart(JournalRecordType type, uint32_t payloadLength)
{
    PayloadWriter out;
    out.U8(static_cast<uint8_t>(type));
    out.U32(payloadLength);
    return std::move(out.bytes);
}

uint32_t FrameChecksum(const std::vector<uint8_t>& start, const std::vector<std::pair<const uint8_t*, size_t>>& pieces)
{
    JournalChecksum checksum;
    checksum.Add(start.data(), start.size());
    for (const auto& [data, length] : pieces) checksum.Add(data, length);
    return checksum.Value();
}

}  // namespace qv
