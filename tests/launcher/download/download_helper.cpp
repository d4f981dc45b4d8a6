// A process that downloads one package with the real manager and reports on stdout, so tests
// can kill it in the middle or run it under resource limits.
//   download_helper <url> <folder> <md5> [--fsize-limit <bytes>]
// Prints "progress <done> <total>", "finished", "md5ok", "error <code> <msg>",
// "httperror <code> <msg>"; exits 0 after a matching MD5, 1 on an error.
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

#include "downloadmanager.h"

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
