#include "replacesteps.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cstdio>

#include "fileentries.h"
#include "processes.h"

namespace {
std::string native(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

platform::EntryKind kindOf(const QString &path)
{
    return platform::entryKind(native(path));
}

bool syncParent(const QString &path)
{
    return platform::syncDirectory(native(QFileInfo(path).absolutePath()));
}

bool copyFileData(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    QFile output(target);
    // A new name only: whatever a leftover link there points to is never opened.
    if (!output.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    constexpr qint64 kChunk = 256 * 1024;
    while (!input.atEnd()) {
        const QByteArray buffer = input.read(kChunk);
        if (buffer.isEmpty() || output.write(buffer) != buffer.size())
            return false;
    }
    const bool ok = input.error() == QFileDevice::NoError && output.flush() &&
                    output.setPermissions(input.permissions());
    output.close();
    return ok && output.error() == QFileDevice::NoError;
}
} // namespace

namespace ReplaceSteps {

bool isLeafEntry(const QString &path)
{
    const platform::EntryKind kind = kindOf(path);
    return kind == platform::EntryKind::File || kind == platform::EntryKind::SymLink;
}

QString fileDigest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

bool sameEntry(const QString &a, const QString &b)
{
    const platform::EntryKind kind = kindOf(a);
    if (kind != kindOf(b))
        return false;
    if (kind == platform::EntryKind::SymLink) {
        std::string textA, textB;
        return platform::readSymLink(native(a), &textA) &&
               platform::readSymLink(native(b), &textB) && textA == textB;
    }
    if (kind != platform::EntryKind::File || QFileInfo(a).size() != QFileInfo(b).size())
        return false;
    const QString digest = fileDigest(a);
    // Two unreadable files both give an empty digest; that is no proof of equality.
    return !digest.isEmpty() && digest == fileDigest(b);
}

namespace {
const QString kTemporarySuffix = QStringLiteral(".lunmere-tmp");
}

QString temporaryName(const QString &target)
{
    return target + kTemporarySuffix;
}

bool isTemporaryName(const QString &path)
{
    return path.endsWith(kTemporarySuffix);
}

bool installEntry(const QString &source, const QString &target)
{
    const QString temporary = temporaryName(target);
    if (!platform::removeEntry(native(temporary)))
        return false;
    bool made = false;
    if (kindOf(source) == platform::EntryKind::SymLink) {
        std::string text;
        made = platform::readSymLink(native(source), &text) &&
               platform::createSymLink(text, native(temporary));
    } else {
        made = copyFileData(source, temporary) && platform::syncFile(native(temporary));
    }
    if (!made || !faultPoint()) {
        platform::removeEntry(native(temporary));
        return false;
    }
    if (!platform::replaceEntry(native(temporary), native(target)))
        return false;
    return faultPoint() && syncParent(target);
}

bool makeFolder(const QString &path)
{
    return faultPoint() && QDir().mkdir(path) && syncParent(path);
}

bool makeRealFolder(const QString &root, const QString &relative)
{
    QString path = root;
    const QStringList parts = relative.split(QChar('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        path += QChar('/') + part;
        const platform::EntryKind kind = kindOf(path);
        if (kind == platform::EntryKind::Directory)
            continue;
        if (kind != platform::EntryKind::Missing || !makeFolder(path))
            return false;
    }
    return true;
}

bool removeLeaf(const QString &path)
{
    if (kindOf(path) == platform::EntryKind::Missing)
        return true;
    return platform::removeEntry(native(path)) && syncParent(path);
}

bool removeEmptyFolder(const QString &path)
{
    const platform::EntryKind kind = kindOf(path);
    if (kind == platform::EntryKind::Missing)
        return true;
    return kind == platform::EntryKind::Directory && QDir().rmdir(path) && syncParent(path);
}

bool faultPoint()
{
    static QByteArray setting;
    static std::atomic<int> counter{0};
    const QByteArray current = qgetenv("LUNMERE_UPDATE_FAULT");
    if (current.isEmpty())
        return true;
    if (current != setting) {
        // A new setting counts from its first step (tests change it between runs).
        setting = current;
        counter = 0;
    }
    const int step = ++counter;
    if (setting == "count") {
        std::fprintf(stderr, "fault point %d\n", step);
        return true;
    }
    const int colon = setting.indexOf(':');
    if (colon < 0 || setting.mid(colon + 1).toInt() != step)
        return true;
    if (setting.startsWith("kill:"))
        platform::killCurrentProcess();
    return !setting.startsWith("fail:");
}

} // namespace ReplaceSteps
