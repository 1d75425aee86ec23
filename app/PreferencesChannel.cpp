// SPDX-License-Identifier: MIT
#include "app/PreferencesChannel.h"

#include "platform/Paths.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {
constexpr const char* kSocketName = "plovi-preferences";
const QByteArray kRequest = "preferences\n";
const QByteArray kAnswer = "ok\n";
}  // namespace

PreferencesChannel::PreferencesChannel(QObject* parent) : QObject(parent) {}

PreferencesChannel::~PreferencesChannel()
{
    if (m_server)
        m_server->close();   // removes the socket file
}

std::string PreferencesChannel::SocketPath()
{
    const std::string dir = Paths::RuntimeDirectory();
    return dir.empty() ? std::string() : dir + kSocketName;
}

bool PreferencesChannel::Listen()
{
    const QString path = QString::fromStdString(SocketPath());
    if (path.isEmpty())
        return false;
    // The caller holds the single-instance lock, so a socket there is stale.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    return m_server->listen(path);
}

void PreferencesChannel::Serve()
{
    if (!m_server || m_serving)
        return;
    m_serving = true;
    connect(m_server, &QLocalServer::newConnection, this, &PreferencesChannel::OnConnection);
    OnConnection();   // the connections that queued up before
}

void PreferencesChannel::OnConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto take = [this, socket] {
            // One short fixed request; anything longer or else is dropped.
            if (socket->bytesAvailable() > kRequest.size()) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < kRequest.size() || !socket->canReadLine())
                return;
            if (socket->readAll() == kRequest) {
                socket->write(kAnswer);
                socket->flush();
                emit preferencesRequested();
            }
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, take);
        // A request that came in while the connection waited in the queue
        // is read already; no readyRead follows for it.
        if (socket->bytesAvailable() > 0)
            take();
        // One whose asker has gone already says disconnected no more.
        if (socket->state() == QLocalSocket::UnconnectedState)
            socket->deleteLater();
    }
}

bool PreferencesChannel::AskRunningAquarium(int timeoutMs)
{
    const QString path = QString::fromStdString(SocketPath());
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Only a live aquarium accepts a connection (a stale socket file is
    // refused), and the request it is sent stays in the socket until that
    // aquarium reads it, however busy it is drawing: it has been reached.
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Its answer comes when it has taken the request; a slow one still
    // shows the dialog after this command has ended.
    while (socket.bytesAvailable() < kAnswer.size() && socket.waitForReadyRead(timeoutMs)) {
    }
    return true;
}
