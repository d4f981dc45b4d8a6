#include "confinedentries.h"

#include <windows.h>

#include <vector>

#include "widestring_win.h"

namespace platform {

namespace {

std::vector<std::wstring> partsOf(const std::string &relative)
{
    std::vector<std::wstring> parts;
    std::string part;
    for (char c : relative + "/") {
        if (c == '/' || c == '\\') {
            if (!part.empty())
                parts.push_back(widen(part));
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

// The folders on the way, held open without delete sharing so that none of them can be
// renamed away and replaced by a reparse point while the entry below is acted on.
class Way
{
public:
    Way(const Way &) = delete;
    Way &operator=(const Way &) = delete;
    Way() = default;
    ~Way()
    {
        for (HANDLE h : m_handles)
            CloseHandle(h);
    }
    enum Result { Open, Missing, Refused };
    Result open(const std::string &root, const std::string &relative)
    {
        const std::vector<std::wstring> parts = partsOf(relative);
        if (parts.empty())
            return Refused;
        m_leaf = widen(root);
        for (size_t i = 0; i < parts.size(); ++i) {
            if (parts[i] == L"." || parts[i] == L".." || parts[i].find(L':') != std::wstring::npos)
                return Refused;
            if (i + 1 == parts.size())
                break;
            m_leaf += L'\\' + parts[i];
            HANDLE h = CreateFileW(
                m_leaf.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            if (h == INVALID_HANDLE_VALUE) {
                const DWORD error = GetLastError();
                return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Missing
                                                                                      : Refused;
            }
            m_handles.push_back(h);
            BY_HANDLE_FILE_INFORMATION info;
            if (!GetFileInformationByHandle(h, &info) ||
                (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                return Refused;
        }
        m_leaf += L'\\' + parts.back();
        return Open;
    }
    const std::wstring &leaf() const { return m_leaf; }

private:
    std::vector<HANDLE> m_handles;
    std::wstring m_leaf;
};

EntryKind kindOf(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? EntryKind::Missing
                                                                              : EntryKind::Other;
    }
    // Every reparse point (symbolic link, junction, mount point) is an entry, never a way.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return EntryKind::SymLink;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? EntryKind::Directory : EntryKind::File;
}

bool removeLink(const std::wstring &path)
{
    // A link to a folder (or a junction) is removed as a folder entry; its target stays.
    return DeleteFileW(path.c_str()) || RemoveDirectoryW(path.c_str());
}

bool removeAt(const std::wstring &path, int depth)
{
    const EntryKind kind = kindOf(path);
    if (kind == EntryKind::Missing)
        return true;
    if (kind == EntryKind::SymLink)
        return removeLink(path);
    if (kind != EntryKind::Directory) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileW(path.c_str()) != 0;
    }
    if (depth > 256)
        return false;
    bool ok = true;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                ok = removeAt(path + L'\\' + name, depth + 1) && ok;
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return ok && RemoveDirectoryW(path.c_str()) != 0;
}

} // namespace

EntryKind entryKindBelow(const std::string &root, const std::string &relative)
{
    Way way;
    switch (way.open(root, relative)) {
    case Way::Missing:
        return EntryKind::Missing;
    case Way::Refused:
        return EntryKind::Other;
    case Way::Open:
        break;
    }
    return kindOf(way.leaf());
}

bool passesThroughLink(const std::string &root, const std::string &relative)
{
    Way way;
    return way.open(root, relative) == Way::Refused;
}

bool removeEntryBelow(const std::string &root, const std::string &relative)
{
    Way way;
    const Way::Result result = way.open(root, relative);
    if (result != Way::Open)
        return result == Way::Missing;
    switch (kindOf(way.leaf())) {
    case EntryKind::Missing:
        return true;
    case EntryKind::SymLink:
        return removeLink(way.leaf());
    case EntryKind::File:
        return DeleteFileW(way.leaf().c_str()) != 0;
    default:
        return false;
    }
}

bool removeFolderBelow(const std::string &root, const std::string &relative)
{
    Way way;
    const Way::Result result = way.open(root, relative);
    if (result != Way::Open)
        return result == Way::Missing;
    const EntryKind kind = kindOf(way.leaf());
    return kind == EntryKind::Missing ||
           (kind == EntryKind::Directory && RemoveDirectoryW(way.leaf().c_str()) != 0);
}

bool removeTreeBelow(const std::string &root, const std::string &relative)
{
    Way way;
    const Way::Result result = way.open(root, relative);
    if (result != Way::Open)
        return result == Way::Missing;
    return removeAt(way.leaf(), 0);
}

bool makeFolderBelow(const std::string &root, const std::string &relative)
{
    Way way;
    return way.open(root, relative) == Way::Open && CreateDirectoryW(way.leaf().c_str(), nullptr);
}

bool createSymLinkBelow(const std::string &root, const std::string &relative,
                        const std::string &text)
{
    Way way;
    return way.open(root, relative) == Way::Open &&
           CreateSymbolicLinkW(way.leaf().c_str(), widen(text).c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0;
}

bool replaceEntryBelow(const std::string &root, const std::string &from, const std::string &to)
{
    const size_t slash = to.find_last_of("/\\");
    const size_t fromSlash = from.find_last_of("/\\");
    if (slash != fromSlash || from.compare(0, slash == std::string::npos ? 0 : slash, to, 0,
                                           slash == std::string::npos ? 0 : slash) != 0)
        return false;
    Way way;
    if (way.open(root, to) != Way::Open)
        return false;
    const std::wstring target = way.leaf();
    const std::wstring fromName = widen(from.substr(slash == std::string::npos ? 0 : slash + 1));
    if (fromName.empty() || fromName == L"." || fromName == L".." ||
        fromName.find(L':') != std::wstring::npos || kindOf(target) == EntryKind::Directory)
        return false;
    const std::wstring source = target.substr(0, target.rfind(L'\\') + 1) + fromName;
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(source.c_str(), target.c_str(), flags))
        return true;
    // A read-only file gives way as it does to the unconfined rename.
    return GetLastError() == ERROR_ACCESS_DENIED && kindOf(target) == EntryKind::File &&
           SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL) &&
           MoveFileExW(source.c_str(), target.c_str(), flags);
}

bool syncFolderBelow(const std::string &, const std::string &)
{
    // NTFS journals its metadata; MOVEFILE_WRITE_THROUGH already waits for the rename.
    return true;
}

NewFileBelow::~NewFileBelow()
{
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

bool NewFileBelow::create(const std::string &root, const std::string &relative)
{
    Way way;
    if (m_handle != -1 || way.open(root, relative) != Way::Open)
        return false;
    // CREATE_NEW fails on any entry there, a reparse point included: nothing is opened through.
    HANDLE h =
        CreateFileW(way.leaf().c_str(), GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    m_handle = reinterpret_cast<std::intptr_t>(h);
    return true;
}

bool NewFileBelow::write(const void *data, std::size_t size)
{
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(m_handle), bytes, chunk, &written, nullptr) ||
            written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool NewFileBelow::finish(int posixMode)
{
    if (m_handle == -1)
        return false;
    HANDLE h = reinterpret_cast<HANDLE>(m_handle);
    m_handle = -1;
    bool ok = FlushFileBuffers(h) != 0;
    if (ok && !(posixMode & 0200)) {
        FILE_BASIC_INFO info = {};
        info.FileAttributes = FILE_ATTRIBUTE_READONLY;
        ok = SetFileInformationByHandle(h, FileBasicInfo, &info, sizeof info) != 0;
    }
    return CloseHandle(h) != 0 && ok;
}

bool appendToFileBelow(const std::string &root, const std::string &relative, const void *data,
                       std::size_t size)
{
    Way way;
    if (way.open(root, relative) != Way::Open)
        return false;
    HANDLE h =
        CreateFileW(way.leaf().c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    // Opened as the entry itself: a reparse point there is refused, never written through.
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = GetFileInformationByHandle(h, &info) &&
              !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
    const char *bytes = static_cast<const char *>(data);
    while (ok && size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        ok = WriteFile(h, bytes, chunk, &written, nullptr) && written > 0;
        bytes += written;
        size -= written;
    }
    ok = ok && FlushFileBuffers(h);
    return CloseHandle(h) != 0 && ok;
}

bool removeTree(const std::string &path)
{
    std::string trimmed = path;
    while (trimmed.size() > 3 && (trimmed.back() == '/' || trimmed.back() == '\\'))
        trimmed.pop_back();
    const size_t slash = trimmed.find_last_of("/\\");
    if (slash == std::string::npos)
        return removeTreeBelow(".", trimmed);
    return removeTreeBelow(trimmed.substr(0, slash + (slash == 2 ? 1 : 0)),
                           trimmed.substr(slash + 1));
}

} // namespace platform
