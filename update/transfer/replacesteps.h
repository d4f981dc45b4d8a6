#pragma once

#include <QString>

// The single steps of replacing and restoring the launcher's files, each one an entry of a
// folder (a file or a symbolic link, never what a link points to) and each one on the disk
// when it returns.
namespace ReplaceSteps {

// Whether path is a file or a link (an entry that is installed as a whole).
bool isLeafEntry(const QString &path);
// Whether two leaf entries are the same: files with equal digests, or links holding the same
// text. An unreadable file equals nothing.
bool sameEntry(const QString &a, const QString &b);
// Lower-case hexadecimal MD5 of a file, or an empty string when it cannot be read.
QString fileDigest(const QString &path);

// Puts a copy of the file or link at source in place of the entry at target (replacing a
// file or a link there, never writing through it): the copy is written beside the target
// under temporaryName(target), flushed, renamed over the target and the folder flushed.
bool installEntry(const QString &source, const QString &target);
// Where installEntry gathers a copy before renaming it; a cut-short copy is left there.
QString temporaryName(const QString &target);
bool isTemporaryName(const QString &path);
// Makes the folder relative below root, with any missing parents, as real folders: false when
// a part of the way is a link or a file (nothing is written through it then).
bool makeRealFolder(const QString &root, const QString &relative);
// Makes one folder and flushes its parent.
bool makeFolder(const QString &path);
// Removes a file or link, or an empty folder, and flushes its parent.
bool removeLeaf(const QString &path);
bool removeEmptyFolder(const QString &path);

// Test seam for the crash tests: with LUNMERE_UPDATE_FAULT set to "kill:N" the process kills
// itself at the N-th durable step of a replacement, with "fail:N" that step fails as a broken
// disk would make it fail, and with "count" each step is numbered on the error stream.
// Returns false when the step is to fail.
bool faultPoint();

} // namespace ReplaceSteps
