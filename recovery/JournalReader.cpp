// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/JournalReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qv {
namespace {

struct Frame {
    JournalRecordType type;
    const uint8_t* payload;
    uint32_t length;
};

// The frame at `at`, when it is complete and its checksum holds.
std::optional<Frame> FrameAt(const uint8_t* data, size_t size, size_t at)
{
    if (size - at < kJournalFrameOverhead) return std::nullopt;
    PayloadReader head(data + at, 5);
    const uint8_t type = *head.U8();
    const uint32_t length = *head.U32();
    if (length > size - at - kJournalFrameOverhead) return std::nullopt;
    const uint8_t* payload = data + at + 5;
    JournalChecksum checksum;
    checksum.Add(data + at, 5 + static_cast<size_t>(length));
    PayloadReader tail(payload + length, 4);
    if (*tail.U32() != checksum.Value()) return std::nullopt;
    return Frame{static_cast<JournalRecordType>(type), payload, length};
}

// Records from a damaged one to the end, counted by their length fields as far as these
// still make sense; at least the damaged one.
int64_t CountRemainingRecords(const uint8_t* data, size_t size, size_t at)
{
    int64_t count = 0;
    while (at < size) {
        ++count;
        if (size - at < kJournalFrameOverhead) break;
        PayloadReader head(data + at, 5);
        const uint8_t type = *head.U8();
        const uint32_t length = *head.U32();
        if (type < static_cast<uint8_t>(JournalRecordType::Header) || type > static_cast<uint8_t>(JournalRecordType::Edit) ||
            length > size - at - kJournalFrameOverhead)
            break;
        at += kJournalFrameOverhead + length;
    }
    return count;
}

}  // namespace

std::optional<JournalContents> ParseJournal(const uint8_t* data, size_t size)
{
    if (size < sizeof kJournalSignature || std::memcmp(data, kJournalSignature, sizeof kJournalSignature) != 0)
        return std::nullopt;
    size_t at = sizeof kJournalSignature;
    const auto first = FrameAt(data, size, at);
    if (!first || first->type != JournalRecordType::Header) return std::nullopt;
    auto header = DecodeHeader(first->payload, first->length);
    if (!header) return std::nullopt;

    JournalContents contents;
    contents.header = std::move(*header);
    at += kJournalFrameOverhead + first->length;
    bool expectSnapshot = contents.header.hasSnapshot;
    for (;;) {
        contents.intactLength = at;
        if (at == size) break;
        const auto frame = FrameAt(data, size, at);
        bool usable = frame.has_value();
        if (usable && expectSnapshot) {
            usable = frame->type == JournalRecordType::Snapshot &&
                     static_cast<int64_t>(frame->length) == contents.header.baseLength;
            if (usable) {
                contents.snapshot.assign(frame->payload, frame->payload + frame->length);
                contents.snapshotIntact = true;
                expectSnapshot = false;
            }
        } else if (usable) {
            auto edit = frame->type == JournalRecordType::Edit ? DecodeEdit(frame->payload, frame->length) : std::nullopt;
            // A gap in the numbering means records went missing: nothing after it applies.
            usable = edit && edit->sequence == contents.edits.size() + 1 &&
                     (!contents.header.keepsRemovedBytes || static_cast<int64_t>(edit->removed.size()) == edit->removedCount);
            if (usable) contents.edits.push_back(std::move(*edit));
        }
        if (!usable) {
            contents.lostRecords = CountRemainingRecords(data, size, at);
            break;
        }
        at += kJournalFrameOverhead + frame->length;
    }
    return contents;
}

namespace {

std::string ReadErrorText(const std::string& path, int error)
{
    return "Die Wiederherstellungsdatei " + path + " kann nicht gelesen werden (" + std::strerror(error) + ").";
}

}  // namespace

JournalFileRead ReadJournalFile(const std::string& path)
{
    JournalFileRead result;
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(path, bytes)) {
    case FileError::None: break;
    case FileError::NotFound: result.error = ReadErrorText(path, ENOENT); return result;
    case FileError::AccessDenied: result.error = ReadErrorText(path, EACCES); return result;
    case FileError::IsDirectory: result.error = ReadErrorText(path, EISDIR); return result;
    case FileError::TooLarge: result.error = ReadErrorText(path, EFBIG); return result;
    case FileError::NotRegular:
    case FileError::ReadError: result.error = ReadErrorText(path, EIO); return result;
    }
    result.contents = ParseJournal(bytes.data(), bytes.size());
    if (!result.contents)
        result.error = "Die Wiederherstellungsdatei " + path + " ist beschädigt oder keine Wiederherstellungsdatei; "
                       "sie wird nicht gelöscht.";
    return result;
}

std::optional<JournalHeader> ReadJournalHeader(const std::string& path)
{
    // The header holds a path and a few numbers: the first 64 KiB always contain it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::vector<uint8_t> bytes(65536);
    const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), 0);
    ::close(fd);
    if (got <= 0) return std::nullopt;
    bytes.resize(static_cast<size_t>(got));
    if (bytes.size() < sizeof kJournalSignature ||
        std::memcmp(bytes.data(), kJournalSignature, sizeof kJournalSignature) != 0)
        return std::nullopt;
    const auto frame = FrameAt(bytes.data(), bytes.size(), sizeof kJournalSignature);
    if (!frame || frame->type != JournalRecordType::Header) return std::nullopt;
    return DecodeHeader(frame->payload, frame->length);
}

int64_t InsertedBytes(const std::vector<JournalEdit>& edits)
{
    int64_t total = 0;
    for (const JournalEdit& edit : edits) total += edit.insertedCount;
    return total;
}

}  // namespace qv
