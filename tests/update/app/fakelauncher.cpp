#include "fakelauncher.h"

#include <QDir>
#include <QFile>

bool FakeLauncher::write(const QString &folder, const QString &name, const QString &marker)
{
    if (!QDir().mkpath(folder))
        return false;
    QFile script(QDir(folder).filePath(name));
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Written under another name and renamed, so a reader never sees half a record.
    const QString body = QStringLiteral("#!/bin/sh\n"
                                        "dir=$(dirname \"$0\")\n"
                                        "{ echo '%1'; for a in \"$@\"; do echo \"$a\"; done; } "
                                        "> \"$dir/started.tmp\"\n"
                                        "mv \"$dir/started.tmp\" \"$dir/started.txt\"\n")
                             .arg(marker);
    script.write(body.toUtf8());
    script.close();
    return script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                 QFileDevice::ExeGroup);
}

QString FakeLauncher::recordPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("started.txt"));
}

QStringList FakeLauncher::recorded(const QString &folder)
{
    QFile file(recordPath(folder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
