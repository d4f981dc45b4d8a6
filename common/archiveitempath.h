#pragma once

#include <QString>

// Item paths as archives store them, made safe to join to an output folder.
namespace ArchiveItemPath {

// Windows-made archives may use "\" as separator.
QString normalized(const QString &rawPath);

// True when the normalised path stays inside the folder it is joined to: not empty, not
// absolute, no drive letter, no ".." component, no NUL.
bool isContained(const QString &normalizedPath);

// True for "", ".", "./" and the like: a name for the folder the path is joined to.
bool namesItsFolder(const QString &normalizedPath);

// POSIX mode to give an extracted item, or -1 to keep the default. Only a mode carried in
// the high half (flag 0x8000) is trusted; setuid, setgid and sticky bits are never applied,
// links are not files, and folders stay usable by their owner.
int permissionsFor(quint32 attributes, bool isDirectory);

// True when the attributes describe a symbolic link.
bool isSymbolicLink(quint32 attributes);

} // namespace ArchiveItemPath
