// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AtomicSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace qv {
namespace {

SaveError ErrorOf(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return SaveError::DiskFull;
    case EACCES:
    case EPERM: return SaveError::AccessDenied;
    case EROFS: return SaveError::ReadOnly;
    case ENOENT:
    case ENOTDIR: return SaveError::NotFound;
    default: return SaveError::WriteFailed;
    }
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A save through a symbolic link updates the file it points to and keeps the link: the
// temporary file goes next to the final target, not next to the link.
std::string FinalTarget(const std::string& path)
{
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;  // a dangling link: the save creates the file in its place
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Writes all bytes; returns 0 or the error number.
int WriteAll(int fd, const uint8_t* data, size_t size, const WriteFunction& write)
{
    size_t done = 0;
    while (done < size) {
        const size_t chunk = std::min<size_t>(size - done, 1 << 20);
        errno = 0;
        ssize_t n = write ? write(fd, data + done, chunk) : ::write(fd, data + done, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return errno ? errno : ENOSPC;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// The folder takes no temporary file but the target may be written: write into it. Room is
// reserved first, so a full disk is found before a byte of the old file is overwritten.
SaveError SaveInPlace(const std::string& path, const uint8_t* data, size_t size, const WriteFunction& write)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return ErrorOf(errno);
    auto fail = [fd](int error) {
        ::close(fd);
        return ErrorOf(error);
    };
    if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        (errno == ENOSPC || errno == EDQUOT))
        return fail(errno);
    if (const int error = WriteAll(fd, data, size, write)) return fail(error);
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0 || ::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) return ErrorOf(errno);
    return SaveError::None;
}

}  // namespace

SaveError SaveFileAtomically(const std::string& givenPath, const uint8_t* data, size_t size, const WriteFunction& write)
{
    const std::string path = FinalTarget(givenPath);
    struct stat target {};
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    // A rename would put a regular file in place of a device or FIFO.
    if (targetExists && !S_ISREG(target.st_mode)) return SaveError::NotRegularFile;
    // The mode decides, not only the user's rights: root may write anything.
    if (targetExists && ((target.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)) return SaveError::ReadOnly;

    std::string tempName = FolderOf(path) + "/.quarnival-save-XXXXXX";
    std::vector<char> pattern(tempName.begin(), tempName.end());
    pattern.push_back('\0');
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        const int error = errno;
        if (targetExists && (error == EACCES || error == EPERM)) return SaveInPlace(path, data, size, write);
        return ErrorOf(error);
    }
    tempName.assign(pattern.data());

    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(tempName.c_str());
        return ErrorOf(error);
    };

    const mode_t mode = targetExists ? (target.st_mode & 07777) : (0666 & ~[] {
        mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }());
    // Owner and group stay those of the old file as far as this user may keep them (else
    // the new file is this user's, as any new file would be); set before the mode, which a
    // change of owner could reduce.
    if (targetExists && ::fchown(fd, target.st_uid, target.st_gid) != 0) {
        [[maybe_unused]] const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), target.st_gid);
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);

    if (const int error = WriteAll(fd, data, size, write)) return fail(error);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(tempName.c_str());
        return ErrorOf(error);
    }
    if (::rename(tempName.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(tempName.c_str());
        return ErrorOf(error);
    }
    return SaveError::None;
}

}  // namespace qv
