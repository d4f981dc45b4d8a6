#include "appenvironment.h"

#include <QMutex>
#include <QStringList>

#include "buildconfig.h"
#include "updaterlayout.h"

namespace {
QMutex g_languageMutex;
QString g_languageCode;
} // namespace

QString AppEnvironment::environment()
{
    return QStringLiteral(LAUNCHER_ENVIRONMENT);
}

bool AppEnvironment::isMainland(const QString &environment)
{
    static const QStringList mainland = {QStringLiteral("testing"), QStringLiteral("sandbox"),
                                         QStringLiteral("pre"), QStringLiteral("prod")};
    return mainland.contains(environment);
}

QString AppEnvironment::previewSwitch()
{
    return QStringLiteral(LAUNCHER_PREVIEW_SWITCH);
}

QString AppEnvironment::launcherIdText()
{
    const QString id = QLatin1String(kLauncherId);
    return isMainland() ? id : QStringLiteral("OS_%1").arg(id);
}

QString AppEnvironment::updaterMutexName()
{
    return UpdaterLayout::mutexName(QLatin1String(kApplicationName));
}

QString AppEnvironment::currentLanguageCode()
{
    QMutexLocker lock(&g_languageMutex);
    return g_languageCode;
}

void AppEnvironment::setCurrentLanguageCode(const QString &code)
{
    QMutexLocker lock(&g_languageMutex);
    g_languageCode = code;
}
