#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// One launcher per executable path and user. The first process holds a lock file and
// listens on a local socket; a later one from the same path finds the lock taken and may
// send the first a message. A lock left by a killed launcher is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kRaiseMessage = "raise_window_noop";

    // An empty id derives it from the executable's absolute path and the user.
    explicit SingleInstance(const QString &id = QString(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another process with the same id runs (this one is the second instance).
    bool isRunning() const { return !m_primary; }

    // Sends a message to the running instance; false when it could not be delivered in time.
    bool sendMessage(const QString &message, int timeoutMs);

    QString id() const { return m_id; }

    static QString defaultId();
    // Where the running instance of that id listens: in the user's own runtime folder.
    static QString serverNameFor(const QString &id);
    // The id of a launcher at that executable path, run by this user.
    static QString idForPath(const QString &executablePath);

signals:
    void messageReceived(const QString &message);

private:
    void onNewConnection();

    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_primary = false;
};
