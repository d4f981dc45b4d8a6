#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QObject>
#include <QPair>
#include <QProcess>
#include <QStringList>
#include <QtEndian>

#include "errordefine.h"
#include "setupmanager.h"

// Archives made at test time, and a recorder for what a setupmanager reports.
namespace SetupTest {

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

// `7z a <extra> <archive> .` run inside sourceDir.
inline bool sevenZip(const QString &archive, const QString &sourceDir,
                     const QStringList &extra = {})
{
    QProcess process;
    process.setWorkingDirectory(sourceDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("7z"), QStringList{QStringLiteral("a"), QStringLiteral("-bd")} +
                                            extra + QStringList{archive, QStringLiteral(".")});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("7z failed: %s", process.readAll().constData());
        return false;
    }
    return true;
}

// Partial files the extraction may have left behind anywhere below a folder.
inline QStringList leftovers(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, {QStringLiteral(".lunmere-*")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// A stored (uncompressed) zip written byte by byte, so tests control every name and checksum.
class ZipWriter
{
public:
    void add(const QByteArray &name, const QByteArray &data, bool breakChecksum = false)
    {
        m_entries.append({name, data, breakChecksum, 0x81A40000u});
    }

    // A folder entry as Linux zip tools write it (mode 0755 and the DOS folder bit).
    void addFolder(const QByteArray &name) { m_entries.append({name, {}, false, 0x41ED0010u}); }

    bool write(const QString &path) const
    {
        QByteArray out;
        QByteArray central;
        for (const Entry &entry : m_entries) {
            quint32 crc = crc32(entry.data);
            if (entry.breakChecksum)
                crc ^= 0xDEADBEEF;
            const quint32 offset = static_cast<quint32>(out.size());
            out += le32(0x04034b50) + le16(10) + le16(0x0800) + le16(0) + le16(0) + le16(0x21) +
                   le32(crc) + le32(entry.data.size()) + le32(entry.data.size()) +
                   le16(entry.name.size()) + le16(0) + entry.name + entry.data;
            central += le32(0x02014b50) + le16(0x031E) + le16(10) + le16(0x0800) + le16(0) +
                       le16(0) + le16(0x21) + le32(crc) + le32(entry.data.size()) +
                       le32(entry.data.size()) + le16(entry.name.size()) + le16(0) + le16(0) +
                       le16(0) + le16(0) + le32(entry.attributes) + le32(offset) + entry.name;
        }
        const quint32 centralOffset = static_cast<quint32>(out.size());
        out += central;
        out += le32(0x06054b50) + le16(0) + le16(0) + le16(m_entries.size()) +
               le16(m_entries.size()) + le32(central.size()) + le32(centralOffset) + le16(0);
        return writeFile(path, out);
    }

private:
    struct Entry
    {
        QByteArray name;
        QByteArray data;
        bool breakChecksum;
        quint32 attributes;
    };

    static QByteArray le16(int v)
    {
        QByteArray b(2, 0);
        qToLittleEndian<quint16>(static_cast<quint16>(v), b.data());
        return b;
    }
    static QByteArray le32(quint32 v)
    {
        QByteArray b(4, 0);
        qToLittleEndian<quint32>(v, b.data());
        return b;
    }
    static quint32 crc32(const QByteArray &data)
    {
        quint32 crc = 0xFFFFFFFF;
        for (char c : data) {
            crc ^= static_cast<quint8>(c);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return ~crc;
    }

    QList<Entry> m_entries;
};

// Collects a setupmanager's signals on the test's thread, in the order they arrive.
class Recorder : public QObject
{
public:
    explicit Recorder(setupmanager *manager)
    {
        connect(manager, &setupmanager::setupProgress, this,
                [this](qlonglong done, qlonglong total) {
                    progress.append({done, total});
                });
        connect(manager, &setupmanager::setupFinished, this, [this] { ++finished; });
        connect(manager, &setupmanager::setupError, this,
                [this](ErrorDefine::ErrorCode code, const QString &msg) {
                    errors.append({int(code), msg});
                });
        connect(manager, &setupmanager::setupUnzipFilePath, this,
                [this](const QString &path) { paths.append(path); });
        connect(manager, &setupmanager::globalMetaDataDismiss, this, [this] { ++dismissed; });
        connect(manager, &setupmanager::globalMetaDataError, this, [this] { ++metaErrors; });
        connect(manager, &QThread::finished, this, [this] { ++threadRuns; });
    }

    QList<int> codes() const
    {
        QList<int> result;
        for (const auto &error : errors)
            result << error.first;
        return result;
    }

    QList<QPair<qlonglong, qlonglong>> progress;
    QList<QPair<int, QString>> errors;
    QStringList paths;
    int finished = 0;
    int dismissed = 0;
    int metaErrors = 0;
    int threadRuns = 0;
};

} // namespace SetupTest
