#pragma once

#include <QPair>
#include <QSet>
#include <QString>

#include <functional>

// The single steps of replacing and restoring the launcher's files, each one an entry of a
// folder (a file or a symbolic link, never what a link points to) and each one on the disk
// when it returns.
namespace ReplaceSteps {

// Whether path is a file or a link (an entry that is installed as a whole).
bool isLeafEntry(const QString &path);
// Whether two leaf entries are the same: files with equal bytes, or links holding the same
// text. An unreadable file equals nothing.
bool sameEntry(const QString &a, const QString &b);

// A folder whose entries changed: a root and the folder's path relative to it (empty for the
// root itself). Many renames in one folder cost one flush of it, made before whatever depends
// on them (the journal, its commit).
using FolderBelow = QPair<QString, QString>;
using FoldersToFlush = QSet<FolderBelow>;
bool flushFolders(const FoldersToFlush &folders);

// The steps that write name their entry by a root and a path relative to it. The root is taken
// as it stands; below it every folder is entered without following links, and the entry is
// made, renamed or removed through its own folder, so that a link planted on the way, or
// swapped in between a look and the write, refuses the step: nothing is written outside root.

// Puts a copy of the file or link at source in place of the entry at relative below root
// (replacing a file or a link there, never writing through it): the copy is written beside the
// target under temporaryName(relative), flushed and renamed over the target; the target's
// folder is flushed at once, or added to dirty when given.
bool installEntry(const QString &source, const QString &root, const QString &relative,
                  FoldersToFlush *dirty = nullptr);
// Where installEntry gathers a copy before renaming it; a cut-short copy is left there.
QString temporaryName(const QString &target);
bool isTemporaryName(const QString &path);
// Makes the folder relative below root, with any missing parents, as real folders: false when
// a part of the way is a link or a file (nothing is written through it then).
bool makeRealFolder(const QString &root, const QString &relative);
// Makes one folder; flushes its parent (or adds it to dirty).
bool makeFolder(const QString &root, const QString &relative, FoldersToFlush *dirty = nullptr);
// Removes a file or link; flushes the parent (or adds it to dirty).
bool removeLeaf(const QString &root, const QString &relative, FoldersToFlush *dirty = nullptr);

// Test seam for the crash tests: with LUNMERE_UPDATE_FAULT set to "kill:N" the process kills
// itself at the N-th durable step of a replacement, with "fail:N" that step fails as a broken
// disk would make it fail, and with "count" each step is numbered on the error stream.
// Returns false when the step is to fail. Compiled in only with LAUNCHER_FAULT_INJECTION.
bool faultPoint();
// Test seam of the same builds: hook is called with an entry's path just before the entry is
// written, so that a test can swap a folder on the way for a link at that very moment.
void setWriteHook(std::function<void(const QString &path)> hook);

} // namespace ReplaceSteps
