#include "registryconfig.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>

#include <atomic>

#include "appenvironment.h"
#include "autostart.h"
#include "inifile.h"

namespace {
std::atomic<RegistryConfig *> g_instance{nullptr};
QMutex g_instanceMutex;

const QString kUninstallKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
const QString kLauncherKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\launcher");

QString uninstallKey()
{
    return QStringLiteral("%1\\%2").arg(kUninstallKey,
                                        QLatin1String(AppEnvironment::kApplicationName));
}
} // namespace

RegistryConfig *RegistryConfig::instance()
{
    RegistryConfig *registry = g_instance.load();
    if (registry)
        return registry;
    QMutexLocker lock(&g_instanceMutex);
    registry = g_instance.load();
    if (!registry) {
        registry = new RegistryConfig;
        g_instance.store(registry);
    }
    return registry;
}

QString RegistryConfig::autoStartName()
{
    return QStringLiteral("%1_%2").arg(QLatin1String(AppEnvironment::kApplicationName),
                                       QStringLiteral("Launcher"));
}

QString RegistryConfig::launcherFilePath()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

std::unique_ptr<QSettings> RegistryConfig::openKey(const QString &keyPath) const
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(keyPath, QSettings::Registry64Format);
#else
    const QString file = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                         QLatin1String("/registry.ini");
    IniFile::keepUnreadableCopy(file);
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    settings->beginGroup(QString(keyPath).replace(QLatin1Char('\\'), QLatin1Char('/')));
    return settings;
#endif
}

QString RegistryConfig::readValue(const QString &keyPath, const QString &name) const
{
    return IniFile::toText(openKey(keyPath)->value(name));
}

void RegistryConfig::writeIfDifferent(const QString &keyPath, const QString &name,
                                      const QString &value)
{
    const std::unique_ptr<QSettings> key = openKey(keyPath);
    if (IniFile::toText(key->value(name)) == value)
        return;
    key->setValue(name, value);
    key->sync();
    // Machine-wide values may need rights the user lacks: the launcher goes on regardless.
    if (key->status() == QSettings::AccessError)
        qWarning() << "registry: could not write" << name << "under" << keyPath;
}

bool RegistryConfig::isAutoStart()
{
    const std::string name = autoStartName().toStdString();
    const QString program = QString::fromStdString(platform::autoStartProgram(name));
    if (program.isEmpty())
        return false;
    const QString current = launcherFilePath();
    if (program != current && !platform::setAutoStart(name, current.toStdString(), true))
        qWarning() << "registry: could not move the auto-start entry to" << current;
    return true;
}

void RegistryConfig::setAutoStart(bool on)
{
    if (!platform::setAutoStart(autoStartName().toStdString(), launcherFilePath().toStdString(),
                                on))
        qWarning() << "registry: could not write the auto-start entry"
                   << QString::fromStdString(
                          platform::autoStartLocation(autoStartName().toStdString()));
}

QString RegistryConfig::displayVersion()
{
    return readValue(uninstallKey(), QStringLiteral("DisplayVersion"));
}

void RegistryConfig::updateDisplayVersion()
{
    writeIfDifferent(uninstallKey(), QStringLiteral("DisplayVersion"),
                     QLatin1String(AppEnvironment::kLauncherVersion));
}

QString RegistryConfig::launcherVersion()
{
    return readValue(kLauncherKey, QStringLiteral("Version"));
}

void RegistryConfig::updateLauncherVersion()
{
    writeIfDifferent(kLauncherKey, QStringLiteral("Version"),
                     QLatin1String(AppEnvironment::kLauncherVersion));
}
