#pragma once

#include <string>

namespace platform {

// Why a folder cannot take the game. The rules keep a game folder portable to Windows and
// refuse, before any download, a folder the installation could not create or write.
enum class InstallPathProblem {
    None,
    Empty,
    // Relative here; on Windows a drive letter that does not exist.
    NoVolume,
    // One of ？*><|:" (the ASCII ? is allowed) or a control character.
    ForbiddenCharacter,
    // Leading or trailing blanks, which Windows drops and users cannot see.
    SurroundingBlank,
    // Longer than the file system takes as a whole or in one name.
    TooLong,
    // The path, or the nearest part of it that exists, is a file.
    NotAFolder,
    // The folder, or the nearest existing folder it would be created in, is not writable.
    NotWritable,
};

// Checks a UTF-8 install path.
InstallPathProblem checkInstallPath(const std::string &path);

} // namespace platform
