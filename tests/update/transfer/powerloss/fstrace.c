/* Preloaded into a process under test: records its file-system calls and, at every fsync,
 * what the flush makes durable - a folder's entries as they stand, or a file's bytes - so
 * that a test can rebuild each state a power cut could leave (only what was flushed).
 * LUNMERE_FSTRACE names the folder that receives "trace" and the flushed file copies. */
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static int trace_fd = -1;
static int copies;

static void out(const char *text, size_t size)
{
    while (size > 0) {
        const ssize_t n = syscall(SYS_write, trace_fd, text, size);
        if (n <= 0)
            return;
        text += n;
        size -= (size_t)n;
    }
}

static void line(const char *format, ...)
{
    char buffer[3 * PATH_MAX];
    va_list args;
    va_start(args, format);
    const int n = vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0)
        out(buffer, (size_t)n < sizeof buffer ? (size_t)n : sizeof buffer - 1);
}

static int tracing(void)
{
    if (trace_fd >= 0)
        return 1;
    const char *folder = getenv("LUNMERE_FSTRACE");
    if (!folder)
        return 0;
    char path[PATH_MAX];
    snprintf(path, sizeof path, "%s/trace", folder);
    trace_fd =
        (int)syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    return trace_fd >= 0;
}

static void snapshot_folder(int fd, const struct stat *st)
{
    const int own = openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = own >= 0 ? fdopendir(own) : NULL;
    if (!dir)
        return;
    line("D %lu\n", (unsigned long)st->st_ino);
    struct dirent *entry;
    while ((entry = readdir(dir))) {
        if (!strcmp(entry->d_name, ".") || !strcmp(entry->d_name, ".."))
            continue;
        struct stat child;
        if (fstatat(dirfd(dir), entry->d_name, &child, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        char target[PATH_MAX] = "";
        char kind = S_ISDIR(child.st_mode) ? 'd' : S_ISLNK(child.st_mode) ? 'l' : 'f';
        if (kind == 'l') {
            const ssize_t n = readlinkat(dirfd(dir), entry->d_name, target, sizeof target - 1);
            target[n > 0 ? n : 0] = '\0';
        }
        line("%c\t%lu\t%o\t%s\t%s\n", kind, (unsigned long)child.st_ino,
             (unsigned)(child.st_mode & 07777), entry->d_name, target);
    }
    line("E\n");
    closedir(dir);
}

static void snapshot_file(int fd, const struct stat *st)
{
    char path[PATH_MAX];
    const int seq = ++copies;
    snprintf(path, sizeof path, "%s/data.%d", getenv("LUNMERE_FSTRACE"), seq);
    const int copy =
        (int)syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (copy < 0)
        return;
    char buffer[65536];
    off_t at = 0;
    ssize_t n;
    while ((n = pread(fd, buffer, sizeof buffer, at)) > 0) {
        syscall(SYS_write, copy, buffer, (size_t)n);
        at += n;
    }
    close(copy);
    line("F %lu %d\n", (unsigned long)st->st_ino, seq);
}

static void flushed(int fd)
{
    struct stat st;
    if (!tracing() || fstat(fd, &st) != 0)
        return;
    pthread_mutex_lock(&lock);
    if (S_ISDIR(st.st_mode))
        snapshot_folder(fd, &st);
    else if (S_ISREG(st.st_mode))
        snapshot_file(fd, &st);
    pthread_mutex_unlock(&lock);
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

int fsync(int fd)
{
    const int result = REAL(fsync)(fd);
    if (result == 0)
        flushed(fd);
    return result;
}

int fdatasync(int fd)
{
    const int result = REAL(fdatasync)(fd);
    if (result == 0)
        flushed(fd);
    return result;
}

/* The calls below only go into the trace, to read alongside the flushes. */
static void call(const char *what, const char *a, const char *b)
{
    if (!tracing())
        return;
    pthread_mutex_lock(&lock);
    line("C %s\t%s\t%s\n", what, a ? a : "", b ? b : "");
    pthread_mutex_unlock(&lock);
}

ssize_t write(int fd, const void *data, size_t size)
{
    struct stat st;
    if (tracing() && fd != trace_fd && fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        char text[32];
        snprintf(text, sizeof text, "%zu", size);
        call("write", text, NULL);
    }
    return REAL(write)(fd, data, size);
}

int rename(const char *from, const char *to)
{
    call("rename", from, to);
    return REAL(rename)(from, to);
}

int renameat(int fromFolder, const char *from, int toFolder, const char *to)
{
    call("renameat", from, to);
    return REAL(renameat)(fromFolder, from, toFolder, to);
}

int unlink(const char *path)
{
    call("unlink", path, NULL);
    return REAL(unlink)(path);
}

int unlinkat(int folder, const char *path, int flags)
{
    call(flags & AT_REMOVEDIR ? "rmdirat" : "unlinkat", path, NULL);
    return REAL(unlinkat)(folder, path, flags);
}

int rmdir(const char *path)
{
    call("rmdir", path, NULL);
    return REAL(rmdir)(path);
}

int mkdir(const char *path, mode_t mode)
{
    call("mkdir", path, NULL);
    return REAL(mkdir)(path, mode);
}

int link(const char *from, const char *to)
{
    call("link", from, to);
    return REAL(link)(from, to);
}

int symlink(const char *target, const char *path)
{
    call("symlink", target, path);
    return REAL(symlink)(target, path);
}
