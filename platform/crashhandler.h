#pragma once

namespace platform {

// Installs the process-wide crash handler: on a fatal signal (or an unhandled exception on
// Windows) it writes "DumpFile-YYYYMMDD-HHMMSS.dmp" into the current folder and lets the
// process die. With a debugger attached it writes nothing, so the debugger sees the fault.
void installCrashHandler();

bool isDebuggerAttached();

} // namespace platform
