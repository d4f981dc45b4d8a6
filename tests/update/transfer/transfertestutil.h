#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "fileentries.h"

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

// Every file below folder with its content, keyed by the path relative to folder, hidden ones
// included, and empty folders; a link shows as "-> " and the text it holds, and is not followed.
inline QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        std::string target;
        if (platform::readSymLink(QFile::encodeName(path).toStdString(), &target)) {
            files.insert(name, "-> " + QByteArray::fromStdString(target));
        } else if (QFileInfo(path).isDir()) {
            const QMap<QString, QByteArray> inner = snapshot(path);
            if (inner.isEmpty())
                files.insert(name + QLatin1Char('/'), "<empty folder>");
            for (auto i = inner.cbegin(); i != inner.cend(); ++i)
                files.insert(name + QLatin1Char('/') + i.key(), i.value());
        } else {
            files.insert(name, readFile(path));
        }
    }
    return files;
}

inline bool makeLink(const QString &target, const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    return platform::createSymLink(target.toStdString(), QFile::encodeName(path).toStdString());
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
