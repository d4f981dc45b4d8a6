#include "filestore.h"

#include <QBuffer>
#include <QSet>

#include <zstd.h>
#include <zstd_errors.h>

#include <algorithm>
#include <memory>

#include "packagedigest.h"
#include "zstddelta.h"

namespace {
const QString kZstd = QStringLiteral("zstd");
const QString kRaw = QStringLiteral("raw");
// The window a store object's frame may use: a decoder holds that much of the file, so a repair
// of a large pack costs 16 MiB rather than the pack; long-distance matching finds repeats
// within it.
constexpr int kWindowLog = 24;

struct CContextFree
{
    void operator()(ZSTD_CCtx *context) const { ZSTD_freeCCtx(context); }
};

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}
} // namespace

bool FileStore::covers(const GameFileList &list, const QStringList &paths)
{
    if (list.store.name.isEmpty())
        return false;
    QSet<QString> wanted(paths.begin(), paths.end());
    for (const GameFileList::Entry &entry : list.entries) {
        if (wanted.remove(entry.path) && entry.objectLength <= 0)
            return false;
    }
    return wanted.isEmpty();
}

QList<FileStore::Span> FileStore::plan(const QList<GameFileList::Entry> &entries)
{
    QList<int> order;
    for (int i = 0; i < entries.size(); ++i)
        order << i;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return entries.at(a).objectOffset < entries.at(b).objectOffset;
    });
    QList<Span> spans;
    for (int i : order) {
        const GameFileList::Entry &entry = entries.at(i);
        const qint64 end = entry.objectOffset + entry.objectLength;
        if (!spans.isEmpty() &&
            entry.objectOffset <= spans.last().offset + spans.last().length + kMaxGap) {
            Span &last = spans.last();
            last.length = std::max(last.length, end - last.offset);
            last.entries << i;
            continue;
        }
        spans << Span{entry.objectOffset, entry.objectLength, {i}};
    }
    // Many scattered files: join across the smallest gaps, so the requests stay few.
    while (spans.size() > kMaxSpans) {
        int best = 0;
        qint64 bestGap = -1;
        for (int i = 0; i + 1 < spans.size(); ++i) {
            const qint64 gap = spans.at(i + 1).offset - (spans.at(i).offset + spans.at(i).length);
            if (bestGap < 0 || gap < bestGap) {
                bestGap = gap;
                best = i;
            }
        }
        Span next = spans.takeAt(best + 1);
        Span &joined = spans[best];
        joined.length = std::max(joined.length, next.offset + next.length - joined.offset);
        joined.entries << next.entries;
    }
    return spans;
}

qint64 FileStore::bytesOf(const QList<Span> &spans)
{
    qint64 total = 0;
    for (const Span &span : spans)
        total += span.length;
    return total;
}

bool FileStore::decode(const GameFileList::Entry &entry, const QByteArray &object,
                       QByteArray *content, QString *error)
{
    if (object.size() != entry.objectLength)
        return fail(error, QStringLiteral("%1: the store gave %2 bytes, not %3")
                               .arg(entry.path)
                               .arg(object.size())
                               .arg(entry.objectLength));
    QByteArray data;
    if (entry.codec == kRaw) {
        data = object;
    } else if (entry.codec != kZstd) {
        return fail(error, QStringLiteral("%1: unknown codec \"%2\"").arg(entry.path, entry.codec));
    } else {
        if (entry.size < 0 || entry.size >= ZstdDelta::kMaxBytes)
            return fail(error, QStringLiteral("%1: too large for one object").arg(entry.path));
        data = QByteArray(int(entry.size), Qt::Uninitialized);
        QBuffer in(const_cast<QByteArray *>(&object));
        if (!in.open(QIODevice::ReadOnly) ||
            !ZstdDelta::decompress(nullptr, 0, &in, object.size(),
                                   reinterpret_cast<uchar *>(data.data()), entry.size, {}, error))
            return false;
    }
    StreamHash hash(StreamHash::Sha256);
    hash.addData(data);
    if (data.size() != entry.size || hash.resultHex().toLatin1() != entry.sha256)
        return fail(
            error,
            QStringLiteral("%1: the store's object is not the published file").arg(entry.path));
    *content = data;
    return true;
}

bool FileStore::encode(const QByteArray &content, int level, QByteArray *object, QString *codec,
                       QString *error)
{
    std::unique_ptr<ZSTD_CCtx, CContextFree> context(ZSTD_createCCtx());
    if (!context)
        return fail(error, QStringLiteral("zstd: out of memory"));
    size_t code = ZSTD_CCtx_setParameter(context.get(), ZSTD_c_compressionLevel, level);
    if (!ZSTD_isError(code) && content.size() > (1 << kWindowLog)) {
        code = ZSTD_CCtx_setParameter(context.get(), ZSTD_c_windowLog, kWindowLog);
        if (!ZSTD_isError(code))
            code = ZSTD_CCtx_setParameter(context.get(), ZSTD_c_enableLongDistanceMatching, 1);
    }
    // A frame that would not fit in the content's own size is not kept anyway.
    QByteArray frame(int(std::min<qint64>(qint64(ZSTD_compressBound(size_t(content.size()))),
                                          qint64(content.size()) + 64)),
                     Qt::Uninitialized);
    if (!ZSTD_isError(code))
        code = ZSTD_compress2(context.get(), frame.data(), size_t(frame.size()),
                              content.constData(), size_t(content.size()));
    if (ZSTD_isError(code) && ZSTD_getErrorCode(code) == ZSTD_error_dstSize_tooSmall) {
        *object = content;
        *codec = kRaw;
        return true;
    }
    if (ZSTD_isError(code))
        return fail(error, QStringLiteral("zstd: %1").arg(QLatin1String(ZSTD_getErrorName(code))));
    frame.truncate(int(code));
    // An empty file is a frame too: every object has bytes to ask a range for.
    if (frame.size() < content.size() || content.isEmpty()) {
        *object = frame;
        *codec = kZstd;
    } else {
        *object = content;
        *codec = kRaw;
    }
    return true;
}
