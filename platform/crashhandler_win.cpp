#include "crashhandler.h"

#include <windows.h>
#include <dbghelp.h>

namespace platform {

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI *)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                           PMINIDUMP_EXCEPTION_INFORMATION,
                                           PMINIDUMP_USER_STREAM_INFORMATION,
                                           PMINIDUMP_CALLBACK_INFORMATION);

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS *pointers)
{
    if (IsDebuggerPresent())
        return EXCEPTION_CONTINUE_SEARCH;
    HMODULE dbghelp = LoadLibraryW(L"DbgHelp.dll");
    if (!dbghelp)
        return EXCEPTION_CONTINUE_SEARCH;
    auto writeDump =
        reinterpret_cast<MiniDumpWriteDumpFn>(GetProcAddress(dbghelp, "MiniDumpWriteDump"));
    if (!writeDump) {
        FreeLibrary(dbghelp);
        return EXCEPTION_CONTINUE_SEARCH;
    }
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t name[260];
    wsprintfW(name, L"%s-%04d%02d%02d-%02d%02d%02d.dmp", L"DumpFile", t.wYear, t.wMonth, t.wDay,
              t.wHour, t.wMinute, t.wSecond);
    HANDLE file =
        CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        MINIDUMP_EXCEPTION_INFORMATION info;
        info.ThreadId = GetCurrentThreadId();
        info.ExceptionPointers = pointers;
        info.ClientPointers = FALSE;
        writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpWithDataSegs,
                  pointers ? &info : nullptr, nullptr, nullptr);
        CloseHandle(file);
    }
    FreeLibrary(dbghelp);
    // Either way the process ends; it never resumes at the faulting instruction.
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

bool isDebuggerAttached()
{
    return IsDebuggerPresent() != FALSE;
}

void installCrashHandler()
{
    SetUnhandledExceptionFilter(onUnhandledException);
    prepareThreadForCrashDump();
}

void prepareThreadForCrashDump()
{
    // The stack the filter may still use after this thread overflows its own.
    ULONG reserve = 64 * 1024;
    SetThreadStackGuarantee(&reserve);
}

} // namespace platform
