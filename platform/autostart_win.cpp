#include "autostart.h"
#include "widestring_win.h"

#include <windows.h>

namespace platform {

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string narrow(const std::wstring &wide)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

} // namespace

std::string autoStartLocation(const std::string &)
{
    return "HKEY_LOCAL_MACHINE\\" + narrow(kRunKey);
}

std::string autoStartProgram(const std::string &name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return {};
    const std::wstring valueName = widen(name);
    DWORD type = 0;
    DWORD bytes = 0;
    std::string result;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &bytes) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && bytes > 0) {
        std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE *>(&data[0]), &bytes) == ERROR_SUCCESS) {
            data.resize(wcsnlen(data.c_str(), data.size()));
            result = narrow(data);
        }
    }
    RegCloseKey(key);
    return result;
}

bool setAutoStart(const std::string &name, const std::string &program, bool enabled)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    // Off keeps the value with empty data.
    const std::wstring data = enabled ? widen(program) : std::wstring();
    const LONG rc = RegSetValueExW(key, widen(name).c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE *>(data.c_str()),
                                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

} // namespace platform
