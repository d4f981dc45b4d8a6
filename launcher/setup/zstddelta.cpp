#include "zstddelta.h"

#include <zstd.h>

#include <algorithm>
#include <memory>

namespace {

struct CContextFree
{
    void operator()(ZSTD_CCtx *context) const { ZSTD_freeCCtx(context); }
};
struct DContextFree
{
    void operator()(ZSTD_DCtx *context) const { ZSTD_freeDCtx(context); }
};

// The smallest window log that covers the old and the new content together.
int windowLogFor(qint64 bytes)
{
    int log = 10;
    while (log < 31 && (qint64(1) << log) < bytes)
        ++log;
    return log;
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool ZstdDelta::compress(const QByteArray &base, const QByteArray &data, int level,
                         QByteArray *frame, QString *error)
{
    if (base.size() >= kMaxBytes || data.size() >= kMaxBytes)
        return fail(error, QStringLiteral("a file of 2 GiB or more cannot be patched"));
    std::unique_ptr<ZSTD_CCtx, CContextFree> context(ZSTD_createCCtx());
    if (!context)
        return fail(error, QStringLiteral("zstd: out of memory"));
    ZSTD_CCtx *c = context.get();
    const int windowLog = windowLogFor(qint64(base.size()) + data.size());
    size_t code = ZSTD_CCtx_setParameter(c, ZSTD_c_compressionLevel, level);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setParameter(c, ZSTD_c_windowLog, windowLog);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setParameter(c, ZSTD_c_enableLongDistanceMatching, 1);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setParameter(c, ZSTD_c_checksumFlag, 0);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setPledgedSrcSize(c, size_t(data.size()));
    if (!ZSTD_isError(code) && !base.isEmpty())
        code = ZSTD_CCtx_refPrefix(c, base.constData(), size_t(base.size()));
    if (ZSTD_isError(code))
        return fail(error, QStringLiteral("zstd: %1").arg(QLatin1String(ZSTD_getErrorName(code))));
    QByteArray out(int(ZSTD_compressBound(size_t(data.size()))), Qt::Uninitialized);
    code = ZSTD_compress2(c, out.data(), size_t(out.size()), data.constData(), size_t(data.size()));
    if (ZSTD_isError(code))
        return fail(error, QStringLiteral("zstd: %1").arg(QLatin1String(ZSTD_getErrorName(code))));
    out.resize(int(code));
    *frame = out;
    return true;
}

bool ZstdDelta::decompress(const QByteArray &base, const QByteArray &frame, qint64 size,
                           QByteArray *data, QString *error)
{
    if (size < 0 || size >= kMaxBytes)
        return fail(error, QStringLiteral("a file of 2 GiB or more cannot be patched"));
    std::unique_ptr<ZSTD_DCtx, DContextFree> context(ZSTD_createDCtx());
    if (!context)
        return fail(error, QStringLiteral("zstd: out of memory"));
    ZSTD_DCtx *d = context.get();
    // The frame says how large a window it needs; anything the sizes do not explain is refused.
    size_t code = ZSTD_DCtx_setParameter(d, ZSTD_d_windowLogMax,
                                         std::max(27, windowLogFor(qint64(base.size()) + size)));
    if (!ZSTD_isError(code) && !base.isEmpty())
        code = ZSTD_DCtx_refPrefix(d, base.constData(), size_t(base.size()));
    if (ZSTD_isError(code))
        return fail(error, QStringLiteral("zstd: %1").arg(QLatin1String(ZSTD_getErrorName(code))));
    QByteArray out(int(size), Qt::Uninitialized);
    ZSTD_inBuffer in{frame.constData(), size_t(frame.size()), 0};
    ZSTD_outBuffer target{out.data(), size_t(out.size()), 0};
    for (;;) {
        const size_t inBefore = in.pos;
        const size_t outBefore = target.pos;
        code = ZSTD_decompressStream(d, &target, &in);
        if (ZSTD_isError(code))
            return fail(error,
                        QStringLiteral("zstd: %1").arg(QLatin1String(ZSTD_getErrorName(code))));
        if (code == 0)
            break; // the frame is complete
        // More was promised than the frame or the output holds: a truncated or wrong frame.
        if (in.pos == inBefore && target.pos == outBefore)
            return fail(
                error,
                QStringLiteral("the delta does not produce the %1 bytes expected").arg(size));
    }
    if (target.pos != size_t(size) || in.pos != in.size)
        return fail(error,
                    QStringLiteral("the delta does not produce the %1 bytes expected").arg(size));
    *data = out;
    return true;
}
