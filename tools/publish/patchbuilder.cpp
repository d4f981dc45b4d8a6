#include "patchbuilder.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryFile>

#include "gamefilelist.h"
#include "publishcommon.h"
#include "zstddelta.h"

namespace {

bool readAll(const QString &path, QByteArray *data, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return publish::fail(error,
                             QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    *data = file.readAll();
    return true;
}

QString fileNameOf(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

} // namespace

bool PatchBuilder::build(const QString &oldRoot, const FolderSnapshot &old,
                         const FolderSnapshot &newest, const Changes &changes, const QString &from,
                         const QString &to, int level, const QString &packagePath, QString *error)
{
    // The old files by content, and by name for files that moved and changed on the way.
    QHash<QByteArray, QString> byContent;
    QHash<QString, QString> byName;
    for (auto it = old.entries().begin(); it != old.entries().end(); ++it) {
        if (it.value().isDir)
            continue;
        if (!byContent.contains(it.value().sha256))
            byContent.insert(it.value().sha256, it.key());
        byName.insert(fileNameOf(it.key()), it.key());
    }

    QTemporaryFile frames(packagePath + QStringLiteral(".frames"));
    if (!frames.open())
        return publish::fail(
            error,
            QStringLiteral("%1: cannot write: %2").arg(frames.fileName(), frames.errorString()));
    PatchPackage index;
    index.from = from;
    index.to = to;
    index.removed = changes.removed;
    index.removedFolders = changes.removedFolders;
    qint64 offset = 0;
    for (const QString &path : changes.changed) {
        const FolderSnapshot::Entry entry = newest.entries().value(path);
        if (entry.isDir) {
            index.folders << path;
            continue;
        }
        PatchPackage::File file;
        file.path = path;
        file.sha256 = entry.sha256;
        file.size = entry.size;
        file.executable = entry.executable;
        const auto sameOld = old.entries().constFind(path);
        const bool hasSameOld = sameOld != old.entries().constEnd() && !sameOld.value().isDir;
        QString base;
        if (hasSameOld && sameOld.value().sha256 == entry.sha256)
            base = path; // only the executable bit changed
        else
            base = byContent.value(entry.sha256);
        if (!base.isEmpty()) {
            // The content is installed already: no bytes travel.
            file.kind = PatchPackage::Kind::Copy;
            file.base = base;
            file.baseSha256 = old.entries().value(base).sha256;
            file.baseSize = old.entries().value(base).size;
            index.files << file;
            continue;
        }
        QByteArray data;
        if (!readAll(QDir(newest.root()).filePath(path), &data, error))
            return false;
        if (data.size() != entry.size || GameFileList::sha256Hex(data) != entry.sha256)
            return publish::fail(error, QStringLiteral("%1 changed while it was being published")
                                            .arg(QDir(newest.root()).filePath(path)));
        base = hasSameOld ? path : byName.value(fileNameOf(path));
        QByteArray frame;
        if (!ZstdDelta::compress(QByteArray(), data, level, &frame, error))
            return publish::fail(error, QStringLiteral("%1: %2").arg(path, *error));
        file.kind = PatchPackage::Kind::Whole;
        if (!base.isEmpty()) {
            QByteArray oldData;
            QByteArray delta;
            if (!readAll(QDir(oldRoot).filePath(base), &oldData, error))
                return false;
            if (GameFileList::sha256Hex(oldData) != old.entries().value(base).sha256)
                return publish::fail(error, QStringLiteral("the kept package of %1 does not "
                                                           "hold what its file list says for %2")
                                                .arg(from, base));
            if (!ZstdDelta::compress(oldData, data, level, &delta, error))
                return publish::fail(error, QStringLiteral("%1: %2").arg(path, *error));
            if (delta.size() < frame.size()) {
                frame = delta;
                file.kind = PatchPackage::Kind::Delta;
                file.base = base;
                file.baseSha256 = old.entries().value(base).sha256;
                file.baseSize = oldData.size();
            }
        }
        file.offset = offset;
        file.length = frame.size();
        if (frames.write(frame) != frame.size())
            return publish::fail(error, QStringLiteral("%1: cannot write: %2")
                                            .arg(frames.fileName(), frames.errorString()));
        offset += frame.size();
        index.files << file;
    }
    if (!frames.flush())
        return publish::fail(
            error,
            QStringLiteral("%1: cannot write: %2").arg(frames.fileName(), frames.errorString()));
    return PatchPackage::write(packagePath, index, frames.fileName(), error);
}
