// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RemoteServer.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/LongTask.h"
#include "platform/RemoteEndpoint.h"
#include "shell/RemoteMessages.h"

namespace qv {
namespace {

// How often held requests look whether the dialog that holds them has ended.
constexpr int kHoldPollMs = 50;

}  // namespace

RemoteServer::RemoteServer(RemoteMessages& messages, QObject* parent)
    : QObject(parent), messages_(messages), ownUid_(::geteuid())
{
    holdWatch_ = new QTimer(this);
    holdWatch_->setInterval(kHoldPollMs);
    connect(holdWatch_, &QTimer::timeout, this, &RemoteServer::ServeHeld);
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
    // Bound at its own name: Qt's access options would bind a longer temporary name first,
    // which may not fit a socket address. The folder is the user's alone, so nobody can
    // reach the socket before it has its mode.
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
        if (static_cast<int>(peers_.size()) >= kMaxPeers ||
            !PeerMayConnect(static_cast<int>(socket->socketDescriptor()), ownUid_)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto peer = std::make_unique<Peer>();
        peer->socket = socket;
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
    if (it->second->serving) {
        // Its service is further up the stack, perhaps inside the socket's own signal.
        it->second->dropped = true;
        return;
    }
    std::unique_ptr<Peer> peer = std::move(it->second);
    peers_.erase(it);
    if (peer->socket) {
        peer->socket->disconnect(this);
        peer->socket->abort();
        peer->socket->deleteLater();
    }
}

bool RemoteServer::MustWait() const
{
    // A dialog's own event loop runs below the main one; a modal window, a popup menu or
    // long work may also be under way without one.
    return handling_ || LongTaskRunning() || QGuiApplication::modalWindow() || QApplication::activePopupWidget() ||
           QThread::currentThread()->loopLevel() > 1;
}

void RemoteServer::Hold(Peer& peer)
{
    peer.idle->stop();  // the wait is ours, not the peer's
    holdWatch_->start();
}

void RemoteServer::ServeHeld()
{
    if (MustWait()) return;
    holdWatch_->stop();
    std::vector<QLocalSocket*> sockets;
    for (const auto& [socket, peer] : peers_) sockets.push_back(socket);
    for (QLocalSocket* socket : sockets) Serve(socket);
}

void RemoteServer::Serve(QLocalSocket* socket)
{
    auto it = peers_.find(socket);
    if (it == peers_.end() || it->second->serving) return;
    Peer& peer = *it->second;
    peer.serving = true;
    ServeRequests(peer);
    peer.serving = false;
    if (peer.dropped) Drop(socket);
}

void RemoteServer::ServeRequests(Peer& peer)
{
    QLocalSocket* socket = peer.socket;
    while (!peer.dropped && socket) {
        if (MustWait()) {
            Hold(peer);
            return;
        }
        if (peer.unread.isEmpty()) peer.unread = socket->read(static_cast<qint64>(kRemoteMaxData));
        if (peer.unread.isEmpty()) {
            if (!peer.idle->isActive()) peer.idle->start(idleTimeoutMs_);
            return;
        }
        peer.idle->start(idleTimeoutMs_);
        const size_t taken = peer.decoder.Feed(reinterpret_cast<const uint8_t*>(peer.unread.constData()),
                                               static_cast<size_t>(peer.unread.size()));
        peer.unread.remove(0, static_cast<qsizetype>(taken));
        if (peer.decoder.Failed()) {
            peer.dropped = true;
            return;
        }
        std::optional<RemoteRequest> request = peer.decoder.TakeRequest();
        if (!request) continue;

        peer.idle->stop();
        handling_ = true;
        const RemoteReply reply = messages_.Handle(*request);
        handling_ = false;
        if (peer.dropped) return;  // left while its request was in hand
        const std::vector<uint8_t> bytes = EncodeRemoteReply(reply);
        socket->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        socket->flush();  // out now: the message may have ended the program; may find the peer gone
        if (socket->bytesToWrite() > kMaxUnreadReplies) peer.dropped = true;
        if (peer.dropped) return;
        peer.idle->start(idleTimeoutMs_);
    }
}

}  // namespace qv
