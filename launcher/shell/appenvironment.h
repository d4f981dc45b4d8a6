#pragma once

#include <QString>

// Facts about this launcher build and run that several subsystems read: the environment it
// was built for, its own version and id, the preview switch, the chosen language code.
class AppEnvironment
{
public:
    // The LAUNCHER_VERSION build option (launcherversion.cpp).
    static const char *const kLauncherVersion;
    static constexpr const char *kLauncherId = "18";
    static constexpr const char *kOrganizationName = "Velmora";
    static constexpr const char *kOrganizationDomain = "Quillane";
    static constexpr const char *kApplicationName = "Lunmere";

    // The build's environment text ("prod" for the shipped build).
    static QString environment();
    // The four mainland environments get simplified Chinese and the plain launcher id.
    static bool isMainland(const QString &environment);
    static bool isMainland() { return isMainland(environment()); }

    // The build-time preview switch: "prev" builds the publisher's preview launcher.
    static QString previewSwitch();
    static bool isPreview() { return previewSwitch() == QLatin1String("prev"); }

    // "18" in mainland builds, "OS_18" elsewhere.
    static QString launcherIdText();

    // Name of the updater interlock ("Quillane_Lunmere_update").
    static QString updaterMutexName();

    // The language code chosen at start-up ("zh-cn" until then is not assumed: empty).
    static QString currentLanguageCode();
    static void setCurrentLanguageCode(const QString &code);
};
