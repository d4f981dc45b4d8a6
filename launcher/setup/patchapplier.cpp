#include "patchapplier.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

#include "confinedentries.h"
#include "fileentries.h"
#include "filespace.h"
#include "gamefolderlinks.h"
#include "mappedpages.h"
#include "packagedigest.h"
#include "zstddelta.h"

namespace {

const QString kStaging = QStringLiteral("staging");
const QString kCommitting = QStringLiteral("committing");

PatchApplier::Result result(PatchApplier::Outcome outcome,
                            ErrorDefine::ErrorCode code = ErrorDefine::DEFAULTT,
                            const QString &message = QString())
{
    PatchApplier::Result r;
    r.outcome = outcome;
    r.code = code;
    r.message = message;
    return r;
}

// Mapped files are hashed and handed back in steps of this size, and this much of them is
// left resident behind the step (the decoder reads the bytes it just wrote again).
constexpr qint64 kMappedStep = 8 << 20;

// Hashes a mapped file from the front as far as it is complete, and keeps only the pages
// around that point resident: a pack of gigabytes is patched in a few dozen megabytes.
class MappedDigest
{
public:
    MappedDigest(const uchar *data, qint64 size)
        : m_data(data)
        , m_size(size)
        , m_hash(StreamHash::Sha256)
    {}

    void advance(qint64 to, bool force = false)
    {
        to = std::min(to, m_size);
        if (to - m_hashed < kMappedStep && !(force && to > m_hashed))
            return;
        m_hash.addData(reinterpret_cast<const char *>(m_data) + m_hashed, to - m_hashed);
        m_hashed = to;
        const qint64 keep = std::max<qint64>(0, m_hashed - kMappedStep);
        if (keep > m_released) {
            platform::releaseMappedPages(m_data + m_released, keep - m_released);
            m_released = keep;
        }
    }
    QByteArray finish()
    {
        advance(m_size, true);
        return m_hash.resultHex().toLatin1();
    }

private:
    const uchar *m_data;
    qint64 m_size;
    StreamHash m_hash;
    qint64 m_hashed = 0;
    qint64 m_released = 0;
};

std::string local(const QString &folder, const QString &relative)
{
    return QDir::toNativeSeparators(folder + QLatin1Char('/') + relative).toStdString();
}

// Every folder above the paths, parents first.
QStringList foldersAbove(const QStringList &paths)
{
    QStringList folders;
    for (const QString &path : paths) {
        QString folder = path.section(QLatin1Char('/'), 0, -2);
        while (!folder.isEmpty()) {
            if (!folders.contains(folder))
                folders << folder;
            folder = folder.section(QLatin1Char('/'), 0, -2);
        }
    }
    std::sort(folders.begin(), folders.end(), [](const QString &a, const QString &b) {
        return a.count(QLatin1Char('/')) < b.count(QLatin1Char('/'));
    });
    return folders;
}

bool readJournal(const QString &folder, QString *state, PatchPackage *index, QStringList *created,
                 QString *error)
{
    QFile file(QDir(folder).filePath(PatchApplier::journalName()));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.read(256 << 20)).object();
    *state = root.value(QStringLiteral("state")).toString();
    if (*state != kStaging && *state != kCommitting) {
        *error = QStringLiteral("the journal names no known state");
        return false;
    }
    if (!PatchPackage::fromIndexJson(root.value(QStringLiteral("index")).toString().toUtf8(), index,
                                     error))
        return false;
    for (const QJsonValue &value : root.value(QStringLiteral("created")).toArray()) {
        if (!PatchPackage::isPlainRelativePath(value.toString())) {
            *error = QStringLiteral("the journal names a folder outside the game folder");
            return false;
        }
        *created << value.toString();
    }
    return true;
}

} // namespace

QString PatchApplier::journalName()
{
    return QStringLiteral(".lunmere-patch.json");
}

