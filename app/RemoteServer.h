// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The listening end of remote control: a local socket named by the process id in the
// user's own socket folder. Requests are read in the user-interface thread as they come
// in, between other events; nothing here waits for a peer. A peer of another user, one
// that sends a garbled or oversized frame, or one that stays silent is dropped; the
// number of peers and what each may leave unread are capped: once all places are taken,
// new connections are closed, so that a flood cannot push out a slow client. Requests wait
// while the user answers a dialog, and a peer is never freed while it is being served.
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
        // While its requests are served the peer stays; a drop meanwhile waits till then.
        bool serving = false;
        bool dropped = false;
    };

    void AcceptPeers();
    void Serve(QLocalSocket* socket);
    void ServeRequests(Peer& peer);
    // Whether a request now would act inside an open dialog: one of another request, or one
    // the user opened (a question, a menu, the progress of long work).
    bool MustWait() const;
    void Hold(Peer& peer);
    void ServeHeld();
    void Drop(QLocalSocket* socket);

    RemoteMessages& messages_;
    QLocalServer* server_ = nullptr;
    QString path_;
    uid_t ownUid_;
    int idleTimeoutMs_ = kIdleTimeoutMs;
    // A message that waits for the user (a save question) runs a nested event loop: the
    // requests arriving meanwhile wait until it is answered.
    bool handling_ = false;
    // Looks for the end of the dialog that held requests back, then serves them.
    QTimer* holdWatch_ = nullptr;
    std::map<QLocalSocket*, std::unique_ptr<Peer>> peers_;
};

}  // namespace qv
