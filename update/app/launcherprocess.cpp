#include "launcherprocess.h"

#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <cstdlib>

#include "processes.h"
#include "updatecontext.h"

namespace {
LauncherProcess::ExitHandler &exitHandler()
{
    static LauncherProcess::ExitHandler handler;
    return handler;
}
} // namespace

void LauncherProcess::setExitHandler(ExitHandler handler)
{
    exitHandler() = std::move(handler);
}

void LauncherProcess::exitProgram(int code)
{
    if (exitHandler()) {
        exitHandler()(code);
        return;
    }
    std::exit(code);
}

bool LauncherProcess::startLauncher(const QString &launcherPath)
{
    const QStringList arguments{QStringLiteral("update")};
    // A relative path would run whatever lies under that name in the current folder.
    const bool startable = !launcherPath.isEmpty() && QDir::isAbsolutePath(launcherPath);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (startable && QProcess::startDetached(launcherPath, arguments))
            return true;
        qDebug() << "restartLauncher: could not start" << launcherPath;
        QEventLoop loop;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return false;
}

void LauncherProcess::restartLauncher()
{
    startLauncher(UpdateContext::launcherPath());
    exitProgram(0);
}

bool LauncherProcess::isProcessRunning(const QString &imageName)
{
    if (imageName.isEmpty())
        return false;
    if (platform::isProcessRunning(imageName.toStdString()))
        return true;
    return platform::isProcessRunning(imageName.toLower().toStdString());
}

void LauncherProcess::killProcess(const QString &imageName)
{
    if (imageName.isEmpty())
        return;
    platform::killProcessesByImageName(imageName.toStdString());
    platform::killProcessesByImageName(imageName.toLower().toStdString());
}

bool LauncherProcess::isLauncherRunning(const QString &launcherPath)
{
    return !platform::findProcessesByExecutable(launcherPath.toStdString()).empty();
}

void LauncherProcess::stopLauncher()
{
    // Matched by the executable's full path: other programs that happen to share the
    // launcher's image name are none of the updater's business.
    const QString launcherPath = UpdateContext::launcherPath();
    if (!isLauncherRunning(launcherPath))
        return;
    for (int round = 1; round <= 3; ++round) {
        QThread::msleep(500);
        if (round == 3)
            platform::killProcessesByExecutable(launcherPath.toStdString());
        if (!isLauncherRunning(launcherPath))
            return;
    }
}
