#pragma once

#include <QString>
#include <QtGlobal>

// The rules for the game's install folder as the player types or picks it.
class InstallFolder
{
public:
    enum class Readiness { Ready, NotCreated, NotEnoughSpace };

    // Creates the folder when it is missing and checks it has room for required bytes (0:
    // unknown, not checked).
    static Readiness prepare(const QString &path, qint64 required);
    // The folder a first install goes to: the game's own folder below the launcher's.
    static QString defaultFor(const QString &launcherFolder);
    // Doubled separators and a trailing one made single and bare.
    static QString normalized(QString path);
    // The path must end in the game's own folder.
    static QString withGameFolder(const QString &path);
    static qint64 availableBytes(const QString &path);
    // The shown form: long paths keep their first and last 40 characters.
    static QString elided(const QString &path);
};
