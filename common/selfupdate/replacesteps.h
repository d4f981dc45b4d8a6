#pragma once

#include <QSet>
#include <QString>

// The single steps of replacing and restoring the launcher's files, each one an entry of a
// folder (a file or a symbolic link, never what a link points to) and each one on the disk
// when it returns.
namespace ReplaceSteps {

// Whether path is a file or a link (an entry that is installed as a whole).
bool isLeafEntry(const QString &path);
// Whether two leaf entries are the same: files with equal bytes, or links holding the same
// text. An unreadable file equals nothing.
bool sameEntry(const QString &a, const QString &b);

// Folders whose entries changed and still have to be flushed: many renames in one folder cost
// one flush of it, made before whatever depends on them (the journal, its commit).
using FoldersToFlush = QSet<QString>;
bool flushFolders(const FoldersToFlush &folders);

// Puts a copy of the file or link at source in place of the entry at target (replacing a
// file or a link there, never writing through it): the copy is written beside the target
// under temporaryName(target), flushed and renamed over the target; the target's folder is
// flushed at once, or added to dirty when given.
bool installEntry(const QString &source, const QString &target, FoldersToFlush *dirty = nullptr);
// Where installEntry gathers a copy before renaming it; a cut-short copy is left there.
QString temporaryName(const QString &target);
bool isTemporaryName(const QString &path);
// Makes the folder relative below root, with any missing parents, as real folders: false when
// a part of the way is a link or a file (nothing is written through it then).
bool makeRealFolder(const QString &root, const QString &relative);
// Makes one folder; flushes its parent (or adds it to dirty).
bool makeFolder(const QString &path, FoldersToFlush *dirty = nullptr);
// Removes a file or link, or an empty folder (anything else that stands there now is left);
// flushes the parent (or adds it to dirty).
bool removeLeaf(const QString &path, FoldersToFlush *dirty = nullptr);
bool removeEmptyFolder(const QString &path, FoldersToFlush *dirty = nullptr);

// Test seam for the crash tests: with LUNMERE_UPDATE_FAULT set to "kill:N" the process kills
// itself at the N-th durable step of a replacement, with "fail:N" that step fails as a broken
// disk would make it fail, and with "count" each step is numbered on the error stream.
// Returns false when the step is to fail. Compiled in only with LAUNCHER_FAULT_INJECTION.
bool faultPoint();

} // namespace ReplaceSteps
