#include "gamefilelist.h"

#include "packagedigest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#include "archiveitempath.h"
#include "packagefilename.h"

namespace {
const QString kVersion = QStringLiteral("version");
const QString kFiles = QStringLiteral("files");
const QString kPath = QStringLiteral("path");
const QString kSize = QStringLiteral("size");
const QString kSha256 = QStringLiteral("sha256");
const QString kExecutable = QStringLiteral("executable");
const QString kStore = QStringLiteral("store");
const QString kName = QStringLiteral("name");
const QString kObject = QStringLiteral("object");
const QString kOffset = QStringLiteral("offset");
const QString kLength = QStringLiteral("length");
const QString kCodec = QStringLiteral("codec");

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
// A whole number of bytes a JSON number holds exactly, or -1.
qint64 byteCount(const QJsonValue &value)
{
    const double number = value.toDouble(-1);
    if (number < 0 || number > 9007199254740992.0 || number != double(qint64(number)))
        return -1;
    return qint64(number);
}

// Reads the store and the objects; anything that does not hold together leaves the list with
// no store, never with a half-trusted one.
void readStore(const QJsonObject &document, const QJsonArray &files, GameFileList *list)
{
    const QJsonObject store = document.value(kStore).toObject();
    GameFileList::Store read{store.value(kName).toString(), byteCount(store.value(kSize))};
    if (!PackageFileName::isPlainName(read.name) || read.size < 0)
        return;
    QList<GameFileList::Entry> entries = list->entries;
    for (int i = 0; i < entries.size(); ++i) {
        const QJsonObject object = files.at(i).toObject().value(kObject).toObject();
        GameFileList::Entry &entry = entries[i];
        entry.objectOffset = byteCount(object.value(kOffset));
        entry.objectLength = byteCount(object.value(kLength));
        entry.codec = object.value(kCodec).toString();
        const bool knownCodec =
            entry.codec == QLatin1String("zstd") ||
            (entry.codec == QLatin1String("raw") && entry.objectLength == entry.size);
        if (entry.objectOffset < 0 || entry.objectLength <= 0 || !knownCodec ||
            entry.objectLength > read.size - entry.objectOffset)
            return;
    }
    list->entries = entries;
    list->store = read;
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
    const bool hasStore = !store.name.isEmpty();
    QJsonArray files;
    for (const Entry &entry : sorted) {
        QJsonObject file{{kPath, entry.path},
                         // A JSON number holds sizes exactly up to 2^53 bytes.
                         {kSize, double(entry.size)},
                         {kSha256, QString::fromLatin1(entry.sha256)}};
        if (hasStore) {
            if (entry.executable)
                file.insert(kExecutable, true);
            file.insert(kObject, QJsonObject{{kOffset, double(entry.objectOffset)},
                                             {kLength, double(entry.objectLength)},
                                             {kCodec, entry.codec}});
        }
        files.append(file);
    }
    QJsonObject document{{kVersion, version}, {kFiles, files}};
    if (hasStore)
        document.insert(kStore, QJsonObject{{kName, store.name}, {kSize, double(store.size)}});
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
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
        entry.executable = object.value(kExecutable).toBool();
        list.entries << entry;
    }
    readStore(document.object(), files, &list);
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
        Entry entry;
        entry.path = path;
        entry.size = size;
        entry.sha256 = hash.resultHex().toLatin1();
        list.entries << entry;
    }
    *out = list;
    return true;
}

QByteArray GameFileList::sha256Hex(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}
