#pragma once

#include <QString>

#include "gamefilelist.h"

// Writes a version's per-file store and gives each entry of its file list the object that
// holds its content, so that a repair can fetch single files by range requests.
class StoreBuilder
{
public:
    // The store beside the full package of a version.
    static QString fileName(const QString &name, const QString &version);

    // Reads every listed file under root once; objects go in path order, so that the files of
    // one folder lie together, and each content is stored once.
    static bool build(const QString &root, const QString &storePath, int level, GameFileList *list,
                      QString *error);
};
