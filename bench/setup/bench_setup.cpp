// Unpacks one package with the real setup worker on its thread and prints the figures:
//   bench_setup <install folder> <package name>
// Output: "seconds S bytes B progress_signals N peak_rss_kib R" and "ok" or the errors.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <sys/resource.h>

#include "setupmanager.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: bench_setup <install folder> <package name>\n";
        return 2;
    }
    setupmanager manager;
    manager.setZipFilePath(QString::fromLocal8Bit(argv[1]));
    manager.setZipFileName(QString::fromLocal8Bit(argv[2]));
    qlonglong progressCount = 0;
    qlonglong total = 0;
    QStringList errors;
    QObject::connect(&manager, &setupmanager::setupProgress, &app,
                     [&](qlonglong, qlonglong totalSize) {
                         ++progressCount;
                         total = totalSize;
                     });
    QObject::connect(&manager, &setupmanager::setupError, &app,
                     [&](ErrorDefine::ErrorCode code, const QString &msg) {
                         errors << QString::number(code) + QLatin1Char(':') + msg;
                     });
    QObject::connect(&manager, &QThread::finished, &app, &QCoreApplication::quit);
    QElapsedTimer timer;
    timer.start();
    manager.start();
    app.exec();
    const double seconds = timer.nsecsElapsed() / 1e9;
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    QTextStream out(stdout);
    out << "seconds " << QString::number(seconds, 'f', 3) << " bytes " << total
        << " progress_signals " << progressCount << " peak_rss_kib " << usage.ru_maxrss << '\n';
    out << (errors.isEmpty() ? QStringLiteral("ok") : errors.join(QLatin1String("; "))) << '\n';
    return errors.isEmpty() ? 0 : 1;
}
