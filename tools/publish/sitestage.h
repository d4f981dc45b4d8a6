#pragma once

#include <QByteArray>
#include <QScopedPointer>
#include <QString>

class QTemporaryDir;
class QTextStream;
class SiteLock;

// The next state of a site folder, built beside it and swapped in by renames at the end, so a
// failed run leaves the site as it was and a served site never shows half a release.
class SiteStage
{
public:
    SiteStage();
    ~SiteStage();

    // Locks the site and starts from what it holds now (hard links where the file system
    // allows, copies otherwise). The site may not exist yet; a link to a folder stands for that
    // folder, which is then published into and the link kept.
    bool begin(const QString &site, QString *error, QTextStream *log = nullptr);

    // The site folder the stage replaces (a link resolved).
    QString site() const { return m_site; }

    QString path() const;
    QString filePath(const QString &relative) const;
    bool writeFile(const QString &relative, const QByteArray &content, QString *error);
    // Removes a file or a whole folder from the stage; a missing one is not an error.
    void remove(const QString &relative);
    bool makeFolder(const QString &relative, QString *error);
    // A second name for a staged file (a hard link where the file system allows).
    bool link(const QString &fromRelative, const QString &toRelative, QString *error);

    // Puts the stage in the site's place.
    bool commit(QString *error);

private:
    QString m_site;
    QScopedPointer<SiteLock> m_lock;
    QScopedPointer<QTemporaryDir> m_stage;
};
