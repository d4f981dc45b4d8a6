#include "streamdigest.h"

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <vector>

#include "crashhandler.h"
#include "packagedigest.h"
#include "streamfile.h"
#include "threadpriority.h"

namespace {
// Large reads from the page cache keep the per-call cost far below that of hashing.
constexpr std::uint32_t kBlockSize = 4 * 1024 * 1024;
} // namespace

// What the owner tells both hashing threads; guarded by `mutex`, changes announced on `changed`.
struct FollowState
{
    QMutex mutex;
    QWaitCondition changed;
    int round = 0;
    QString path;
    qint64 available = 0;
    bool finishing = false;
    bool stopping = false;
};

namespace {

// One digest's thread: hashes the round's file up to what is on disk, reports when asked to
// finish and caught up, and starts over when the round changes.
void followFile(FollowState *state, StreamHash::Algorithm algorithm,
                const std::function<void(int, const QString &)> &report)
{
    platform::prepareThreadForCrashDump();
    platform::lowerCurrentThreadPriority();
    StreamHash hash(algorithm);
    platform::InputFile file;
    std::vector<char> buffer(kBlockSize);
    int round = -1;
    QString path;
    qint64 hashed = 0;
    bool failed = false;
    bool reported = false;
    for (;;) {
        qint64 target = 0;
        bool finishing = false;
        {
            QMutexLocker lock(&state->mutex);
            while (!state->stopping && state->round == round &&
                   (failed || hashed >= state->available) && (!state->finishing || reported))
                state->changed.wait(&state->mutex);
            if (state->stopping)
                return;
            if (state->round != round) {
                round = state->round;
                path = state->path;
                hash.reset();
                file.close();
                hashed = 0;
                failed = false;
                reported = false;
            }
            target = state->available;
            finishing = state->finishing;
        }
        if (!failed && hashed < target) {
            std::uint32_t got = 0;
            const auto want = std::uint32_t(qMin<qint64>(kBlockSize, target - hashed));
            if ((!file.isOpen() &&
                 file.open(path.toStdString(), platform::InputFile::Sharing::WithWriter) != 0) ||
                file.readAt(hashed, buffer.data(), want, &got) != 0 || got == 0) {
                // A read error must never pass as the digest of a shorter file.
                failed = true;
            } else {
                hash.addData(buffer.data(), got);
                hashed += got;
            }
            continue;
        }
        if (finishing && !reported) {
            reported = true;
            file.close();
            report(round, failed ? QString() : hash.resultHex());
        }
    }
}

} // namespace

streamdigest::streamdigest(QObject *parent)
    : QObject(parent)
    , m_state(std::make_unique<FollowState>())
{}

streamdigest::~streamdigest()
{
    if (!m_threads[0])
        return;
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->stopping = true;
        m_state->changed.wakeAll();
    }
    for (QThread *thread : m_threads) {
        thread->wait();
        delete thread;
    }
}

void streamdigest::ensureStarted()
{
    if (m_threads[0])
        return;
    const StreamHash::Algorithm algorithms[] = {StreamHash::Md5, StreamHash::Sha256};
    for (int i = 0; i < 2; ++i) {
        const auto report = [this, i](int round, const QString &hex) {
            QMetaObject::invokeMethod(
                this, [this, round, i, hex] { onPipeDone(round, i, hex); }, Qt::QueuedConnection);
        };
        m_threads[i] = QThread::create(followFile, m_state.get(), algorithms[i], report);
        m_threads[i]->setObjectName(QStringLiteral("streamdigest"));
        m_threads[i]->start();
    }
}

void streamdigest::reset()
{
    startRound(QString(), 0);
    m_following = false;
}

void streamdigest::follow(const QString &path, qint64 onDisk)
{
    ensureStarted();
    startRound(path, qMax<qint64>(onDisk, 0));
    m_following = true;
}

void streamdigest::startRound(const QString &path, qint64 onDisk)
{
    ++m_round;
    m_covered = onDisk;
    m_valid = true;
    m_pending = 0;
    // One step, so that no thread sees the new round with the old file.
    QMutexLocker lock(&m_state->mutex);
    m_state->round = m_round;
    m_state->path = path;
    m_state->available = onDisk;
    m_state->finishing = false;
    m_state->changed.wakeAll();
}

void streamdigest::written(qint64 position, qint64 length)
{
    if (!m_following || !m_valid || length <= 0)
        return;
    if (position != m_covered) {
        m_valid = false;
        return;
    }
    m_covered += length;
    QMutexLocker lock(&m_state->mutex);
    m_state->available = m_covered;
    m_state->changed.wakeAll();
}

void streamdigest::finish()
{
    ensureStarted();
    m_pending = 2;
    QMutexLocker lock(&m_state->mutex);
    m_state->finishing = true;
    m_state->changed.wakeAll();
}

void streamdigest::onPipeDone(int round, int pipe, const QString &hex)
{
    if (round != m_round || m_pending == 0)
        return;
    m_results[pipe] = hex;
    if (--m_pending > 0)
        return;
    const bool ok = m_valid && !m_results[0].isEmpty() && !m_results[1].isEmpty();
    emit finished(ok ? m_results[0] : QString(), ok ? m_results[1] : QString(),
                  ok ? m_covered : -1);
}
