#include "streamdigest.h"

#include <QThread>

#include <atomic>

#include "crashhandler.h"
#include "packagedigest.h"

// One digest on its own thread. Every job is a queued call, so jobs run in the order they
// were made; a job of an abandoned round is skipped.
class HashPipe : public QObject
{
    Q_OBJECT
public:
    explicit HashPipe(StreamHash::Algorithm algorithm)
        : m_hash(algorithm)
    {}

    std::atomic<int> round{0};
    std::atomic<qint64> backlog{0};

    void start(int newRound)
    {
        m_hash.reset();
        m_failed = false;
        m_round = newRound;
    }

    void prefix(int jobRound, const QString &path, qint64 length)
    {
        if (jobRound != m_round)
            return;
        StreamHash *hashes[] = {&m_hash};
        QThread *thread = QThread::currentThread();
        const qint64 fed =
            PackageDigest::feedFile(path, length, hashes, 1, [this, jobRound, thread] {
                return thread->isInterruptionRequested() || round.load() != jobRound;
            });
        if (fed != length)
            m_failed = true;
    }

    void data(int jobRound, const QByteArray &bytes)
    {
        backlog -= bytes.size();
        if (jobRound == m_round)
            m_hash.addData(bytes);
    }

    void finish(int jobRound)
    {
        if (jobRound == m_round)
            emit done(jobRound, m_failed ? QString() : m_hash.resultHex());
    }

signals:
    void done(int round, QString hex);

private:
    StreamHash m_hash;
    int m_round = 0;
    bool m_failed = false;
};

streamdigest::streamdigest(QObject *parent)
    : QObject(parent)
{}

streamdigest::~streamdigest()
{
    for (Pipe &pipe : m_pipes) {
        if (!pipe.thread)
            continue;
        pipe.thread->requestInterruption();
        pipe.thread->quit();
        pipe.thread->wait();
        delete pipe.worker;
        delete pipe.thread;
    }
}

void streamdigest::ensureStarted()
{
    if (m_pipes[0].thread)
        return;
    const StreamHash::Algorithm algorithms[] = {StreamHash::Md5, StreamHash::Sha256};
    for (int i = 0; i < 2; ++i) {
        Pipe &pipe = m_pipes[i];
        pipe.thread = new QThread;
        pipe.thread->setObjectName(QStringLiteral("streamdigest"));
        pipe.worker = new HashPipe(algorithms[i]);
        pipe.worker->moveToThread(pipe.thread);
        connect(pipe.thread, &QThread::started, [] { platform::prepareThreadForCrashDump(); });
        connect(pipe.worker, &HashPipe::done, this,
                [this, i](int round, const QString &hex) { onPipeDone(round, i, hex); });
        pipe.thread->start(QThread::InheritPriority);
    }
    reset();
}

void streamdigest::reset()
{
    ++m_round;
    m_covered = 0;
    m_valid = true;
    m_pending = 0;
    if (!m_pipes[0].thread)
        return;
    const int round = m_round;
    for (Pipe &pipe : m_pipes) {
        HashPipe *worker = pipe.worker;
        worker->round = round;
        QMetaObject::invokeMethod(
            worker, [worker, round] { worker->start(round); }, Qt::QueuedConnection);
    }
}

qint64 streamdigest::backlog() const
{
    qint64 most = 0;
    for (const Pipe &pipe : m_pipes) {
        if (pipe.worker)
            most = qMax(most, pipe.worker->backlog.load());
    }
    return most;
}

void streamdigest::addFilePrefix(const QString &path, qint64 length)
{
    ensureStarted();
    if (!m_valid || m_covered != 0 || length <= 0)
        return;
    const int round = m_round;
    for (Pipe &pipe : m_pipes) {
        HashPipe *worker = pipe.worker;
        QMetaObject::invokeMethod(
            worker, [worker, round, path, length] { worker->prefix(round, path, length); },
            Qt::QueuedConnection);
    }
    m_covered = length;
}

void streamdigest::addData(const QByteArray &data, qint64 position)
{
    ensureStarted();
    if (!m_valid)
        return;
    if (position != m_covered) {
        m_valid = false;
        return;
    }
    const int round = m_round;
    for (Pipe &pipe : m_pipes) {
        HashPipe *worker = pipe.worker;
        worker->backlog += data.size();
        QMetaObject::invokeMethod(
            worker, [worker, round, data] { worker->data(round, data); }, Qt::QueuedConnection);
    }
    m_covered += data.size();
    // Like a slow disk write, this holds up the next piece, never loses one.
    while (backlog() > kBacklogLimit)
        QThread::usleep(200);
}

void streamdigest::finish()
{
    ensureStarted();
    m_pending = 2;
    const int round = m_round;
    for (Pipe &pipe : m_pipes) {
        HashPipe *worker = pipe.worker;
        QMetaObject::invokeMethod(
            worker, [worker, round] { worker->finish(round); }, Qt::QueuedConnection);
    }
}

void streamdigest::onPipeDone(int round, int pipe, const QString &hex)
{
    if (round != m_round || m_pending == 0)
        return;
    m_results[pipe] = hex;
    if (--m_pending > 0)
        return;
    const bool ok = !m_results[0].isEmpty() && !m_results[1].isEmpty();
    emit finished(ok ? m_results[0] : QString(), ok ? m_results[1] : QString(),
                  ok ? m_covered : -1);
}

#include "streamdigest.moc"
