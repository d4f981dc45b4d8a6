#pragma once

#include <QString>
#include <QStringList>

// The file operations that follow an unpacked package: the package's deletion list and the
// repair of the game's metadata file. Results come back as values; the caller reports them.
class PostExtractionSteps
{
public:
    struct DeletionResult
    {
        bool ok = true;
        // The path that could not be removed, or the list itself when it cannot be read.
        QString failedPath;
        // Entries not touched because they lead outside the install folder.
        QStringList refused;
        QStringList removed;
    };

    struct MetaDataResult
    {
        bool dismissed = false; // the managed copy was missing or empty
        bool error = false;     // and it could not be restored
    };

    static QString deletionListPath(const QString &folder);
    static QString managedMetaDataPath(const QString &folder);
    static QString nativeMetaDataPath(const QString &folder);

    // Removes the files the list names, then the list. On failure the list stays, so a
    // later run works through it again.
    static DeletionResult applyDeletionList(const QString &folder);

    // Restores the managed metadata file from the native copy when it is missing or empty.
    static MetaDataResult checkGlobalMetaData(const QString &folder);

    // The absolute path an entry names, or an empty string when it names nothing inside
    // the folder (blank, "..", through a link to elsewhere).
    static QString resolveEntry(const QString &folder, const QString &entry);
};
