#include "md5checkworker.h"

#include <QCryptographicHash>
#include <QFile>

MD5CheckWorker::MD5CheckWorker(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{}

QString MD5CheckWorker::fileDigest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Md5);
    // A read error half-way must not pass for the digest of a shorter file.
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

void MD5CheckWorker::onGetMD5()
{
    emit md5Checkfinished(fileDigest(m_path));
}
