#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A patch package turns one installed game version into the next with as few bytes as the
// publisher could find: for each changed file a zstd frame made against the file's old
// content, or of the whole file, or no bytes at all when the content already lies elsewhere in
// the installed game (a moved or renamed file). The file is "LMPATCH1", the index's length as
// 8 bytes little-endian, the index (compact JSON), then the frames one after another.
// A file of 2 GiB or more, which one frame's window cannot span, travels in segments: stretches
// of the old file that are unchanged (in place, or shifted by a block inserted or removed) as
// copies, the rest as frames made against the old file's bytes around the same place.
// Launchers that know no segments refuse the whole index for its unknown kind and take the
// difference package instead.
class PatchPackage
{
public:
    enum class Kind { Whole, Delta, Copy, Segmented };

    struct Segment
    {
        qint64 size = 0; // bytes of the new file, following the previous segment's
        // The stretch of the base the frame was made against; empty for a plain frame.
        qint64 baseOffset = 0;
        qint64 baseLength = 0;
        // The frame, relative to the data after the index.
        qint64 offset = 0;
        qint64 length = 0;
        // No frame: the bytes are the base's stretch as it is (unchanged, perhaps shifted).
        bool copy = false;
    };

    struct File
    {
        QString path; // "/" separators, below the install folder
        QByteArray sha256;
        qint64 size = 0;
        bool executable = false;
        Kind kind = Kind::Whole;
        // Delta and Copy: the installed file the new content comes from, as the old version has it.
        // Segmented: the same when a segment names a stretch of it, else empty.
        QString base;
        QByteArray baseSha256;
        qint64 baseSize = 0;
        // The frame, relative to the data after the index; Copy and Segmented have none.
        qint64 offset = 0;
        qint64 length = 0;
        QList<Segment> segments; // Segmented: in order, together exactly size bytes

        bool hasBase() const
        {
            return kind == Kind::Delta || kind == Kind::Copy || !base.isEmpty();
        }
    };

    QString from;
    QString to;
    QList<File> files;
    QStringList folders;        // new empty folders
    QStringList removed;        // files the new version no longer has
    QStringList removedFolders; // deepest first; each goes only when nothing is left in it

    static QString fileName(const QString &game, const QString &from, const QString &to);
    // The name a file is written under before it replaces the old one, in the same folder.
    static QString stagedPath(const QString &path);

    QByteArray indexJson() const;
    // False with a reason for anything that is no index, or names a path that is not plainly
    // below the install folder (absolute, "..", ".", empty parts, "\", a staged name).
    static bool fromIndexJson(const QByteArray &json, PatchPackage *out, QString *error);

    // Writes the package from the index and the file holding its frames.
    static bool write(const QString &path, const PatchPackage &index, const QString &framesPath,
                      QString *error);
    // Reads and checks the index; *dataOffset is where the frames begin. Every frame must lie
    // inside the file.
    static bool read(const QString &path, PatchPackage *out, qint64 *dataOffset, QString *error);

    // Whether a path from a package or a journal may be joined to the install folder.
    static bool isPlainRelativePath(const QString &path);
};
