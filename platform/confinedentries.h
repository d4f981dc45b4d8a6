#pragma once

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

} // namespace platform
