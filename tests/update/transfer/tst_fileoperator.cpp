#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>
#include <memory>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileentries.h"
#include "fileoperator.h"
#include "replacejournal.h"
#include "replacerecovery.h"
#include "replacesteps.h"
#include "transfertestutil.h"

using namespace TransferTest;

namespace {
const char kChildVariable[] = "UPTRANSFER_COPY_CHILD";

ReplaceRecovery recoveryOf(const QString &launcher, const QString &updater)
{
    return ReplaceRecovery(UpdaterLayout(launcher, updater));
}

// One copy run in a process of its own, optionally as another user, so that it can be killed
// or refused by the file system. Prints one line per report.
int runCopyChild(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    if (args.size() > 4) {
        const uid_t uid = args.at(4).toUInt();
        if (setgid(uid) != 0 || setuid(uid) != 0)
            return 3;
    }
    FileOperator copier;
    copier.setCopyParams(args.at(1), args.at(2), true, args.at(3));
    bool ok = false;
    QObject::connect(&copier, &FileOperator::copyProgress, [](int done, int total) {
        std::printf("progress %d %d\n", done, total);
        std::fflush(stdout);
    });
    QObject::connect(&copier, &FileOperator::copyFinish, [&ok] { ok = true; });
    QObject::connect(&copier, &FileOperator::copyError, [](const QString &path) {
        std::printf("error %s\n", qPrintable(path));
        std::fflush(stdout);
    });
    copier.onCopyDirFiles();
    return ok ? 0 : 1;
}
} // namespace

class tst_FileOperator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void identicalFilesAreSkippedButCountedWithoutBackup();
    void changedNestedFileIsBackedUpUnderSameRelativePath();
    void rollbackRestoresExactPreviousBytesAndKeepsAddedFiles();
    void directoryInTheWayStopsCopyAndRollbackLosesNothing();
    void retryAfterFailureSkipsReplacedFilesAndKeepsOriginalBackup();
    void backupThatCannotBeMadeLeavesOldFileUntouched();
    void unwritableFolderForUnprivilegedUserIsReported();
    void refusedRenameIntoPlaceStopsTheCopyAndLeavesNoTemporary();
    void stopFlagEndsRunWithError();
    void killedMidReplacementLeavesEveryFileOldOrNewNeverTorn();
    void dotFilesAndFoldersAreReplacedBackedUpAndRestored();
    void linksAreReplacedAsEntriesNeverWrittenThrough_data();
    void linksAreReplacedAsEntriesNeverWrittenThrough();
    void foldersSwappedForLinksMidRunAreNeverWrittenThrough_data();
    void foldersSwappedForLinksMidRunAreNeverWrittenThrough();
    void restoreGoesOnPastALockedFileAndRetriesIt();
    void retryWithANewerPackageKeepsTheOriginalBackups();

private:
    // Runs one copy on a thread of its own, as the update window does.
    struct Run
    {
        bool finished = false;
        QString errorPath;
        QList<QPair<int, int>> progress;
    };
    Run runOnThread(FileOperator *copier);
    void makeOldAndNew();

    QTemporaryDir *m_dir = nullptr;
    QThread *m_thread = nullptr;
    QString m_source;
    QString m_destination;
    QString m_backup;
};

void tst_FileOperator::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_FileOperator::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_thread = new QThread;
    m_source = m_dir->filePath("updater/updateData");
    m_destination = m_dir->filePath("launcher");
    m_backup = m_dir->filePath("updater/rollback");
}

void tst_FileOperator::cleanup()
{
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    delete m_dir;
    m_dir = nullptr;
}

