#include "gameentry.h"

#include <QDir>
#include <QFileInfo>

#include "processes.h"

namespace {

// The real path of the deepest part of path that exists: links resolved, so a link anywhere
// on the way shows where it really leads.
QString existingCanonicalPrefix(QString path)
{
    while (!path.isEmpty()) {
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink()) {
            const QString canonical = info.canonicalFilePath();
            // A dangling link leads nowhere this launcher can vouch for.
            return canonical;
        }
        const QString parent = info.path();
        if (parent == path)
            break;
        path = parent;
    }
    return QString();
}

bool isInside(const QString &path, const QString &folder)
{
    return path == folder ||
           path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

} // namespace

GameEntry GameEntry::resolve(const QString &folder, const QString &entry)
{
    GameEntry result;
    result.m_entry = entry;
    QString relative = entry;
    if (relative.isEmpty())
        relative =
            QStringLiteral("Kestrava") + QString::fromStdString(platform::executableSuffix());
    // Windows answers may use either separator; on Linux a backslash could only be meant as one.
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));

    if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
        result.m_refusal = QStringLiteral("no game folder");
        return result;
    }
    if (QDir::isAbsolutePath(relative) || relative.startsWith(QLatin1Char('/')) ||
        relative.contains(QLatin1Char(':'))) {
        result.m_refusal = QStringLiteral("not a relative path");
        return result;
    }
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")) ||
        relative.endsWith(QLatin1Char('/'))) {
        result.m_refusal = QStringLiteral("leaves the game folder or names a folder");
        return result;
    }

    const QString base = QDir::cleanPath(folder);
    const QString path = QDir::cleanPath(base + QLatin1Char('/') + parts.join(QLatin1Char('/')));
    // A game not installed yet has nothing on the way that could lead elsewhere.
    if (!QFileInfo(base).isDir()) {
        result.m_path = path;
        return result;
    }
    // Links: what the path really reaches must lie in what the folder really is.
    const QString realFolder = QFileInfo(base).canonicalFilePath();
    const QString reached = existingCanonicalPrefix(path);
    if (reached.isEmpty() || !isInside(reached, realFolder) ||
        (QFileInfo(path).exists() && reached == realFolder)) {
        result.m_refusal = QStringLiteral("leads outside the game folder");
        return result;
    }
    result.m_path = path;
    return result;
}
