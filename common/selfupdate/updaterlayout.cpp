#include "updaterlayout.h"

#include "processes.h"

UpdaterLayout UpdaterLayout::ofLauncher(const QString &launcherFolder)
{
    return UpdaterLayout(launcherFolder, launcherFolder + QStringLiteral("/updateProgram"));
}

UpdaterLayout::UpdaterLayout(const QString &launcherFolder, const QString &updaterFolder)
    : m_launcherFolder(launcherFolder)
    , m_updaterFolder(updaterFolder)
{}

QString UpdaterLayout::downloadFolder() const
{
    return m_updaterFolder + QStringLiteral("/pkg");
}

QString UpdaterLayout::extractionFolder() const
{
    return m_updaterFolder + QStringLiteral("/updateData");
}

QString UpdaterLayout::backupFolder() const
{
    return m_updaterFolder + QStringLiteral("/rollback");
}

QString UpdaterLayout::updaterExecutable() const
{
    return m_updaterFolder + QStringLiteral("/Update") +
           QString::fromStdString(platform::executableSuffix());
}

QString UpdaterLayout::mutexName(const QString &instance)
{
    return QStringLiteral("Quillane_%1_update").arg(instance);
}