tst_FileOperator::Run tst_FileOperator::runOnThread(FileOperator *copier)
{
    Run run;
    // One thread for the whole test, started again for a retry, as the update window does.
    if (copier->thread() != m_thread)
        copier->moveToThread(m_thread);
    QObject context;
    connect(copier, &FileOperator::copyProgress, &context, [&](int done, int total) {
        run.progress.append({done, total});
    });
    connect(copier, &FileOperator::copyFinish, &context, [&] { run.finished = true; });
    connect(copier, &FileOperator::copyError, &context,
            [&](const QString &path) { run.errorPath = path; });
    const QMetaObject::Connection started =
        connect(m_thread, &QThread::started, copier, &FileOperator::onCopyDirFiles);
    QSignalSpy finish(copier, &FileOperator::copyFinish);
    QSignalSpy error(copier, &FileOperator::copyError);
    m_thread->start(QThread::InheritPriority);
    [&] {
        QTRY_VERIFY_WITH_TIMEOUT(finish.count() + error.count() == 1, 30000);
    }();
    QCoreApplication::processEvents();
    m_thread->quit();
    m_thread->wait();
    disconnect(started);
    return run;
}

void tst_FileOperator::makeOldAndNew()
{
    // The installed launcher.
    writeFile(m_destination + "/launcher", "old launcher");
    writeFile(m_destination + "/unchanged.dll", noise(10000, 5));
    writeFile(m_destination + "/plugins/platforms/libqxcb.so", "old platform plugin");
    writeFile(m_destination + "/plugins/x.dll", "old x");
    writeFile(m_destination + "/user.ini", "kept by the user");
    // The unpacked new one.
    writeFile(m_source + "/launcher", "new launcher");
    writeFile(m_source + "/unchanged.dll", noise(10000, 5));
    writeFile(m_source + "/plugins/platforms/libqxcb.so", "new platform plugin");
    writeFile(m_source + "/plugins/x.dll", "new x");
    writeFile(m_source + "/plugins/added.dll", "brand new");
}

