#pragma once

#include <QString>
#include <QStringList>

#include "foldersnapshot.h"
#include "patchpackage.h"

// Writes the patch package that turns the old version's files into the new one's: moves by
// content, zstd deltas against the old file of the same path (or of the same name, for a file
// that moved and changed), whole files where a delta gains nothing.
class PatchBuilder
{
public:
    struct Changes
    {
        QStringList changed; // files and new empty folders, as the difference package has them
        QStringList removed;
        QStringList removedFolders; // deepest first
    };

    // Files from threshold bytes on (either side) go in segments of at most segment bytes,
    // each made against the old file's bytes from margin before to margin after the same
    // place, so a block inserted or removed up to margin bytes long still finds its match.
    // One segment and its base must fit one frame's window (2 GiB).
    struct Segmenting
    {
        qint64 threshold = qint64(1) << 31;
        qint64 segment = qint64(512) << 20;
        qint64 margin = qint64(256) << 20;
    };

    // oldRoot holds the old version's files as its full package unpacks them; newest.root()
    // the new version's. On failure *error says why.
    static bool build(const QString &oldRoot, const FolderSnapshot &old,
                      const FolderSnapshot &newest, const Changes &changes, const QString &from,
                      const QString &to, int level, const QString &packagePath, QString *error);
    static bool build(const QString &oldRoot, const FolderSnapshot &old,
                      const FolderSnapshot &newest, const Changes &changes, const QString &from,
                      const QString &to, int level, const QString &packagePath, QString *error,
                      const Segmenting &segmenting);
};
