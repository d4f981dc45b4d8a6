#pragma once

#include <QString>

#include "gamefilelist.h"

// A whole version from its per-file store: zstd decodes several times faster than LZMA2 and
// every object stands alone, so the objects are decoded on several threads at once. Each file
// is decoded, checked against the list's SHA-256 and written under a temporary name as it goes,
// and takes its place only once whole and right.
class StoreUnpacker
{
public:
    struct Result
    {
        bool ok = false;
        QString error;
        qint64 bytes = 0; // written
    };

    // storePath is the downloaded store the list names; folder the install folder. Paths are
    // made below it only, never through a link.
    static Result unpack(const QString &storePath, const GameFileList &list, const QString &folder,
                         int threads);
};
