// A process that crashes on request, for the crash handler tests.
//   crashprobe segv|abort|fpe       install the handler, then crash that way
//   crashprobe traced segv          the same, under a tracer (this process traces its child)
//   crashprobe wait                 install the handler and wait to be signalled
//   crashprobe thread-overflow      install the handler, overflow a worker thread's stack
#include "crashhandler.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

volatile int g_stop = 0;

int overflow(int depth)
{
    volatile char pad[1024];
    pad[0] = static_cast<char>(depth);
    if (g_stop)
        return pad[0];
    return overflow(depth + 1) + pad[0];
}

int crash(const char *how)
{
    platform::installCrashHandler();
    if (std::strcmp(how, "segv") == 0) {
        volatile int *null = nullptr;
        *null = 42;
    } else if (std::strcmp(how, "abort") == 0) {
        std::abort();
    } else if (std::strcmp(how, "fpe") == 0) {
        std::raise(SIGFPE);
    } else if (std::strcmp(how, "thread-overflow") == 0) {
        std::thread worker([] {
            platform::prepareThreadForCrashDump();
            overflow(0);
        });
        worker.join();
    } else if (std::strcmp(how, "wait") == 0) {
        std::puts("ready");
        std::fflush(stdout);
        for (int i = 0; i < 600; ++i)
            ::sleep(1);
        return 0;
    }
    return 2;
}

// Runs the crash in a child that this process traces, passing every signal on, and exits
// with the child's fate: 128 + signal when it was killed by one.
int crashTraced(const char *how)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        return crash(how);
    }
    int status = 0;
    for (int stops = 0; stops < 100; ++stops) {
        if (::waitpid(child, &status, 0) < 0)
            return 3;
        if (WIFEXITED(status))
            return WEXITSTATUS(status);
        if (WIFSIGNALED(status))
            return 128 + WTERMSIG(status);
        const int sig = WSTOPSIG(status) == SIGSTOP ? 0 : WSTOPSIG(status);
        ::ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void *>(static_cast<long>(sig)));
    }
    ::kill(child, SIGKILL);
    return 4;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "traced") == 0)
        return crashTraced(argv[2]);
    if (argc == 2)
        return crash(argv[1]);
    return 2;
}
