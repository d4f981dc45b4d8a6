#include "zstddelta.h"

#include <QIODevice>

// The stable buffer parameters: the library then works on the caller's mapped memory instead
// of window buffers of its own as large as the file.
#define ZSTD_STATIC_LINKING_ONLY
#include <zstd.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct CContextFree
{
    void operator()(ZSTD_CCtx *context) const { ZSTD_freeCCtx(context); }
};
struct DContextFree
{
    void operator()(ZSTD_DCtx *context) const { ZSTD_freeDCtx(context); }
};

// Frames are read and written in pieces of this size.
constexpr qint64 kBufferBytes = 1 << 20;
// The decoder is handed this much frame per call: a frame of an almost unchanged file
// describes hundreds of megabytes in a few kilobytes, and progress should come between them.
constexpr size_t kFeedBytes = 4096;
// The compressor is handed this much more content per call.
constexpr qint64 kStepBytes = 16 << 20;

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

bool zstdFailed(size_t code, QString *error)
{
    if (!ZSTD_isError(code))
        return false;
    fail(error, QStringLiteral("zstd: %1").arg(QLatin1String(ZSTD_getErrorName(code))));
    return true;
}

// An empty mapping has no address; the library wants one all the same.
const uchar kNothing = 0;

} // namespace

bool ZstdDelta::compress(const uchar *base, qint64 baseSize, const uchar *data, qint64 size,
                         int level, QIODevice *out, qint64 *written, const Progress &progress,
                         QString *error)
{
    if (baseSize >= kMaxBytes || size >= kMaxBytes)
        return fail(error, QStringLiteral("a file of 2 GiB or more cannot be patched"));
    std::unique_ptr<ZSTD_CCtx, CContextFree> context(ZSTD_createCCtx());
    if (!context)
        return fail(error, QStringLiteral("zstd: out of memory"));
    ZSTD_CCtx *c = context.get();
    size_t code = ZSTD_CCtx_setParameter(c, ZSTD_c_compressionLevel, level);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setParameter(c, ZSTD_c_windowLog, windowLogFor(baseSize + size));
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setParameter(c, ZSTD_c_enableLongDistanceMatching, 1);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setParameter(c, ZSTD_c_checksumFlag, 0);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setParameter(c, ZSTD_c_stableInBuffer, 1);
    if (!ZSTD_isError(code))
        code = ZSTD_CCtx_setPledgedSrcSize(c, size_t(size));
    if (!ZSTD_isError(code) && baseSize > 0)
        code = ZSTD_CCtx_refPrefix(c, base, size_t(baseSize));
    if (zstdFailed(code, error))
        return false;
    std::vector<char> buffer(static_cast<size_t>(kBufferBytes));
    // The content grows by steps (the stable input may only grow), so progress comes between.
    ZSTD_inBuffer in{size > 0 ? data : &kNothing, 0, 0};
    *written = 0;
    for (;;) {
        in.size = size_t(std::min(size, qint64(in.size) + kStepBytes));
        const ZSTD_EndDirective mode = qint64(in.size) == size ? ZSTD_e_end : ZSTD_e_continue;
        ZSTD_outBuffer target{buffer.data(), buffer.size(), 0};
        code = ZSTD_compressStream2(c, &target, &in, mode);
        if (zstdFailed(code, error))
            return false;
        if (out->write(buffer.data(), qint64(target.pos)) != qint64(target.pos))
            return fail(error, out->errorString());
        *written += qint64(target.pos);
        if (progress)
            progress(qint64(in.pos));
        if (mode == ZSTD_e_end && code == 0)
            return true;
    }
}

bool ZstdDelta::decompress(const uchar *base, qint64 baseSize, QIODevice *in, qint64 frameLength,
                           uchar *target, qint64 size, const Progress &progress, QString *error)
{
    if (size < 0 || size >= kMaxBytes || baseSize >= kMaxBytes)
        return fail(error, QStringLiteral("a file of 2 GiB or more cannot be patched"));
    std::unique_ptr<ZSTD_DCtx, DContextFree> context(ZSTD_createDCtx());
    if (!context)
        return fail(error, QStringLiteral("zstd: out of memory"));
    ZSTD_DCtx *d = context.get();
    // The frame says how large a window it needs; anything the sizes do not explain is refused.
    size_t code =
        ZSTD_DCtx_setParameter(d, ZSTD_d_windowLogMax, std::max(27, windowLogFor(baseSize + size)));
    // The whole output lies in target, which the window then reads back instead of a copy.
    if (!ZSTD_isError(code))
        code = ZSTD_DCtx_setParameter(d, ZSTD_d_stableOutBuffer, 1);
    if (!ZSTD_isError(code) && baseSize > 0)
        code = ZSTD_DCtx_refPrefix(d, base, size_t(baseSize));
    if (zstdFailed(code, error))
        return false;
    const QString wrongSize =
        QStringLiteral("the delta does not produce the %1 bytes expected").arg(size);
    std::vector<char> buffer(size_t(std::min(kBufferBytes, std::max<qint64>(frameLength, 1))));
    ZSTD_outBuffer out{size > 0 ? target : const_cast<uchar *>(&kNothing), size_t(size), 0};
    qint64 unread = frameLength;
    bool complete = false;
    while (!complete) {
        const qint64 chunk = std::min<qint64>(unread, qint64(buffer.size()));
        if (chunk == 0)
            return fail(error, wrongSize); // the frame ends before its content does
        if (in->read(buffer.data(), chunk) != chunk)
            return fail(error, QStringLiteral("the patch package is cut off"));
        unread -= chunk;
        ZSTD_inBuffer frame{buffer.data(), 0, 0};
        while (frame.pos < size_t(chunk)) {
            frame.size = std::min(size_t(chunk), frame.pos + kFeedBytes);
            const size_t outBefore = out.pos;
            const size_t inBefore = frame.pos;
            code = ZSTD_decompressStream(d, &out, &frame);
            if (zstdFailed(code, error))
                return false;
            if (progress && out.pos != outBefore)
                progress(qint64(out.pos));
            if (code == 0) {
                complete = true;
                break;
            }
            if (frame.pos == inBefore && out.pos == outBefore)
                return fail(error, wrongSize);
        }
        // Bytes after the frame are no part of it.
        if (complete && (frame.pos != size_t(chunk) || unread != 0))
            return fail(error, wrongSize);
    }
    if (out.pos != size_t(size))
        return fail(error, wrongSize);
    return true;
}
