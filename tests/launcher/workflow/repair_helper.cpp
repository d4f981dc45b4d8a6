// The check-and-repair flow in a process of its own, so a test can kill it in the middle.
//   repair_helper <install folder> <list url> <list sha256> <list size> <package url> <md5>
//                 <config.ini>
// Prints "status <text>" lines; exits 0 after a repair, 1 on a failure.
#include <QCoreApplication>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>

#include "gamerepairflow.h"
#include "launcherconfig.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The test's identity, so that both read and write the same resume records.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("lunmere-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_gamerepair"));
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 7)
        return 2;
    LauncherConfig::setInstanceFilePath(args.at(6));
    GameRepairFlow flow;
    flow.setInstallFolder(args.at(0));
    flow.setFileList(QUrl(args.at(1)), args.at(2), args.at(3).toLongLong());
    flow.setPackage(QUrl(args.at(4)), args.at(5));
    QObject::connect(&flow, &GameRepairFlow::statusChanged, [](const QString &text) {
        std::printf("status %s\n", qPrintable(text));
        std::fflush(stdout);
    });
    QObject::connect(&flow, &GameRepairFlow::repairFinished, &app,
                     [] { QCoreApplication::exit(0); });
    QObject::connect(&flow, &GameRepairFlow::repairFailed, &app, [] { QCoreApplication::exit(1); });
    flow.start();
    return app.exec();
}
