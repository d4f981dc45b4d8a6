#pragma once

#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

#include <atomic>

#include "gamefilelist.h"

// Checks an installed game against its file list: every size first (cheap, finds most damage
// at once), then the SHA-256 of each file whose size is right, reading each file once, a few
// files at a time. Runs on whatever thread calls it (helpers join before it returns);
// cancel() may come from any thread and stops within one read.
class GameVerifier : public QObject
{
    Q_OBJECT
public:
    enum Fault { Missing, NotAFile, WrongSize, WrongContent, Unreadable };
    Q_ENUM(Fault)

    struct Finding
    {
        QString path; // as the list names it
        Fault fault = Missing;
        QString detail; // the system's reason for an unreadable file
    };

    struct Result
    {
        int checked = 0;
        qint64 bytesRead = 0;
        QList<Finding> damaged;    // missing or different: repairable from the package
        QList<Finding> unreadable; // present but cannot be read: nothing is repaired
        bool cancelled = false;
    };

    GameVerifier(const QString &folder, const QList<GameFileList::Entry> &entries,
                 QObject *parent = nullptr);

    void cancel() { m_cancelled = true; }
    Result verify();

    // An emitted progress step at most this often, so a fast disk does not flood the GUI.
    static constexpr int kProgressIntervalMs = 100;
    // More readers than this only make a disk seek.
    static constexpr int kMaxHashThreads = 4;

public slots:
    // verify() followed by finished(); for a worker thread.
    void run();

signals:
    // bytesTotal is what the digest pass reads: the files whose size is right.
    void progress(int filesDone, int filesTotal, qint64 bytesDone, qint64 bytesTotal);
    void finished(GameVerifier::Result result);

private:
    QString m_folder;
    QList<GameFileList::Entry> m_entries;
    std::atomic<bool> m_cancelled{false};
};

Q_DECLARE_METATYPE(GameVerifier::Result)
