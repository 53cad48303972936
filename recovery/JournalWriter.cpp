// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/JournalWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

namespace qv {
namespace {

using Pieces = std::vector<std::pair<const uint8_t*, size_t>>;

// Writes all pieces, continuing after short writes.
bool WriteAll(int fd, Pieces pieces)
{
    std::vector<iovec> vectors;
    for (const auto& [data, length] : pieces)
        if (length > 0) vectors.push_back({const_cast<uint8_t*>(data), length});
    size_t first = 0;
    while (first < vectors.size()) {
        const int count = static_cast<int>(std::min<size_t>(vectors.size() - first, IOV_MAX));
        ssize_t written = ::writev(fd, vectors.data() + first, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        while (first < vectors.size() && static_cast<size_t>(written) >= vectors[first].iov_len) {
            written -= static_cast<ssize_t>(vectors[first].iov_len);
            ++first;
        }
        if (first < vectors.size()) {
            vectors[first].iov_base = static_cast<uint8_t*>(vectors[first].iov_base) + written;
            vectors[first].iov_len -= static_cast<size_t>(written);
        }
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

// The reason comes before the long path, so that the status bar shows it.
std::string WriteErrorText(const std::string& path, int error)
{
    const std::string reason =
        error == ENOSPC || error == EDQUOT ? std::string("der Datenträger ist voll") : std::strerror(error);
    return "Die Wiederherstellungsdatei kann nicht geschrieben werden: " + reason + " (" + path + ").";
}

}  // namespace

JournalWriter::~JournalWriter()
{
    Release();
}

std::unique_ptr<JournalWriter> JournalWriter::Create(const std::string& folder, const JournalHeader& header,
                                                     const uint8_t* snapshot, std::string& error)
{
    std::unique_ptr<JournalWriter> writer(new JournalWriter);
    writer->folder_ = folder;
    writer->keepsRemovedBytes_ = header.keepsRemovedBytes;
    // The process id and the start time make the name; O_EXCL makes it this writer's alone.
    for (int attempt = 0; writer->fd_ < 0; ++attempt) {
        writer->path_ = folder + "/journal-" + std::to_string(header.processId) + "-" +
                        std::to_string(header.createdSeconds) + "-" + std::to_string(attempt) + ".qvj";
        writer->fd_ = ::open(writer->path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (writer->fd_ < 0 && (errno != EEXIST || attempt > 1000)) {
            error = WriteErrorText(writer->path_, errno);
            return nullptr;
        }
    }
    ::flock(writer->fd_, LOCK_EX | LOCK_NB);
    const std::vector<uint8_t> head = EncodeHeader(header);
    bool written = WriteAll(writer->fd_, {{reinterpret_cast<const uint8_t*>(kJournalSignature), sizeof kJournalSignature}});
    if (!written) writer->Fail(writer->path_, errno);
    if (written) {
        writer->length_ = sizeof kJournalSignature;
        written = writer->WriteRecord(JournalRecordType::Header, {{head.data(), head.size()}});
    }
    if (written && header.hasSnapshot)
        written = writer->WriteRecord(JournalRecordType::Snapshot, {{snapshot, static_cast<size_t>(header.baseLength)}});
    if (!written) {
        error = writer->Error();
        writer->Remove();
        return nullptr;
    }
    return writer;
}

std::unique_ptr<JournalWriter> JournalWriter::Adopt(const std::string& path, uint64_t intactLength, uint64_t editCount,
                                                    bool keepsRemovedBytes, std::string& error)
{
    std::unique_ptr<JournalWriter> writer(new JournalWriter);
    writer->path_ = path;
    writer->folder_ = FolderOf(path);
    writer->keepsRemovedBytes_ = keepsRemovedBytes;
    writer->editCount_ = editCount;
    writer->fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (writer->fd_ < 0) {
        error = WriteErrorText(path, errno);
        return nullptr;
    }
    if (::flock(writer->fd_, LOCK_EX | LOCK_NB) != 0) {
        error = "Die Wiederherstellungsdatei " + path + " wird von einem anderen laufenden Quarnival benutzt.";
        ::close(writer->fd_);
        writer->fd_ = -1;
        return nullptr;
    }
    // A damaged tail goes, so that new records follow the last complete one.
    if (::ftruncate(writer->fd_, static_cast<off_t>(intactLength)) != 0 ||
        ::lseek(writer->fd_, static_cast<off_t>(intactLength), SEEK_SET) < 0) {
        error = WriteErrorText(path, errno);
        return nullptr;
    }
    writer->length_ = intactLength;
    writer->folderSynced_ = true;
    return writer;
}

bool JournalWriter::WriteRecord(JournalRecordType type, const std::vector<std::pair<const uint8_t*, size_t>>& pieces)
{
    if (fd_ < 0 || Failed()) return false;
    size_t payload = 0;
    for (const auto& piece : pieces) payload += piece.second;
    if (payload > UINT32_MAX) {
        Fail(path_, EFBIG);
        return false;
    }
    const std::vector<uint8_t> start = FrameStart(type, static_cast<uint32_t>(payload));
    PayloadWriter end;
    end.U32(FrameChecksum(start, pieces));
    Pieces all{{start.data(), start.size()}};
    all.insert(all.end(), pieces.begin(), pieces.end());
    all.push_back({end.bytes.data(), end.bytes.size()});
    synced_ = false;
    if (!WriteAll(fd_, std::move(all))) {
        const int error = errno;
        // A cut record would hide every later one: the file ends at the last whole record.
        if (::ftruncate(fd_, static_cast<off_t>(length_)) == 0) ::lseek(fd_, static_cast<off_t>(length_), SEEK_SET);
        Fail(path_, error);
        return false;
    }
    length_ += kJournalFrameOverhead + payload;
    return true;
}

bool JournalWriter::AppendEdit(int64_t offset, const uint8_t* removed, int64_t removedCount, const uint8_t* inserted,
                               int64_t insertedCount)
{
    const bool withRemoved = keepsRemovedBytes_ && removedCount > 0;
    const std::vector<uint8_t> head =
        EncodeEditHead(editCount_ + 1, offset, removedCount, withRemoved, insertedCount, inserted == nullptr);
    Pieces pieces{{head.data(), head.size()}};
    if (withRemoved) pieces.push_back({removed, static_cast<size_t>(removedCount)});
    if (inserted) pieces.push_back({inserted, static_cast<size_t>(insertedCount)});
    if (!WriteRecord(JournalRecordType::Edit, pieces)) return false;
    ++editCount_;
    return true;
}

bool JournalWriter::Sync()
{
    if (fd_ < 0 || Failed()) return false;
    if (synced_) return true;
    if (::fdatasync(fd_) != 0) {
        Fail(path_, errno);
        return false;
    }
    if (!folderSynced_) {
        // The new name must survive a power loss as well as the bytes.
        const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        folderSynced_ = true;
    }
    synced_ = true;
    return true;
}

void JournalWriter::Remove()
{
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    Release();
}

void JournalWriter::Release()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void JournalWriter::Fail(const std::string& what, int error)
{
    error_ = WriteErrorText(what, error);
}

}  // namespace qv
