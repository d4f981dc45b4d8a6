#include "singleinstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include "user.h"

namespace {

// A peer may only ever say one short thing; anything longer is not ours.
constexpr int kMaxMessageBytes = 256;

QString runtimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

QString SingleInstance::idForPath(const QString &executablePath)
{
    const QString path = QFileInfo(executablePath).absoluteFilePath();
    const QByteArray key =
        path.toUtf8() + '\0' + QByteArray::fromStdString(platform::currentUserKey());
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("Lunmere-") + QString::fromLatin1(hash.left(16));
}

QString SingleInstance::serverNameFor(const QString &id)
{
    // An absolute path: a bare name would put the socket in the shared temp folder, where
    // another user could take the name first.
    return runtimeFolder() + QLatin1Char('/') + id;
}

QString SingleInstance::defaultId()
{
    return idForPath(QCoreApplication::applicationFilePath());
}

SingleInstance::SingleInstance(const QString &id, QObject *parent)
    : QObject(parent)
    , m_id(id.isEmpty() ? defaultId() : id)
    , m_lock(std::make_unique<QLockFile>(runtimeFolder() + QLatin1Char('/') + m_id + ".lock"))
{
    // Held for the whole life of the process, so it must never go stale by age; a dead
    // holder is still detected through its process id.
    m_lock->setStaleLockTime(0);
    m_primary = m_lock->tryLock(0);
    if (!m_primary)
        return;

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = serverNameFor(m_id);
    QLocalServer::removeServer(name); // a socket file left by a killed launcher
    if (!m_server->listen(name))
        qWarning() << "single instance: cannot listen on" << name << m_server->errorString();
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::sendMessage(const QString &message, int timeoutMs)
{
    if (m_primary)
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverNameFor(m_id));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Wait for the peer to close, so the message is read before this process exits.
    socket.waitForDisconnected(timeoutMs);
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A peer that never finishes its line is dropped.
        QTimer::singleShot(5000, socket, [socket] { socket->abort(); });
        auto readMessage = [this, socket] {
            if (socket->bytesAvailable() > kMaxMessageBytes) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine())
                return;
            const QString message = QString::fromUtf8(socket->readLine()).trimmed();
            socket->disconnectFromServer();
            if (message == QLatin1String(kRaiseMessage))
                emit messageReceived(message);
        };
        connect(socket, &QLocalSocket::readyRead, this, readMessage);
        readMessage();
    }
}
