// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>

namespace qv {
namespace {

bool IsSpecial(mode_t mode)
{
    return !S_ISREG(mode) && !S_ISDIR(mode) && !S_ISBLK(mode);
}

FileStamp StampFrom(const struct stat& st)
{
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<int64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

FileInfo QueryFile(const std::string& path)
{
    FileInfo info;
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return info;
    info.exists = true;
    info.isDirectory = S_ISDIR(st.st_mode);
    info.special = IsSpecial(st.st_mode);
    // The mode decides first: root could write anything, but a file without a write bit is
    // write-protected for everybody.
    info.readOnly = (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
    info.size = static_cast<int64_t>(st.st_size);
    return info;
}

std::optional<FileStamp> StampOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return StampFrom(st);
}

std::optional<FileStamp> StampOf(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return StampFrom(st);
}

bool LockedForWriting(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const bool locked = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_SH | LOCK_NB) != 0 &&
                        errno == EWOULDBLOCK;
    ::close(fd);  // releases the probe's lock
    return locked;
}

std::string FullPath(const std::string& path)
{
    std::string absolute = path;
    if (absolute.empty() || absolute[0] != '/') {
        char cwd[PATH_MAX];
        std::string base = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
        absolute = base + "/" + path;
    }
    // Resolve "." and ".." by text; keep a trailing separator as typed.
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= absolute.size()) {
        size_t next = absolute.find('/', pos);
        if (next == std::string::npos) next = absolute.size();
        std::string part = absolute.substr(pos, next - pos);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = next + 1;
    }
    std::string result;
    for (const auto& part : parts) result += "/" + part;
    if (result.empty()) return "/";
    if (absolute.back() == '/') result += "/";
    return result;
}

std::optional<std::string> StoredName(const std::string& folder, const std::string& name)
{
    const std::string dir = folder.empty() ? "/" : folder;
    std::string exact = dir + (dir.back() == '/' ? "" : "/") + name;
    struct stat st {};
    if (::lstat(exact.c_str(), &st) == 0) return name;
    std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(dir.c_str()), ::closedir);
    if (!handle) return std::nullopt;
    while (dirent* entry = ::readdir(handle.get())) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) return std::string(entry->d_name);
    }
    return std::nullopt;
}

FileError ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, FileStamp* stamp)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? FileError::NotFound : FileError::AccessDenied;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return FileError::ReadError;
    }
    if (S_ISDIR(st.st_mode) || IsSpecial(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? FileError::IsDirectory : FileError::NotRegular;
    }
    if (st.st_size >= INT32_MAX) {
        ::close(fd);
        return FileError::TooLarge;
    }
    // A change made while or after the bytes are read makes the file differ from this stamp.
    if (stamp) *stamp = StampFrom(st);
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    if (done != bytes.size()) return FileError::ReadError;
    return FileError::None;
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace qv
