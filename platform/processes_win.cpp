#include "processes.h"

#include <windows.h>
#include <tlhelp32.h>

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

bool isProcessRunning(const std::string &imageName)
{
    return !findProcessesByImageName(imageName).empty();
}

int killProcessesByImageName(const std::string &imageName)
{
    int killed = 0;
    const DWORD self = GetCurrentProcessId();
    for (long pid : findProcessesByImageName(imageName)) {
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

std::string executableSuffix()
{
    return ".exe";
}

} // namespace platform
