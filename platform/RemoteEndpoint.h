// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where running editors listen for remote control, and who may talk to them. Each editor
// has a local socket named by its process id in a folder that only its user may enter:
// $XDG_RUNTIME_DIR/quarnival, or /tmp/quarnival-<uid> when XDG_RUNTIME_DIR is unset or so
// long that a socket in it could not be addressed.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace qv {

// The folder of the sockets. With create, a missing folder is made with mode 0700. The
// folder is refused (nothing) unless it is a real folder (no link) owned by the user with
// no access for others; an error text in German says why.
std::optional<std::string> RemoteSocketFolder(bool create, std::string* error = nullptr);

std::string RemoteSocketPath(const std::string& folder, pid_t pid);

struct RemoteEndpoint {
    pid_t pid = 0;
    std::string path;
};

// The sockets of running editors, by process id. A socket whose process is gone, or that
// nobody listens on any more, is removed.
std::vector<RemoteEndpoint> ListRemoteEndpoints(const std::string& folder);

// The user id of the process on the other end of a connected local socket.
std::optional<uid_t> PeerUid(int socketDescriptor);
// Whether the peer may send messages: only processes of the same user (ownUid).
bool PeerMayConnect(int socketDescriptor, uid_t ownUid);

// A connection of the client side. Each call waits at most timeoutMs (negative: no limit).
class RemoteClientSocket {
public:
    RemoteClientSocket() = default;
    ~RemoteClientSocket();
    RemoteClientSocket(const RemoteClientSocket&) = delete;
    RemoteClientSocket& operator=(const RemoteClientSocket&) = delete;

    // A stopped editor whose backlog is full would keep the connection waiting without end.
    bool Connect(const std::string& path, int timeoutMs);
    bool SendAll(const std::vector<uint8_t>& bytes, int timeoutMs);
    // Reads what is there, after waiting for it; 0 bytes means the peer closed, nothing a
    // timeout or error.
    std::optional<std::vector<uint8_t>> Receive(int timeoutMs);

private:
    int fd_ = -1;
};

}  // namespace qv
