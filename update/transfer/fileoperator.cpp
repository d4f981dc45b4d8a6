#include "fileoperator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

#include "fileentries.h"
#include "md5checkworker.h"
#include "replacejournal.h"
#include "replacerecovery.h"
#include "replacesteps.h"

namespace {
platform::EntryKind kindOf(const QString &path)
{
    return platform::entryKind(QFile::encodeName(path).toStdString());
}
} // namespace

FileOperator::FileOperator(QObject *parent)
    : QObject(parent)
{}

void FileOperator::setCopyParams(const QString &source, const QString &destination, bool backup,
                                 const QString &backupRoot)
{
    m_source = source;
    m_destination = destination;
    m_backup = backup;
    m_backupRoot = backupRoot;
}

void FileOperator::stopCopy()
{
    m_stop = true;
}

void FileOperator::onCopyDirFiles()
{
    m_finishedCount = 0;
    m_total = countFiles(m_source);
    m_steps.clear();
    bool ok = !m_stop;
    // Without backups there is nothing to undo, so nothing to journal either.
    std::unique_ptr<ReplaceJournal> journal;
    if (ok && m_backup) {
        journal = std::make_unique<ReplaceJournal>(m_backupRoot);
        ok = QDir().mkpath(QFileInfo(journal->path()).absolutePath()) &&
             journal->begin(m_destination);
        if (!ok)
            m_errorPath = m_source; // nothing can be saved, so nothing is replaced
    }
    m_journal = journal.get();
    const platform::EntryKind root = kindOf(m_destination);
    if (ok && root != platform::EntryKind::Directory) {
        // The launcher's folder itself is made as one level, like any other.
        ok = root == platform::EntryKind::Missing && QDir().mkdir(m_destination);
        if (!ok)
            m_errorPath = m_destination;
    }
    // An entry in the way ends the plan there: the steps before it still run, then the run
    // fails at it.
    if (ok)
        plan(m_source, m_destination, QString(), false);
    ok = ok && (!m_journal || saveOriginals()) && copyDir();
    if (ok && journal && !journal->commit()) {
        ok = false;
        m_errorPath = journal->path();
    }
    m_journal = nullptr;
    m_steps.clear();
    if (ok)
        emit copyFinish();
    else
        emit copyError(m_errorPath);
}

int FileOperator::countFiles(const QString &folder)
{
    int count = 0;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (kindOf(entry.filePath()) == platform::EntryKind::Directory)
            count += countFiles(folder + QDir::separator() + entry.fileName());
        else if (ReplaceSteps::isLeafEntry(entry.filePath()))
            ++count;
    }
    return count;
}

QString FileOperator::fileMd5(const QString &path)
{
    return MD5CheckWorker::fileDigest(path);
}

bool FileOperator::plan(const QString &source, const QString &destination, const QString &relative,
                        bool fresh)
{
    const QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    const auto inside = [&relative](const QString &name) {
        return relative.isEmpty() ? name : relative + QChar('/') + name;
    };
    // Subfolders before the files of the same folder. A link to a folder is an entry like a
    // file: it is copied as a link, never followed.
    for (const QFileInfo &entry : entries) {
        if (kindOf(entry.filePath()) != platform::EntryKind::Directory)
            continue;
        const QString name = entry.fileName();
        Step step{Step::MakeFolder, source + QDir::separator() + name,
                  destination + QDir::separator() + name, inside(name)};
        // Below a folder still to be made nothing stands yet; looking there would look through
        // the link that the folder replaces.
        const platform::EntryKind kind = fresh ? platform::EntryKind::Missing : kindOf(step.target);
        if (kind == platform::EntryKind::SymLink) {
            // The package has a folder where a link stands: the link gives way to a real
            // folder, so that nothing is written where it points.
            step.kind = Step::LinkToFolder;
        } else if (kind != platform::EntryKind::Missing && kind != platform::EntryKind::Directory) {
            step.kind = Step::Blocked;
            m_errorPath = step.target;
        }
        if (kind != platform::EntryKind::Directory)
            m_steps.push_back(step);
        if (step.kind == Step::Blocked ||
            !plan(step.source, step.target, step.relative, kind != platform::EntryKind::Directory))
            return false;
    }
    for (const QFileInfo &entry : entries) {
        if (!ReplaceSteps::isLeafEntry(entry.filePath()))
            continue;
        const QString name = entry.fileName();
        Step step{Step::Replace, source + QDir::separator() + name,
                  destination + QDir::separator() + name, inside(name)};
        const platform::EntryKind kind = fresh ? platform::EntryKind::Missing : kindOf(step.target);
        if (kind == platform::EntryKind::Missing) {
            step.kind = Step::Add;
        } else if (kind != platform::EntryKind::File && kind != platform::EntryKind::SymLink) {
            step.kind = Step::Blocked;
            m_errorPath = step.source;
        } else if (ReplaceSteps::sameEntry(step.source, step.target)) {
            step.kind = Step::Skip;
        }
        m_steps.push_back(step);
        if (step.kind == Step::Blocked)
            return false;
    }
    return true;
}

