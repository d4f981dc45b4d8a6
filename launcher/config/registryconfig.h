#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSettings;

// The launcher's machine-wide values: the auto-start entry, the uninstall entry's
// DisplayVersion and the launcher key's Version. Windows keeps them in the registry; this
// build keeps the versions in registry.ini in the user's config folder (one group per key
// path) and the auto-start entry as an XDG autostart file. Process-wide, GUI thread only.
class RegistryConfig : public QObject
{
    Q_OBJECT
public:
    static RegistryConfig *instance();

    // True when the auto-start entry is on; an entry that still names an old launcher path
    // is rewritten to the running launcher first.
    bool isAutoStart();
    void setAutoStart(bool on);

    QString displayVersion();
    // Write the launcher's version where it differs (an equal value is left untouched).
    void updateDisplayVersion();
    void updateLauncherVersion();

    // The launcher key's Version as stored.
    QString launcherVersion();

    // The auto-start entry's name, "Lunmere_Launcher".
    static QString autoStartName();
    // The running launcher as the entry records it (native separators).
    static QString launcherFilePath();

private:
    RegistryConfig() = default;
    std::unique_ptr<QSettings> openKey(const QString &keyPath) const;
    QString readValue(const QString &keyPath, const QString &name) const;
    void writeIfDifferent(const QString &keyPath, const QString &name, const QString &value);
};
