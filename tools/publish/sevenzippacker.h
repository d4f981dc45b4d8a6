#pragma once

#include <QString>
#include <QStringList>

// Packs files into a 7z archive with Debian's `7z` program, settings fixed so that the same
// files always give the same bytes and that 7z.so can unpack with two threads.
class SevenZipPacker
{
public:
    // The 7z switches every package is made with.
    static QStringList settings();

    // Packs the files, given relative to folder, in the given order, plus extraFiles (absolute
    // paths, stored under their file names at the top). The archive must not exist yet.
    static bool pack(const QString &folder, const QStringList &files, const QStringList &extraFiles,
                     const QString &archive, QString *error);

    // Unpacks a whole archive into folder.
    static bool extract(const QString &archive, const QString &folder, QString *error);

    static QString program();
};
