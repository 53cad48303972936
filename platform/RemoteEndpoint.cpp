// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RemoteEndpoint.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qv {
namespace {

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether something listens on the socket: a refused connection means its owner is gone.
bool SomeoneListens(const std::string& path)
{
    sockaddr_un address;
    if (!FillAddress(path, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;  // cannot tell: keep it
    const int result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const int error = errno;
    ::close(fd);
    return result == 0 || (error != ECONNREFUSED && error != ENOENT);
}

// Process ids have at most 7 digits (the kernel's limit is 2^22).
constexpr size_t kLongestPid = 7;

bool AllDigits(const char* name)
{
    if (!*name) return false;
    for (const char* p = name; *p; ++p)
        if (*p < '0' || *p > '9') return false;
    return true;
}

}  // namespace

std::optional<std::string> RemoteSocketFolder(bool create, std::string* error)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && *runtime ? std::string(runtime) + "/quarnival" : std::string();
    // A socket's address holds a path of at most 107 bytes.
    if (folder.empty() || folder.size() + 1 + kLongestPid >= sizeof(sockaddr_un::sun_path))
        folder = "/tmp/quarnival-" + std::to_string(::geteuid());
    auto fail = [&](const std::string& text) -> std::optional<std::string> {
        if (error) *error = text;
        return std::nullopt;
    };
    if (create && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return fail("Der Ordner " + folder + " kann nicht angelegt werden: " + std::strerror(errno));
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0) return fail("Der Ordner " + folder + " fehlt.");
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)
        return fail("Der Ordner " + folder + " gehört nicht allein diesem Benutzer und wird nicht benutzt.");
    return folder;
}

std::string RemoteSocketPath(const std::string& folder, pid_t pid)
{
    return folder + "/" + std::to_string(pid);
}

std::vector<RemoteEndpoint> ListRemoteEndpoints(const std::string& folder)
{
    std::vector<RemoteEndpoint> endpoints;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return endpoints;
    while (const dirent* entry = ::readdir(dir)) {
        if (!AllDigits(entry->d_name)) continue;
        const std::string path = folder + "/" + entry->d_name;
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) continue;
        const auto pid = static_cast<pid_t>(std::strtol(entry->d_name, nullptr, 10));
        const bool gone = pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH);
        if (gone || !SomeoneListens(path)) {
            ::unlink(path.c_str());
            continue;
        }
        endpoints.push_back({pid, path});
    }
    ::closedir(dir);
    std::sort(endpoints.begin(), endpoints.end(), [](const auto& a, const auto& b) { return a.pid < b.pid; });
    return endpoints;
}

std::optional<uid_t> PeerUid(int socketDescriptor)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

bool PeerMayConnect(int socketDescriptor, uid_t ownUid)
{
    const std::optional<uid_t> peer = PeerUid(socketDescriptor);
    return peer && *peer == ownUid;
}

RemoteClientSocket::~RemoteClientSocket()
{
    if (fd_ >= 0) ::close(fd_);
}

bool RemoteClientSocket::Connect(const std::string& path, int timeoutMs)
{
    sockaddr_un address;
    if (!FillAddress(path, address)) return false;
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    // A local socket waits for room in the listener's backlog as long as its send time-out
    // allows (0 would mean no limit).
    if (timeoutMs >= 0) {
        const int ms = std::max(timeoutMs, 1);
        const timeval limit{ms / 1000, (ms % 1000) * 1000};
        if (::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0) return false;
    }
    return ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool RemoteClientSocket::SendAll(const std::vector<uint8_t>& bytes, int timeoutMs)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        pollfd wait{fd_, POLLOUT, 0};
        if (::poll(&wait, 1, timeoutMs) <= 0) return false;
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::optional<std::vector<uint8_t>> RemoteClientSocket::Receive(int timeoutMs)
{
    pollfd wait{fd_, POLLIN, 0};
    int ready = 0;
    do ready = ::poll(&wait, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    if (ready <= 0) return std::nullopt;
    std::vector<uint8_t> bytes(4096);
    const ssize_t n = ::recv(fd_, bytes.data(), bytes.size(), 0);
    if (n < 0) return std::nullopt;
    bytes.resize(static_cast<size_t>(n));
    return bytes;
}

}  // namespace qv
