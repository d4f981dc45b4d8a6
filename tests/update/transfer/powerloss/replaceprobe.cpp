// The updater's replacement of one launcher folder and its clean-up, as the update window runs
// them, in a process of its own so that a test can record its file-system calls.
//   replaceprobe <launcher folder>   (the new files wait in updateProgram/updateData)
#include <QCoreApplication>
#include <QDir>

#include "fileoperator.h"
#include "replacerecovery.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const UpdaterLayout layout = UpdaterLayout::ofLauncher(QString::fromLocal8Bit(argv[1]));
    // The window makes the backup folder before the copy starts.
    if (!QDir().mkpath(layout.backupFolder()))
        return 3;
    FileOperator copier;
    copier.setCopyParams(layout.extractionFolder(), layout.launcherFolder(), true,
                         layout.backupFolder());
    bool finished = false;
    QObject::connect(&copier, &FileOperator::copyFinish, [&finished] { finished = true; });
    copier.onCopyDirFiles();
    if (!finished)
        return 1;
    ReplaceRecovery(layout).finish();
    return 0;
}
