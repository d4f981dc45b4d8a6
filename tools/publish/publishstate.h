#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include "foldersnapshot.h"

// What a site remembers of its own game releases, in a folder that no server serves
// (.publish/): each published version's files and full package, so a run needs only the new
// version's build folder, and the packages a newer release has retired, kept for a grace period
// so that paused downloads can finish.
class PublishState
{
public:
    struct Retired
    {
        QString file; // in the game package folder
        QDateTime since;
        int runs = 0; // releases published since
    };

    struct Package
    {
        QString version; // the source version of a difference package; empty for the full one
        QString name;
        qint64 size = 0;
        bool isSigned = false;
    };

    // The game release the site's resource answer announces.
    struct LiveRelease
    {
        QString version;
        Package full;
        QList<Package> diffs;
    };

    static QString folderName();
    static QString snapshotPath(const QString &version);
    static QString packagePath(const QString &packageName);

    // Reads the state of the site folder at root; a site without one has an empty state.
    bool load(const QString &root, QString *error);
    // Writes it under root (the stage).
    bool save(const QString &root, QString *error) const;

    // Published versions, oldest first.
    QStringList versions() const;
    bool has(const QString &version) const { return m_snapshots.contains(version); }
    FolderSnapshot snapshot(const QString &version) const { return m_snapshots.value(version); }
    QString packageOf(const QString &version) const { return m_packages.value(version); }
    // package: the kept full package's name, empty when the run packed none of that content.
    void record(const QString &version, const FolderSnapshot &snapshot, const QString &package);

    QList<Retired> retired() const { return m_retired; }
    void setRetired(const QList<Retired> &retired) { m_retired = retired; }

    static bool readLiveRelease(const QString &root, LiveRelease *release);

private:
    QMap<QString, FolderSnapshot> m_snapshots;
    QMap<QString, QString> m_packages; // version -> full package name, when kept
    QList<Retired> m_retired;
};
