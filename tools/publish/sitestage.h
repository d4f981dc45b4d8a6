#pragma once

#include <QByteArray>
#include <QScopedPointer>
#include <QString>

class QTemporaryDir;

// The next state of a site folder, built beside it and swapped in by renames at the end, so a
// failed run leaves the site as it was and a served site never shows half a release.
class SiteStage
{
public:
    SiteStage();
    ~SiteStage();

    // Starts from what the site holds now (hard links where the file system allows, copies
    // otherwise). The site may not exist yet.
    bool begin(const QString &site, QString *error);

    QString path() const;
    QString filePath(const QString &relative) const;
    bool writeFile(const QString &relative, const QByteArray &content, QString *error);
    // Removes a file or a whole folder from the stage; a missing one is not an error.
    void remove(const QString &relative);
    bool makeFolder(const QString &relative, QString *error);

    // Puts the stage in the site's place.
    bool commit(QString *error);

private:
    QString m_site;
    QScopedPointer<QTemporaryDir> m_stage;
};
