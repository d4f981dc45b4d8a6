#include "replacesteps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cstdio>

#include "confinedentries.h"
#include "fileentries.h"
#include "processes.h"

namespace {
std::function<void(const QString &)> &writeHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

void aboutToWrite(const QString &path)
{
#ifdef LUNMERE_FAULT_INJECTION
    if (writeHook())
        writeHook()(path);
#else
    Q_UNUSED(path)
#endif
}

std::string native(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

platform::EntryKind kindOf(const QString &path)
{
    return platform::entryKind(native(path));
}

QString parentOf(const QString &relative)
{
    const int slash = relative.lastIndexOf(QChar('/'));
    return slash < 0 ? QString() : relative.left(slash);
}

bool syncParent(const QString &root, const QString &relative, ReplaceSteps::FoldersToFlush *dirty)
{
    const QString parent = parentOf(relative);
    if (dirty) {
        dirty->insert({root, parent});
        return true;
    }
    return platform::syncFolderBelow(native(root), native(parent));
}

// QFile's permission flags as POSIX mode bits.
int posixMode(QFileDevice::Permissions permissions)
{
    const int bits = int(permissions);
    return ((bits >> 12) & 07) << 6 | ((bits >> 4) & 07) << 3 | (bits & 07);
}

bool copyFileData(const QString &source, const std::string &root, const std::string &relative)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    platform::NewFileBelow output;
    // A new name only: whatever a leftover link there points to is never opened.
    if (!output.create(root, relative))
        return false;
    constexpr qint64 kChunk = 256 * 1024;
    while (!input.atEnd()) {
        const QByteArray buffer = input.read(kChunk);
        if (buffer.isEmpty() || !output.write(buffer.constData(), size_t(buffer.size())))
            return false;
    }
    return input.error() == QFileDevice::NoError && output.finish(posixMode(input.permissions()));
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
    for (const FolderBelow &folder : folders) {
        const std::string root = native(folder.first);
        const std::string relative = native(folder.second);
        // A folder removed after its entries changed has nothing left to flush; its parent
        // is in the set.
        const platform::EntryKind kind =
            relative.empty() ? platform::entryKind(root) : platform::entryKindBelow(root, relative);
        if (kind == platform::EntryKind::Directory)
            ok = platform::syncFolderBelow(root, relative) && ok;
    }
    return ok;
}

bool installEntry(const QString &source, const QString &root, const QString &relative,
                  FoldersToFlush *dirty)
{
    aboutToWrite(root + QChar('/') + relative);
    const std::string base = native(root);
    const std::string temporary = native(temporaryName(relative));
    if (!platform::removeEntryBelow(base, temporary))
        return false;
    bool made = false;
    if (kindOf(source) == platform::EntryKind::SymLink) {
        std::string text;
        made = platform::readSymLink(native(source), &text) &&
               platform::createSymLinkBelow(base, temporary, text);
    } else {
        made = copyFileData(source, base, temporary);
    }
    if (!made || !faultPoint()) {
        platform::removeEntryBelow(base, temporary);
        return false;
    }
    if (!platform::replaceEntryBelow(base, temporary, native(relative))) {
        // Nothing may survive a replacement but its old or its new entries.
        platform::removeEntryBelow(base, temporary);
        return false;
    }
    return faultPoint() && syncParent(root, relative, dirty);
}

bool makeFolder(const QString &root, const QString &relative, FoldersToFlush *dirty)
{
    aboutToWrite(root + QChar('/') + relative);
    return faultPoint() && platform::makeFolderBelow(native(root), native(relative)) &&
           syncParent(root, relative, dirty);
}

bool makeRealFolder(const QString &root, const QString &relative)
{
    QString path;
    const QStringList parts = relative.split(QChar('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        path += (path.isEmpty() ? QString() : QStringLiteral("/")) + part;
        const platform::EntryKind kind = platform::entryKindBelow(native(root), native(path));
        if (kind == platform::EntryKind::Directory)
            continue;
        if (kind != platform::EntryKind::Missing || !makeFolder(root, path))
            return false;
    }
    return true;
}

bool removeLeaf(const QString &root, const QString &relative, FoldersToFlush *dirty)
{
    const std::string base = native(root);
    const std::string entry = native(relative);
    if (platform::entryKindBelow(base, entry) == platform::EntryKind::Missing)
        return true;
    return platform::removeEntryBelow(base, entry) && syncParent(root, relative, dirty);
}

void setWriteHook(std::function<void(const QString &path)> hook)
{
    writeHook() = std::move(hook);
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
