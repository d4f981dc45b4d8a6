#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What a released game version consists of: every file with its size and SHA-256, as the
// publisher packed it. The launcher checks an installed game against it; files of the install
// folder that it does not name (saves, settings, mods) are none of its business.
class GameFileList
{
public:
    struct Entry
    {
        QString path; // relative to the install folder, "/" separators
        qint64 size = 0;
        QByteArray sha256; // lower-case hex
        bool executable = false;
        // Where the file's object lies in the version's store; length 0 when the list has none.
        qint64 objectOffset = 0;
        qint64 objectLength = 0;
        QString codec; // "zstd" or "raw"
    };

    // The per-file store beside the full package, which a repair fetches ranges of. Older
    // launchers read none of its keys, so a list that names one still reads the same to them.
    struct Store
    {
        QString name; // a plain file name beside the list; empty when there is no store
        qint64 size = 0;
    };

    QString version;
    QList<Entry> entries;
    Store store;

    qint64 totalSize() const;

    // Indented JSON with the entries in path order, so the same release gives the same bytes.
    QByteArray toJson() const;
    // False with a reason when the text is not a list, or names a path that would leave the
    // install folder, or an entry without a valid size or digest. Store keys that do not hold
    // together (a name with a folder in it, an object outside the store, an unknown codec) drop
    // the store and every object: the repair then takes the full package.
    static bool fromJson(const QByteArray &json, GameFileList *out, QString *error);

    // Reads every named file under root once; for the publisher.
    static bool build(const QString &root, const QStringList &files, const QString &version,
                      GameFileList *out, QString *error);

    static QByteArray sha256Hex(const QByteArray &data);
};
