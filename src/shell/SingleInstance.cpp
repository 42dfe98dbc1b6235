#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr int kConnectMilliseconds = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

} // namespace

SingleInstance::SingleInstance(const QString& strDocumentsFolder, QObject* parent) : QObject(parent)
{
    const QByteArray hash = QCryptographicHash::hash(strDocumentsFolder.toUtf8(), QCryptographicHash::Sha256).toHex();
    m_strName = QStringLiteral("calcudex-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash.left(16)));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::becomePrimary()
{
    QLocalSocket socket;
    socket.connectToServer(m_strName);
    if (socket.waitForConnected(kConnectMilliseconds)) {
        socket.write(kActivate);
        socket.waitForBytesWritten(kConnectMilliseconds);
        socket.disconnectFromServer();
        return false;
    }
    // Nobody answers: a socket file left by a program that was killed is
    // stale and goes.
    QLocalServer::removeServer(m_strName);
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(m_strName))
        return true;  // cannot listen: still run, only without the guard
    connect(m_pServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_pServer->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            auto read = [this, client] {
                if (client->readAll().contains(kActivate))
                    emit activationRequested();
            };
            connect(client, &QLocalSocket::readyRead, this, read);
            if (client->bytesAvailable() > 0)
                read();
        }
    });
    return true;
}
