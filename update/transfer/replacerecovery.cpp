#include "replacerecovery.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include "fileentries.h"
#include "replacejournal.h"
#include "replacesteps.h"

namespace {
constexpr int kAttempts = 3;
constexpr unsigned long kPauseMs = 500;

platform::EntryKind kindOf(const QString &path)
{
    return platform::entryKind(QFile::encodeName(path).toStdString());
}

void removeFolder(const QString &path)
{
    QDir dir(path);
    if (dir.exists())
        dir.removeRecursively();
}

void noteFailure(QStringList *failed, const QString &path)
{
    qWarning() << "rollback: could not restore" << path;
    if (failed && !failed->contains(path))
        failed->append(path);
}
} // namespace

ReplaceRecovery::Folders ReplaceRecovery::foldersOfLauncher(const QString &launcherFolder)
{
    const QString updater = launcherFolder + QStringLiteral("/updateProgram");
    return {launcherFolder, updater + QStringLiteral("/pkg"),
            updater + QStringLiteral("/updateData"), updater + QStringLiteral("/rollback")};
}

bool ReplaceRecovery::restorePass(const QString &source, const QString &destination,
                                  QStringList *failed, ReplaceSteps::FoldersToFlush *dirty)
{
    bool ok = true;
    const QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString from = entry.filePath();
        // A backup cut short by a kill: its original was never touched.
        if (ReplaceSteps::isTemporaryName(from))
            continue;
        const QString target = destination + QChar('/') + entry.fileName();
        const platform::EntryKind kind = kindOf(from);
        if (kind == platform::EntryKind::Directory) {
            const platform::EntryKind there = kindOf(target);
            // Never into a link: what lies behind it is not the launcher's folder.
            if (there != platform::EntryKind::Directory &&
                (there != platform::EntryKind::Missing ||
                 !ReplaceSteps::makeFolder(target, dirty))) {
                noteFailure(failed, target);
                ok = false;
                continue;
            }
            ok = restorePass(from, target, failed, dirty) && ok;
            continue;
        }
        if (ReplaceSteps::sameEntry(from, target))
            continue;
        const platform::EntryKind there = kindOf(target);
        if ((there != platform::EntryKind::Missing && !ReplaceSteps::isLeafEntry(target)) ||
            !ReplaceSteps::installEntry(from, target, dirty)) {
            noteFailure(failed, target);
            ok = false;
        }
    }
    return ok;
}

bool ReplaceRecovery::restoreTree(const QString &source, const QString &destination,
                                  QStringList *failed)
{
    if (kindOf(destination) != platform::EntryKind::Directory && !QDir().mkpath(destination)) {
        noteFailure(failed, destination);
        return false;
    }
    for (int attempt = 1;; ++attempt) {
        QStringList failedNow;
        ReplaceSteps::FoldersToFlush dirty;
        const bool restored = restorePass(source, destination, &failedNow, &dirty);
        if (ReplaceSteps::flushFolders(dirty) && restored)
            return true;
        if (attempt == kAttempts) {
            if (failed)
                *failed = failedNow;
            return false;
        }
        // Another program may hold a file for a moment (a scanner, an indexer).
        QThread::msleep(kPauseMs);
    }
}

bool ReplaceRecovery::undoPass(const Folders &folders, QStringList *failed)
{
    ReplaceSteps::FoldersToFlush dirty;
    ReplaceJournal journal(folders.backup);
    bool ok = true;
    if (journal.load()) {
        const auto entries = journal.entries();
        for (const auto &entry : entries)
            ReplaceSteps::removeLeaf(
                ReplaceSteps::temporaryName(folders.launcher + QChar('/') + entry.second), &dirty);
        // Newest first: what was added inside a made folder goes before the folder.
        for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
            const QString target = folders.launcher + QChar('/') + it->second;
            bool done = true;
            if (it->first == ReplaceJournal::Origin::Added)
                done =
                    kindOf(target) == platform::EntryKind::Missing ||
                    (ReplaceSteps::isLeafEntry(target) && ReplaceSteps::removeLeaf(target, &dirty));
            else if (it->first == ReplaceJournal::Origin::Folder)
                done = ReplaceSteps::removeEmptyFolder(target, &dirty);
            if (!done) {
                noteFailure(failed, target);
                ok = false;
            }
        }
    }
    ok = restorePass(folders.backup, folders.launcher, failed, &dirty) && ok;
    // The folder is wholly old on the disk before its journal and backups go.
    return ReplaceSteps::flushFolders(dirty) && ok;
}

bool ReplaceRecovery::undo(const Folders &folders, QStringList *failed)
{
    if (kindOf(folders.backup) != platform::EntryKind::Directory &&
        !ReplaceJournal(folders.backup).exists()) {
        removeFolder(folders.extraction);
        return true;
    }
    for (int attempt = 1;; ++attempt) {
        QStringList failedNow;
        if (undoPass(folders, &failedNow))
            break;
        if (attempt == kAttempts) {
            if (failed)
                *failed = failedNow;
            return false;
        }
        QThread::msleep(kPauseMs);
    }
    removeFolder(folders.extraction);
    removeFolder(folders.backup);
    ReplaceJournal(folders.backup).remove();
    return true;
}

void ReplaceRecovery::finish(const Folders &folders)
{
    // Each removal may be cut short: the committed journal, removed last, has it done again.
    for (const QString &folder : {folders.download, folders.extraction, folders.backup}) {
        ReplaceSteps::faultPoint();
        removeFolder(folder);
    }
    ReplaceSteps::faultPoint();
    ReplaceJournal(folders.backup).remove();
}

ReplaceRecovery::Outcome ReplaceRecovery::recover(const Folders &folders, QStringList *failed)
{
    ReplaceJournal journal(folders.backup);
    if (!journal.exists())
        return Outcome::Nothing;
    if (!journal.load()) {
        // Cut short while it was being written: nothing was replaced yet.
        journal.remove();
        return Outcome::Nothing;
    }
    if (QDir::cleanPath(journal.root()) != QDir::cleanPath(folders.launcher)) {
        qWarning() << "rollback: the journal is for another folder" << journal.root();
        return Outcome::Nothing;
    }
    if (journal.isCommitted()) {
        finish(folders);
        qDebug() << "rollback: finished the replacement of" << folders.launcher;
        return Outcome::Finished;
    }
    if (!undo(folders, failed)) {
        qWarning() << "rollback: the launcher folder is still mixed" << folders.launcher;
        return Outcome::Failed;
    }
    qDebug() << "rollback: undid the unfinished replacement of" << folders.launcher;
    return Outcome::RolledBack;
}

ReplaceRecovery::Outcome
ReplaceRecovery::recoverAtStartup(const QString &launcherFolder,
                                  const std::function<bool()> &updaterRunning)
{
    const Folders folders = foldersOfLauncher(launcherFolder);
    if (!ReplaceJournal(folders.backup).exists())
        return Outcome::Nothing;
    // The updater that started this launcher may still be on its way out.
    QElapsedTimer waited;
    waited.start();
    while (updaterRunning()) {
        if (waited.elapsed() > 5000) {
            qDebug() << "rollback: an updater is running; its replacement is its own";
            return Outcome::Nothing;
        }
        QThread::msleep(100);
    }
    return recover(folders, nullptr);
}
