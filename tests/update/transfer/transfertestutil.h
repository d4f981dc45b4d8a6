#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

// Files and archives made at test time for the updater's transfer tests.
namespace TransferTest {

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString md5Hex(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

// Deterministic bytes that do not compress away.
inline QByteArray noise(int size, quint32 seed)
{
    QByteArray data(size, Qt::Uninitialized);
    quint32 x = seed * 2654435761u + 1;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        data[i] = static_cast<char>(x);
    }
    return data;
}

// `7z a <extra> <archive> <items>` run inside sourceDir.
inline bool sevenZip(const QString &archive, const QString &sourceDir,
                     const QStringList &extra = {},
                     const QStringList &items = {QStringLiteral(".")})
{
    QProcess process;
    process.setWorkingDirectory(sourceDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("7z"), QStringList{QStringLiteral("a"), QStringLiteral("-bd")} +
                                            extra + QStringList{archive} + items);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("7z failed: %s", process.readAll().constData());
        return false;
    }
    return true;
}

} // namespace TransferTest
