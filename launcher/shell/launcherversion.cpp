// The launcher's version on its own, so that a build of another version recompiles only this
// file, and a program can be linked with another version's copy of it (an object file given to
// the linker wins over the library's).
#include "appenvironment.h"

#ifndef LAUNCHER_VERSION_TEXT
#include "buildconfig.h"
#endif

const char *const AppEnvironment::kLauncherVersion = LAUNCHER_VERSION_TEXT;
