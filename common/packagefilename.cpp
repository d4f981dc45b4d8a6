#include "packagefilename.h"

#include <QFileInfo>

namespace PackageFileName {
bool isPlainName(const QString &name)
{
    if (name.isEmpty() || name.size() > 255 || name.startsWith(QLatin1Char('.')) ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1Char(':')))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

bool isPlain(const QString &name)
{
    if (!isPlainName(name))
        return false;
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == QLatin1String("7z") || suffix == QLatin1String("zip") ||
           suffix == QLatin1String("rar");
}
} // namespace PackageFileName
