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
    bool ok = true;
    std::unique_ptr<ReplaceJournal> journal;
    if (m_backup) {
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
    ok = ok && copyDir(m_source, m_destination, QString());
    if (ok && journal && !journal->commit()) {
        ok = false;
        m_errorPath = journal->path();
    }
    m_journal = nullptr;
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

bool FileOperator::copyDir(const QString &source, const QString &destination,
                           const QString &relative)
{
    if (m_stop)
        return false;
    const QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    // Subfolders before the files of the same folder. A link to a folder is an entry like a
    // file: it is copied as a link, never followed.
    for (const QFileInfo &entry : entries) {
        if (kindOf(entry.filePath()) != platform::EntryKind::Directory)
            continue;
        const QString name = entry.fileName();
        const QString target = destination + QDir::separator() + name;
        const QString inside = relative.isEmpty() ? name : relative + QChar('/') + name;
        if (!prepareFolder(target, inside) ||
            !copyDir(source + QDir::separator() + name, target, inside))
            return false;
    }
    for (const QFileInfo &entry : entries) {
        if (!ReplaceSteps::isLeafEntry(entry.filePath()))
            continue;
        if (m_stop)
            return false;
        const QString name = entry.fileName();
        if (!installOne(source + QDir::separator() + name, destination + QDir::separator() + name,
                        relative.isEmpty() ? name : relative + QChar('/') + name))
            return false;
        emit copyProgress(++m_finishedCount, m_total);
    }
    return true;
}

bool FileOperator::prepareFolder(const QString &target, const QString &relative)
{
    const platform::EntryKind kind = kindOf(target);
    if (kind == platform::EntryKind::Directory)
        return true;
    bool ok = false;
    if (kind == platform::EntryKind::Missing) {
        ok = (!m_journal || m_journal->record(ReplaceJournal::Origin::Folder, relative)) &&
             ReplaceSteps::makeFolder(target);
    } else if (kind == platform::EntryKind::SymLink) {
        // The package has a folder where a link stands: the link is replaced by a real
        // folder, so that nothing is written where it points.
        ok = saveOriginal(target, relative) &&
             (!m_journal || m_journal->record(ReplaceJournal::Origin::Folder, relative)) &&
             ReplaceSteps::removeLeaf(target) && ReplaceSteps::makeFolder(target);
    }
    if (!ok)
        m_errorPath = target;
    return ok;
}

bool FileOperator::saveOriginal(const QString &targetPath, const QString &relative)
{
    if (!m_backup || (m_journal && m_journal->contains(relative)))
        return true; // a retry keeps what the first run recorded
    const QString backupPath = m_backupRoot + QChar('/') + relative;
    // An earlier backup of this name holds the older, original version: keep it.
    if (kindOf(backupPath) == platform::EntryKind::Missing) {
        const int slash = relative.lastIndexOf(QChar('/'));
        if (!QDir().mkpath(m_backupRoot) ||
            !ReplaceSteps::makeRealFolder(m_backupRoot,
                                          slash < 0 ? QString() : relative.left(slash)) ||
            !ReplaceSteps::installEntry(targetPath, backupPath))
            return false;
    }
    return !m_journal || m_journal->record(ReplaceJournal::Origin::Saved, relative);
}

bool FileOperator::installOne(const QString &sourcePath, const QString &targetPath,
                              const QString &relative)
{
    const platform::EntryKind kind = kindOf(targetPath);
    const bool replaceable =
        kind == platform::EntryKind::File || kind == platform::EntryKind::SymLink;
    if (replaceable && ReplaceSteps::sameEntry(sourcePath, targetPath))
        return true;
    bool ok = false;
    if (kind == platform::EntryKind::Missing) {
        ok = (!m_journal || m_journal->record(ReplaceJournal::Origin::Added, relative)) &&
             ReplaceSteps::installEntry(sourcePath, targetPath);
    } else if (replaceable) {
        // Without its backup the old entry must not be replaced.
        ok = saveOriginal(targetPath, relative) &&
             ReplaceSteps::installEntry(sourcePath, targetPath);
    }
    if (!ok)
        m_errorPath = sourcePath;
    return ok;
}

bool FileOperator::restoreBackup(const QString &source, const QString &destination)
{
    return ReplaceRecovery::restoreTree(source, destination);
}
