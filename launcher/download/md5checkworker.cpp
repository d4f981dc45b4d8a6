#include "md5checkworker.h"

#include <QThread>

#include "crashhandler.h"
#include "packagedigest.h"

md5checkworker::md5checkworker(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
{}

QString md5checkworker::fileMd5(const QString &filePath)
{
    StreamHash hash(StreamHash::Md5);
    StreamHash *hashes[] = {&hash};
    QThread *thread = QThread::currentThread();
    // A read error or an interruption must never pass as the sum of a shorter file.
    if (PackageDigest::feedFile(filePath, -1, hashes, 1,
                                [thread] { return thread->isInterruptionRequested(); }) < 0)
        return QString();
    return hash.resultHex();
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
