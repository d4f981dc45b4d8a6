// Figures for the updater's transfer: download throughput and peak memory over loopback HTTP,
// and the file replacement of a launcher tree when every file changed and when none did.
//   bench_updatetransfer [package MiB] [tree files] [tree MiB]
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

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
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 packageMiB = args.value(1, "256").toLongLong();
    const int treeFiles = args.value(2, "400").toInt();
    const qint64 treeMiB = args.value(3, "200").toLongLong();

    QTemporaryDir dir;
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

    const QString source = dir.filePath("updateData");
    const QString destination = dir.filePath("launcher");
    const qint64 perFile = treeMiB * 1024 * 1024 / treeFiles;
    for (int i = 0; i < treeFiles; ++i) {
        const QString name = QStringLiteral("/d%1/f%2.bin").arg(i % 20).arg(i);
        writeRandom(source + name, perFile, 100 + i);
        writeRandom(destination + name, perFile, 900000 + i);
    }
    int handled = 0;
    const double changed = copyRun(source, destination, dir.filePath("rollback"), &handled);
    std::printf("replace %d changed files, %lld MiB, with backups: %.2f s (%d handled)\n",
                treeFiles, treeMiB, changed, handled);
    const double unchanged = copyRun(source, destination, dir.filePath("rollback2"), &handled);
    std::printf("replace %d unchanged files, %lld MiB (digests only): %.2f s (%d handled)\n",
                treeFiles, treeMiB, unchanged, handled);
    QElapsedTimer restoreClock;
    restoreClock.start();
    const bool restored = FileOperator::restoreBackup(dir.filePath("rollback"), destination);
    std::printf("rollback of %d files: %.2f s (%s)\n", treeFiles, restoreClock.elapsed() / 1000.0,
                restored ? "ok" : "failed");
    manager->removeAll();
    return 0;
}
