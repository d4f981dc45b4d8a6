#pragma once

#include <QObject>
#include <QString>

#include <atomic>

// Copies the unpacked launcher over the installed one on its own thread, saving every file it
// is about to overwrite under the same relative path in the backup folder first.
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

    // Files below folder, subfolders included (hidden files are not counted).
    static int countFiles(const QString &folder);
    // Lower-case hexadecimal digest, or an empty string when the file cannot be read.
    static QString fileMd5(const QString &path);
    // Copies the backed-up files back over the destination, folder by folder.
    static bool restoreBackup(const QString &source, const QString &destination);
    // Writes a copy next to the target and renames it into place, so a target is always either
    // its old or its new content, never a torn mixture.
    static bool replaceFile(const QString &source, const QString &target);

signals:
    void copyProgress(int nFinsh, int nTotal);
    void copyFinish();
    void copyError(QString strError);

public slots:
    void onCopyDirFiles();

private:
    bool copyDir(const QString &source, const QString &destination);

    QString m_source;
    QString m_destination;
    QString m_backupRoot;
    bool m_backup = false;
    int m_finishedCount = 0;
    int m_total = 0;
    std::atomic<bool> m_stop{false};
    QString m_errorPath;
};
