// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole file mapped into memory. A writable map holds an exclusive advisory lock on the
// file (this program opens it nowhere else for writing), a read-only map a shared one
// (others may only read it); a read-only map of a file that another holder maps writable
// goes without a lock and shows that holder's changes. Changes to a writable map reach the
// file directly. Pages lost because another program shortened the file read as zeros
// (MapFaultGuard.h) and make Faulted() true.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace qv {

class MappedFile {
public:
    enum class Error {
        None,
        CannotOpen,  // missing, not permitted, or locked by another holder
        AccessError  // opened, but the file could not be mapped (e.g. it is empty)
    };

    static std::unique_ptr<MappedFile> Open(const std::string& path, bool writable, Error& error);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    bool Writable() const { return writable_; }
    // An access met a page the file no longer has (shortened, or no room on the disk).
    bool Faulted() const;
    // The mapped file as it is now (it may have been shortened or renamed since).
    FileStamp Stamp() const;
    // Copies [offset, offset + length) of the file into `out` with read calls, not through the
    // map: a reader that passes over the whole file once leaves the window's memory as it
    // was. The same bytes as the map (one page cache); fewer at the file's end.
    size_t ReadAt(int64_t offset, size_t length, uint8_t* out) const;

private:
    MappedFile() = default;
    int fd_ = -1;
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool writable_ = false;
    int faultSlot_ = -1;
};

}  // namespace qv
