#include "updatecontext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegExp>
#include <QStringList>

namespace {
QString &storedLauncherPath()
{
    static QString path;
    return path;
}
QString &storedPackageFileName()
{
    static QString name;
    return name;
}
QString &storedUpdaterFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString UpdateContext::launcherPath()
{
    return storedLauncherPath();
}
void UpdateContext::setLauncherPath(const QString &path)
{
    storedLauncherPath() = path;
}
QString UpdateContext::packageFileName()
{
    return storedPackageFileName();
}
void UpdateContext::setPackageFileName(const QString &name)
{
    storedPackageFileName() = name;
}

QString UpdateContext::updaterFolder()
{
    const QString &folder = storedUpdaterFolder();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

QString UpdateContext::launcherFolder()
{
    // The executable's parent, whether or not the folder still exists (QDir::cdUp would
    // leave a missing folder's path unchanged and point at the executable itself).
    return QFileInfo(launcherPath()).absolutePath();
}

UpdaterLayout UpdateContext::layout()
{
    return UpdaterLayout(launcherFolder(), updaterFolder());
}

QString UpdateContext::downloadFolder()
{
    return layout().downloadFolder();
}

QString UpdateContext::packageFile()
{
    return downloadFolder() + QChar('/') + packageFileName();
}

QString UpdateContext::extractionFolder()
{
    return layout().extractionFolder();
}

QString UpdateContext::backupFolder()
{
    return layout().backupFolder();
}

QString UpdateContext::languageFolder()
{
    return updaterFolder() + QStringLiteral("/language/");
}

QString UpdateContext::imageName(const QString &launcherPath)
{
    return launcherPath.split(QRegExp(QStringLiteral("[/\\\\]"))).last();
}

void UpdateContext::setUpdaterFolder(const QString &folder)
{
    storedUpdaterFolder() = folder;
}