void tst_FileOperator::identicalFilesAreSkippedButCountedWithoutBackup()
{
    writeFile(m_source + "/a", "same a");
    writeFile(m_source + "/sub/b", "same b");
    writeFile(m_destination + "/a", "same a");
    writeFile(m_destination + "/sub/b", "same b");
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    for (const QString &path : QStringList{m_destination + "/a", m_destination + "/sub/b"}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    const Run run = runOnThread(&copier);
    QVERIFY(run.finished);
    QCOMPARE(run.progress, (QList<QPair<int, int>>{{1, 2}, {2, 2}}));
    QVERIFY(snapshot(m_backup).isEmpty());
    // Not rewritten: the old modification time is still there.
    QCOMPARE(QFileInfo(m_destination + "/sub/b").lastModified().toUTC().toSecsSinceEpoch(),
             old.toSecsSinceEpoch());
}

void tst_FileOperator::changedNestedFileIsBackedUpUnderSameRelativePath()
{
    makeOldAndNew();
    chmod(qPrintable(m_source + "/launcher"), 0755);
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    const Run run = runOnThread(&copier);
    QVERIFY2(run.finished, qPrintable(run.errorPath));
    QCOMPARE(run.progress.size(), 5);
    QCOMPARE(run.progress.last(), qMakePair(5, 5));

    const auto installed = snapshot(m_destination);
    QCOMPARE(installed.value("launcher"), QByteArray("new launcher"));
    QCOMPARE(installed.value("plugins/platforms/libqxcb.so"), QByteArray("new platform plugin"));
    QCOMPARE(installed.value("plugins/added.dll"), QByteArray("brand new"));
    QCOMPARE(installed.value("user.ini"), QByteArray("kept by the user"));
    QVERIFY(QFileInfo(m_destination + "/launcher").isExecutable());

    // Two levels deep with nothing above it backed up before: its folders are made.
    const auto saved = snapshot(m_backup);
    QCOMPARE(saved.keys(),
             (QStringList{"launcher", "plugins/platforms/libqxcb.so", "plugins/x.dll"}));
    QCOMPARE(saved.value("launcher"), QByteArray("old launcher"));
    QCOMPARE(saved.value("plugins/platforms/libqxcb.so"), QByteArray("old platform plugin"));
    QCOMPARE(saved.value("plugins/x.dll"), QByteArray("old x"));
    // No temporary copies left next to the files.
    QCOMPARE(installed.size(), 6);
}

void tst_FileOperator::rollbackRestoresExactPreviousBytesAndKeepsAddedFiles()
{
    makeOldAndNew();
    const auto before = snapshot(m_destination);
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    QVERIFY(runOnThread(&copier).finished);
    QVERIFY(FileOperator::restoreBackup(m_backup, m_destination));
    auto after = snapshot(m_destination);
    QCOMPARE(after.take("plugins/added.dll"), QByteArray("brand new"));
    QCOMPARE(after, before);
}

void tst_FileOperator::directoryInTheWayStopsCopyAndRollbackLosesNothing()
{
    makeOldAndNew();
    QVERIFY(QDir().mkpath(m_destination + "/config.ini"));
    QVERIFY(writeFile(m_destination + "/config.ini/inside", "folder content"));
    QVERIFY(writeFile(m_source + "/config.ini", "new config"));
    const auto before = snapshot(m_destination);

    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    const Run run = runOnThread(&copier);
    QVERIFY(!run.finished);
    QCOMPARE(run.errorPath, m_source + QDir::separator() + "config.ini");
    // Subfolders go first, so the plug-ins were already replaced and saved.
    QCOMPARE(readFile(m_destination + "/plugins/x.dll"), QByteArray("new x"));
    QCOMPARE(readFile(m_backup + "/plugins/x.dll"), QByteArray("old x"));

    QVERIFY(FileOperator::restoreBackup(m_backup, m_destination));
    auto after = snapshot(m_destination);
    after.remove("plugins/added.dll");
    QCOMPARE(after, before);
}

void tst_FileOperator::retryAfterFailureSkipsReplacedFilesAndKeepsOriginalBackup()
{
    makeOldAndNew();
    QVERIFY(QDir().mkpath(m_destination + "/config.ini"));
    QVERIFY(writeFile(m_source + "/config.ini", "new config"));
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    QVERIFY(!runOnThread(&copier).finished);

    // The obstacle is gone; the second run completes and the backups still hold the originals.
    QVERIFY(QDir(m_destination + "/config.ini").removeRecursively());
    const Run retry = runOnThread(&copier);
    QVERIFY2(retry.finished, qPrintable(retry.errorPath));
    QCOMPARE(retry.progress.first().first, 1);
    QCOMPARE(readFile(m_destination + "/config.ini"), QByteArray("new config"));
    QCOMPARE(readFile(m_backup + "/plugins/x.dll"), QByteArray("old x"));
    QCOMPARE(readFile(m_backup + "/launcher"), QByteArray("old launcher"));
}

void tst_FileOperator::backupThatCannotBeMadeLeavesOldFileUntouched()
{
    makeOldAndNew();
    QVERIFY(writeFile(m_dir->filePath("blocker"), "x"));
    const auto before = snapshot(m_destination);
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_dir->filePath("blocker/rollback"));
    const Run run = runOnThread(&copier);
    QVERIFY(!run.finished);
    QVERIFY(!run.errorPath.isEmpty());
    QVERIFY(run.errorPath.startsWith(m_source));
    // Nothing that had no backup was overwritten.
    auto after = snapshot(m_destination);
    after.remove("plugins/added.dll");
    QCOMPARE(after, before);
}

void tst_FileOperator::unwritableFolderForUnprivilegedUserIsReported()
{
    if (geteuid() != 0)
        QSKIP("switching to the user nobody needs root");
    const passwd *nobody = getpwnam("nobody");
    if (!nobody)
        QSKIP("no user nobody on this system");
    makeOldAndNew();
    // Everything readable by nobody; only the backup folder is writable for it.
    QVERIFY(chmod(qPrintable(m_dir->path()), 0755) == 0);
    QDirIterator it(m_dir->path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        chmod(qPrintable(it.next()), 0755);
    QVERIFY(QDir().mkpath(m_backup));
    QVERIFY(chmod(qPrintable(m_backup), 0777) == 0);
    // The journal lies beside the backups.
    QVERIFY(chmod(qPrintable(m_dir->filePath("updater")), 0777) == 0);
    const auto before = snapshot(m_destination);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildVariable, "1");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {m_source, m_destination, m_backup, QString::number(nobody->pw_uid)});
    QVERIFY(child.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QCOMPARE(child.exitCode(), 1);
    QVERIFY2(output.contains("error " + m_source), qPrintable(output));
    // nobody could read the old files and save them, so it was the folder that refused.
    QVERIFY(!snapshot(m_backup).isEmpty());
    QCOMPARE(snapshot(m_destination), before);
    QVERIFY(FileOperator::restoreBackup(m_backup, m_destination));
    QCOMPARE(snapshot(m_destination), before);
}

