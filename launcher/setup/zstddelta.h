#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class QIODevice;

// One zstd frame per file, optionally made against the file's older content as a prefix (the
// library's patch-from mode): long-distance matching and a window that spans the old and the
// new content, so an edit deep inside a large pack still finds the unchanged bytes around it.
// The old and the new content are read in place (mapped files) and the frame streams through
// a bounded buffer, so memory does not grow with the file.
class ZstdDelta
{
public:
    // The largest base or content one frame handles; the window cannot span more.
    static constexpr qint64 kMaxBytes = qint64(1) << 31;

    // How far a frame has got: bytes of content consumed (compress) or produced (decompress).
    using Progress = std::function<void(qint64 done)>;

    // Writes the frame of data[0, size) made against base[0, baseSize) to out; baseSize 0
    // makes a plain frame. *written is the frame's length.
    static bool compress(const uchar *base, qint64 baseSize, const uchar *data, qint64 size,
                         int level, QIODevice *out, qint64 *written, const Progress &progress,
                         QString *error);
    // Reads frameLength bytes of frame from in and decodes them straight into target, which
    // must come out exactly size bytes long, or false with a reason.
    static bool decompress(const uchar *base, qint64 baseSize, QIODevice *in, qint64 frameLength,
                           uchar *target, qint64 size, const Progress &progress, QString *error);
};
