// Applies one patch package to a game folder with the launcher's applier and prints the
// seconds it took: bench/patch/run.sh times it against `zstd -d --patch-from`.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include "patchapplier.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: bench_patchapply GAME_FOLDER PATCH_PACKAGE\n";
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    PatchApplier applier;
    const PatchApplier::Result result =
        applier.apply(args.at(1), args.at(2), [](const QString &) { return true; });
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (result.outcome != PatchApplier::Outcome::Applied) {
        QTextStream(stderr) << "not applied: " << result.message << "\n";
        return 1;
    }
    QTextStream(stdout) << QString::number(seconds, 'f', 3) << "\n";
    return 0;
}
