#include "installpath.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// U+FF1F, the full-width question mark, in UTF-8.
const char kFullWidthQuestion[] = "\xEF\xBC\x9F";

bool hasForbiddenCharacter(const std::string &path)
{
    for (const char c : path) {
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
    return path.find(kFullWidthQuestion) != std::string::npos;
}

bool tooLong(const std::string &path)
{
    if (path.size() >= PATH_MAX)
        return true;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end - start > NAME_MAX)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

InstallPathProblem checkInstallPath(const std::string &path)
{
    if (path.empty())
        return InstallPathProblem::Empty;
    if (hasForbiddenCharacter(path))
        return InstallPathProblem::ForbiddenCharacter;
    if (path.front() == ' ' || path.back() == ' ')
        return InstallPathProblem::SurroundingBlank;
    if (path.front() != '/')
        return InstallPathProblem::NoVolume;
    if (tooLong(path))
        return InstallPathProblem::TooLong;

    // The installation creates the missing folders below the nearest existing one, so that
    // one has to be a folder this user may write into.
    std::string probe = path;
    struct stat st;
    while (::stat(probe.c_str(), &st) != 0) {
        const auto slash = probe.find_last_of('/');
        if (slash == std::string::npos || probe == "/")
            return InstallPathProblem::NotWritable;
        probe = slash == 0 ? std::string("/") : probe.substr(0, slash);
    }
    if (!S_ISDIR(st.st_mode))
        return InstallPathProblem::NotAFolder;
    if (::access(probe.c_str(), W_OK | X_OK) != 0)
        return InstallPathProblem::NotWritable;
    return InstallPathProblem::None;
}

} // namespace platform
