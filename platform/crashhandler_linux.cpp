#include "crashhandler.h"

#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <unistd.h>

// Everything the handler calls must be async-signal-safe: no malloc, no stdio, no locale.
namespace platform {

namespace {

const int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr size_t kAltStackSize = 64 * 1024;
alignas(16) char g_altStack[kAltStackSize];

// The local time zone's UTC offset over the coming years, worked out before any crash: the
// handler may not call localtime_r (it locks), yet the name must follow daylight saving.
// Written once at installation, before the handler is armed, and only read afterwards.
struct OffsetChange
{
    long long from; // first second (UTC) the offset applies to
    long offset;
};
constexpr int kMaxOffsetChanges = 16;
OffsetChange g_offsets[kMaxOffsetChanges];
int g_offsetCount = 0;

long utcOffsetAt(time_t when)
{
    struct tm local;
    return ::localtime_r(&when, &local) ? local.tm_gmtoff : 0;
}

void planUtcOffsets()
{
    // Half-day steps find every change (zones change at most twice a year); a binary search
    // then finds its second. Two years cover any launcher session.
    constexpr long long kStep = 12 * 3600;
    constexpr long long kHorizon = 2 * 366 * 86400LL;
    const long long now = ::time(nullptr);
    int count = 0;
    g_offsets[count++] = {0, utcOffsetAt(static_cast<time_t>(now))};
    for (long long t = now; t < now + kHorizon && count < kMaxOffsetChanges; t += kStep) {
        const long before = g_offsets[count - 1].offset;
        if (utcOffsetAt(static_cast<time_t>(t + kStep)) == before)
            continue;
        long long lo = t;         // still the old offset
        long long hi = t + kStep; // already the new one
        while (hi - lo > 1) {
            const long long mid = lo + (hi - lo) / 2;
            (utcOffsetAt(static_cast<time_t>(mid)) == before ? lo : hi) = mid;
        }
        g_offsets[count++] = {hi, utcOffsetAt(static_cast<time_t>(hi))};
    }
    g_offsetCount = count;
}

long plannedUtcOffset(long long now)
{
    long offset = 0;
    for (int i = 0; i < g_offsetCount && g_offsets[i].from <= now; ++i)
        offset = g_offsets[i].offset;
    return offset;
}

// One alternate stack per thread, freed when the thread ends.
struct ThreadAltStack
{
    char *memory = nullptr;
    ~ThreadAltStack()
    {
        if (!memory)
            return;
        stack_t off;
        std::memset(&off, 0, sizeof off);
        off.ss_flags = SS_DISABLE;
        ::sigaltstack(&off, nullptr);
        delete[] memory;
    }
};

size_t appendText(char *buf, size_t pos, size_t cap, const char *text)
{
    while (*text && pos + 1 < cap)
        buf[pos++] = *text++;
    buf[pos] = '\0';
    return pos;
}

size_t appendNumber(char *buf, size_t pos, size_t cap, unsigned long long value, int base,
                    int minDigits)
{
    char digits[32];
    int n = 0;
    do {
        digits[n++] = "0123456789abcdef"[value % base];
        value /= base;
    } while (value && n < 32);
    while (n < minDigits && n < 32)
        digits[n++] = '0';
    while (n > 0 && pos + 1 < cap)
        buf[pos++] = digits[--n];
    buf[pos] = '\0';
    return pos;
}

void writeAll(int fd, const char *data, size_t len)
{
    while (len > 0) {
        const ssize_t n = ::write(fd, data, len);
        if (n <= 0)
            return;
        data += n;
        len -= static_cast<size_t>(n);
    }
}

void writeText(int fd, const char *text)
{
    writeAll(fd, text, std::strlen(text));
}

// Days since 1970-01-01 to a civil date (Howard Hinnant's algorithm); localtime_r may lock.
void civilFromDays(long long z, int &y, unsigned &m, unsigned &d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yy + (m <= 2));
}

void dumpFileName(char *buf, size_t cap)
{
    const long long now = static_cast<long long>(::time(nullptr));
    const long long local = now + plannedUtcOffset(now);
    long long days = local / 86400;
    long long secs = local % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    int year;
    unsigned month, day;
    civilFromDays(days, year, month, day);
    size_t pos = appendText(buf, 0, cap, "DumpFile-");
    pos = appendNumber(buf, pos, cap, static_cast<unsigned>(year), 10, 4);
    pos = appendNumber(buf, pos, cap, month, 10, 2);
    pos = appendNumber(buf, pos, cap, day, 10, 2);
    pos = appendText(buf, pos, cap, "-");
    pos = appendNumber(buf, pos, cap, static_cast<unsigned long long>(secs / 3600), 10, 2);
    pos = appendNumber(buf, pos, cap, static_cast<unsigned long long>(secs / 60 % 60), 10, 2);
    pos = appendNumber(buf, pos, cap, static_cast<unsigned long long>(secs % 60), 10, 2);
    appendText(buf, pos, cap, ".dmp");
}

void copyFile(int out, const char *path)
{
    const int in = ::open(path, O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(in, buf, sizeof buf)) > 0)
        writeAll(out, buf, static_cast<size_t>(n));
    ::close(in);
}

