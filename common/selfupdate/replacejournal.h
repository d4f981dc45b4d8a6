#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <string>

// The record, kept beside the backups, of what a replacement of the launcher's files has done,
// so that a replacement cut short by a kill or a power cut can be undone or finished by the
// next program that starts. Every line reaches the disk before the step it announces.
class ReplaceJournal
{
public:
    // How an entry of the launcher folder came to be touched.
    enum class Origin {
        Saved, // it existed; its original is in the backup folder
        Added, // it did not exist
        Folder // a folder this replacement made
    };

    // The journal of the replacement whose backups go to backupRoot.
    explicit ReplaceJournal(const QString &backupRoot);

    QString path() const { return m_path; }
    bool exists() const;
    // Reads the journal; false when there is none or its header is unreadable (it was cut
    // short before anything was replaced).
    bool load();
    // Starts a journal for a replacement of root, or carries on the one an earlier run that
    // did not end left (its entries stay: a retry never forgets an original). A finished
    // replacement's journal and backups are cleared first.
    bool begin(const QString &root);
    // Appends one entry unless it is already recorded; the line is on the
    // disk when this returns true.
    bool record(Origin origin, const QString &relative);
    // The same for many entries, with one flush.
    bool record(const QList<QPair<Origin, QString>> &entries);
    bool commit();
    // Removes the journal file; the last step of a finished or undone replacement.
    bool remove();

    QString root() const { return m_root; }
    bool isCommitted() const { return m_committed; }
    // Whether the file or link at relative is recorded (saved or added).
    bool contains(const QString &relative) const { return m_origins.contains(relative); }
    QList<QPair<Origin, QString>> entries() const { return m_entries; }

    // A relative path from a journal is only used when it stays inside the folder.
    static bool isSafeRelativePath(const QString &relative);

private:
    bool append(const QByteArray &line);
    std::string folder() const;
    std::string fileName() const;
    static QString key(Origin origin, const QString &relative);

    QString m_backupRoot;
    QString m_path;
    QString m_root;
    bool m_committed = false;
    QList<QPair<Origin, QString>> m_entries;
    QHash<QString, Origin> m_origins;
};
