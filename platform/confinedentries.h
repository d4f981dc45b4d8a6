#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "fileentries.h"

namespace platform {

// Entries named by a path relative to a root folder ("a/b/c", '/' between parts). The root is
// taken as it stands; every folder below it is entered without following links and the last
// step acts on the entry through its own folder, so a link anywhere on the way (planted, or
// swapped in meanwhile) refuses the call instead of leading out of the root.

// The kind of the entry itself; Other when the way to it passes through a link or a file.
EntryKind entryKindBelow(const std::string &root, const std::string &relative);

// Whether the way to the entry (the entry itself not included) is anything but real folders.
bool passesThroughLink(const std::string &root, const std::string &relative);

// Removes a file or a link; true when nothing is left there.
bool removeEntryBelow(const std::string &root, const std::string &relative);

// Removes an empty real folder; true when nothing is left there.
bool removeFolderBelow(const std::string &root, const std::string &relative);

// Removes the entry and, when it is a real folder, everything in it. Links met anywhere are
// removed as links: what they point to is never entered, emptied or deleted.
bool removeTreeBelow(const std::string &root, const std::string &relative);

// removeTreeBelow for an absolute path: the parent is the root.
bool removeTree(const std::string &path);

// Writing below a root, by the same rule: nothing is ever made, renamed or written through a
// link, so an entry swapped for one between a look and a write refuses the write.

// Makes a real folder where nothing stands.
bool makeFolderBelow(const std::string &root, const std::string &relative);

// Makes a new link holding text as it stands, where nothing stands.
bool createSymLinkBelow(const std::string &root, const std::string &relative,
                        const std::string &text);

// Renames the entry from over the entry to, in one step: a file or a link at to is replaced as
// an entry. Both lie in the same folder.
bool replaceEntryBelow(const std::string &root, const std::string &from, const std::string &to);

// Flushes a folder's entries to the disk; an empty relative flushes the root itself.
bool syncFolderBelow(const std::string &root, const std::string &relative);

// Appends to an existing file and flushes it to the disk; a link there is never opened.
bool appendToFileBelow(const std::string &root, const std::string &relative, const void *data,
                       std::size_t size);

// A new file below a root, written and flushed through its own handle.
class NewFileBelow
{
public:
    NewFileBelow() = default;
    ~NewFileBelow(); // closes; the file stays
    NewFileBelow(const NewFileBelow &) = delete;
    NewFileBelow &operator=(const NewFileBelow &) = delete;

    // Where nothing stands (a leftover link there is never opened).
    bool create(const std::string &root, const std::string &relative);
    bool write(const void *data, std::size_t size);
    // Flushes the data, gives the file its permission bits (POSIX; on Windows only "read-only"
    // counts) and closes it.
    bool finish(int posixMode);

private:
    std::intptr_t m_handle = -1;
};

} // namespace platform
