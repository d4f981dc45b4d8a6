#include "gamefolderlinks.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

QString GameFolderLinks::firstLink(const QString &folder, const QStringList &items)
{
    const QString base = QDir::cleanPath(folder);
    // A package names thousands of files in a few hundred folders: look at each folder once.
    QSet<QString> checked;
    for (const QString &item : items) {
        const QStringList parts = item.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        QString relative;
        for (int i = 0; i + 1 < parts.size(); ++i) {
            relative += (i ? QStringLiteral("/") : QString()) + parts.at(i);
            if (checked.contains(relative))
                continue;
            checked.insert(relative);
            const QString path = base + QLatin1Char('/') + relative;
            const QFileInfo info(path);
            if (info.isSymbolicLink() || info.isJunction())
                return path;
            // Below a folder that does not exist yet nothing can be a link.
            if (!info.exists())
                break;
        }
    }
    return QString();
}
