// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The listening end of remote control: a local socket named by the process id in the
// user's own socket folder. Requests are read in the user-interface thread as they come
// in, between other events; nothing here waits for a peer. A peer of another user, one
// that sends a garbled or oversized frame, or one that stays silent is dropped; the
// number of peers and what each may leave unread are capped: a new peer takes the place
// of the oldest one, so that a flood of idle connections cannot lock out a real client.
#include <QObject>
#include <QPointer>
#include <QString>
#include <sys/types.h>

#include <map>
#include <memory>
#include <string>

#include "shell/RemoteFrame.h"

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace qv {

class RemoteMessages;

class RemoteServer : public QObject {
public:
    static constexpr int kMaxPeers = 32;
    static constexpr int kIdleTimeoutMs = 5000;
    // A peer that leaves more replies unread than this is dropped.
    static constexpr qint64 kMaxUnreadReplies = 1 << 20;

    explicit RemoteServer(RemoteMessages& messages, QObject* parent = nullptr);
    ~RemoteServer() override;

    // Listens at the socket of this process; false with a German reason when it cannot.
    bool Listen(std::string* error = nullptr);
    QString SocketPath() const { return path_; }
    int PeerCount() const { return static_cast<int>(peers_.size()); }

    // For tests: the user id peers must have, and the idle time-out.
    void SetOwnUid(uid_t uid) { ownUid_ = uid; }
    void SetIdleTimeout(int ms) { idleTimeoutMs_ = ms; }

private:
    struct Peer {
        QPointer<QLocalSocket> socket;
        RemoteFrameDecoder decoder{RemoteFrameDecoder::Kind::Request};
        QByteArray unread;  // bytes read from the socket but not yet fed
        QTimer* idle = nullptr;
        uint64_t order = 0;  // accept order: when all places are taken, the oldest peer goes
    };

    void AcceptPeers();
    void Serve(QLocalSocket* socket);
    void ServeAll();
    void Drop(QLocalSocket* socket);
    void DropOldestPeer();

    RemoteMessages& messages_;
    QLocalServer* server_ = nullptr;
    QString path_;
    uid_t ownUid_;
    int idleTimeoutMs_ = kIdleTimeoutMs;
    // A message that waits for the user (a save question) runs a nested event loop: the
    // requests arriving meanwhile wait until it is answered.
    bool handling_ = false;
    QLocalSocket* handled_ = nullptr;
    uint64_t accepted_ = 0;
    std::map<QLocalSocket*, std::unique_ptr<Peer>> peers_;
};

}  // namespace qv
