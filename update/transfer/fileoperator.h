#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <vector>

#include "replacesteps.h"

class ReplaceJournal;

// Copies the unpacked launcher over the installed one on its own thread, saving every file it
// is about to overwrite under the same relative path in the backup folder first. Entries are
// replaced as entries (a link is replaced, never written through) and every step is announced
// in a journal beside the backups first, so that a replacement cut short can be undone.
class FileOperator : public QObject
{
    Q_OBJECT
public:
    explicit FileOperator(QObject *parent = nullptr);

    // Called on the GUI thread while the operator's thread is not running.
    void setCopyParams(const QString &source, const QString &destination, bool backup,
                       const QString &backupRoot);
    // Any thread: the copy ends at its next test of the flag.
    void stopCopy();

    QString errorPath() const { return m_errorPath; }

    // Files and links below folder, subfolders and hidden entries included.
    static int countFiles(const QString &folder);
    // Lower-case hexadecimal digest, or an empty string when the file cannot be read.
    static QString fileMd5(const QString &path);
    // Copies the backed-up files back over the destination, going on past files that fail,
    // skipping those already equal and trying failed ones again; true only when every one is
    // back.
    static bool restoreBackup(const QString &source, const QString &destination);

signals:
    void copyProgress(int nFinsh, int nTotal);
    void copyFinish();
    void copyError(QString strError);

public slots:
    void onCopyDirFiles();

private:
    // One entry of the replacement, decided before anything is written.
    struct Step
    {
        enum Kind { Skip, Add, Replace, MakeFolder, LinkToFolder, Blocked } kind;
        QString source;
        QString target;
        QString relative;
    };
    // Lists the steps folder by folder, subfolders first; stops at the first entry that is in
    // the way (a folder where a file belongs, or the reverse). fresh: destination is a folder
    // the steps make, so nothing below it exists yet.
    bool plan(const QString &source, const QString &destination, const QString &relative,
              bool fresh);
    // Saves every original the steps will replace, then records all steps in the journal.
    bool saveOriginals();
    bool saveOriginal(const Step &step, ReplaceSteps::FoldersToFlush *dirty);
    // Carries the steps out in order.
    bool copyDir();

    QString m_source;
    QString m_destination;
    QString m_backupRoot;
    bool m_backup = false;
    int m_finishedCount = 0;
    int m_total = 0;
    std::atomic<bool> m_stop{false};
    QString m_errorPath;
    ReplaceJournal *m_journal = nullptr;
    std::vector<Step> m_steps;
};
