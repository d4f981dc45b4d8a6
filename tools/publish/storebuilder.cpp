#include "storebuilder.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

#include "filestore.h"
#include "publishcommon.h"
#include "zstddelta.h"

QString StoreBuilder::fileName(const QString &name, const QString &version)
{
    return QStringLiteral("%1_%2.store").arg(name, version);
}

bool StoreBuilder::build(const QString &root, const QString &storePath, int level,
                         GameFileList *list, QString *error)
{
    QFile store(storePath);
    if (!store.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return publish::fail(
            error, QStringLiteral("%1: cannot write: %2").arg(storePath, store.errorString()));
    std::sort(
        list->entries.begin(), list->entries.end(),
        [](const GameFileList::Entry &a, const GameFileList::Entry &b) { return a.path < b.path; });
    struct Object
    {
        qint64 offset;
        qint64 length;
        QString codec;
    };
    QHash<QByteArray, Object> written;
    qint64 offset = 0;
    for (GameFileList::Entry &entry : list->entries) {
        auto found = written.constFind(entry.sha256);
        if (found == written.constEnd()) {
            const QString path = root + QLatin1Char('/') + entry.path;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return publish::fail(
                    error, QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
            Object object{offset, 0, QString()};
            if (entry.size >= ZstdDelta::kMaxBytes) {
                // Beyond what a frame spans, and what a repair decodes in memory anyway.
                object.codec = QStringLiteral("raw");
                while (!file.atEnd()) {
                    const QByteArray chunk = file.read(4 << 20);
                    if (chunk.isEmpty() || store.write(chunk) != chunk.size())
                        return publish::fail(
                            error, QStringLiteral("%1: cannot copy into %2").arg(path, storePath));
                    object.length += chunk.size();
                }
            } else {
                const QByteArray content = file.readAll();
                QByteArray bytes;
                if (content.size() != entry.size)
                    return publish::fail(error,
                                         QStringLiteral("%1 changed while publishing").arg(path));
                if (!FileStore::encode(content, level, &bytes, &object.codec, error))
                    return false;
                if (store.write(bytes) != bytes.size())
                    return publish::fail(
                        error,
                        QStringLiteral("%1: cannot write: %2").arg(storePath, store.errorString()));
                object.length = bytes.size();
            }
            offset += object.length;
            found = written.insert(entry.sha256, object);
        }
        entry.objectOffset = found->offset;
        entry.objectLength = found->length;
        entry.codec = found->codec;
    }
    if (!store.flush())
        return publish::fail(
            error, QStringLiteral("%1: cannot write: %2").arg(storePath, store.errorString()));
    list->store.name = QFileInfo(storePath).fileName();
    list->store.size = offset;
    return true;
}
