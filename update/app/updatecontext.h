#pragma once

#include <QString>

#include "updaterlayout.h"

// What the whole updater knows about the launcher it replaces: the launcher's executable and
// the package's file name, taken from the command line, and the working folders derived from
// them and from the updater's own folder.
class UpdateContext
{
public:
    static QString launcherPath();
    static void setLauncherPath(const QString &path);
    static QString packageFileName();
    static void setPackageFileName(const QString &name);

    // The folder of the launcher's executable, absolute.
    static QString launcherFolder();
    // The launcher's folder and the updater's folder with its working folders.
    static UpdaterLayout layout();
    // Folders below the updater's own folder.
    static QString downloadFolder();
    static QString packageFile();
    static QString extractionFolder();
    static QString backupFolder();
    static QString languageFolder();

    // Where the working folders go; the updater's own folder unless set (tests set it).
    static QString updaterFolder();
    static void setUpdaterFolder(const QString &folder);

    // The file name part of a launcher path, whichever separator it uses.
    static QString imageName(const QString &launcherPath);
};
