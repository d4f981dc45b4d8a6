// Figures for the updater's transfer: download throughput and peak memory over loopback HTTP,
// and the file replacement of a launcher tree when every file changed and when none did, each
// round against `cp -a` doing the same backup and copy (the order alternates every round).
//   bench_updatetransfer [package MiB, 0 skips the download] [tree files] [tree MiB] [rounds]
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

#include "downloadmanager.h"
#include "fileoperator.h"
#include "httptestserver.h"
#include "taskmodel.h"

namespace {
long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool writeRandom(const QString &path, qint64 bytes, quint32 seed)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    quint32 x = seed * 2654435761u + 1;
    for (qint64 written = 0; written < bytes; written += chunk.size()) {
        for (char &c : chunk) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = static_cast<char>(x);
        }
        if (file.write(chunk.left(int(qMin<qint64>(chunk.size(), bytes - written)))) < 0)
            return false;
    }
    return true;
}

QString fileMd5(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

double copyRun(const QString &source, const QString &destination, const QString &backup,
               int *handled)
{
    FileOperator copier;
    copier.setCopyParams(source, destination, true, backup);
    int count = 0;
    QObject::connect(&copier, &FileOperator::copyProgress,
                     [&count](int done, int) { count = done; });
    QElapsedTimer clock;
    clock.start();
    copier.onCopyDirFiles();
    *handled = count;
    return clock.elapsed() / 1000.0;
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// The reference: save the old tree, then copy the new one over it, with coreutils.
double referenceRun(const QString &source, const QString &destination, const QString &backup)
{
    QElapsedTimer clock;
    clock.start();
    if (!run("cp", {"-a", destination + "/.", backup}) ||
        !run("cp", {"-a", source + "/.", destination}))
        return -1;
    return clock.elapsed() / 1000.0;
}

void report(const char *what, std::vector<double> seconds)
{
    std::sort(seconds.begin(), seconds.end());
    const size_t n = seconds.size();
    const double median = n % 2 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2;
    std::printf("%-44s median %.3f s, spread %.3f..%.3f s (%zu rounds)\n", what, median,
                seconds.front(), seconds.back(), n);
}
} // namespace

static int benchDownload(QCoreApplication &app, QTemporaryDir &dir, qint64 packageMiB)
{
    const QString served = dir.filePath("served/launcher.7z");
    writeRandom(served, packageMiB * 1024 * 1024, 1);
    const QString md5 = fileMd5(served);
    const long rssBefore = peakRssKiB();

    // The server gets a thread of its own so that it never competes with the engine's loop.
    QThread serverThread;
    auto *server = new HttpTestServer;
    server->moveToThread(&serverThread);
    serverThread.start();
    bool listening = false;
    QMetaObject::invokeMethod(
        server,
        [&] {
            listening = server->listen();
            server->serveFile("/launcher.7z", served);
        },
        Qt::BlockingQueuedConnection);
    if (!listening)
        return 1;

    TaskModel record;
    record.url = server->url("/launcher.7z").toString();
    record.md5 = md5;
    record.folder = dir.filePath("pkg");
    DownloadManager *manager = DownloadManager::instance();
    const int group = manager->addTasks({&record}, 1);
    bool ok = false;
    QObject::connect(manager, &DownloadManager::finish, &app, [&](int) {
        ok = true;
        app.quit();
    });
    QObject::connect(manager, &DownloadManager::error, &app, [&](int code, const QString &msg) {
        std::printf("download failed: %d %s\n", code, qPrintable(msg));
        app.quit();
    });
    QElapsedTimer clock;
    clock.start();
    manager->startGroup(group);
    app.exec();
    const double seconds = clock.elapsed() / 1000.0;
    QMetaObject::invokeMethod(
        server, [server] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    if (!ok)
        return 1;
    std::printf("download %lld MiB incl. MD5: %.2f s, %.1f MiB/s, peak RSS %ld KiB "
                "(%ld KiB before the transfer)\n",
                packageMiB, seconds, packageMiB / seconds, peakRssKiB(), rssBefore);

    manager->removeAll();
    return 0;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 packageMiB = args.value(1, "256").toLongLong();
    const int treeFiles = args.value(2, "400").toInt();
    const qint64 treeMiB = args.value(3, "200").toLongLong();
    const int rounds = qMax(1, args.value(4, "5").toInt());

    QTemporaryDir dir(QDir(qEnvironmentVariable("BENCH_TMPDIR", QDir::tempPath()))
                          .filePath("bench-updatetransfer-XXXXXX"));
    if (packageMiB > 0 && benchDownload(app, dir, packageMiB) != 0)
        return 1;

    // One old and one new tree, copied afresh (untimed) before every timed run.
    const QString newTree = dir.filePath("new");
    const QString oldTree = dir.filePath("old");
    const qint64 perFile = treeMiB * 1024 * 1024 / treeFiles;
    for (int i = 0; i < treeFiles; ++i) {
        const QString name = QStringLiteral("/d%1/f%2.bin").arg(i % 20).arg(i);
        writeRandom(newTree + name, perFile, 100 + i);
        writeRandom(oldTree + name, perFile, 900000 + i);
    }
    const auto fresh = [&](const QString &name, const QString &from) {
        const QString path = dir.filePath(name);
        QDir(path).removeRecursively();
        if (!from.isEmpty())
            run("cp", {"-a", from, path});
        else
            QDir().mkpath(path);
        return path;
    };
    std::vector<double> ours, reference, unchanged, rollback;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool oursNow = (round + turn) % 2 == 0;
            const QString source = fresh("updateData", newTree);
            const QString destination = fresh("launcher", oldTree);
            const QString backup = fresh("rollback", {});
            run("sync", {});
            if (!oursNow) {
                reference.push_back(referenceRun(source, destination, backup));
                continue;
            }
            int handled = 0;
            ours.push_back(copyRun(source, destination, backup, &handled));
            if (handled != treeFiles)
                std::printf("round %d: only %d of %d files handled\n", round, handled, treeFiles);
            unchanged.push_back(copyRun(source, destination, fresh("rollback2", {}), &handled));
            QElapsedTimer clock;
            clock.start();
            const bool restored = FileOperator::restoreBackup(backup, destination);
            rollback.push_back(clock.elapsed() / 1000.0);
            if (!restored)
                std::printf("round %d: rollback failed\n", round);
        }
    }
    std::printf("tree: %d files, %lld MiB\n", treeFiles, treeMiB);
    report("replace, every file changed, with backups", ours);
    report("reference cp -a backup + cp -a copy", reference);
    report("replace, nothing changed (compared only)", unchanged);
    report("rollback of every file", rollback);
    return 0;
}