// A sticky folder lets another user add names but not replace root's files: each new file is
// written beside its target, then the rename into place is refused.
void tst_FileOperator::refusedRenameIntoPlaceStopsTheCopyAndLeavesNoTemporary()
{
    if (geteuid() != 0)
        QSKIP("switching to the user nobody needs root");
    const passwd *nobody = getpwnam("nobody");
    if (!nobody)
        QSKIP("no user nobody on this system");
    makeOldAndNew();
    QVERIFY(chmod(qPrintable(m_dir->path()), 0755) == 0);
    QDirIterator it(m_dir->path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString folder = it.next();
        QVERIFY(chmod(qPrintable(folder), folder.startsWith(m_destination) ? 01777 : 0755) == 0);
    }
    QVERIFY(chmod(qPrintable(m_destination), 01777) == 0);
    QVERIFY(QDir().mkpath(m_backup));
    QVERIFY(chmod(qPrintable(m_backup), 0777) == 0);
    QVERIFY(chmod(qPrintable(m_dir->filePath("updater")), 0777) == 0);
    const auto before = snapshot(m_destination);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildVariable, "1");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {m_source, m_destination, m_backup, QString::number(nobody->pw_uid)});
    QVERIFY(child.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QCOMPARE(child.exitCode(), 1);
    QVERIFY2(output.contains("error " + m_source), qPrintable(output));
    // Old files only, and no temporary copy beside them.
    QCOMPARE(snapshot(m_destination), before);
    QVERIFY(FileOperator::restoreBackup(m_backup, m_destination));
    QCOMPARE(snapshot(m_destination), before);
}

void tst_FileOperator::stopFlagEndsRunWithError()
{
    makeOldAndNew();
    const auto before = snapshot(m_destination);
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    copier.stopCopy();
    const Run run = runOnThread(&copier);
    QVERIFY(!run.finished);
    QVERIFY(run.progress.isEmpty());
    QCOMPARE(snapshot(m_destination), before);
}

void tst_FileOperator::killedMidReplacementLeavesEveryFileOldOrNewNeverTorn()
{
    constexpr int kFiles = 24;
    constexpr int kSize = 3 * 1024 * 1024;
    for (int i = 0; i < kFiles; ++i) {
        const QString name = QStringLiteral("/file%1.bin").arg(i);
        QVERIFY(writeFile(m_destination + name, QByteArray(kSize, 'o')));
        QVERIFY(writeFile(m_source + name, QByteArray(kSize, 'n')));
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildVariable, "1");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {m_source, m_destination, m_backup});
    QVERIFY(child.waitForStarted());
    QByteArray seen;
    while (!seen.contains("progress 3 ") && child.state() == QProcess::Running) {
        child.waitForReadyRead(10000);
        seen += child.readAllStandardOutput();
    }
    child.kill();
    QVERIFY(child.waitForFinished(10000));
    QVERIFY2(seen.contains("progress 3 "), seen.constData());

    int replaced = 0;
    for (int i = 0; i < kFiles; ++i) {
        const QString name = QStringLiteral("/file%1.bin").arg(i);
        const QByteArray content = readFile(m_destination + name);
        const bool old = content == QByteArray(kSize, 'o');
        const bool fresh = content == QByteArray(kSize, 'n');
        QVERIFY2(old || fresh, qPrintable(name));
        if (fresh) {
            ++replaced;
            QCOMPARE(readFile(m_backup + name), QByteArray(kSize, 'o'));
        }
    }
    QVERIFY(replaced >= 3);
    if (replaced == kFiles)
        qWarning("the copy ended before the kill arrived; only the completed case was checked");
    // The rollback brings back every original despite the interruption.
    QVERIFY(FileOperator::restoreBackup(m_backup, m_destination));
    for (int i = 0; i < kFiles; ++i)
        QCOMPARE(readFile(m_destination + QStringLiteral("/file%1.bin").arg(i)),
                 QByteArray(kSize, 'o'));
}

