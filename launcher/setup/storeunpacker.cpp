#include "storeunpacker.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSet>
#include <QThread>

#include <zstd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "confinedentries.h"
#include "packagedigest.h"

namespace {
const QString kPartSuffix = QStringLiteral(".unpack-part");
constexpr size_t kChunk = 1 << 20;

struct DContextFree
{
    void operator()(ZSTD_DCtx *context) const { ZSTD_freeDCtx(context); }
};

// Writes one file from its object; an empty string when it is in place.
QString unpackOne(const std::string &root, const uchar *object, const GameFileList::Entry &entry,
                  ZSTD_DCtx *context, std::vector<char> *buffer)
{
    const std::string part = QString(entry.path + kPartSuffix).toStdString();
    platform::removeEntryBelow(root, part);
    platform::NewFileBelow file;
    if (!file.create(root, part))
        return QStringLiteral("%1: cannot write").arg(entry.path);
    StreamHash hash(StreamHash::Sha256);
    qint64 written = 0;
    QString error;
    const auto put = [&](const char *data, size_t size) {
        if (written + qint64(size) > entry.size) {
            error = QStringLiteral("%1: the object gives more than %2 bytes")
                        .arg(entry.path)
                        .arg(entry.size);
            return false;
        }
        hash.addData(data, qint64(size));
        written += qint64(size);
        if (!file.write(data, size)) {
            error = QStringLiteral("%1: cannot write").arg(entry.path);
            return false;
        }
        return true;
    };
    bool ok = true;
    if (entry.codec == QLatin1String("raw")) {
        for (qint64 at = 0; ok && at < entry.objectLength; at += qint64(kChunk))
            ok = put(reinterpret_cast<const char *>(object) + at,
                     size_t(std::min<qint64>(qint64(kChunk), entry.objectLength - at)));
    } else {
        ZSTD_DCtx_reset(context, ZSTD_reset_session_only);
        ZSTD_inBuffer in{object, size_t(entry.objectLength), 0};
        size_t code = 1;
        while (ok && code != 0) {
            ZSTD_outBuffer out{buffer->data(), buffer->size(), 0};
            code = ZSTD_decompressStream(context, &out, &in);
            if (ZSTD_isError(code)) {
                error = QStringLiteral("%1: zstd: %2")
                            .arg(entry.path, QLatin1String(ZSTD_getErrorName(code)));
                ok = false;
            } else if (out.pos > 0) {
                ok = put(buffer->data(), out.pos);
            } else if (in.pos == in.size && code != 0) {
                error = QStringLiteral("%1: the object ends early").arg(entry.path);
                ok = false;
            }
        }
        if (ok && in.pos != in.size) {
            error = QStringLiteral("%1: the object is longer than its frame").arg(entry.path);
            ok = false;
        }
    }
    if (ok && (written != entry.size || hash.resultHex().toLatin1() != entry.sha256)) {
        error = QStringLiteral("%1: the store's object is not the published file").arg(entry.path);
        ok = false;
    }
    if (ok && !file.finish(entry.executable ? 0755 : 0644)) {
        error = QStringLiteral("%1: cannot write").arg(entry.path);
        ok = false;
    }
    if (ok && !platform::replaceEntryBelow(root, part, entry.path.toStdString())) {
        error = QStringLiteral("%1: cannot put it in place").arg(entry.path);
        ok = false;
    }
    if (!ok)
        platform::removeEntryBelow(root, part);
    return error;
}
} // namespace

StoreUnpacker::Result StoreUnpacker::unpack(const QString &storePath, const GameFileList &list,
                                            const QString &folder, int threads)
{
    Result result;
    QFile store(storePath);
    if (list.store.name.isEmpty() || !store.open(QIODevice::ReadOnly) ||
        store.size() != list.store.size) {
        result.error = QStringLiteral("%1 is not the store the file list names").arg(storePath);
        return result;
    }
    const uchar *bytes = list.store.size > 0 ? store.map(0, list.store.size) : nullptr;
    if (list.store.size > 0 && !bytes) {
        result.error = QStringLiteral("%1: %2").arg(storePath, store.errorString());
        return result;
    }
    const std::string root = QDir::toNativeSeparators(folder).toStdString();
    // Folders first, parents before children, on this thread: the workers only make files.
    QStringList folders;
    QSet<QString> seen;
    for (const GameFileList::Entry &entry : list.entries) {
        QString above = entry.path.section(QLatin1Char('/'), 0, -2);
        QStringList chain;
        while (!above.isEmpty() && !seen.contains(above)) {
            seen.insert(above);
            chain.prepend(above);
            above = above.section(QLatin1Char('/'), 0, -2);
        }
        folders << chain;
    }
    std::sort(folders.begin(), folders.end(), [](const QString &a, const QString &b) {
        return a.count(QLatin1Char('/')) < b.count(QLatin1Char('/'));
    });
    for (const QString &made : qAsConst(folders)) {
        const platform::EntryKind kind = platform::entryKindBelow(root, made.toStdString());
        if (kind == platform::EntryKind::Directory)
            continue;
        if (kind != platform::EntryKind::Missing ||
            !platform::makeFolderBelow(root, made.toStdString())) {
            result.error = QStringLiteral("%1: cannot make the folder").arg(made);
            return result;
        }
    }

    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::atomic<qint64> written{0};
    QMutex errorLock;
    QString firstError;
    const auto work = [&] {
        std::unique_ptr<ZSTD_DCtx, DContextFree> context(ZSTD_createDCtx());
        ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, 31);
        std::vector<char> buffer(kChunk);
        for (int i = next++; i < list.entries.size() && !stop; i = next++) {
            const GameFileList::Entry &entry = list.entries.at(i);
            const QString error =
                unpackOne(root, bytes + entry.objectOffset, entry, context.get(), &buffer);
            if (!error.isEmpty()) {
                QMutexLocker locker(&errorLock);
                if (firstError.isEmpty())
                    firstError = error;
                stop = true;
            }
            written += entry.size;
        }
    };
    std::vector<std::unique_ptr<QThread>> workers;
    for (int i = 0; i < std::max(1, threads); ++i) {
        workers.emplace_back(QThread::create(work));
        workers.back()->start();
    }
    for (const auto &worker : workers)
        worker->wait();
    result.ok = firstError.isEmpty();
    result.error = firstError;
    result.bytes = written;
    return result;
}
