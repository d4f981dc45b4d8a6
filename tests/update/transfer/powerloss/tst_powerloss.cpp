// A power cut during the updater's replacement: the real replacement of a 50-file launcher
// folder runs once with its file-system calls recorded; then every state a power cut could
// leave, keeping only what had been flushed, is rebuilt and recovered, and each must end wholly
// old or wholly new.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include "replacerecovery.h"
#include "transfertestutil.h"

using namespace TransferTest;

namespace {

struct Entry
{
    char kind; // 'd', 'f' or 'l'
    quint64 inode;
    uint mode;
    QByteArray name;
    QByteArray target;
};

// The durable state of the recorded folder tree: each folder's entries and each file's bytes as
// they were last flushed (or as they stood before the run).
struct Disk
{
    QHash<quint64, QList<Entry>> folders;
    QHash<quint64, QByteArray> files;
};

quint64 inodeOf(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

void record(const QString &folder, Disk *disk)
{
    QList<Entry> entries;
    const QFileInfoList infos = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                           QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        const QString path = info.filePath();
        Entry entry{'f', inodeOf(path), 0, QFile::encodeName(info.fileName()), QByteArray()};
        std::string target;
        if (platform::readSymLink(QFile::encodeName(path).toStdString(), &target)) {
            entry.kind = 'l';
            entry.target = QByteArray::fromStdString(target);
        } else if (info.isDir()) {
            entry.kind = 'd';
            record(path, disk);
        } else {
            disk->files.insert(entry.inode, readFile(path));
        }
        struct stat st;
        ::lstat(QFile::encodeName(path).constData(), &st);
        entry.mode = st.st_mode & 07777;
        entries.append(entry);
    }
    disk->folders.insert(inodeOf(folder), entries);
}

bool build(const Disk &disk, quint64 folder, const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    for (const Entry &entry : disk.folders.value(folder)) {
        const QString to = path + '/' + QFile::decodeName(entry.name);
        if (entry.kind == 'd') {
            if (!build(disk, entry.inode, to))
                return false;
        } else if (entry.kind == 'l') {
            if (!makeLink(QFile::decodeName(entry.target), to))
                return false;
        } else {
            // A file whose bytes were never flushed comes back empty.
            if (!writeFile(to, disk.files.value(entry.inode)))
                return false;
            ::chmod(QFile::encodeName(to).constData(), entry.mode);
        }
    }
    return true;
}

QMap<QString, QByteArray> launcherFiles(const QString &launcher)
{
    QMap<QString, QByteArray> files = snapshot(launcher);
    for (auto it = files.begin(); it != files.end();)
        it = it.key().startsWith(QLatin1String("updateProgram/")) ? files.erase(it) : ++it;
    return files;
}

} // namespace

class tst_PowerLoss : public QObject
{
    Q_OBJECT
private slots:
    void everyFlushedStateRecoversWhollyOldOrWhollyNew();
};

