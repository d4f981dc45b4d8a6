#pragma once

#include <QString>

// Where the launcher and its updater meet on the disk: the updater's folder beside the launcher,
// the updater's working folders in it, its executable, and the name of the interlock the
// updater holds while it runs. Both programs derive every such name from here, so an updater
// of one release and a launcher of another still find each other's files.
class UpdaterLayout
{
public:
    // The updater's folder as shipped: "updateProgram" in the launcher's folder.
    static UpdaterLayout ofLauncher(const QString &launcherFolder);
    // An updater folder somewhere else (the updater's own folder, or a test's).
    UpdaterLayout(const QString &launcherFolder, const QString &updaterFolder);

    QString launcherFolder() const { return m_launcherFolder; }
    QString updaterFolder() const { return m_updaterFolder; }
    // The downloaded package's folder ("pkg").
    QString downloadFolder() const;
    // The unpacked package ("updateData").
    QString extractionFolder() const;
    // The originals of the replaced entries ("rollback"); the journal lies beside it.
    QString backupFolder() const;
    // The updater program ("Update" with the platform's executable suffix).
    QString updaterExecutable() const;

    // The interlock the updater of instance holds for its whole life ("Quillane_Lunmere_update").
    static QString mutexName(const QString &instance);

private:
    QString m_launcherFolder;
    QString m_updaterFolder;
};
