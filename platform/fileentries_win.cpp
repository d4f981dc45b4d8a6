#include "fileentries.h"

#include <windows.h>
#include <winioctl.h>

#include <vector>

#include "widestring_win.h"

namespace platform {

namespace {

// The reparse data of a symbolic link, as winnt.h's REPARSE_DATA_BUFFER lays it out (the
// structure itself lives in the driver kit headers).
struct SymLinkReparseBuffer
{
    DWORD ReparseTag;
    WORD ReparseDataLength;
    WORD Reserved;
    WORD SubstituteNameOffset;
    WORD SubstituteNameLength;
    WORD PrintNameOffset;
    WORD PrintNameLength;
    ULONG Flags;
    WCHAR PathBuffer[1];
};

std::string narrow(const std::wstring &w)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &out[0], n, nullptr,
                            nullptr);
    return out;
}

bool isSymLink(DWORD attributes, const std::wstring &path)
{
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return data.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
}

// Windows refuses to delete or replace a read-only file, where unlink() and rename() on Linux
// do not care; the launcher's files may come read-only from the medium they were copied from.
bool clearReadOnly(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

} // namespace

EntryKind entryKind(const std::string &path)
{
    const std::wstring wide = widen(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? EntryKind::Missing
                                                                              : EntryKind::Other;
    }
    if (isSymLink(attributes, wide))
        return EntryKind::SymLink;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return EntryKind::Directory;
    return EntryKind::File;
}

bool readSymLink(const std::string &path, std::string *target)
{
    HANDLE h = CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD size = 0;
    const BOOL ok = DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                                    static_cast<DWORD>(buffer.size()), &size, nullptr);
    CloseHandle(h);
    const auto *data = reinterpret_cast<const SymLinkReparseBuffer *>(buffer.data());
    if (!ok || data->ReparseTag != IO_REPARSE_TAG_SYMLINK)
        return false;
    const WCHAR *name = data->PathBuffer + data->PrintNameOffset / sizeof(WCHAR);
    *target = narrow(std::wstring(name, data->PrintNameLength / sizeof(WCHAR)));
    return true;
}

bool createSymLink(const std::string &target, const std::string &path)
{
    return CreateSymbolicLinkW(widen(path).c_str(), widen(target).c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0;
}

bool replaceEntry(const std::string &from, const std::string &to)
{
    const std::wstring source = widen(from);
    const std::wstring target = widen(to);
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(source.c_str(), target.c_str(), flags))
        return true;
    return GetLastError() == ERROR_ACCESS_DENIED && clearReadOnly(target) &&
           MoveFileExW(source.c_str(), target.c_str(), flags);
}

bool removeEntry(const std::string &path)
{
    const std::wstring wide = widen(path);
    if (DeleteFileW(wide.c_str()))
        return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return true;
    if (error == ERROR_ACCESS_DENIED && clearReadOnly(wide) && DeleteFileW(wide.c_str()))
        return true;
    // A link to a folder is removed as a folder entry; the folder it names stays.
    return isSymLink(GetFileAttributesW(wide.c_str()), wide) && RemoveDirectoryW(wide.c_str());
}

bool syncFile(const std::string &path)
{
    HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return ok;
}

bool syncDirectory(const std::string &)
{
    // NTFS journals its metadata; MOVEFILE_WRITE_THROUGH already waits for the rename.
    return true;
}

} // namespace platform