void tst_PowerLoss::everyFlushedStateRecoversWhollyOldOrWhollyNew()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString launcher = dir.filePath("run/launcher");
    const QString fresh = launcher + "/updateProgram/updateData";
    // 45 installed files in five folders, 35 of them changed by the package, and five added
    // in a folder of their own: 50 files in the package.
    for (int i = 0; i < 45; ++i) {
        const QString name = QStringLiteral("/d%1/f%2.bin").arg(i % 5).arg(i);
        QVERIFY(writeFile(launcher + name, "old " + noise(2000 + i * 97, quint32(i))));
        QVERIFY(writeFile(fresh + name, i < 35 ? "new " + noise(1500 + i * 89, quint32(i + 100))
                                               : readFile(launcher + name)));
    }
    for (int i = 0; i < 5; ++i)
        QVERIFY(writeFile(fresh + QStringLiteral("/added/a%1.bin").arg(i), noise(900, i + 7)));
    QVERIFY(QFile::setPermissions(launcher + "/d0/f0.bin",
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QMap<QString, QByteArray> old = launcherFiles(launcher);
    QMap<QString, QByteArray> expectedNew = old;
    const auto package = snapshot(fresh);
    for (auto it = package.cbegin(); it != package.cend(); ++it)
        expectedNew.insert(it.key(), it.value());

    Disk disk;
    record(launcher, &disk);
    const quint64 root = inodeOf(launcher);
    const QString traceFolder = dir.filePath("trace");
    QVERIFY(QDir().mkpath(traceFolder));
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", FSTRACE_LIB);
    env.insert("LUNMERE_FSTRACE", traceFolder);
    probe.setProcessEnvironment(env);
    probe.start(REPLACE_PROBE, {launcher});
    QVERIFY(probe.waitForFinished(60000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(launcherFiles(launcher), expectedNew);

    // Replays the flushes one by one; after each, the state a power cut would leave.
    QFile trace(traceFolder + "/trace");
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = trace.readAll().split('\n');
    QVERIFY(lines.size() > 100);
    int states = 0, wasOld = 0, wasNew = 0, calls = 0;
    QStringList problems;
    for (int i = 0; i <= lines.size(); ++i) {
        const QByteArray line = i < lines.size() ? lines.at(i) : QByteArray("END");
        if (line.startsWith("C ")) {
            ++calls;
            continue;
        }
        if (line.startsWith("D ")) {
            const quint64 folder = line.mid(2).toULongLong();
            QList<Entry> entries;
            for (++i; i < lines.size() && lines.at(i) != "E"; ++i) {
                const QList<QByteArray> parts = lines.at(i).split('\t');
                QVERIFY(parts.size() == 5);
                entries.append({parts[0].at(0), parts[1].toULongLong(), parts[2].toUInt(nullptr, 8),
                                parts[3], parts[4]});
            }
            disk.folders.insert(folder, entries);
        } else if (line.startsWith("F ")) {
            const QList<QByteArray> parts = line.split(' ');
            disk.files.insert(parts[1].toULongLong(), readFile(traceFolder + "/data." + parts[2]));
        } else if (line != "END") {
            continue;
        }
        // A power cut now: the disk holds what the flushes so far made durable.
        const QString crash = dir.filePath(QStringLiteral("crash%1/launcher").arg(states++));
        QVERIFY(build(disk, root, crash));
        QStringList failed;
        ReplaceRecovery(UpdaterLayout::ofLauncher(crash)).recover(&failed);
        const auto files = launcherFiles(crash);
        QString problem;
        if (files == old)
            ++wasOld;
        else if (files == expectedNew)
            ++wasNew;
        else
            problem = QStringLiteral("mixed");
        QDirIterator leftovers(crash, {"*.lunmere-tmp"}, QDir::AllEntries | QDir::Hidden,
                               QDirIterator::Subdirectories);
        if (leftovers.hasNext())
            problem += QStringLiteral(" temporary left: ") + leftovers.next();
        // Backups without their journal would pass for originals in the next update.
        const QString updater = crash + "/updateProgram/";
        if (QFileInfo::exists(updater + "rollback.journal"))
            problem += QStringLiteral(" journal left");
        if (!QDir(updater + "rollback")
                 .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            problem += QStringLiteral(" backups left");
        if (files == expectedNew && QFileInfo::exists(updater + "updateData"))
            problem += QStringLiteral(" updateData left");
        if (!problem.isEmpty())
            problems << QStringLiteral("state %1:%2").arg(states - 1).arg(problem);
        else
            QDir(dir.filePath(QStringLiteral("crash%1").arg(states - 1))).removeRecursively();
    }
    qInfo("%d calls, %d crash states: %d recovered old, %d new", calls, states, wasOld, wasNew);
    if (!problems.isEmpty())
        dir.setAutoRemove(false);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.mid(0, 10).join('\n')));
    QVERIFY(states > 50);
    QVERIFY(wasOld > 0 && wasNew > 0);
}

QTEST_GUILESS_MAIN(tst_PowerLoss)
#include "tst_powerloss.moc"
