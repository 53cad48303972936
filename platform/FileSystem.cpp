#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <memory>

namespace qv {

FileInfo QueryFile(const std::string& path)
{
    FileInfo info;
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return info;
    info.exists = true;
    info.isDirectory = S_ISDIR(st.st_mode);
    info.readOnly = ::access(path.c_str(), W_OK) != 0;
    info.size = static_cast<int64_t>(st.st_size);
    return info;
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

FileError ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? FileError::NotFound : FileError::AccessDenied;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return FileError::ReadError;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return FileError::IsDirectory;
    }
    if (st.st_size >= INT32_MAX) {
        ::close(fd);
        return FileError::TooLarge;
    }
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
