#include "user.h"

#include <windows.h>
#include <sddl.h>

namespace platform {

std::string currentUserKey()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::string();
    std::string key;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size > 0) {
        std::string buffer(size, '\0');
        if (GetTokenInformation(token, TokenUser, &buffer[0], size, &size)) {
            const auto *user = reinterpret_cast<const TOKEN_USER *>(buffer.data());
            char *text = nullptr;
            if (ConvertSidToStringSidA(user->User.Sid, &text)) {
                key = text;
                LocalFree(text);
            }
        }
    }
    CloseHandle(token);
    return key;
}

bool runsAsSuperuser()
{
    return false;
}

} // namespace platform
