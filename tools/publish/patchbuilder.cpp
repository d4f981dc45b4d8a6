#include "patchbuilder.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryFile>

#include <algorithm>
#include <cstring>

#include "mappedpages.h"
#include "packagedigest.h"
#include "publishcommon.h"
#include "zstddelta.h"

namespace {

// Mapped files are hashed and compressed in place; this much of them is left resident
// behind the point reached, so packs of gigabytes build in bounded memory.
constexpr qint64 kResident = 32 << 20;

// A file read in place.
class MappedInput
{
public:
    bool open(const QString &path, qint64 size, QString *error)
    {
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::ReadOnly))
            return publish::fail(
                error, QStringLiteral("%1: cannot read: %2").arg(path, m_file.errorString()));
        m_size = m_file.size();
        if (m_size != size)
            return publish::fail(
                error, QStringLiteral("%1 changed while it was being published").arg(path));
        if (m_size > 0 && !(m_data = m_file.map(0, m_size)))
            return publish::fail(
                error, QStringLiteral("%1: cannot read: %2").arg(path, m_file.errorString()));
        return true;
    }
    const uchar *data() const { return m_data; }
    QString path() const { return m_file.fileName(); }
    qint64 size() const { return m_size; }
    void release(qint64 from, qint64 to) const
    {
        if (m_data && to > from)
            platform::releaseMappedPages(m_data + from, to - from);
    }
    QByteArray sha256() const
    {
        StreamHash hash(StreamHash::Sha256);
        for (qint64 at = 0; at < m_size; at += kResident) {
            const qint64 piece = std::min(kResident, m_size - at);
            hash.addData(reinterpret_cast<const char *>(m_data) + at, piece);
            release(at, at + piece);
        }
        return hash.resultHex().toLatin1();
    }

private:
    QFile m_file;
    const uchar *m_data = nullptr;
    qint64 m_size = 0;
};

// One frame of data[begin, end) against base[baseBegin, baseEnd) appended to out.
bool compressRange(const MappedInput &base, qint64 baseBegin, qint64 baseEnd,
                   const MappedInput &data, qint64 begin, qint64 end, int level, QFile *out,
                   qint64 *length, QString *error)
{
    qint64 released = begin;
    const auto progress = [&](qint64 consumed) {
        // The prefix is indexed once at the start; later matches bring back the pages they read.
        base.release(baseBegin, baseEnd);
        const qint64 behind = begin + consumed - kResident;
        if (behind > released) {
            data.release(released, behind);
            released = behind;
        }
    };
    const bool ok =
        ZstdDelta::compress(base.data() ? base.data() + baseBegin : nullptr, baseEnd - baseBegin,
                            data.data() + begin, end - begin, level, out, length, progress, error);
    data.release(begin, end);
    return ok || publish::fail(error, QStringLiteral("%1: %2").arg(data.path(), *error));
}

bool copyInto(QFile *from, QFile *to, QString *error)
{
    if (!from->seek(0))
        return publish::fail(error, from->errorString());
    while (!from->atEnd()) {
        const QByteArray chunk = from->read(4 << 20);
        if (chunk.isEmpty() || to->write(chunk) != chunk.size())
            return publish::fail(
                error,
                QStringLiteral("%1: cannot write: %2").arg(to->fileName(), to->errorString()));
    }
    return true;
}

// The layout of a large file: stretches found unchanged in the old file become copies, at the
// same offset or at the same distance from the end (where a block inserted or removed earlier
// shifted them); the rest is left for frames of at most segmenting.segment bytes.
QList<PatchPackage::Segment> segmentsOf(const MappedInput &old, const MappedInput &data,
                                        const PatchBuilder::Segmenting &segmenting)
{
    const qint64 chunk = std::max<qint64>(4096, segmenting.segment / 512);
    const qint64 shift = old.size() - data.size();
    const auto sameAt = [&](qint64 at, qint64 length, qint64 from) {
        return from >= 0 && from + length <= old.size() &&
               memcmp(data.data() + at, old.data() + from, size_t(length)) == 0;
    };
    QList<PatchPackage::Segment> segments;
    qint64 released = 0;
    for (qint64 at = 0; at < data.size(); at += chunk) {
        const qint64 length = std::min(chunk, data.size() - at);
        qint64 from = -1;
        if (sameAt(at, length, at))
            from = at;
        else if (shift != 0 && sameAt(at, length, at + shift))
            from = at + shift;
        PatchPackage::Segment *last = segments.isEmpty() ? nullptr : &segments.last();
        if (from >= 0 && last && last->copy && last->baseOffset + last->size == from) {
            last->size += length;
            last->baseLength += length;
        } else if (from < 0 && last && !last->copy && last->size + length <= segmenting.segment) {
            last->size += length;
        } else {
            PatchPackage::Segment segment;
            segment.size = length;
            segment.copy = from >= 0;
            segment.baseOffset = std::max<qint64>(from, 0);
            segment.baseLength = segment.copy ? length : 0;
            segments << segment;
        }
        if (at - released >= kResident) {
            data.release(released, at);
            old.release(0, old.size());
            released = at;
        }
    }
    return segments;
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
    return build(oldRoot, old, newest, changes, from, to, level, packagePath, error, Segmenting());
}

