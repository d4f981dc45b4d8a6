#pragma once

// Windows-only helper of the *_win.cpp files: UTF-8 to the wide strings of the W APIs.
#include <windows.h>

#include <string>

namespace platform {

inline std::wstring widen(const std::string &utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &out[0], n);
    return out;
}

} // namespace platform
