#include "installpath.h"
#include "widestring_win.h"

#include <windows.h>

namespace platform {

namespace {

const char kFullWidthQuestion[] = "\xEF\xBC\x9F";
// The longest path the classic Win32 calls take, terminator included.
const std::size_t kMaxPath = MAX_PATH;

bool hasForbiddenCharacter(const std::string &rest)
{
    for (const char c : rest) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            return true;
        switch (c) {
        case '*':
        case '>':
        case '<':
        case '|':
        case ':':
        case '"':
            return true;
        default:
            break;
        }
    }
    return rest.find(kFullWidthQuestion) != std::string::npos;
}

} // namespace

InstallPathProblem checkInstallPath(const std::string &path)
{
    if (path.empty())
        return InstallPathProblem::Empty;
    const auto colon = path.find(':');
    if (colon == std::string::npos || colon + 1 < 2)
        return InstallPathProblem::NoVolume;
    const std::string drive = path.substr(0, colon + 1);
    const std::wstring root = widen(drive + "\\");
    if (GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR)
        return InstallPathProblem::NoVolume;
    if (hasForbiddenCharacter(path.substr(colon + 1)))
        return InstallPathProblem::ForbiddenCharacter;
    if (path.front() == ' ' || path.back() == ' ')
        return InstallPathProblem::SurroundingBlank;

    std::wstring probe = widen(path);
    if (probe.size() >= kMaxPath)
        return InstallPathProblem::TooLong;
    DWORD attributes;
    while ((attributes = GetFileAttributesW(probe.c_str())) == INVALID_FILE_ATTRIBUTES) {
        const auto slash = probe.find_last_of(L"\\/");
        if (slash == std::wstring::npos || slash + 1 >= probe.size())
            return InstallPathProblem::NotWritable;
        probe.resize(slash);
        if (!probe.empty() && probe.back() == L':')
            probe.push_back(L'\\');
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return InstallPathProblem::NotAFolder;
    return InstallPathProblem::None;
}

} // namespace platform
