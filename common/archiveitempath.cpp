#include "archiveitempath.h"

#include <QVector>

#include <algorithm>

#include "sevenzipabi.h"
#include "streamfile.h"

namespace ArchiveItemPath {

namespace {
constexpr quint32 kTypeMask = 0170000;
constexpr quint32 kLink = 0120000;

bool hasPosixMode(quint32 attributes)
{
    return (attributes & SevenZip::kUnixExtensionBit) != 0;
}
} // namespace

QString normalized(const QString &rawPath)
{
    QString path = rawPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

bool isContained(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)))
        return false;
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter())
        return false;
    bool named = false;
    const QVector<QStringRef> parts = path.splitRef(QLatin1Char('/'));
    for (const QStringRef &part : parts) {
        if (part == QLatin1String(".."))
            return false;
        if (!part.isEmpty() && part != QLatin1String("."))
            named = true;
    }
    return named; // "." or "./" would name the output folder itself
}

bool namesItsFolder(const QString &path)
{
    const QVector<QStringRef> parts = path.splitRef(QLatin1Char('/'));
    return std::all_of(parts.begin(), parts.end(), [](const QStringRef &part) {
        return part.isEmpty() || part == QLatin1String(".");
    });
}

int permissionsFor(quint32 attributes, bool isDirectory)
{
    return platform::itemPermissions(attributes, isDirectory);
}

bool isSymbolicLink(quint32 attributes)
{
    return hasPosixMode(attributes) && ((attributes >> 16) & kTypeMask) == kLink;
}

} // namespace ArchiveItemPath
