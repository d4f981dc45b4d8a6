#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The file calls behind the 7-Zip client streams. Paths are UTF-8 in the platform's native
// form; errors are the system's own numbers (errno, GetLastError()), 0 for success.

// 100 ns ticks since 1601-01-01 UTC, as archives store times.
using FileTime = std::uint64_t;

// The package, opened for reading. Reads are positioned, so the library's threads share no
// file offset.
class InputFile
{
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    // WithWriter: another handle may go on writing the file and it may be renamed while it is
    // open (Windows shares write and delete access then; POSIX always allows both).
    enum class Sharing { ReadersOnly, WithWriter };

    // Regular files only: a folder, a pipe or a device in the package's place is refused
    // (EISDIR/EINVAL, ERROR_DIRECTORY/ERROR_BAD_FILE_TYPE) without blocking on it.
    int open(const std::string &path, Sharing sharing = Sharing::ReadersOnly);
    void close();
    bool isOpen() const { return m_handle != -1; }

    // One system read of at most size bytes; *got is 0 at the end of the file.
    int readAt(std::int64_t offset, void *data, std::uint32_t size, std::uint32_t *got);
    int size(std::int64_t *bytes) const;

private:
    std::intptr_t m_handle = -1;
};

// One extracted file. It is written without a name where the system allows (a hidden
// temporary name elsewhere) and takes its final name only when complete, so a failed item or
// a killed process never leaves half a file in place of the previous good one.
class OutputFile
{
public:
    enum class Step { Write, Place };

    OutputFile() = default;
    ~OutputFile(); // discards
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // In finalPath's folder, which must exist.
    int create(const std::string &finalPath);
    bool isOpen() const { return m_handle != -1; }
    const std::string &finalPath() const { return m_finalPath; }
    // Empty while the file has no name.
    const std::string &partialPath() const { return m_partialPath; }

    // One system write; *written may be short.
    int write(const void *data, std::uint32_t size, std::uint32_t *written);
    // origin: 0 begin, 1 current, 2 end.
    int seek(std::int64_t offset, int origin, std::uint64_t *position);
    int setSize(std::uint64_t size);
    // The last-write time; the access time is left alone.
    int setModificationTime(FileTime time);
    // An archive item's attribute word (see itemPermissions and itemAttributes), applied
    // before the file takes its name (Linux) or right after (Windows).
    void setAttributes(std::uint32_t attributes);

    // Closes the file and moves it over the destination, replacing whatever file, link or
    // read-only file is there. On failure *failedStep says whether the data could not be
    // completed (Write) or the destination's name could not be taken (Place: a name too
    // long for the file system, a folder in the way); nothing is left behind either way.
    int commit(Step *failedStep = nullptr);
    // Closes and removes the file; the destination stays as it was.
    void discard();

private:
    std::intptr_t m_handle = -1;
    std::string m_finalPath;
    std::string m_partialPath;
    bool m_attributesDefined = false;
    std::uint32_t m_attributes = 0;
    bool m_markedForDeletion = false; // Windows: goes with its handle until the commit
};

// Times and attributes of a folder, set after its children are written. A path that is no
// longer a folder (or is a link) is left alone.
int setFolderModificationTime(const std::string &path, FileTime time);
int setFolderAttributes(const std::string &path, std::uint32_t attributes);

// Makes way for a file at path: an empty folder there is removed; files and links are
// replaced by the commit. Fails (ENOTEMPTY, ERROR_DIR_NOT_EMPTY) for a folder with content.
int removeFolderInTheWay(const std::string &path);

// Removes the hidden partial files that extractions by processes that are gone left in
// folder (not below it). Files of a live process, or of another user, stay.
void removeStalePartialFiles(const std::string &folder);

// An archive attribute word carries a POSIX mode in its high half when this bit is set.
constexpr std::uint32_t kPosixModeInHighHalf = 0x8000;

// POSIX mode for an item, or -1 to keep the default. Only a mode carried in the high half is
// trusted; setuid, setgid and sticky bits are never applied, links are not files, and folders
// stay usable by their owner. DOS read-only alone makes a file 0444.
inline int itemPermissions(std::uint32_t attributes, bool isDirectory)
{
    if (attributes & kPosixModeInHighHalf) {
        const std::uint32_t mode = attributes >> 16;
        const std::uint32_t type = mode & 0170000;
        if (isDirectory || type == 0040000)
            return static_cast<int>((mode & 0777) | 0700);
        if (type == 0100000 || type == 0)
            return static_cast<int>(mode & 0777);
        return -1;
    }
    if (!isDirectory && (attributes & 0x1))
        return 0444;
    return -1;
}

// Windows file attributes for an item: a POSIX mode in the high half leaves only the low
// fourteen bits.
inline std::uint32_t itemAttributes(std::uint32_t attributes)
{
    return (attributes & 0xF0000000u) ? (attributes & 0x3FFFu) : attributes;
}

} // namespace platform
