#include "postextractionsteps.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString PostExtractionSteps::deletionListPath(const QString &folder)
{
    return folder + QLatin1String("/deletefiles.txt");
}

QString PostExtractionSteps::managedMetaDataPath(const QString &folder)
{
    return folder + QLatin1String("/Kestrava_Data/Managed/Metadata/global-metadata.dat");
}

QString PostExtractionSteps::nativeMetaDataPath(const QString &folder)
{
    return folder + QLatin1String("/Kestrava_Data/Native/Data/Metadata/global-metadata.dat");
}

QString PostExtractionSteps::resolveEntry(const QString &folder, const QString &entry)
{
    QString relative = entry;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (relative.isEmpty() || relative.contains(QChar(0)))
        return QString();
    const QString root = QDir::cleanPath(folder);
    const QString path = QDir::cleanPath(root + QLatin1Char('/') + relative);
    if (!path.startsWith(root + QLatin1Char('/')))
        return QString();
    // A link inside the folder must not lead the removal to a file elsewhere. The entry
    // itself may be a link: removing it removes only the link.
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    const QString canonicalParent = QFileInfo(QFileInfo(path).path()).canonicalFilePath();
    if (!canonicalParent.isEmpty() && canonicalParent != canonicalRoot &&
        !canonicalParent.startsWith(canonicalRoot + QLatin1Char('/')))
        return QString();
    return path;
}

PostExtractionSteps::DeletionResult PostExtractionSteps::applyDeletionList(const QString &folder)
{
    DeletionResult result;
    const QString listPath = deletionListPath(folder);
    QFile list(listPath);
    if (!list.exists())
        return result;
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result.ok = false;
        result.failedPath = listPath;
        return result;
    }
    while (!list.atEnd()) {
        const QString entry = QString::fromUtf8(list.readLine()).trimmed();
        if (entry.isEmpty())
            continue; // names nothing; it must not stand for the install folder itself
        const QString path = resolveEntry(folder, entry);
        if (path.isEmpty()) {
            qWarning() << "deletefiles: refused entry outside the install folder:" << entry;
            result.refused << entry;
            continue;
        }
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        if (info.isDir() && !info.isSymLink()) {
            // A folder the version no longer has goes only when nothing is left in it: what
            // remains is the player's (saves, settings, mods).
            if (QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                   QDir::System) &&
                QDir().rmdir(path))
                result.removed << path;
            continue;
        }
        if (!QFile::remove(path)) {
            result.ok = false;
            result.failedPath = path;
            return result;
        }
        result.removed << path;
    }
    list.close();
    if (!list.remove())
        list.remove();
    return result;
}

PostExtractionSteps::MetaDataResult PostExtractionSteps::checkGlobalMetaData(const QString &folder)
{
    MetaDataResult result;
    const QFileInfo managed(managedMetaDataPath(folder));
    if (managed.exists() && managed.size() > 0)
        return result;
    result.dismissed = true;
    if (managed.exists())
        QFile::remove(managed.filePath());
    const QFileInfo native(nativeMetaDataPath(folder));
    if (native.exists() && native.size() > 0) {
        if (!QFile::copy(native.filePath(), managed.filePath()))
            result.error = true;
    } else {
        result.error = true;
    }
    return result;
}
