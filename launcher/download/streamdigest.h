#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QThread;
struct FollowState;

// The MD5 and SHA-256 of a download, computed while it is written: each digest runs on a
// thread of its own that reads the file behind the writer, up to the bytes the writer reports
// as on disk. The transfer never waits for hashing and no piece is held in memory for it; the
// hashing threads take the processor time the transfer leaves, so when the last byte is on
// disk only what they could not do meanwhile remains. A resumed download starts from the part
// already on disk.
class streamdigest : public QObject
{
    Q_OBJECT
public:
    explicit streamdigest(QObject *parent = nullptr);
    ~streamdigest() override;

    // Forgets everything reported so far; results of earlier rounds are dropped.
    void reset();
    // Starts a round on the file at `path`, whose first `onDisk` bytes are already written.
    void follow(const QString &path, qint64 onDisk);
    // Bytes known on disk, contiguous from the first; meaningful only while valid.
    qint64 covered() const { return m_covered; }
    // False after a piece that did not follow the previous one (a rewrite or a gap).
    bool isValid() const { return m_valid; }

    // `length` bytes at `position` reached the file (written and flushed); the digests follow
    // only pieces that continue them.
    void written(qint64 position, qint64 length);
    // Emits `finished` once every byte reported so far is hashed.
    void finish();

signals:
    // Empty digests when the bytes on disk could not be read.
    void finished(QString md5, QString sha256, qint64 size);

private:
    void ensureStarted();
    void startRound(const QString &path, qint64 onDisk);
    void onPipeDone(int round, int pipe, const QString &hex);

    std::unique_ptr<FollowState> m_state;
    QThread *m_threads[2] = {nullptr, nullptr};
    int m_round = 0;
    bool m_following = false;
    qint64 m_covered = 0;
    bool m_valid = true;
    QString m_results[2];
    int m_pending = 0;
};
