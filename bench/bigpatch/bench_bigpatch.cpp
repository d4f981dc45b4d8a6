// Builds the patch package between two game folders with the publisher's builder and prints
// its size and the seconds it took: bench/bigpatch/run.sh applies it with bench_patchapply.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include "foldersnapshot.h"
#include "patchbuilder.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: bench_bigpatch OLD_FOLDER NEW_FOLDER PATCH_PACKAGE\n";
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    FolderSnapshot old;
    FolderSnapshot newest;
    QString error;
    if (!FolderSnapshot::scan(args.at(1), &old, &error) ||
        !FolderSnapshot::scan(args.at(2), &newest, &error)) {
        QTextStream(stderr) << error << "\n";
        return 1;
    }
    PatchBuilder::Changes changes;
    for (auto it = newest.entries().begin(); it != newest.entries().end(); ++it) {
        const auto was = old.entries().constFind(it.key());
        if (was == old.entries().constEnd() || !FolderSnapshot::sameFile(was.value(), it.value()))
            changes.changed << it.key();
    }
    for (auto it = old.entries().begin(); it != old.entries().end(); ++it) {
        if (!newest.entries().contains(it.key()))
            changes.removed << it.key();
    }
    if (!PatchBuilder::build(args.at(1), old, newest, changes, "1", "2", 3, args.at(3), &error)) {
        QTextStream(stderr) << error << "\n";
        return 1;
    }
    QTextStream(stdout) << QFileInfo(args.at(3)).size() << " "
                        << QString::number(timer.nsecsElapsed() / 1e9, 'f', 3) << "\n";
    return 0;
}
