#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "gamefilelist.h"

// The per-file store a version's file list can name: every distinct file content once, each a
// zstd frame of its own (or the bytes as they are, where zstd gains nothing), at the offset and
// length the list gives. A repair fetches the objects it needs by range requests.
class FileStore
{
public:
    // One range request: neighbouring objects share one so that few requests are made.
    struct Span
    {
        qint64 offset = 0;
        qint64 length = 0;
        QList<int> entries; // indexes into the entries given to plan()
    };

    // Objects closer than this are fetched in one request; the bytes between cost less than
    // another round trip.
    static constexpr qint64 kMaxGap = 64 * 1024;
    // More damaged files than this share requests by the smallest gaps.
    static constexpr int kMaxSpans = 64;

    // Whether the list names a store with an object for each of the paths. A repair streams
    // each object into its file, so no size is too large.
    static bool covers(const GameFileList &list, const QStringList &paths);
    // The requests that fetch the entries' objects, in store order. Entries with one content
    // share an object and so a span.
    static QList<Span> plan(const QList<GameFileList::Entry> &entries);
    static qint64 bytesOf(const QList<Span> &spans);

    // The object made into the file's content, true only when its size and SHA-256 are the
    // ones the entry names.
    static bool decode(const GameFileList::Entry &entry, const QByteArray &object,
                       QByteArray *content, QString *error);
    // The smaller of a zstd frame and the bytes themselves; codec names which it is.
    static bool encode(const QByteArray &content, int level, QByteArray *object, QString *codec,
                       QString *error);
};
