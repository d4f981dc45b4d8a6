#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// What one release folder holds, by relative path ("/" separators), with a content digest per
// file. Scanning refuses what the launcher could not install as it stands on Windows.
class FolderSnapshot
{
public:
    struct Entry
    {
        bool isDir = false; // only empty folders are entries; the others follow from files
        qint64 size = 0;
        QByteArray sha256; // lower-case hex, also what the published file list carries
        bool executable = false;
    };

    // Fails with a message naming the path when the folder is missing, a file cannot be read,
    // a link leads outside the folder, a name is not a valid Windows name, or two names differ
    // only in case. reservedTopLevel maps names the folder may not hold at its top to the
    // reason why.
    static bool scan(const QString &root, FolderSnapshot *out, QString *error,
                     const QMap<QString, QString> &reservedTopLevel = {});

    // A snapshot as it was stored after publishing; root names it in messages.
    static FolderSnapshot fromEntries(const QString &root, const QMap<QString, Entry> &entries);
    QJsonObject toJson() const;
    // False when the object is not a stored snapshot.
    static bool fromJson(const QString &root, const QJsonObject &json, FolderSnapshot *out);

    // Every folder the snapshot has, empty or not (each file's parents included).
    QSet<QString> folders() const;

    // The first pair of paths, in order, that differ only in case; empty when there is none.
    static QStringList caseCollision(const QStringList &paths);

    QString root() const { return m_root; }
    const QMap<QString, Entry> &entries() const { return m_entries; }
    QStringList files() const;
    qint64 totalSize() const;

    // Whether the files at path are the same in both (content and executable bit).
    static bool sameFile(const Entry &a, const Entry &b);

private:
    QString m_root;
    QMap<QString, Entry> m_entries;
};