void tst_FileOperator::dotFilesAndFoldersAreReplacedBackedUpAndRestored()
{
    writeFile(m_destination + "/.version", "1");
    writeFile(m_destination + "/launcher", "old launcher");
    writeFile(m_source + "/.version", "2");
    writeFile(m_source + "/.config/settings.ini", "new settings");
    writeFile(m_source + "/launcher", "new launcher");
    const auto before = snapshot(m_destination);
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    const Run run = runOnThread(&copier);
    QVERIFY2(run.finished, qPrintable(run.errorPath));
    QCOMPARE(run.progress.last(), qMakePair(3, 3));
    QCOMPARE(snapshot(m_destination), snapshot(m_source));
    QCOMPARE(snapshot(m_backup).value(".version"), QByteArray("1"));

    QVERIFY(recoveryOf(m_destination, m_dir->filePath("updater")).undo());
    QCOMPARE(snapshot(m_destination), before);
    QVERIFY(!QFileInfo::exists(m_backup + ".journal"));
}

void tst_FileOperator::linksAreReplacedAsEntriesNeverWrittenThrough_data()
{
    QTest::addColumn<QStringList>("outsidePlugins");
    QTest::newRow("link target without the shipped file") << QStringList{"kept.dll"};
    // The undo must not take the outside copy for an original of the launcher's folder.
    QTest::newRow("link target holding the shipped file") << QStringList{"kept.dll", "x.dll"};
}

void tst_FileOperator::linksAreReplacedAsEntriesNeverWrittenThrough()
{
    QFETCH(QStringList, outsidePlugins);
    const QString outside = m_dir->filePath("outside");
    writeFile(outside + "/victim.so", "outside bytes");
    for (const QString &name : outsidePlugins)
        writeFile(outside + "/plugins/" + name, "outside " + name.toUtf8());
    writeFile(m_destination + "/lib/libfoo.so.1", "the real library");
    QVERIFY(makeLink("libfoo.so.1", m_destination + "/lib/libfoo.so"));
    QVERIFY(makeLink(outside + "/victim.so", m_destination + "/lib/libbar.so"));
    QVERIFY(makeLink(outside + "/plugins", m_destination + "/plugins"));
    QVERIFY(makeLink("lib/libfoo.so.1", m_destination + "/same-link"));
    // Extraction stores a link item as a small file holding the target's name.
    writeFile(m_source + "/lib/libfoo.so", "libfoo.so.1");
    writeFile(m_source + "/lib/libbar.so", "libbar 2");
    writeFile(m_source + "/plugins/x.dll", "new x");
    QVERIFY(makeLink("lib/libbar.so", m_source + "/bar-link"));
    QVERIFY(makeLink("lib/libfoo.so.1", m_source + "/same-link"));
    const auto before = snapshot(m_destination);
    const auto outsideBefore = snapshot(outside);

    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    const Run run = runOnThread(&copier);
    QVERIFY2(run.finished, qPrintable(run.errorPath));
    QCOMPARE(snapshot(outside), outsideBefore);
    QCOMPARE(readFile(m_destination + "/lib/libfoo.so.1"), QByteArray("the real library"));
    auto after = snapshot(m_destination);
    QCOMPARE(after.take("lib/libfoo.so.1"), QByteArray("the real library"));
    QCOMPARE(after, snapshot(m_source));
    QVERIFY(QFileInfo(m_destination + "/plugins").isDir() &&
            !QFileInfo(m_destination + "/plugins").isSymLink());
    // The links themselves are saved, not what they point to; the equal one is left alone.
    QCOMPARE(snapshot(m_backup),
             (QMap<QString, QByteArray>{{"lib/libfoo.so", "-> libfoo.so.1"},
                                        {"lib/libbar.so", "-> " + outside.toUtf8() + "/victim.so"},
                                        {"plugins", "-> " + outside.toUtf8() + "/plugins"}}));

    QStringList failed;
    QVERIFY2(recoveryOf(m_destination, m_dir->filePath("updater")).undo(&failed),
             qPrintable(failed.join(' ')));
    QCOMPARE(snapshot(m_destination), before);
    QCOMPARE(snapshot(outside), outsideBefore);
}

