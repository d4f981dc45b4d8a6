#pragma once

#include <QByteArray>
#include <QString>

// One zstd frame per file, optionally made against the file's older content as a prefix (the
// library's patch-from mode): long-distance matching and a window that spans the old and the
// new content, so an edit deep inside a large pack still finds the unchanged bytes around it.
class ZstdDelta
{
public:
    // The largest file either side handles; the window cannot span more.
    static constexpr qint64 kMaxBytes = qint64(1) << 31;

    // base may be empty: a plain frame of data.
    static bool compress(const QByteArray &base, const QByteArray &data, int level,
                         QByteArray *frame, QString *error);
    // Exactly size bytes come out, or false with a reason.
    static bool decompress(const QByteArray &base, const QByteArray &frame, qint64 size,
                           QByteArray *data, QString *error);
};