bool PatchApplier::writeJournal(const QString &folder, const QString &state,
                                const PatchPackage &index, const QStringList &created,
                                QString *error)
{
    QSaveFile file(QDir(folder).filePath(journalName()));
    const QByteArray json =
        QJsonDocument(QJsonObject{{QStringLiteral("state"), state},
                                  {QStringLiteral("index"), QString::fromUtf8(index.indexJson())},
                                  {QStringLiteral("created"), QJsonArray::fromStringList(created)}})
            .toJson(QJsonDocument::Compact);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

PatchApplier::Result PatchApplier::apply(const QString &folder, const QString &package,
                                         const RecordVersion &record)
{
    if (QFileInfo::exists(QDir(folder).filePath(journalName()))) {
        const Result earlier = resume(folder, record);
        if (earlier.outcome == Outcome::Failed)
            return earlier;
    }
    PatchPackage index;
    qint64 dataOffset = 0;
    QString error;
    if (!PatchPackage::read(package, &index, &dataOffset, &error))
        return result(Outcome::Unusable, ErrorDefine::DEFAULTT, error);

    QStringList touched;
    for (const PatchPackage::File &file : index.files) {
        touched << file.path;
        if (file.hasBase())
            touched << file.base;
    }
    touched << index.folders << index.removed << index.removedFolders;
    const QString link = GameFolderLinks::firstLink(folder, touched);
    if (!link.isEmpty())
        return result(Outcome::Failed, ErrorDefine::GAME_FOLDER_LINK_ERROR,
                      link + QLatin1Char(' ') +
                          QCoreApplication::translate("setupmanager", "message_game_folder_link"));

    QStringList targets;
    for (const PatchPackage::File &file : index.files)
        targets << file.path;
    QStringList created;
    const std::string root = QDir::toNativeSeparators(folder).toStdString();
    for (const QString &needed : foldersAbove(targets + index.folders) + index.folders) {
        if (!created.contains(needed) &&
            platform::entryKindBelow(root, needed.toStdString()) == platform::EntryKind::Missing)
            created << needed;
    }
    if (!writeJournal(folder, kStaging, index, created, &error))
        return result(Outcome::Unusable, ErrorDefine::DEFAULTT, error);
    step();
    for (const QString &made : created) {
        if (!QDir(folder).mkpath(made)) {
            rollBack(folder, index, created);
            return result(Outcome::Unusable, ErrorDefine::DEFAULTT,
                          QStringLiteral("%1: cannot create the folder").arg(made));
        }
    }

    qint64 total = 0;
    for (const PatchPackage::File &file : index.files)
        total += file.size;
    qint64 done = 0;
    QFile source(package);
    if (!source.open(QIODevice::ReadOnly)) {
        rollBack(folder, index, created);
        return result(Outcome::Unusable, ErrorDefine::DEFAULTT, source.errorString());
    }
    for (const PatchPackage::File &file : index.files) {
        bool wrongBase = false;
        // A pack of gigabytes takes a while: its progress shows as it is written.
        const auto within = [&](qint64 bytes) {
            if (m_progress)
                m_progress(done + bytes, total);
        };
        if (!stage(folder, source, dataOffset, file, within, &wrongBase, &error)) {
            rollBack(folder, index, created);
            return result(
                Outcome::Unusable, ErrorDefine::DEFAULTT,
                wrongBase
                    ? QStringLiteral("%1 is not the file this patch was made from").arg(file.base)
                    : error);
        }
        step();
        done += file.size;
        if (m_progress)
            m_progress(done, total);
    }
    if (!writeJournal(folder, kCommitting, index, created, &error)) {
        rollBack(folder, index, created);
        return result(Outcome::Unusable, ErrorDefine::DEFAULTT, error);
    }
    step();
    return commit(folder, index, record);
}

bool PatchApplier::stage(const QString &folder, QFile &source, qint64 dataOffset,
                         const PatchPackage::File &file, const std::function<void(qint64)> &written,
                         bool *wrongBase, QString *error)
{
    const std::string root = QDir::toNativeSeparators(folder).toStdString();
    // Only a real file below the folder is a base: a link could lead anywhere.
    QFile baseFile(QDir(folder).filePath(file.base));
    const uchar *base = nullptr;
    if (file.hasBase()) {
        *wrongBase =
            platform::entryKindBelow(root, file.base.toStdString()) != platform::EntryKind::File ||
            !baseFile.open(QIODevice::ReadOnly) || baseFile.size() != file.baseSize;
        if (!*wrongBase && file.baseSize > 0) {
            base = baseFile.map(0, file.baseSize);
            if (!base) {
                *error =
                    QStringLiteral("%1: cannot read: %2").arg(file.base, baseFile.errorString());
                return false;
            }
        }
        if (*wrongBase)
            return false;
    }
    const QString staged = QDir(folder).filePath(PatchPackage::stagedPath(file.path));
    // A leftover of the staged name is removed as an entry, never written through.
    platform::removeEntryBelow(root, PatchPackage::stagedPath(file.path).toStdString());
    QFile out(staged);
    const auto cannotWrite = [&] {
        *error = QStringLiteral("%1: cannot write: %2").arg(staged, out.errorString());
        return false;
    };
    if (!out.open(QIODevice::ReadWrite | QIODevice::NewOnly))
        return cannotWrite();
    // A full disk must show now: a mapped page the system cannot store kills the process.
    if (const int code = platform::reserveFileSpace(out.handle(), file.size)) {
        *error = QStringLiteral("%1: cannot write: %2").arg(staged, qt_error_string(code));
        return false;
    }
    if (!out.resize(file.size))
        return cannotWrite();
    // The new content is decoded straight into the file, which the system writes back as it
    // likes; nothing as large as the file is ever held.
    uchar *target = nullptr;
    if (file.size > 0 && !(target = out.map(0, file.size)))
        return cannotWrite();
    MappedDigest made(target, file.size);
    MappedDigest was(base, file.baseSize);

    QList<PatchPackage::Segment> segments = file.segments;
    if (file.kind == PatchPackage::Kind::Delta || file.kind == PatchPackage::Kind::Whole) {
        PatchPackage::Segment whole;
        whole.size = file.size;
        whole.baseLength = file.kind == PatchPackage::Kind::Delta ? file.baseSize : 0;
        whole.offset = file.offset;
        whole.length = file.length;
        segments = {whole};
    }
    if (file.kind == PatchPackage::Kind::Copy) {
        if (file.size != file.baseSize) {
            *wrongBase = true;
            return false;
        }
        for (qint64 at = 0; at < file.size; at += kMappedStep) {
            const qint64 piece = std::min(kMappedStep, file.size - at);
            memcpy(target + at, base + at, size_t(piece));
            made.advance(at + piece);
            was.advance(at + piece);
        }
    }
    qint64 begin = 0;
    qint64 reported = 0;
    for (const PatchPackage::Segment &segment : segments) {
        // The base is hashed alongside: the decoder reads it near the same place.
        const auto progress = [&](qint64 produced) {
            made.advance(begin + produced);
            was.advance(begin + produced);
            if (begin + produced - reported >= kMappedStep) {
                reported = begin + produced;
                written(reported);
            }
        };
        if (segment.copy) {
            // A base's stretch is an unchanged part of a large file, perhaps shifted.
            for (qint64 at = 0; at < segment.size; at += kMappedStep) {
                const qint64 piece = std::min(kMappedStep, segment.size - at);
                memcpy(target + begin + at, base + segment.baseOffset + at, size_t(piece));
                progress(at + piece);
            }
        } else if (!source.seek(dataOffset + segment.offset) ||
                   !ZstdDelta::decompress(base ? base + segment.baseOffset : nullptr,
                                          segment.baseLength, &source, segment.length,
                                          target + begin, segment.size, progress, error)) {
            *error = QStringLiteral("%1: %2").arg(file.path, *error);
            return false;
        }
        begin += segment.size;
    }
    if (file.hasBase() && was.finish() != file.baseSha256) {
        *wrongBase = true;
        return false;
    }
    if (made.finish() != file.sha256) {
        *error = QStringLiteral("%1: the patch does not give the published file").arg(file.path);
        return false;
    }
    if (target && !out.unmap(target))
        return cannotWrite();
    const auto exe = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    if (!out.setPermissions(file.executable ? out.permissions() | exe : out.permissions() & ~exe) ||
        !out.flush())
        return cannotWrite();
    out.close();
    return true;
}

PatchApplier::Result PatchApplier::commit(const QString &folder, const PatchPackage &index,
                                          const RecordVersion &record)
{
    const std::string root = QDir::toNativeSeparators(folder).toStdString();
    const auto failed = [](const QString &what) {
        return result(Outcome::Failed, ErrorDefine::PATCH_APPLY_ERROR,
                      what + QLatin1Char(' ') +
                          QCoreApplication::translate("PatchApplier", "message_patch_apply_error"));
    };
    for (const PatchPackage::File &file : index.files) {
        const QString staged = PatchPackage::stagedPath(file.path);
        if (platform::passesThroughLink(root, file.path.toStdString()))
            return failed(file.path);
        const platform::EntryKind kind = platform::entryKindBelow(root, staged.toStdString());
        if (kind == platform::EntryKind::File) {
            if (!platform::replaceEntry(local(folder, staged), local(folder, file.path)))
                return failed(file.path);
            step();
        } else if (kind != platform::EntryKind::Missing ||
                   platform::entryKindBelow(root, file.path.toStdString()) !=
                       platform::EntryKind::File) {
            // Neither the staged file nor the one it became: the run cannot be finished.
            return failed(file.path);
        }
    }
    for (const QString &made : index.folders) {
        if (!platform::passesThroughLink(root, made.toStdString()))
            QDir(folder).mkpath(made);
    }
    for (const QString &path : index.removed) {
        if (!platform::removeEntryBelow(root, path.toStdString()))
            return failed(path);
        step();
    }
    // A folder that still holds something (the player's own files) stays.
    for (const QString &path : index.removedFolders) {
        if (platform::entryKindBelow(root, path.toStdString()) == platform::EntryKind::Directory)
            platform::removeFolderBelow(root, path.toStdString());
    }
    if (record && !record(index.to))
        return failed(index.to);
    step();
    if (!QFile::remove(QDir(folder).filePath(journalName())))
        return failed(journalName());
    Result applied = result(Outcome::Applied);
    applied.version = index.to;
    return applied;
}

void PatchApplier::rollBack(const QString &folder, const PatchPackage &index,
                            const QStringList &created)
{
    const std::string root = QDir::toNativeSeparators(folder).toStdString();
    for (const PatchPackage::File &file : index.files)
        platform::removeEntryBelow(root, PatchPackage::stagedPath(file.path).toStdString());
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        if (platform::entryKindBelow(root, it->toStdString()) == platform::EntryKind::Directory)
            platform::removeFolderBelow(root, it->toStdString());
    }
    QFile::remove(QDir(folder).filePath(journalName()));
}

PatchApplier::Result PatchApplier::resume(const QString &folder, const RecordVersion &record)
{
    if (!QFileInfo::exists(QDir(folder).filePath(journalName())))
        return result(Outcome::Nothing);
    QString state;
    PatchPackage index;
    QStringList created;
    QString error;
    if (!readJournal(folder, &state, &index, &created, &error))
        return result(Outcome::Failed, ErrorDefine::PATCH_JOURNAL_ERROR,
                      QDir(folder).filePath(journalName()) + QStringLiteral(": ") + error);
    QStringList touched = index.removed + index.folders + index.removedFolders + created;
    for (const PatchPackage::File &file : index.files)
        touched << file.path;
    const QString link = GameFolderLinks::firstLink(folder, touched);
    if (!link.isEmpty())
        return result(Outcome::Failed, ErrorDefine::GAME_FOLDER_LINK_ERROR,
                      link + QLatin1Char(' ') +
                          QCoreApplication::translate("setupmanager", "message_game_folder_link"));
    if (state == kStaging) {
        rollBack(folder, index, created);
        return result(Outcome::RolledBack);
    }
    return commit(folder, index, record);
}
