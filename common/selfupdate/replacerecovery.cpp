#include "replacerecovery.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include "confinedentries.h"
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

std::string native(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// Never QDir::removeRecursively: on a link it empties what the link points to.
void removeFolder(const QString &path)
{
    if (!platform::removeTree(native(path)))
        qWarning() << "rollback: could not remove" << path;
}

QString parentOf(const QString &relative)
{
    const int slash = relative.lastIndexOf(QChar('/'));
    return slash < 0 ? QString() : relative.left(slash);
}

void noteFailure(QStringList *failed, const QString &path)
{
    qWarning() << "rollback: could not restore" << path;
    if (failed && !failed->contains(path))
        failed->append(path);
}
} // namespace

ReplaceRecovery::ReplaceRecovery(const UpdaterLayout &layout)
    : m_layout(layout)
    , m_journal(layout.backupFolder())
{}

// The updater's folders belong to the launcher's folder: a backup folder that is a link (or
// lies in one) holds no originals of ours, and undoing from it would act elsewhere.
bool ReplaceRecovery::backupIsOurs() const
{
    const QString backup = m_layout.backupFolder();
    const platform::EntryKind updater = kindOf(QFileInfo(backup).absolutePath());
    const platform::EntryKind kind = kindOf(backup);
    if (updater == platform::EntryKind::Directory &&
        (kind == platform::EntryKind::Directory || kind == platform::EntryKind::Missing))
        return true;
    qWarning() << "rollback: refused: the updater's folder or its backup folder is a link"
               << backup;
    return false;
}

