// Drives the real download manager for bench/download/run.sh.
//   bench_download download <url> <folder>   one download; prints seconds, bytes, peak_rss_kb
//   bench_download md5 <file> <expected md5>  one MD5 check through the manager's worker thread
//                                            (a mismatch is reported as error 1004)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <sys/resource.h>

#include "downloadmanager.h"

namespace {
long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_download"));
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    downloadmanager manager;
    QElapsedTimer clock;
    int result = 1;

    QObject::connect(&manager, &downloadmanager::downloadError,
                     [&](ErrorDefine::ErrorCode code, const QString &msg) {
                         out << "error " << int(code) << ' ' << msg << Qt::endl;
                         QCoreApplication::exit(1);
                     });
    QObject::connect(&manager, &downloadmanager::httpError,
                     [&](ErrorDefine::ErrorCode code, const QString &msg) {
                         out << "error " << int(code) << ' ' << msg << Qt::endl;
                         QCoreApplication::exit(1);
                     });

    if (args.size() == 3 && args.at(0) == QLatin1String("download")) {
        QObject::connect(&manager, &downloadmanager::downloadFinished, [&] {
            const double seconds = clock.nsecsElapsed() / 1e9;
            out << "seconds " << QString::number(seconds, 'f', 3) << Qt::endl;
            out << "bytes " << QFileInfo(manager.finalFilePath()).size() << Qt::endl;
            out << "peak_rss_kb " << peakRssKb() << Qt::endl;
            QCoreApplication::exit(0);
        });
        clock.start();
        manager.setFilePath(args.at(2));
        manager.setUrl(QUrl(args.at(1)));
        manager.startDownload();
        result = app.exec();
    } else if (args.size() == 3 && args.at(0) == QLatin1String("md5")) {
        QObject::connect(&manager, &downloadmanager::md5CheckFinish, [&] {
            out << "seconds " << QString::number(clock.nsecsElapsed() / 1e9, 'f', 3) << Qt::endl;
            QCoreApplication::exit(0);
        });
        manager.setFileMD5(args.at(2));
        clock.start();
        manager.fileMd5(args.at(1));
        result = app.exec();
    } else {
        out << "usage: bench_download download <url> <folder> | md5 <file> <md5>" << Qt::endl;
    }
    return result;
}
