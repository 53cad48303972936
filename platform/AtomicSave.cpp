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
    default: return SaveError::WriteFailed;
    }
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

SaveError SaveFileAtomically(const std::string& path, const uint8_t* data, size_t size, const WriteFunction& write)
{
    struct stat target {};
    const bool targetExists = ::stat(path.c_str(), &target) == 0;
    if (targetExists && ::access(path.c_str(), W_OK) != 0) return SaveError::ReadOnly;

    std::string tempName = FolderOf(path) + "/.quarnival-save-XXXXXX";
    std::vector<char> pattern(tempName.begin(), tempName.end());
    pattern.push_back('\0');
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return ErrorOf(errno);
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
    if (::fchmod(fd, mode) != 0) return fail(errno);

    size_t done = 0;
    while (done < size) {
        const size_t chunk = std::min<size_t>(size - done, 1 << 20);
        errno = 0;
        ssize_t n = write ? write(fd, data + done, chunk) : ::write(fd, data + done, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(errno ? errno : ENOSPC);
        done += static_cast<size_t>(n);
    }
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
