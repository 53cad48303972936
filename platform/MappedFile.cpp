// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/MapFaultGuard.h"

namespace qv {

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path, bool writable, Error& error)
{
    error = Error::CannotOpen;
    // O_NONBLOCK: a FIFO must not wait for a writer; it is refused below.
    int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    if (::flock(fd, (writable ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && (writable || errno != EWOULDBLOCK)) {
        ::close(fd);
        return nullptr;
    }
    error = Error::AccessError;
    if (st.st_size <= 0) {
        ::close(fd);
        return nullptr;
    }
    void* view = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ | (writable ? PROT_WRITE : 0), MAP_SHARED,
                        fd, 0);
    if (view == MAP_FAILED) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<MappedFile> file(new MappedFile);
    file->fd_ = fd;
    file->data_ = static_cast<uint8_t*>(view);
    file->size_ = static_cast<size_t>(st.st_size);
    file->writable_ = writable;
    file->faultSlot_ = MapFaultGuard::Watch(view, file->size_, writable);
    error = Error::None;
    return file;
}

bool MappedFile::Faulted() const
{
    return MapFaultGuard::Faulted(faultSlot_);
}

FileStamp MappedFile::Stamp() const
{
    return StampOf(fd_).value_or(FileStamp{});
}

size_t MappedFile::ReadAt(int64_t offset, size_t length, uint8_t* out) const
{
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd_, out + done, length - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}

MappedFile::~MappedFile()
{
    MapFaultGuard::Unwatch(faultSlot_);
    if (data_) {
        if (writable_) ::msync(data_, size_, MS_ASYNC);
        ::munmap(data_, size_);
    }
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace qv