void tst_FileOperator::foldersSwappedForLinksMidRunAreNeverWrittenThrough_data()
{
    QTest::addColumn<bool>("undo");             // swapped while the undo restores, or while copying
    QTest::addColumn<bool>("backupInLauncher"); // the backups in the launcher's updater folder
    QTest::addColumn<QString>("swapped");       // relative to the test's folder
    QTest::addColumn<QString>("writtenThen");   // the entry whose write swaps it, likewise
    QTest::addColumn<QStringList>("outsideFiles");
    const QStringList plugins{"libqxcb.so", "x.dll", "added.dll", "platforms/libqxcb.so"};
    QTest::newRow("launcher's folder, replacing")
        << false << false << "launcher/plugins/platforms"
        << "launcher/plugins/platforms/libqxcb.so" << plugins;
    QTest::newRow("launcher's folder, adding") << false << false << "launcher/plugins"
                                               << "launcher/plugins/added.dll" << plugins;
    QTest::newRow("backup folder, saving the original")
        << false << false << "updater/rollback/plugins/platforms"
        << "updater/rollback/plugins/platforms/libqxcb.so" << plugins;
    QTest::newRow("updater's folder, saving the original")
        << false << true << "launcher/updateProgram"
        << "launcher/updateProgram/rollback/plugins/platforms/libqxcb.so"
        << QStringList{"rollback/plugins/platforms/libqxcb.so"};
    QTest::newRow("launcher's folder, undoing")
        << true << false << "launcher/plugins/platforms"
        << "launcher/plugins/platforms/libqxcb.so" << plugins;
}

// An entry checked as a real folder and swapped for a link to an outside folder between the
// check and the write: the write is refused, whatever it was about to write.
void tst_FileOperator::foldersSwappedForLinksMidRunAreNeverWrittenThrough()
{
    QFETCH(bool, undo);
    QFETCH(bool, backupInLauncher);
    QFETCH(QString, swapped);
    QFETCH(QString, writtenThen);
    QFETCH(QStringList, outsideFiles);
    makeOldAndNew();
    const QString outside = m_dir->filePath("outside");
    for (const QString &name : outsideFiles)
        writeFile(outside + "/" + name, "outside " + name.toUtf8());
    const auto outsideBefore = snapshot(outside);
    const QString folder = m_dir->filePath(swapped);
    bool done = false;
    const auto swapAt = [&](const QString &path) {
        if (done || path != m_dir->filePath(writtenThen))
            return;
        done = QDir().rename(folder, folder + ".moved") && makeLink(outside, folder);
    };
    const QString updater =
        backupInLauncher ? m_destination + "/updateProgram" : m_dir->filePath("updater");
    QVERIFY(QDir().mkpath(updater));

    // A failed check returns at once: the hook must not outlive the row it captures.
    const std::unique_ptr<void, void (*)(void *)> unhook(
        &done, [](void *) { ReplaceSteps::setWriteHook(nullptr); });
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, updater + "/rollback");
    if (!undo)
        ReplaceSteps::setWriteHook(swapAt);
    const Run run = runOnThread(&copier);
    if (undo) {
        QVERIFY2(run.finished, qPrintable(run.errorPath));
        ReplaceSteps::setWriteHook(swapAt);
        QStringList failed;
        QVERIFY(!recoveryOf(m_destination, updater).undo(&failed));
    } else {
        QVERIFY(!run.finished);
    }
    QVERIFY(done);
    QCOMPARE(snapshot(outside), outsideBefore);
}