bool ReplaceRecovery::restorePass(const QString &source, const QString &root,
                                  const QString &relative, QStringList *failed,
                                  ReplaceSteps::FoldersToFlush *dirty)
{
    bool ok = true;
    const std::string base = native(root);
    const QString destination = relative.isEmpty() ? root : root + QChar('/') + relative;
    const QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString from = entry.filePath();
        // A backup cut short by a kill: its original was never touched.
        if (ReplaceSteps::isTemporaryName(from))
            continue;
        const QString name = entry.fileName();
        const QString inside = relative.isEmpty() ? name : relative + QChar('/') + name;
        const QString target = destination + QChar('/') + name;
        const platform::EntryKind there = platform::entryKindBelow(base, native(inside));
        if (kindOf(from) == platform::EntryKind::Directory) {
            // Never into a link: what lies behind it is not the launcher's folder.
            if (there != platform::EntryKind::Directory &&
                (there != platform::EntryKind::Missing ||
                 !ReplaceSteps::makeFolder(root, inside, dirty))) {
                noteFailure(failed, target);
                ok = false;
                continue;
            }
            ok = restorePass(from, root, inside, failed, dirty) && ok;
            continue;
        }
        if (ReplaceSteps::sameEntry(from, target))
            continue;
        if ((there != platform::EntryKind::Missing && there != platform::EntryKind::File &&
             there != platform::EntryKind::SymLink) ||
            !ReplaceSteps::installEntry(from, root, inside, dirty)) {
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
        const bool restored = restorePass(source, destination, QString(), &failedNow, &dirty);
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

bool ReplaceRecovery::undoPass(QStringList *failed)
{
    ReplaceSteps::FoldersToFlush dirty;
    const QString launcher = m_layout.launcherFolder();
    const std::string root = native(launcher);
    const auto touched = [&](const QString &relative) {
        dirty.insert({launcher, parentOf(relative)});
    };
    bool ok = true;
    if (m_journal.load()) {
        const auto entries = m_journal.entries();
        for (const auto &entry : entries) {
            const QString temporary = ReplaceSteps::temporaryName(entry.second);
            if (platform::entryKindBelow(root, native(temporary)) != platform::EntryKind::Missing &&
                platform::removeEntryBelow(root, native(temporary)))
                touched(entry.second);
        }
        // Newest first: what was added inside a made folder goes before the folder.
        for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
            const std::string relative = native(it->second);
            const QString target = launcher + QChar('/') + it->second;
            if (platform::passesThroughLink(root, relative)) {
                // The replacement never writes through a link, so such an entry is not one of
                // its steps: whatever lies behind the link is left alone.
                qWarning() << "rollback: refused a journal entry that passes through a link"
                           << it->second;
                continue;
            }
            const platform::EntryKind kind = platform::entryKindBelow(root, relative);
            bool done = true;
            if (it->first == ReplaceJournal::Origin::Added) {
                done =
                    kind == platform::EntryKind::Missing ||
                    ((kind == platform::EntryKind::File || kind == platform::EntryKind::SymLink) &&
                     platform::removeEntryBelow(root, relative));
            } else if (it->first == ReplaceJournal::Origin::Folder) {
                // Whatever stands there now that is no folder (the link it replaced, put back)
                // is not the folder that was made.
                done = kind != platform::EntryKind::Directory ||
                       platform::removeFolderBelow(root, relative);
            }
            if (done && it->first != ReplaceJournal::Origin::Saved &&
                kind != platform::EntryKind::Missing)
                touched(it->second);
            if (!done) {
                noteFailure(failed, target);
                ok = false;
            }
        }
    }
    ok = restorePass(m_layout.backupFolder(), launcher, QString(), failed, &dirty) && ok;
    // The folder is wholly old on the disk before its journal and backups go.
    return ReplaceSteps::flushFolders(dirty) && ok;
}

bool ReplaceRecovery::undo(QStringList *failed)
{
    if (!backupIsOurs())
        return false;
    if (kindOf(m_layout.backupFolder()) != platform::EntryKind::Directory && !m_journal.exists()) {
        removeFolder(m_layout.extractionFolder());
        return true;
    }
    for (int attempt = 1;; ++attempt) {
        QStringList failedNow;
        if (undoPass(&failedNow))
            break;
        if (attempt == kAttempts) {
            if (failed)
                *failed = failedNow;
            return false;
        }
        QThread::msleep(kPauseMs);
    }
    removeFolder(m_layout.extractionFolder());
    removeFolder(m_layout.backupFolder());
    m_journal.remove();
    return true;
}

void ReplaceRecovery::finish()
{
    // Each removal may be cut short: the committed journal, removed last, has it done again.
    for (const QString &folder :
         {m_layout.downloadFolder(), m_layout.extractionFolder(), m_layout.backupFolder()}) {
        ReplaceSteps::faultPoint();
        removeFolder(folder);
    }
    ReplaceSteps::faultPoint();
    m_journal.remove();
}

ReplaceRecovery::Outcome ReplaceRecovery::recover(QStringList *failed)
{
    if (!m_journal.exists())
        return Outcome::Nothing;
    if (!backupIsOurs())
        return Outcome::Failed;
    const QString launcher = m_layout.launcherFolder();
    const QString backup = m_layout.backupFolder();
    if (!m_journal.load()) {
        // The header goes into place whole, so an unreadable journal was damaged afterwards.
        // The backup folder still holds the originals of whatever was replaced.
        if (kindOf(backup) != platform::EntryKind::Directory) {
            qWarning() << "rollback: an unreadable journal and no backups: nothing to undo";
            m_journal.remove();
            return Outcome::Nothing;
        }
        qWarning() << "rollback: the journal is unreadable; restoring the originals in" << backup;
    } else if (QDir::cleanPath(m_journal.root()) != QDir::cleanPath(launcher)) {
        // Its entries are relative: they hold wherever the folder lies now.
        qWarning() << "rollback: the launcher folder moved from" << m_journal.root()
                   << "; recovering it where it is now";
    }
    if (m_journal.isCommitted()) {
        finish();
        qDebug() << "rollback: finished the replacement of" << launcher;
        return Outcome::Finished;
    }
    if (!undo(failed)) {
        qWarning() << "rollback: the launcher folder is still mixed" << launcher;
        return Outcome::Failed;
    }
    qDebug() << "rollback: undid the unfinished replacement of" << launcher;
    return Outcome::RolledBack;
}

ReplaceRecovery::Outcome
ReplaceRecovery::recoverAtStartup(const QString &launcherFolder,
                                  const std::function<bool()> &updaterRunning)
{
    ReplaceRecovery recovery(UpdaterLayout::ofLauncher(launcherFolder));
    if (!recovery.m_journal.exists())
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
    return recovery.recover(nullptr);
}