bool FileOperator::saveOriginal(const Step &step, ReplaceSteps::FoldersToFlush *dirty)
{
    if (m_journal->contains(step.relative))
        return true; // a retry keeps what the first run recorded
    const QString backupPath = m_backupRoot + QChar('/') + step.relative;
    // An earlier backup of this name holds the older, original version: keep it.
    if (kindOf(backupPath) != platform::EntryKind::Missing)
        return true;
    // Backups in the launcher's folder (the updater's own "rollback") are written through it:
    // the updater's folder swapped for a link meanwhile refuses them instead of leading out.
    const QString launcher = QDir::cleanPath(m_destination) + QChar('/');
    const QString backup = QDir::cleanPath(m_backupRoot);
    const bool inLauncher = backup.startsWith(launcher);
    const QString root = inLauncher ? m_destination : m_backupRoot;
    const QString inside =
        inLauncher ? backup.mid(launcher.size()) + QChar('/') + step.relative : step.relative;
    const int slash = inside.lastIndexOf(QChar('/'));
    return (inLauncher || QDir().mkpath(m_backupRoot)) &&
           ReplaceSteps::makeRealFolder(root, slash < 0 ? QString() : inside.left(slash)) &&
           ReplaceSteps::installEntry(step.target, root, inside, dirty);
}

bool FileOperator::saveOriginals()
{
    using Origin = ReplaceJournal::Origin;
    QList<QPair<Origin, QString>> records;
    ReplaceSteps::FoldersToFlush dirty;
    for (const Step &step : m_steps) {
        if (m_stop)
            return false;
        switch (step.kind) {
        case Step::Add:
            records.append({Origin::Added, step.relative});
            break;
        case Step::MakeFolder:
            records.append({Origin::Folder, step.relative});
            break;
        case Step::Replace:
        case Step::LinkToFolder:
            // Without its backup the old entry must not be replaced.
            if (!saveOriginal(step, &dirty)) {
                m_errorPath = step.kind == Step::Replace ? step.source : step.target;
                return false;
            }
            records.append({Origin::Saved, step.relative});
            if (step.kind == Step::LinkToFolder)
                records.append({Origin::Folder, step.relative});
            break;
        case Step::Skip:
        case Step::Blocked:
            break;
        }
    }
    // The originals are on the disk before the journal names them, and the journal names every
    // step before the first one changes the launcher's folder.
    if (!ReplaceSteps::flushFolders(dirty) || !m_journal->record(records)) {
        m_errorPath = m_source;
        return false;
    }
    return true;
}

bool FileOperator::copyDir()
{
    ReplaceSteps::FoldersToFlush dirty;
    for (const Step &step : m_steps) {
        if (m_stop)
            return false;
        bool ok = true;
        switch (step.kind) {
        case Step::Skip:
            break;
        case Step::Add:
        case Step::Replace:
            ok = ReplaceSteps::installEntry(step.source, m_destination, step.relative, &dirty);
            if (!ok)
                m_errorPath = step.source;
            break;
        case Step::LinkToFolder:
            ok = ReplaceSteps::removeLeaf(m_destination, step.relative, &dirty);
            Q_FALLTHROUGH();
        case Step::MakeFolder:
            ok = ok && ReplaceSteps::makeFolder(m_destination, step.relative, &dirty);
            if (!ok)
                m_errorPath = step.target;
            break;
        case Step::Blocked:
            return false;
        }
        if (!ok)
            return false;
        if (step.kind == Step::Skip || step.kind == Step::Add || step.kind == Step::Replace)
            emit copyProgress(++m_finishedCount, m_total);
    }
    // Every new name is on the disk before the commit says the folder is wholly new.
    if (!ReplaceSteps::flushFolders(dirty)) {
        m_errorPath = m_destination;
        return false;
    }
    return true;
}

bool FileOperator::restoreBackup(const QString &source, const QString &destination)
{
    return ReplaceRecovery::restoreTree(source, destination);
}
