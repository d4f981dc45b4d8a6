#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "replacejournal.h"
#include "replacesteps.h"
#include "updaterlayout.h"

// Ends a replacement of the launcher's files either way: undoes it from the backups and the
// journal, or completes the clean-up of one that was committed. The updater uses it when the
// player gives up and when it starts; the launcher when it starts, so that a killed updater
// never leaves a folder that is part old, part new.
class ReplaceRecovery
{
public:
    // Works on the folders of layout, with the journal that lies beside its backup folder.
    explicit ReplaceRecovery(const UpdaterLayout &layout);

    enum class Outcome {
        Nothing,    // no replacement was left unfinished
        Finished,   // a committed replacement: its clean-up is done, the folder is new
        RolledBack, // an unfinished one: undone, the folder is old
        Failed      // it could not be undone entirely; the journal and backups remain
    };

    // Undoes the replacement: removes what it added and puts every saved original back,
    // going on past entries that fail and trying those again; then deletes the extraction
    // and backup folders and the journal. Without a journal it restores the backup folder
    // as it stands. failed receives the paths that could not be restored.
    bool undo(QStringList *failed = nullptr);
    // Deletes the working folders of a finished replacement, the journal last.
    void finish();
    // Finishes or undoes whatever a cut-short replacement of the launcher's folder left.
    Outcome recover(QStringList *failed = nullptr);
    // The launcher's start-up: recovers its own folder unless an updater is running (one that
    // is still ending gets a few seconds).
    static Outcome recoverAtStartup(const QString &launcherFolder,
                                    const std::function<bool()> &updaterRunning);

    // Copies the backed-up entries back over destination, going on past entries that fail,
    // skipping those already equal to their backup and trying the failed ones again; false
    // while any differs.
    static bool restoreTree(const QString &source, const QString &destination,
                            QStringList *failed = nullptr);

private:
    // Restores source's entries over the folder relative below root (empty: root itself).
    static bool restorePass(const QString &source, const QString &root, const QString &relative,
                            QStringList *failed, ReplaceSteps::FoldersToFlush *dirty);
    bool undoPass(QStringList *failed);
    // Whether the updater's folder and its backup folder are real folders of ours.
    bool backupIsOurs() const;

    UpdaterLayout m_layout;
    ReplaceJournal m_journal;
};
