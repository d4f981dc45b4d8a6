#include "replacesteps.h"

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

bool syncParent(const QString &path, ReplaceSteps::FoldersToFlush *dirty)
{
    const QString parent = QFileInfo(path).absolutePath();
    if (dirty) {
        dirty->insert(parent);
        return true;
    }
    return platform::syncDirectory(native(parent));
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
    // Byte by byte: a changed file usually differs in its first block, and an unreadable one
    // equals nothing.
    QFile fileA(a), fileB(b);
    if (!fileA.open(QIODevice::ReadOnly) || !fileB.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kBlock = 256 * 1024;
    while (!fileA.atEnd()) {
        const QByteArray blockA = fileA.read(kBlock);
        if (blockA.isEmpty() || blockA != fileB.read(kBlock))
            return false;
    }
    return fileA.error() == QFileDevice::NoError && fileB.atEnd() &&
           fileB.error() == QFileDevice::NoError;
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

bool flushFolders(const FoldersToFlush &folders)
{
    bool ok = true;
    for (const QString &folder : folders) {
        // A folder removed after its entries changed has nothing left to flush; its parent
        // is in the set.
        if (kindOf(folder) == platform::EntryKind::Directory)
            ok = platform::syncDirectory(native(folder)) && ok;
    }
    return ok;
}

bool installEntry(const QString &source, const QString &target, FoldersToFlush *dirty)
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
    if (!platform::replaceEntry(native(temporary), native(target))) {
        // Nothing may survive a replacement but its old or its new entries.
        platform::removeEntry(native(temporary));
        return false;
    }
    return faultPoint() && syncParent(target, dirty);
}

bool makeFolder(const QString &path, FoldersToFlush *dirty)
{
    return faultPoint() && QDir().mkdir(path) && syncParent(path, dirty);
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

bool removeLeaf(const QString &path, FoldersToFlush *dirty)
{
    if (kindOf(path) == platform::EntryKind::Missing)
        return true;
    return platform::removeEntry(native(path)) && syncParent(path, dirty);
}

bool removeEmptyFolder(const QString &path, FoldersToFlush *dirty)
{
    // Whatever stands there now that is no folder (the link it replaced, put back) is not
    // the folder that was made.
    if (kindOf(path) != platform::EntryKind::Directory)
        return true;
    return QDir().rmdir(path) && syncParent(path, dirty);
}

bool faultPoint()
{
#ifndef LUNMERE_FAULT_INJECTION
    return true;
#else
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
#endif
}

} // namespace ReplaceSteps
