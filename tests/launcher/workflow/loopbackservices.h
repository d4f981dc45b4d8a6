#pragma once

#include <QString>

#include "launcherconfig.h"

// Points the launcher's services at a test server, so nothing a view model does leaves the
// machine.
inline void useLoopbackServices(const QString &baseUrl)
{
    LauncherConfig *config = LauncherConfig::instance();
    for (const char *key : {"resource_url", "release_url", "report_url"})
        config->writeString(QLatin1String(key), baseUrl, QStringLiteral("services"));
}
