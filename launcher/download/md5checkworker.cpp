#include "md5checkworker.h"

#include <QCryptographicHash>
#include <QFile>
#include <QThread>

#include <memory>

#include "crashhandler.h"
#include "packagedigest.h"

namespace {
// Large reads keep the per-call overhead far below the cost of hashing.
constexpr qint64 kChunkSize = 1024 * 1024;
} // namespace

md5checkworker::md5checkworker(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
{}

QString md5checkworker::fileMd5(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QString();

    QCryptographicHash hash(QCryptographicHash::Md5);
    std::unique_ptr<char[]> buffer(new char[kChunkSize]);
    QThread *thread = QThread::currentThread();
    for (;;) {
        if (thread->isInterruptionRequested())
            return QString();
        const qint64 n = file.read(buffer.get(), kChunkSize);
        if (n < 0)
            return QString(); // a read error must never pass as the sum of a shorter file
        if (n == 0)
            break;
        hash.addData(buffer.get(), int(n));
    }
    file.close();
    return QString::fromLatin1(hash.result().toHex());
}

void md5checkworker::md5()
{
    platform::prepareThreadForCrashDump();
    if (!m_wantSha256) {
        emit md5Checkfinished(fileMd5(m_filePath));
        return;
    }
    PackageDigest digest;
    QThread *thread = QThread::currentThread();
    if (!PackageDigest::ofFile(m_filePath, &digest, -1,
                               [thread] { return thread->isInterruptionRequested(); }))
        digest = PackageDigest();
    emit digestsFinished(digest.md5, digest.sha256, digest.size);
    emit md5Checkfinished(digest.md5);
}
