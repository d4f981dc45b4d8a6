// Check and repair benchmark driver; bench/repair/run.sh prints the figures.
//   bench_repair list   <game folder> <list.json>   write the file list of every file
//   bench_repair verify <game folder> <list.json>   check the folder: "seconds S bytes B damaged D"
//   bench_repair repair <game folder> <resource answer> <config.ini>
//       check and repair against the served release: "seconds S downloaded B repaired R"
#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <cstdio>

#include "gamefilelist.h"
#include "gamerepairflow.h"
#include "gameverifier.h"
#include "launcherconfig.h"
#include "updateversioninfo.h"

namespace {
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("lunmere-bench"));
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return fail(QStringLiteral("usage: bench_repair list|verify|repair <folder> <file> ..."));
    const QString mode = args.at(1);
    const QString folder = args.at(2);
    QString error;

    if (mode == QLatin1String("list")) {
        QStringList files;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(folder.size() + 1);
        GameFileList list;
        if (!GameFileList::build(folder, files, QStringLiteral("1.0.0"), &list, &error))
            return fail(error);
        QFile out(args.at(3));
        if (!out.open(QIODevice::WriteOnly) || out.write(list.toJson()) < 0)
            return fail(out.errorString());
        return 0;
    }
    if (mode == QLatin1String("verify")) {
        GameFileList list;
        if (!GameFileList::fromJson(readAll(args.at(3)), &list, &error))
            return fail(error);
        GameVerifier verifier(folder, list.entries);
        QElapsedTimer timer;
        timer.start();
        const GameVerifier::Result result = verifier.verify();
        std::printf("seconds %.3f bytes %lld damaged %d\n", timer.nsecsElapsed() / 1e9,
                    static_cast<long long>(result.bytesRead), int(result.damaged.size()));
        return 0;
    }
    if (mode == QLatin1String("repair") && args.size() >= 5) {
        LauncherConfig::setInstanceFilePath(args.at(4));
        UpdateVersionInfo manifest;
        if (!manifest.parseResourceResponse(readAll(args.at(3)), &error))
            return fail(error);
        GameRepairFlow flow;
        flow.setInstallFolder(folder);
        flow.setFileList(QUrl(manifest.filesPath()), manifest.filesSha256(), manifest.filesSize());
        flow.setPackage(manifest.packageUrl(QString()), manifest.md5());
        QElapsedTimer timer;
        int exitCode = 1;
        QObject::connect(
            &flow, &GameRepairFlow::repairFinished, [&](int checked, int damaged, int repaired) {
                std::printf("seconds %.3f downloaded %lld checked %d damaged %d "
                            "repaired %d\n",
                            timer.nsecsElapsed() / 1e9,
                            static_cast<long long>(manifest.size() + manifest.filesSize()), checked,
                            damaged, repaired);
                exitCode = 0;
                app.quit();
            });
        QObject::connect(&flow, &GameRepairFlow::repairFailed,
                         [&](ErrorDefine::ErrorCode code, const QString &msg) {
                             std::fprintf(stderr, "failed [%d]:%s\n", int(code), qPrintable(msg));
                             app.quit();
                         });
        timer.start();
        flow.start();
        app.exec();
        return exitCode;
    }
    return fail(QStringLiteral("unknown mode ") + mode);
}
