#include "processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include "widestring_win.h"

namespace platform {

static std::string narrow(const wchar_t *w)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, w, -1, &out[0], n, nullptr, nullptr);
    return out;
}

std::vector<long> findProcessesByImageName(const std::string &imageName)
{
    std::vector<long> pids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return pids;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry)) {
        if (narrow(entry.szExeFile) == imageName)
            pids.push_back(static_cast<long>(entry.th32ProcessID));
    }
    CloseHandle(snap);
    return pids;
}

namespace {

// Ends every listed process but this one; how many were ended.
int terminateAllBut(const std::vector<long> &pids)
{
    int killed = 0;
    const DWORD self = GetCurrentProcessId();
    for (long pid : pids) {
        if (static_cast<DWORD>(pid) == self)
            continue;
        HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
        if (h && TerminateProcess(h, 1))
            ++killed;
        if (h)
            CloseHandle(h);
    }
    return killed;
}

} // namespace

bool isProcessRunning(const std::string &imageName)
{
    return !findProcessesByImageName(imageName).empty();
}

int killProcessesByImageName(const std::string &imageName)
{
    return terminateAllBut(findProcessesByImageName(imageName));
}

namespace {

// The full path of a running image, or empty when the process cannot be queried.
std::wstring imagePathOf(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return {};
    wchar_t buffer[32768];
    DWORD size = sizeof buffer / sizeof buffer[0];
    std::wstring path;
    if (QueryFullProcessImageNameW(process, 0, buffer, &size))
        path.assign(buffer, size);
    CloseHandle(process);
    return path;
}

// Absolute, with backslashes and without "." or ".." parts, so that two spellings of one
// path compare equal (Windows paths compare without regard to case).
std::wstring normalizedPath(std::wstring path)
{
    for (wchar_t &c : path) {
        if (c == L'/')
            c = L'\\';
    }
    wchar_t buffer[32768];
    const DWORD n =
        GetFullPathNameW(path.c_str(), sizeof buffer / sizeof buffer[0], buffer, nullptr);
    if (n > 0 && n < sizeof buffer / sizeof buffer[0])
        path.assign(buffer, n);
    return path;
}

bool samePath(const std::wstring &a, const std::wstring &b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

std::vector<long> findProcessesByExecutable(const std::string &executablePath)
{
    std::vector<long> pids;
    if (executablePath.empty())
        return pids;
    const std::wstring wanted = normalizedPath(widen(executablePath));
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return pids;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snap, &entry); ok; ok = Process32NextW(snap, &entry)) {
        const std::wstring image = imagePathOf(entry.th32ProcessID);
        if (!image.empty() && samePath(normalizedPath(image), wanted))
            pids.push_back(static_cast<long>(entry.th32ProcessID));
    }
    CloseHandle(snap);
    return pids;
}

int killProcessesByExecutable(const std::string &executablePath)
{
    return terminateAllBut(findProcessesByExecutable(executablePath));
}

void killCurrentProcess()
{
    TerminateProcess(GetCurrentProcess(), 137);
    ExitProcess(137);
}

std::string executableSuffix()
{
    return ".exe";
}

} // namespace platform
