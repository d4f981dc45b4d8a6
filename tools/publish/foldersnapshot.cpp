#include "foldersnapshot.h"

#include "packagedigest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>

namespace {

// Why a path component cannot be a file name on Windows, or an empty string when it can.
QString windowsNameProblem(const QString &name)
{
    if (name.contains(QLatin1Char('\\')))
        return QStringLiteral("holds a backslash, a folder separator on Windows, so it would "
                              "land in another folder (or outside the install folder)");
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral(":*?\"<>|").contains(c))
            return QStringLiteral("holds the character '%1', which Windows does not allow in "
                                  "file names")
                .arg(c.unicode() < 32 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar('0'))
                                      : QString(c));
    }
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("ends with a dot or a space, which Windows drops");
    static const QStringList reserved{
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const QString stem = name.section(QLatin1Char('.'), 0, 0).toUpper();
    if (reserved.contains(stem))
        return QStringLiteral("is a device name on Windows");
    return QString();
}

bool isInside(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool FolderSnapshot::scan(const QString &root, FolderSnapshot *out, QString *error,
                          const QMap<QString, QString> &reservedTopLevel)
{
    const QFileInfo rootInfo(root);
    if (!rootInfo.isDir())
        return fail(error, QStringLiteral("%1: no such folder").arg(root));
    const QString canonicalRoot = rootInfo.canonicalFilePath();
    FolderSnapshot snapshot;
    // Without a trailing slash, or every relative path would lose its first letter.
    snapshot.m_root = QDir::cleanPath(rootInfo.absoluteFilePath());

    QDirIterator it(snapshot.m_root,
                    QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = path.mid(snapshot.m_root.size() + 1);
        for (const QString &part : relative.split(QLatin1Char('/'))) {
            const QString problem = windowsNameProblem(part);
            if (!problem.isEmpty())
                return fail(error,
                            QStringLiteral("%1: the name \"%2\" %3").arg(path, part, problem));
        }
        if (!relative.contains(QLatin1Char('/'))) {
            for (auto reserved = reservedTopLevel.begin(); reserved != reservedTopLevel.end();
                 ++reserved) {
                if (relative.compare(reserved.key(), Qt::CaseInsensitive) == 0)
                    return fail(error, QStringLiteral("%1: %2").arg(path, reserved.value()));
            }
        }
        if (info.isSymLink()) {
            const QString target = info.canonicalFilePath();
            if (target.isEmpty())
                return fail(error,
                            QStringLiteral("%1: cannot read: the link leads to nothing").arg(path));
            if (!isInside(target, canonicalRoot))
                return fail(error, QStringLiteral("%1: the link leads outside the folder, to %2")
                                       .arg(path, target));
            return fail(error, QStringLiteral("%1: symbolic links are not shipped (the launcher "
                                              "writes plain files); put the file itself here")
                                   .arg(path));
        }
        Entry entry;
        if (info.isDir()) {
            if (!QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                    QDir::System))
                continue;
            if (!info.isReadable() || !info.isExecutable())
                return fail(error, QStringLiteral("%1: cannot read the folder").arg(path));
            entry.isDir = true;
        } else if (info.isFile()) {
            StreamHash hash(StreamHash::Sha256);
            StreamHash *hashes[] = {&hash};
            const qint64 size = PackageDigest::feedFile(path, -1, hashes, 1);
            if (size < 0)
                return fail(error, QStringLiteral("%1: cannot read").arg(path));
            entry.size = size;
            entry.sha256 = hash.resultHex().toLatin1();
            entry.executable = info.permission(QFileDevice::ExeOwner);
        } else {
            return fail(
                error,
                QStringLiteral("%1: not a file or folder (a device, pipe or socket)").arg(path));
        }
        snapshot.m_entries.insert(relative, entry);
    }
    const QStringList collision = caseCollision(snapshot.m_entries.keys());
    if (!collision.isEmpty())
        return fail(error, QStringLiteral("%1: \"%2\" and \"%3\" differ only in case and would be "
                                          "one file on Windows")
                               .arg(snapshot.m_root, collision.at(0), collision.at(1)));
    *out = snapshot;
    return true;
}

QStringList FolderSnapshot::caseCollision(const QStringList &paths)
{
    // Folders collide as well as files: "Data/a" and "data/b" are one folder on Windows.
    QHash<QString, QString> seen;
    for (const QString &path : paths) {
        QString prefix;
        for (const QString &part : path.split(QLatin1Char('/'))) {
            prefix = prefix.isEmpty() ? part : prefix + QLatin1Char('/') + part;
            const QString folded = prefix.toCaseFolded();
            const auto found = seen.constFind(folded);
            if (found == seen.constEnd())
                seen.insert(folded, prefix);
            else if (found.value() != prefix)
                return {found.value(), prefix};
        }
    }
    return {};
}

QStringList FolderSnapshot::files() const
{
    QStringList result;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (!it.value().isDir)
            result << it.key();
    return result;
}

qint64 FolderSnapshot::totalSize() const
{
    qint64 total = 0;
    for (const Entry &entry : m_entries)
        total += entry.size;
    return total;
}

bool FolderSnapshot::sameFile(const Entry &a, const Entry &b)
{
    return a.isDir == b.isDir && a.size == b.size && a.sha256 == b.sha256 &&
           a.executable == b.executable;
}

FolderSnapshot FolderSnapshot::fromEntries(const QString &root, const QMap<QString, Entry> &entries)
{
    FolderSnapshot snapshot;
    snapshot.m_root = root;
    snapshot.m_entries = entries;
    return snapshot;
}

QJsonObject FolderSnapshot::toJson() const
{
    QJsonArray entries;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        QJsonObject entry{{QStringLiteral("path"), it.key()}};
        if (it.value().isDir) {
            entry.insert(QStringLiteral("folder"), true);
        } else {
            entry.insert(QStringLiteral("size"), double(it.value().size));
            entry.insert(QStringLiteral("sha256"), QString::fromLatin1(it.value().sha256));
            if (it.value().executable)
                entry.insert(QStringLiteral("executable"), true);
        }
        entries.append(entry);
    }
    return QJsonObject{{QStringLiteral("entries"), entries}};
}

bool FolderSnapshot::fromJson(const QString &root, const QJsonObject &json, FolderSnapshot *out)
{
    FolderSnapshot snapshot;
    snapshot.m_root = root;
    for (const QJsonValue &value : json.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject object = value.toObject();
        const QString path = object.value(QStringLiteral("path")).toString();
        if (path.isEmpty())
            return false;
        Entry entry;
        entry.isDir = object.value(QStringLiteral("folder")).toBool();
        entry.size = qint64(object.value(QStringLiteral("size")).toDouble());
        entry.sha256 = object.value(QStringLiteral("sha256")).toString().toLatin1();
        entry.executable = object.value(QStringLiteral("executable")).toBool();
        if (!entry.isDir && entry.sha256.size() != 64)
            return false;
        snapshot.m_entries.insert(path, entry);
    }
    if (snapshot.m_entries.isEmpty())
        return false;
    *out = snapshot;
    return true;
}

QSet<QString> FolderSnapshot::folders() const
{
    QSet<QString> result;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        QString folder = it.value().isDir ? it.key() : it.key().section(QLatin1Char('/'), 0, -2);
        while (!folder.isEmpty() && !result.contains(folder)) {
            result.insert(folder);
            folder = folder.section(QLatin1Char('/'), 0, -2);
        }
    }
    return result;
}
