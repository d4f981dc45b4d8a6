#include "fileoperator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "md5checkworker.h"

namespace {
constexpr qint64 kCopyChunk = 256 * 1024;
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
    if (copyDir(m_source, m_destination))
        emit copyFinish();
    else
        emit copyError(m_errorPath);
}

int FileOperator::countFiles(const QString &folder)
{
    const QDir dir(folder);
    int count = dir.entryList(QDir::Files).size();
    const QStringList subfolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : subfolders)
        count += countFiles(folder + QDir::separator() + name);
    return count;
}

QString FileOperator::fileMd5(const QString &path)
{
    return MD5CheckWorker::fileDigest(path);
}

bool FileOperator::replaceFile(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    // The new content gathers under a temporary name and is renamed over the target only when
    // complete and synced, so an interrupted copy never leaves a torn file behind.
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    QByteArray buffer;
    while (!input.atEnd()) {
        buffer = input.read(kCopyChunk);
        if (buffer.isEmpty() && input.error() != QFileDevice::NoError)
            break;
        if (output.write(buffer) != buffer.size())
            break;
    }
    if (input.error() != QFileDevice::NoError || output.error() != QFileDevice::NoError ||
        !input.atEnd()) {
        output.cancelWriting();
        output.commit();
        return false;
    }
    output.setPermissions(input.permissions());
    return output.commit();
}

bool FileOperator::copyDir(const QString &source, const QString &destination)
{
    if (m_stop)
        return false;
    const QDir destinationDir(destination);
    if (!destinationDir.exists() && !QDir().mkdir(destinationDir.absolutePath())) {
        // The failure page names what could not be made, not an earlier run's path.
        m_errorPath = destination;
        return false;
    }

    const QDir sourceDir(source);
    const QStringList subfolders =
        sourceDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &name : subfolders) {
        if (!copyDir(source + QDir::separator() + name, destination + QDir::separator() + name))
            return false;
    }

    const QStringList files = sourceDir.entryList(QDir::Files, QDir::Unsorted);
    for (const QString &name : files) {
        if (m_stop)
            return false;
        const QString sourcePath = source + QDir::separator() + name;
        const QString targetPath = destination + QDir::separator() + name;
        const QFileInfo target(targetPath);
        if (target.exists() || target.isSymLink()) {
            const QString targetDigest = target.isFile() ? fileMd5(targetPath) : QString();
            const QString sourceDigest = fileMd5(sourcePath);
            // Two unreadable files both give an empty digest; that is no proof of equality.
            if (!sourceDigest.isEmpty() && sourceDigest == targetDigest) {
                emit copyProgress(++m_finishedCount, m_total);
                continue;
            }
            if (m_backup && target.isFile()) {
                QString backupFolder = destination;
                if (backupFolder.startsWith(m_destination))
                    backupFolder.replace(0, m_destination.size(), m_backupRoot);
                // Parents may be missing when nothing above this file was backed up yet.
                if (!QDir().mkpath(backupFolder)) {
                    m_errorPath = source;
                    return false;
                }
                // An earlier backup of this name holds the older, original version: keep it.
                const QString backupPath = backupFolder + QDir::separator() + name;
                if (!QFileInfo::exists(backupPath) && !replaceFile(targetPath, backupPath)) {
                    // Without its backup the old file must not be overwritten.
                    m_errorPath = sourcePath;
                    return false;
                }
            }
        }
        if (!replaceFile(sourcePath, targetPath)) {
            m_errorPath = sourcePath;
            return false;
        }
        emit copyProgress(++m_finishedCount, m_total);
    }
    return true;
}

bool FileOperator::restoreBackup(const QString &source, const QString &destination)
{
    const QDir destinationDir(destination);
    if (!destinationDir.exists() && !QDir().mkdir(destinationDir.absolutePath()))
        return false;
    const QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString targetPath = destination + QDir::separator() + entry.fileName();
        if (entry.isDir()) {
            if (!restoreBackup(entry.filePath(), targetPath))
                return false;
        } else if (!replaceFile(entry.filePath(), targetPath)) {
            return false;
        }
    }
    return true;
}
