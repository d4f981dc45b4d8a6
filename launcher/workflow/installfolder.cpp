#include "installfolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include "diskspace.h"

namespace {
const QString kDefaultGameFolder = QStringLiteral("Orvyndale Game");
constexpr int kElideThreshold = 80;
constexpr int kElideKeep = 40;
} // namespace

InstallFolder::Readiness InstallFolder::prepare(const QString &path, qint64 required)
{
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
        return Readiness::NotCreated;
    if (required != 0 && availableBytes(path) < required)
        return Readiness::NotEnoughSpace;
    return Readiness::Ready;
}

QString InstallFolder::defaultFor(const QString &launcherFolder)
{
    return withGameFolder(launcherFolder + QLatin1Char('/') + kDefaultGameFolder);
}

QString InstallFolder::normalized(QString path)
{
    path.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    path.replace(QStringLiteral("//"), QStringLiteral("/"));
    if (path.size() > 1 && (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/')))) {
        path.chop(1);
        qDebug() << "removed :" << path;
    }
    return path;
}

QString InstallFolder::withGameFolder(const QString &path)
{
    const QStringList parts = path.split(QRegularExpression(QStringLiteral("[\\\\/]")));
    if (parts.last().compare(kDefaultGameFolder, Qt::CaseInsensitive) == 0)
        return path;
    // The platform's own separator: a backslash would be part of the name on Linux.
    return path + QDir::separator() + kDefaultGameFolder;
}

qint64 InstallFolder::availableBytes(const QString &path)
{
    return platform::availableBytes(QDir::cleanPath(path).toStdString());
}

QString InstallFolder::elided(const QString &path)
{
    if (path.size() <= kElideThreshold)
        return path;
    return path.left(kElideKeep) + QStringLiteral(" ... ") + path.right(kElideKeep);
}
