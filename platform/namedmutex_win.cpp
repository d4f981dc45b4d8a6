#include "namedmutex.h"
#include "widestring_win.h"

#include <windows.h>

namespace platform {

std::string namedMutexLockPath(const std::string &name)
{
    return name;
}

NamedMutex::NamedMutex(const std::string &name)
{
    HANDLE h = CreateMutexW(nullptr, FALSE, widen(name).c_str());
    if (!h)
        return;
    m_held = GetLastError() != ERROR_ALREADY_EXISTS;
    m_handle = reinterpret_cast<long long>(h);
}

NamedMutex::~NamedMutex()
{
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

bool namedMutexExists(const std::string &name)
{
    // The launcher never releases this handle: it only marks that it saw the updater.
    HANDLE h = OpenMutexW(MUTEX_ALL_ACCESS, TRUE, widen(name).c_str());
    return h != nullptr;
}

} // namespace platform
