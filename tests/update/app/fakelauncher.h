#pragma once

#include <QString>
#include <QStringList>

// A stand-in launcher: a shell script that writes its arguments, one a line, to a file next
// to itself, so a test sees whether and how it was started.
class FakeLauncher
{
public:
    // Writes the script as folder/name; marker is a line it prints first (its "version").
    static bool write(const QString &folder, const QString &name, const QString &marker);
    static QString recordPath(const QString &folder);
    // Lines the script recorded, or an empty list while it has not run.
    static QStringList recorded(const QString &folder);
};
