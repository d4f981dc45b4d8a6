#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QThread;
class HashPipe;

// The MD5 and SHA-256 of a download, computed while its bytes arrive: each digest runs on a
// thread of its own and takes the pieces in the order they were written, so that when the
// last byte is on disk only the final rounds remain. A resumed download hashes the part that
// is already on disk once, before the new pieces.
class streamdigest : public QObject
{
    Q_OBJECT
public:
    explicit streamdigest(QObject *parent = nullptr);
    ~streamdigest() override;

    // Forgets everything fed so far; results of earlier rounds are dropped.
    void reset();
    // Bytes fed so far, contiguous from the first; meaningful only while valid.
    qint64 covered() const { return m_covered; }
    // False after a piece that did not follow the previous one (a rewrite or a gap).
    bool isValid() const { return m_valid; }
    // Bytes fed to a hashing thread that it has not taken yet.
    qint64 backlog() const;

    // The first `length` bytes of the file at `path` start the digests.
    void addFilePrefix(const QString &path, qint64 length);
    // A piece written at `position`; the digests follow only pieces that continue them. Waits
    // while the hashing threads are more than kBacklogLimit behind, so that a link faster
    // than hashing cannot pile a package up in memory.
    void addData(const QByteArray &data, qint64 position);
    static constexpr qint64 kBacklogLimit = 16 * 1024 * 1024;
    // Emits `finished` once every piece fed so far is hashed.
    void finish();

signals:
    // Empty digests when the bytes on disk could not be read.
    void finished(QString md5, QString sha256, qint64 size);

private:
    void ensureStarted();
    void onPipeDone(int round, int pipe, const QString &hex);

    struct Pipe
    {
        QThread *thread = nullptr;
        HashPipe *worker = nullptr;
    };
    Pipe m_pipes[2];
    int m_round = 0;
    qint64 m_covered = 0;
    bool m_valid = true;
    QString m_results[2];
    int m_pending = 0;
};
