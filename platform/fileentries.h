#pragma once

#include <string>

namespace platform {

// Directory entries as entries: a symbolic link is looked at, replaced and removed as the link
// itself, never as what it points to. The updater replaces the launcher's files with these so
// that nothing it writes lands outside the launcher's folder.

enum class EntryKind { Missing, File, Directory, SymLink, Other };

// The kind of the entry itself (a link is SymLink whatever it points to, or if it dangles).
EntryKind entryKind(const std::string &path);

// The text a link holds, unresolved; false when path is not a link.
bool readSymLink(const std::string &path, std::string *target);

// Makes a new link at path (which must not exist) holding target as it stands.
bool createSymLink(const std::string &target, const std::string &path);

// Renames from over to in one step: to, if it exists as a file or a link, is replaced as an
// entry. Both lie in the same folder.
bool replaceEntry(const std::string &from, const std::string &to);

// Removes a file or a link (never what a link points to); true when nothing is left.
bool removeEntry(const std::string &path);

// Flushes a file's data to the disk.
bool syncFile(const std::string &path);

// Flushes a folder's entries (new names, renames, removals) to the disk, where the system
// needs that to be asked for.
bool syncDirectory(const std::string &path);

} // namespace platform
