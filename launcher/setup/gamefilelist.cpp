#include "gamefilelist.h"

#include "packagedigest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#include "archiveitempath.h"

namespace {
const QString kVersion = QStringLiteral("version");
const QString kFiles = QStringLiteral("files");
const QString kPath = QStringLiteral("path");
const QString kSize = QStringLiteral("size");
const QString kSha256 = QStringLiteral("sha256");

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool isHexDigest(const QByteArray &text)
{
    if (text.size() != 64)
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}
} // namespace

qint64 GameFileList::totalSize() const
{
    qint64 total = 0;
    for (const Entry &entry : entries)
        total += entry.size;
    return total;
}

QByteArray GameFileList::toJson() const
{
    QList<Entry> sorted = entries;
    std::sort(sorted.begin(), sorted.end(),
              [](const Entry &a, const Entry &b) { return a.path < b.path; });
    QJsonArray files;
    for (const Entry &entry : sorted)
        files.append(QJsonObject{{kPath, entry.path},
                                 // A JSON number holds sizes exactly up to 2^53 bytes.
                                 {kSize, double(entry.size)},
                                 {kSha256, QString::fromLatin1(entry.sha256)}});
    return QJsonDocument(QJsonObject{{kVersion, version}, {kFiles, files}})
        .toJson(QJsonDocument::Indented);
}

bool GameFileList::fromJson(const QByteArray &json, GameFileList *out, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject() || !document.object().value(kFiles).isArray())
        return fail(error, QStringLiteral("not a file list"));
    GameFileList list;
    list.version = document.object().value(kVersion).toString();
    const QJsonArray files = document.object().value(kFiles).toArray();
    for (const QJsonValue &value : files) {
        const QJsonObject object = value.toObject();
        Entry entry;
        entry.path = ArchiveItemPath::normalized(object.value(kPath).toString());
        const double size = object.value(kSize).toDouble(-1);
        entry.sha256 = object.value(kSha256).toString().toLatin1().toLower();
        if (entry.path.isEmpty() || !ArchiveItemPath::isContained(entry.path) ||
            entry.path.endsWith(QLatin1Char('/')))
            return fail(error, QStringLiteral("file list names \"%1\", which is not a file inside "
                                              "the game folder")
                                   .arg(entry.path));
        if (size < 0 || size != double(qint64(size)) || !isHexDigest(entry.sha256))
            return fail(error, QStringLiteral("file list entry \"%1\" has no valid size and "
                                              "SHA-256")
                                   .arg(entry.path));
        entry.size = qint64(size);
        list.entries << entry;
    }
    *out = list;
    return true;
}

bool GameFileList::build(const QString &root, const QStringList &files, const QString &version,
                         GameFileList *out, QString *error)
{
    GameFileList list;
    list.version = version;
    for (const QString &path : files) {
        const QString file = root + QLatin1Char('/') + path;
        // The same hashing the verifier uses, so a list and a check agree by construction.
        StreamHash hash(StreamHash::Sha256);
        StreamHash *hashes[] = {&hash};
        const qint64 size = PackageDigest::feedFile(file, -1, hashes, 1);
        if (size < 0)
            return fail(error, QStringLiteral("%1: cannot read").arg(file));
        list.entries << Entry{path, size, hash.resultHex().toLatin1()};
    }
    *out = list;
    return true;
}

QByteArray GameFileList::sha256Hex(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}
