// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recovery journal on disk: an 8-byte signature, then records. Every record is framed
// as type (1 byte), payload length (4 bytes), payload, and a CRC-32 of the three, so that a
// record cut by a power loss or damaged on disk is recognised and everything before it
// still counts. Numbers are little-endian.
//
// The first record is the header; a snapshot of the document's bytes may follow; then one
// record per change of the bytes, in the order they happened.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/DocumentFormats.h"
#include "platform/FileSystem.h"

namespace qv {

inline constexpr char kJournalSignature[8] = {'Q', 'V', 'J', 'O', 'U', 'R', 'N', '1'};
inline constexpr size_t kJournalFrameOverhead = 1 + 4 + 4;

enum class JournalRecordType : uint8_t { Header = 1, Snapshot = 2, Edit = 3 };

// Where the bytes come from that the edits apply to.
enum class JournalBase : uint8_t {
    File = 0,      // the file at the header's path, as it was at the header's stamp
    Snapshot = 1,  // the snapshot record only (the file does not hold these bytes)
    Zeros = 2,     // baseLength zero bytes (a new, untitled document)
};

struct JournalHeader {
    int64_t createdSeconds = 0;  // when the journal began, seconds since 1970 (UTC)
    int32_t processId = 0;
    std::string path;            // the document's file; empty for an untitled document
    std::optional<FileStamp> stamp;
    DocumentFormat format = DocumentFormat::Binary;
    uint32_t readOffset = 0;     // Intel HEX: where the file's first bytes were placed
    uint64_t baseAddress = 0;
    int64_t baseLength = 0;      // the document's length when the journal began
    JournalBase base = JournalBase::File;
    // A snapshot of the base follows the header, also when the file holds the base: it
    // serves when the file is changed later.
    bool hasSnapshot = false;
    // The edits carry the bytes they replace (when there is no snapshot: with them a file
    // changed on disk can be checked region by region).
    bool keepsRemovedBytes = false;
};

// One change: removedCount bytes at offset are replaced by the inserted bytes.
struct JournalEdit {
    uint64_t sequence = 0;
    int64_t offset = 0;
    int64_t removedCount = 0;
    std::vector<uint8_t> removed;   // the replaced bytes, when the journal keeps them
    int64_t insertedCount = 0;
    std::vector<uint8_t> inserted;  // empty with a count: that many zero bytes
};

// CRC-32 (the common reflected 0xEDB88320 one), fed piece by piece.
class JournalChecksum {
public:
    void Add(const void* data, size_t length);
    uint32_t Value() const { return static_cast<uint32_t>(~state_); }

private:
    uint64_t state_ = 0xFFFFFFFF;
};

// Little-endian payload building and reading.
class PayloadWriter {
public:
    void U8(uint8_t value) { bytes.push_back(value); }
    void U32(uint32_t value);
    void U64(uint64_t value);
    void I64(int64_t value) { U64(static_cast<uint64_t>(value)); }
    void Text(const std::string& text);
    std::vector<uint8_t> bytes;
};

class PayloadReader {
public:
    PayloadReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    std::optional<uint8_t> U8();
    std::optional<uint32_t> U32();
    std::optional<uint64_t> U64();
    std::optional<int64_t> I64();
    std::optional<std::string> Text();
    // The next n bytes; nothing when fewer are left.
    const uint8_t* Bytes(uint64_t n);
    bool AtEnd() const { return at_ == size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

std::vector<uint8_t> EncodeHeader(const JournalHeader& header);
std::optional<JournalHeader> DecodeHeader(const uint8_t* payload, size_t size);

// The fixed part of an edit payload; the removed and inserted bytes follow it.
std::vector<uint8_t> EncodeEditHead(uint64_t sequence, int64_t offset, int64_t removedCount, bool removedFollow,
                                    int64_t insertedCount, bool insertedAreZeros);
std::optional<JournalEdit> DecodeEdit(const uint8_t* payload, size_t size);

// The frame's start (type and length) and end (checksum) around a payload given in pieces.
std::vector<uint8_t> FrameStart(JournalRecordType type, uint32_t payloadLength);
uint32_t FrameChecksum(const std::vector<uint8_t>& start, const std::vector<std::pair<const uint8_t*, size_t>>& pieces);

}  // namespace qv
