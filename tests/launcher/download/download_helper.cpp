// A process that downloads one package with the real manager and reports on stdout, so tests
// can kill it in the middle or run it under resource limits.
//   download_helper <url> <folder> <md5> [--fsize-limit <bytes>] [--short-write-at <offset>]
// Prints "progress <done> <total>", "finished", "md5ok", "error <code> <msg>",
// "httperror <code> <msg>"; exits 0 after a matching MD5, 1 on an error.
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "downloadmanager.h"

namespace {
// --short-write-at: the disk is full for a moment. The first write of a regular file at or
// beyond the offset that is larger than a file's buffer (so it goes straight to the system)
// stores half its bytes, the retry right after it finds no space, and later writes work again.
constexpr size_t kFileBufferSize = 16 * 1024;
off_t s_shortWriteAt = -1;
int s_shortWriteFd = -1;
enum { Armed, Shortened, Over } s_shortWrite = Armed;
} // namespace

// Defined in the program, it stands in for the C library's write() in Qt as well.
extern "C" ssize_t write(int fd, const void *buffer, size_t count)
{
    if (s_shortWriteAt >= 0 && s_shortWrite == Shortened && fd == s_shortWriteFd) {
        s_shortWrite = Over;
        errno = ENOSPC;
        return -1;
    }
    struct stat st;
    if (s_shortWriteAt >= 0 && s_shortWrite == Armed && count > kFileBufferSize &&
        ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        ::lseek(fd, 0, SEEK_CUR) >= s_shortWriteAt) {
        s_shortWrite = Shortened;
        s_shortWriteFd = fd;
        count /= 2;
    }
    return ::syscall(SYS_write, fd, buffer, count);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("download_helper"));
    QStringList args = app.arguments().mid(1);
    const int limitAt = args.indexOf(QStringLiteral("--fsize-limit"));
    if (limitAt >= 0 && limitAt + 1 < args.size()) {
        const rlim_t limit = args.at(limitAt + 1).toULongLong();
        std::signal(SIGXFSZ, SIG_IGN); // let the system call fail with EFBIG instead
        const rlimit lim{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &lim) != 0)
            return 3;
        args.erase(args.begin() + limitAt, args.begin() + limitAt + 2);
    }
    const int shortAt = args.indexOf(QStringLiteral("--short-write-at"));
    if (shortAt >= 0 && shortAt + 1 < args.size()) {
        s_shortWriteAt = off_t(args.at(shortAt + 1).toLongLong());
        args.erase(args.begin() + shortAt, args.begin() + shortAt + 2);
    }
    if (args.size() != 3)
        return 3;

    QTextStream out(stdout);
    downloadmanager manager;
    QObject::connect(
        &manager, &downloadmanager::downloadReplyProgress,
        [&](qint64 done, qint64 total) { out << "progress " << done << ' ' << total << Qt::endl; });
    QObject::connect(&manager, &downloadmanager::downloadFinished, [&] {
        out << "finished" << Qt::endl;
        manager.fileMd5(manager.finalFilePath());
    });
    QObject::connect(&manager, &downloadmanager::md5CheckFinish, [&] {
        out << "md5ok" << Qt::endl;
        QCoreApplication::exit(0);
    });
    QObject::connect(&manager, &downloadmanager::downloadError,
                     [&](ErrorDefine::ErrorCode code, const QString &msg) {
                         out << "error " << int(code) << ' ' << msg << Qt::endl;
                         QCoreApplication::exit(1);
                     });
    QObject::connect(&manager, &downloadmanager::httpError,
                     [&](ErrorDefine::ErrorCode code, const QString &msg) {
                         out << "httperror " << int(code) << ' ' << msg << Qt::endl;
                         QCoreApplication::exit(1);
                     });
    manager.setFilePath(args.at(1));
    manager.setFileMD5(args.at(2));
    manager.setUrl(QUrl(args.at(0)));
    manager.startDownload();
    return app.exec();
}
