// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RemoteServer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/RemoteEndpoint.h"
#include "shell/RemoteMessages.h"

namespace qv {

RemoteServer::RemoteServer(RemoteMessages& messages, QObject* parent)
    : QObject(parent), messages_(messages), ownUid_(::geteuid())
{
}

RemoteServer::~RemoteServer()
{
    for (auto& [socket, peer] : peers_)
        if (peer->socket) peer->socket->disconnect(this);
    if (server_) server_->close();  // removes the socket file
}

bool RemoteServer::Listen(std::string* error)
{
    const std::optional<std::string> folder = RemoteSocketFolder(true, error);
    if (!folder) return false;
    path_ = QString::fromStdString(RemoteSocketPath(*folder, ::getpid()));
    QLocalServer::removeServer(path_);  // left behind by an earlier process of this id
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(kMaxPeers);
    if (!server_->listen(path_)) {
        if (error) *error = "Fernsteuerung nicht möglich: " + server_->errorString().toStdString();
        return false;
    }
    ::chmod(path_.toLocal8Bit().constData(), 0600);
    connect(server_, &QLocalServer::newConnection, this, &RemoteServer::AcceptPeers);
    return true;
}

void RemoteServer::AcceptPeers()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!PeerMayConnect(static_cast<int>(socket->socketDescriptor()), ownUid_)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (static_cast<int>(peers_.size()) >= kMaxPeers) DropOldestPeer();
        auto peer = std::make_unique<Peer>();
        peer->socket = socket;
        peer->order = ++accepted_;
        socket->setReadBufferSize(static_cast<qint64>(kRemoteRequestHeaderSize + kRemoteMaxData));
        peer->idle = new QTimer(socket);
        peer->idle->setSingleShot(true);
        connect(peer->idle, &QTimer::timeout, this, [this, socket] { Drop(socket); });
        peer->idle->start(idleTimeoutMs_);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Serve(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(socket); });
        peers_[socket] = std::move(peer);
        Serve(socket);  // bytes may have come with the connection
    }
}

void RemoteServer::Drop(QLocalSocket* socket)
{
    auto it = peers_.find(socket);
    if (it == peers_.end()) return;
    std::unique_ptr<Peer> peer = std::move(it->second);
    peers_.erase(it);
    if (peer->socket) {
        peer->socket->disconnect(this);
        peer->socket->abort();
        peer->socket->deleteLater();
    }
}

void RemoteServer::DropOldestPeer()
{
    QLocalSocket* oldest = nullptr;
    uint64_t order = UINT64_MAX;
    for (const auto& [socket, peer] : peers_)
        if (socket != handled_ && peer->order < order) oldest = socket, order = peer->order;
    if (oldest) Drop(oldest);
}

void RemoteServer::Serve(QLocalSocket* socket)
{
    auto it = peers_.find(socket);
    if (it == peers_.end()) return;
    Peer* peer = it->second.get();
    if (handling_) {
        // Served once the message in hand is done; the wait is ours, not the peer's.
        peer->idle->stop();
        return;
    }
    for (;;) {
        if (peer->unread.isEmpty()) peer->unread = socket->read(static_cast<qint64>(kRemoteMaxData));
        if (peer->unread.isEmpty()) {
            if (!peer->idle->isActive()) peer->idle->start(idleTimeoutMs_);
            return;
        }
        peer->idle->start(idleTimeoutMs_);
        const size_t taken = peer->decoder.Feed(reinterpret_cast<const uint8_t*>(peer->unread.constData()),
                                                static_cast<size_t>(peer->unread.size()));
        peer->unread.remove(0, static_cast<qsizetype>(taken));
        if (peer->decoder.Failed()) {
            Drop(socket);
            return;
        }
        std::optional<RemoteRequest> request = peer->decoder.TakeRequest();
        if (!request) continue;

        peer->idle->stop();
        handling_ = true;
        handled_ = socket;
        const RemoteReply reply = messages_.Handle(*request);
        handling_ = false;
        handled_ = nullptr;
        // While the message waited for the user, the peer may have gone, and others may
        // have sent requests.
        QTimer::singleShot(0, this, &RemoteServer::ServeAll);
        if (peers_.find(socket) == peers_.end() || !peer->socket) return;
        const std::vector<uint8_t> bytes = EncodeRemoteReply(reply);
        socket->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        socket->flush();  // out now: the message may have ended the program
        if (socket->bytesToWrite() > kMaxUnreadReplies) {
            Drop(socket);
            return;
        }
        peer->idle->start(idleTimeoutMs_);
    }
}

void RemoteServer::ServeAll()
{
    std::vector<QLocalSocket*> sockets;
    for (const auto& [socket, peer] : peers_) sockets.push_back(socket);
    for (QLocalSocket* socket : sockets) Serve(socket);
}

}  // namespace qv