void writeDump(int sig, const siginfo_t *info)
{
    char name[260];
    dumpFileName(name, sizeof name);
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    char line[128];
    size_t pos = appendText(line, 0, sizeof line, "signal ");
    pos = appendNumber(line, pos, sizeof line, static_cast<unsigned>(sig), 10, 1);
    pos = appendText(line, pos, sizeof line, " (");
    pos = appendText(line, pos, sizeof line, sigabbrev_np(sig) ? sigabbrev_np(sig) : "?");
    pos = appendText(line, pos, sizeof line, ")\nfault address 0x");
    pos = appendNumber(line, pos, sizeof line,
                       reinterpret_cast<std::uintptr_t>(info ? info->si_addr : nullptr), 16, 1);
    pos = appendText(line, pos, sizeof line, "\npid ");
    pos = appendNumber(line, pos, sizeof line, static_cast<unsigned>(::getpid()), 10, 1);
    appendText(line, pos, sizeof line, "\n\nbacktrace:\n");
    writeText(fd, line);
    void *frames[128];
    const int count = ::backtrace(frames, 128);
    ::backtrace_symbols_fd(frames, count, fd);
    writeText(fd, "\nmaps:\n");
    copyFile(fd, "/proc/self/maps");
    ::close(fd);
}

void onFatalSignal(int sig, siginfo_t *info, void *)
{
    if (!isDebuggerAttached())
        writeDump(sig, info);
    // Never resume at the faulting instruction: die of the same signal, whatever happened
    // to the dump.
    struct sigaction dfl;
    std::memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, sig);
    ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    ::raise(sig);
    ::_exit(128 + sig);
}

} // namespace

bool isDebuggerAttached()
{
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n <= 0)
        return false;
    buf[n] = '\0';
    const char *tag = std::strstr(buf, "TracerPid:");
    if (!tag)
        return false;
    tag += 10;
    while (*tag == ' ' || *tag == '\t')
        ++tag;
    return *tag != '0';
}

void installCrashHandler()
{
    // Resolve what the handler needs while it is still safe to allocate.
    void *warmUp[2];
    ::backtrace(warmUp, 2);
    planUtcOffsets();

    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    ::sigaltstack(&stack, nullptr);

    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_sigaction = onFatalSignal;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int sig : kSignals)
        ::sigaction(sig, &sa, nullptr);
}

void prepareThreadForCrashDump()
{
    stack_t current;
    if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE))
        return; // this thread has one already
    thread_local ThreadAltStack reserve;
    if (!reserve.memory)
        reserve.memory = new char[kAltStackSize];
    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = reserve.memory;
    stack.ss_size = kAltStackSize;
    ::sigaltstack(&stack, nullptr);
}

} // namespace platform
