#include "streamfile.h"
#include "widestring_win.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

namespace platform {

namespace {

std::atomic<unsigned> g_partialCounter{0};

const wchar_t kPartialPrefix[] = L".lunmere-";
const wchar_t kPartialSuffix[] = L".part";

HANDLE toHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

std::string toUtf8(const std::wstring &wide)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

int lastError()
{
    const DWORD error = GetLastError();
    return error ? static_cast<int>(error) : ERROR_GEN_FAILURE;
}

std::wstring folderOf(const std::wstring &path)
{
    const auto slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring nextPartialPath(const std::wstring &folder)
{
    return folder + L'\\' + kPartialPrefix + std::to_wstring(GetCurrentProcessId()) + L'-' +
           std::to_wstring(g_partialCounter.fetch_add(1, std::memory_order_relaxed)) +
           kPartialSuffix;
}

FILETIME toFileTime(FileTime time)
{
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(time);
    result.dwHighDateTime = static_cast<DWORD>(time >> 32);
    return result;
}

// While the handle is open and marked, the file goes when the handle does: a killed process
// leaves nothing behind, as an unnamed file does on Linux.
bool markForDeletion(HANDLE file, bool remove)
{
    FILE_DISPOSITION_INFO info;
    info.DeleteFile = remove ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info) != FALSE;
}

bool isPlainFolder(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The pid in ".lunmere-PID-N.part", or 0.
DWORD partialFileOwner(const std::wstring &name)
{
    const std::size_t prefix = sizeof kPartialPrefix / sizeof(wchar_t) - 1;
    const std::size_t suffix = sizeof kPartialSuffix / sizeof(wchar_t) - 1;
    if (name.size() <= prefix + suffix || name.compare(0, prefix, kPartialPrefix) != 0 ||
        name.compare(name.size() - suffix, suffix, kPartialSuffix) != 0)
        return 0;
    const std::wstring middle = name.substr(prefix, name.size() - prefix - suffix);
    const auto dash = middle.find(L'-');
    if (dash == 0 || dash == std::wstring::npos || dash + 1 == middle.size() || dash > 9 ||
        middle.find_first_not_of(L"0123456789-") != std::wstring::npos ||
        middle.find(L'-', dash + 1) != std::wstring::npos)
        return 0;
    return static_cast<DWORD>(std::wcstoul(middle.c_str(), nullptr, 10));
}

bool processIsGone(DWORD pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    const bool exited = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return exited;
}

} // namespace

InputFile::~InputFile()
{
    close();
}

int InputFile::open(const std::string &path, Sharing sharing)
{
    close();
    const std::wstring name = widen(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_DIRECTORY;
    const DWORD share = sharing == Sharing::WithWriter
                            ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                            : FILE_SHARE_READ;
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return ERROR_BAD_FILE_TYPE;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return 0;
}

void InputFile::close()
{
    if (m_handle != -1)
        CloseHandle(toHandle(m_handle));
    m_handle = -1;
}

int InputFile::readAt(std::int64_t offset, void *data, std::uint32_t size, std::uint32_t *got)
{
    *got = 0;
    if (m_handle == -1)
        return ERROR_INVALID_HANDLE;
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    DWORD read = 0;
    if (!ReadFile(toHandle(m_handle), data, size, &read, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        return lastError();
    }
    *got = read;
    return 0;
}

int InputFile::size(std::int64_t *bytes) const
{
    if (m_handle == -1)
        return ERROR_INVALID_HANDLE;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(toHandle(m_handle), &size))
        return lastError();
    *bytes = size.QuadPart;
    return 0;
}

OutputFile::~OutputFile()
{
    discard();
}

int OutputFile::create(const std::string &finalPath)
{
    discard();
    m_finalPath = finalPath;
    m_attributesDefined = false;
    const std::wstring folder = folderOf(widen(finalPath));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring partial = nextPartialPath(folder);
        HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            // Where the mark is refused, the next extraction sweeps the file.
            m_markedForDeletion = markForDeletion(file, true);
            m_handle = reinterpret_cast<std::intptr_t>(file);
            m_partialPath = toUtf8(partial);
            return 0;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return lastError();
    }
    return ERROR_FILE_EXISTS;
}

int OutputFile::write(const void *data, std::uint32_t size, std::uint32_t *written)
{
    *written = 0;
    if (m_handle == -1)
        return ERROR_INVALID_HANDLE;
    DWORD done = 0;
    if (!WriteFile(toHandle(m_handle), data, size, &done, nullptr))
        return lastError();
    *written = done;
    return 0;
}

int OutputFile::seek(std::int64_t offset, int origin, std::uint64_t *position)
{
    if (m_handle == -1)
        return ERROR_INVALID_HANDLE;
    const DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER at;
    if (!SetFilePointerEx(toHandle(m_handle), distance, &at, method))
        return lastError();
    if (position)
        *position = static_cast<std::uint64_t>(at.QuadPart);
    return 0;
}

int OutputFile::setSize(std::uint64_t size)
{
    if (m_handle == -1)
        return ERROR_INVALID_HANDLE;
    HANDLE file = toHandle(m_handle);
    LARGE_INTEGER zero = {};
    LARGE_INTEGER current;
    LARGE_INTEGER target;
    target.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(file, zero, &current, FILE_CURRENT) ||
        !SetFilePointerEx(file, target, nullptr, FILE_BEGIN))
        return lastError();
    const int error = SetEndOfFile(file) ? 0 : lastError();
    SetFilePointerEx(file, current, nullptr, FILE_BEGIN);
    return error;
}

int OutputFile::setModificationTime(FileTime time)
{
    if (m_handle == -1)
        return ERROR_INVALID_HANDLE;
    const FILETIME written = toFileTime(time);
    return SetFileTime(toHandle(m_handle), nullptr, nullptr, &written) ? 0 : lastError();
}

void OutputFile::setAttributes(std::uint32_t attributes)
{
    m_attributesDefined = true;
    m_attributes = attributes;
}

int OutputFile::commit(Step *failedStep)
{
    Step step = Step::Write;
    int error = 0;
    if (m_handle == -1) {
        error = ERROR_INVALID_HANDLE;
    } else {
        HANDLE file = toHandle(m_handle);
        m_handle = -1;
        if (m_markedForDeletion && !markForDeletion(file, false))
            error = lastError();
        m_markedForDeletion = false;
        if (!CloseHandle(file) && !error)
            error = lastError();
    }
    const std::wstring partial = widen(m_partialPath);
    const std::wstring target = widen(m_finalPath);
    if (!error && !MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = lastError();
        // A read-only file is replaced like any other.
        const DWORD existing = GetFileAttributesW(target.c_str());
        if (error == ERROR_ACCESS_DENIED && existing != INVALID_FILE_ATTRIBUTES &&
            (existing & FILE_ATTRIBUTE_READONLY) && !(existing & FILE_ATTRIBUTE_DIRECTORY) &&
            SetFileAttributesW(target.c_str(), existing & ~FILE_ATTRIBUTE_READONLY) &&
            MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            error = 0;
        if (error)
            step = Step::Place;
    }
    if (error)
        DeleteFileW(partial.c_str());
    else if (m_attributesDefined)
        SetFileAttributesW(target.c_str(), itemAttributes(m_attributes));
    m_partialPath.clear();
    if (error && failedStep)
        *failedStep = step;
    return error;
}

void OutputFile::discard()
{
    if (m_handle != -1)
        CloseHandle(toHandle(m_handle));
    m_handle = -1;
    m_markedForDeletion = false;
    if (!m_partialPath.empty())
        DeleteFileW(widen(m_partialPath).c_str());
    m_partialPath.clear();
}

int setFolderModificationTime(const std::string &path, FileTime time)
{
    const std::wstring name = widen(path);
    if (!isPlainFolder(name))
        return ERROR_DIRECTORY;
    HANDLE folder = CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return lastError();
    const FILETIME written = toFileTime(time);
    const int error = SetFileTime(folder, nullptr, nullptr, &written) ? 0 : lastError();
    CloseHandle(folder);
    return error;
}

int setFolderAttributes(const std::string &path, std::uint32_t attributes)
{
    const std::wstring name = widen(path);
    if (!isPlainFolder(name))
        return ERROR_DIRECTORY;
    return SetFileAttributesW(name.c_str(), itemAttributes(attributes)) ? 0 : lastError();
}

int removeFolderInTheWay(const std::string &path)
{
    const std::wstring name = widen(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    // A junction goes like an empty folder; its target is not touched.
    return RemoveDirectoryW(name.c_str()) ? 0 : lastError();
}

void removeStalePartialFiles(const std::string &folder)
{
    const std::wstring base = widen(folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((base + L"\\.lunmere-*.part").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const DWORD self = GetCurrentProcessId();
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        const DWORD pid = partialFileOwner(found.cFileName);
        if (pid == 0 || pid == self || !processIsGone(pid))
            continue;
        DeleteFileW((base + L'\\' + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace platform
