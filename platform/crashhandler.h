#pragma once

namespace platform {

// Installs the process-wide crash handler: on a fatal signal (or an unhandled exception on
// Windows) it writes "DumpFile-YYYYMMDD-HHMMSS.dmp" into the current folder and lets the
// process die. With a debugger attached it writes nothing, so the debugger sees the fault.
void installCrashHandler();

// Lets the handler run on this thread even when the thread dies of a stack overflow (each
// thread needs its own reserve). Call it first thing on every worker thread; cheap to repeat.
void prepareThreadForCrashDump();

bool isDebuggerAttached();

} // namespace platform
