#pragma once

#include <string>

namespace platform {

// The per-user "start at log-in" entry of a program, identified by name ("Lunmere_Launcher").
// Windows keeps it as a Run value in the registry; Linux as an XDG autostart desktop file.
// Paths are UTF-8 in the platform's native form.

// The program the entry starts: empty when the entry is missing or switched off.
std::string autoStartProgram(const std::string &name);

// Writes the entry. Switching it off keeps the entry (Windows: the value with empty data,
// Linux: the file with Hidden=true) so that the user's choice stays visible. Returns false
// when the entry could not be written.
bool setAutoStart(const std::string &name, const std::string &program, bool enabled);

// Where the entry lives: the desktop file's path on Linux, the registry key on Windows.
std::string autoStartLocation(const std::string &name);

} // namespace platform