bool PatchBuilder::build(const QString &oldRoot, const FolderSnapshot &old,
                         const FolderSnapshot &newest, const Changes &changes, const QString &from,
                         const QString &to, int level, const QString &packagePath, QString *error,
                         const Segmenting &segmenting)
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
    QTemporaryFile delta(packagePath + QStringLiteral(".delta"));
    if (!frames.open() || !delta.open())
        return publish::fail(
            error,
            QStringLiteral("%1: cannot write: %2").arg(frames.fileName(), frames.errorString()));
    const auto cannotWrite = [&](QFile &file) {
        return publish::fail(
            error, QStringLiteral("%1: cannot write: %2").arg(file.fileName(), file.errorString()));
    };
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
        MappedInput data;
        const QString dataPath = QDir(newest.root()).filePath(path);
        if (!data.open(dataPath, entry.size, error))
            return false;
        if (data.sha256() != entry.sha256)
            return publish::fail(
                error, QStringLiteral("%1 changed while it was being published").arg(dataPath));
        base = hasSameOld ? path : byName.value(fileNameOf(path));
        MappedInput oldData;
        if (!base.isEmpty()) {
            if (!oldData.open(QDir(oldRoot).filePath(base), old.entries().value(base).size, error))
                return false;
            if (oldData.sha256() != old.entries().value(base).sha256)
                return publish::fail(error, QStringLiteral("the kept package of %1 does not "
                                                           "hold what its file list says for %2")
                                                .arg(from, base));
            file.base = base;
            file.baseSha256 = old.entries().value(base).sha256;
            file.baseSize = oldData.size();
        }
        if (data.size() >= segmenting.threshold || oldData.size() >= segmenting.threshold) {
            file.kind = PatchPackage::Kind::Segmented;
            file.segments = segmentsOf(oldData, data, segmenting);
            qint64 begin = 0;
            for (PatchPackage::Segment &segment : file.segments) {
                if (!segment.copy) {
                    // The changed stretch against the old bytes around the same place.
                    segment.baseOffset =
                        std::min(oldData.size(), std::max<qint64>(0, begin - segmenting.margin));
                    segment.baseLength =
                        std::min(oldData.size(), begin + segment.size + segmenting.margin) -
                        segment.baseOffset;
                    segment.offset = offset;
                    if (!compressRange(oldData, segment.baseOffset,
                                       segment.baseOffset + segment.baseLength, data, begin,
                                       begin + segment.size, level, &frames, &segment.length,
                                       error))
                        return false;
                    offset += segment.length;
                }
                begin += segment.size;
            }
            index.files << file;
            continue;
        }
        // The whole file, then the delta; the smaller of the two stays.
        file.offset = offset;
        if (!compressRange(MappedInput(), 0, 0, data, 0, data.size(), level, &frames, &file.length,
                           error))
            return false;
        file.kind = PatchPackage::Kind::Whole;
        if (!base.isEmpty()) {
            qint64 length = 0;
            if (!delta.resize(0) || !delta.seek(0) ||
                !compressRange(oldData, 0, oldData.size(), data, 0, data.size(), level, &delta,
                               &length, error))
                return false;
            if (length < file.length) {
                if (!frames.flush() || !frames.resize(offset) || !frames.seek(offset) ||
                    !delta.flush() || !copyInto(&delta, &frames, error))
                    return cannotWrite(frames);
                file.kind = PatchPackage::Kind::Delta;
                file.length = length;
            }
        }
        if (file.kind == PatchPackage::Kind::Whole) {
            file.base.clear();
            file.baseSha256.clear();
            file.baseSize = 0;
        }
        offset += file.length;
        index.files << file;
    }
    if (!frames.flush())
        return cannotWrite(frames);
    return PatchPackage::write(packagePath, index, frames.fileName(), error);
}