void tst_FileOperator::restoreGoesOnPastALockedFileAndRetriesIt()
{
    makeOldAndNew();
    const auto before = snapshot(m_destination);
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    QVERIFY(runOnThread(&copier).finished);
    // Another program holds the place of one file (on Linux nothing locks a name, but a
    // folder there refuses the rename just as a locked file does on Windows).
    QVERIFY(QFile::remove(m_destination + "/plugins/x.dll"));
    QVERIFY(writeFile(m_destination + "/plugins/x.dll/held", "held"));
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    QVERIFY(FileOperator::restoreBackup(m_backup, m_destination) == false);
    // Everything else is back; the failure was not the end of the restore.
    auto partly = snapshot(m_destination);
    partly.remove("plugins/added.dll");
    QCOMPARE(partly.take("plugins/x.dll/held"), QByteArray("held"));
    auto expected = before;
    expected.remove("plugins/x.dll");
    QCOMPARE(partly, expected);

    // Files already equal to their backup are not written again.
    {
        QFile launcher(m_destination + "/launcher");
        QVERIFY(launcher.open(QIODevice::ReadWrite));
        QVERIFY(launcher.setFileTime(old, QFileDevice::FileModificationTime));
    }
    // The holder lets go after the first pass has failed: a later pass restores the file.
    static QString held;
    held = m_destination + "/plugins/x.dll";
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
            if (message.contains(held))
                QDir(held).removeRecursively();
        });
    QStringList failed;
    const bool undone = recoveryOf(m_destination, m_dir->filePath("updater")).undo(&failed);
    qInstallMessageHandler(previous);
    QVERIFY2(undone, qPrintable(failed.join(' ')));
    QCOMPARE(snapshot(m_destination), before);
    QCOMPARE(QFileInfo(m_destination + "/launcher").lastModified().toUTC().toSecsSinceEpoch(),
             old.toSecsSinceEpoch());

    // Held for good: the rollback reports the file and keeps the backups and the journal.
    makeOldAndNew(); // the undo removed the unpacked files
    QVERIFY(runOnThread(&copier).finished);
    QVERIFY(QFile::remove(m_destination + "/plugins/x.dll"));
    QVERIFY(writeFile(m_destination + "/plugins/x.dll/held", "held"));
    QVERIFY(!recoveryOf(m_destination, m_dir->filePath("updater")).undo(&failed));
    QCOMPARE(failed, QStringList{m_destination + "/plugins/x.dll"});
    QCOMPARE(readFile(m_backup + "/plugins/x.dll"), QByteArray("old x"));
    QVERIFY(QFileInfo::exists(m_backup + ".journal"));
}

void tst_FileOperator::retryWithANewerPackageKeepsTheOriginalBackups()
{
    makeOldAndNew();
    const auto before = snapshot(m_destination);
    QVERIFY(QDir().mkpath(m_destination + "/config.ini"));
    QVERIFY(writeFile(m_source + "/config.ini", "new config"));
    FileOperator copier;
    copier.setCopyParams(m_source, m_destination, true, m_backup);
    QVERIFY(!runOnThread(&copier).finished);
    QVERIFY(QDir(m_destination + "/config.ini").removeRecursively());

    // A newer package than the one that failed: every file differs again, one is gone.
    QVERIFY(QDir(m_source).removeRecursively());
    writeFile(m_source + "/launcher", "newer launcher");
    writeFile(m_source + "/plugins/x.dll", "newer x");
    writeFile(m_source + "/plugins/platforms/libqxcb.so", "newer platform plugin");
    const Run retry = runOnThread(&copier);
    QVERIFY2(retry.finished, qPrintable(retry.errorPath));
    QCOMPARE(readFile(m_destination + "/plugins/x.dll"), QByteArray("newer x"));
    QCOMPARE(readFile(m_backup + "/plugins/x.dll"), QByteArray("old x"));
    QCOMPARE(readFile(m_backup + "/launcher"), QByteArray("old launcher"));
    QCOMPARE(readFile(m_backup + "/plugins/platforms/libqxcb.so"),
             QByteArray("old platform plugin"));

    // The rollback brings back the player's original launcher, and takes away what either
    // package added.
    QVERIFY(recoveryOf(m_destination, m_dir->filePath("updater")).undo());
    QCOMPARE(snapshot(m_destination), before);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(kChildVariable))
        return runCopyChild(argc, argv);
    QCoreApplication app(argc, argv);
    tst_FileOperator test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fileoperator.moc"
