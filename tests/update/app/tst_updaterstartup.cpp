// The real updater program, started the way the launcher starts it.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "fakelauncher.h"
#include "httptestserver.h"
#include "namedmutex.h"

namespace {
QString compactJson(const QString &exeDir, const QString &url)
{
    QJsonObject params;
    params.insert(QStringLiteral("exe_dir"), exeDir);
    params.insert(QStringLiteral("lang"), QStringLiteral("en-us"));
    params.insert(QStringLiteral("pkg_md5"), QString());
    params.insert(QStringLiteral("pkg_url"), url);
    return QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact));
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string mutexName(const QString &instance)
{
    return QStringLiteral("Quillane_%1_update").arg(instance).toStdString();
}
} // namespace

class TestUpdaterStartup : public QObject
{
    Q_OBJECT
private slots:
    void withoutArgumentsEndsAtOnce();
    void withInstanceNameOnlyEndsWithoutStartingAnything();
    void holdsTheInterlockWhileRunningAndDropsItWhenKilled();
    void twoUpdatersWithOneNameBothRun();
    void updaterStopsTheRunningLauncherAndReplacesIt();
};

void TestUpdaterStartup::withoutArgumentsEndsAtOnce()
{
    QProcess updater;
    updater.start(QStringLiteral(UPDATER_BIN), {});
    QVERIFY(updater.waitForFinished(20000));
    QCOMPARE(updater.exitStatus(), QProcess::NormalExit);
    QCOMPARE(updater.exitCode(), 0);
    // Without an instance name the interlock is "Quillane__update"; it is gone with the process.
    QVERIFY(!platform::namedMutexExists(mutexName(QString())));
}

void TestUpdaterStartup::withInstanceNameOnlyEndsWithoutStartingAnything()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess updater;
    updater.setWorkingDirectory(dir.path());
    // A launcher right where a relative path would look for one must not be started.
    QVERIFY(FakeLauncher::write(dir.path(), QStringLiteral("launcher"), QStringLiteral("v1")));
    updater.start(QStringLiteral(UPDATER_BIN), {QStringLiteral("UpAppOnlyName")});
    QVERIFY(updater.waitForFinished(20000));
    QCOMPARE(updater.exitStatus(), QProcess::NormalExit);
    QCOMPARE(updater.exitCode(), 0);
    QVERIFY(FakeLauncher::recorded(dir.path()).isEmpty());
    dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestUpdaterStartup::holdsTheInterlockWhileRunningAndDropsItWhenKilled()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString instance = QStringLiteral("UpAppHold%1").arg(QCoreApplication::applicationPid());
    // A launcher path the updater refuses: it shows its message box and waits there.
    const QString exe = dir.filePath(QStringLiteral("launcher.EXE"));
    QVERIFY(FakeLauncher::write(dir.path(), QStringLiteral("launcher.EXE"), QStringLiteral("v1")));
    QVERIFY(!platform::namedMutexExists(mutexName(instance)));

    QProcess updater;
    updater.start(QStringLiteral(UPDATER_BIN),
                  {instance, compactJson(exe, QStringLiteral("http://127.0.0.1:9/l.7z"))});
    QVERIFY(updater.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(platform::namedMutexExists(mutexName(instance)), 20000);
    QCOMPARE(updater.state(), QProcess::Running);
    QVERIFY(QString::fromStdString(platform::namedMutexLockPath(mutexName(instance)))
                .endsWith(QStringLiteral("Quillane_%1_update.lock").arg(instance)));

    updater.kill();
    QVERIFY(updater.waitForFinished(10000));
    // The system drops the interlock of a dead updater, so the launcher is never locked out.
    QTRY_VERIFY(!platform::namedMutexExists(mutexName(instance)));
    // The refused path was never started, not even on the way out.
    QVERIFY(FakeLauncher::recorded(dir.path()).isEmpty());
    dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestUpdaterStartup::twoUpdatersWithOneNameBothRun()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString instance = QStringLiteral("UpAppTwo%1").arg(QCoreApplication::applicationPid());
    const QString exe = dir.filePath(QStringLiteral("launcher.EXE"));
    const QStringList arguments{instance,
                                compactJson(exe, QStringLiteral("http://127.0.0.1:9/l.7z"))};
    QProcess first;
    first.start(QStringLiteral(UPDATER_BIN), arguments);
    QTRY_VERIFY_WITH_TIMEOUT(platform::namedMutexExists(mutexName(instance)), 20000);
    QProcess second;
    second.start(QStringLiteral(UPDATER_BIN), arguments);
    QVERIFY(second.waitForStarted());
    // Both wait at their message box; neither ends because the other holds the interlock.
    QVERIFY(!second.waitForFinished(1000));
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    second.kill();
    QVERIFY(first.waitForFinished(10000));
    QVERIFY(second.waitForFinished(10000));
    QTRY_VERIFY(!platform::namedMutexExists(mutexName(instance)));
}

void TestUpdaterStartup::updaterStopsTheRunningLauncherAndReplacesIt()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // The shipped layout: the launcher's folder with the updater in "updateProgram".
    const QString install = root.filePath(QStringLiteral("inst"));
    const QString updaterDir = install + QStringLiteral("/updateProgram");
    QVERIFY(QDir().mkpath(updaterDir));
    const QString updater = updaterDir + QStringLiteral("/Update");
    QVERIFY(QFile::copy(QStringLiteral(UPDATER_BIN), updater));
    const QString name = QStringLiteral("upappe2e%1").arg(QCoreApplication::applicationPid());
    const QString launcher = install + QLatin1Char('/') + name;
    // The old launcher is a program that would run on and on.
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), launcher));
    QVERIFY(writeFile(install + QStringLiteral("/data/config.txt"), "old"));

    const QString fresh = root.filePath(QStringLiteral("new"));
    QVERIFY(FakeLauncher::write(fresh, name, QStringLiteral("v2")));
    QVERIFY(writeFile(fresh + QStringLiteral("/data/config.txt"), "new"));
    const QString archive = root.filePath(QStringLiteral("launcher.7z"));
    QProcess sevenZip;
    sevenZip.setWorkingDirectory(fresh);
    sevenZip.start(QStringLiteral("7z"), {QStringLiteral("a"), QStringLiteral("-bd"), archive, name,
                                          QStringLiteral("data")});
    QVERIFY(sevenZip.waitForFinished(60000));
    QCOMPARE(sevenZip.exitCode(), 0);
    HttpTestServer server;
    QVERIFY(server.listen());
    server.serveFile(QStringLiteral("/launcher.7z"), archive);

    QProcess oldLauncher;
    oldLauncher.start(launcher, {QStringLiteral("300")});
    QVERIFY(oldLauncher.waitForStarted());

    QJsonObject params;
    params.insert(QStringLiteral("exe_dir"), launcher);
    params.insert(QStringLiteral("lang"), QStringLiteral("en-us"));
    params.insert(
        QStringLiteral("pkg_md5"),
        QString::fromLatin1(
            QCryptographicHash::hash(readFile(archive), QCryptographicHash::Md5).toHex()));
    params.insert(QStringLiteral("pkg_url"), QString(server.baseUrl() + "/launcher.7z"));
    const QString instance = QStringLiteral("UpAppE2e%1").arg(QCoreApplication::applicationPid());
    QProcess update;
    update.setProcessChannelMode(QProcess::ForwardedChannels);
    update.start(updater, {instance, QString::fromUtf8(
                                         QJsonDocument(params).toJson(QJsonDocument::Compact))});
    QVERIFY(update.waitForStarted());

    // The launcher that did not end by itself is killed before its files are replaced.
    QTRY_COMPARE_WITH_TIMEOUT(oldLauncher.state(), QProcess::NotRunning, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(readFile(install + QStringLiteral("/data/config.txt")),
                              QByteArray("new"), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(updaterDir + QStringLiteral("/rollback")).exists(), 30000);
    QVERIFY(readFile(launcher).startsWith("#!/bin/sh"));
    QVERIFY(!QDir(updaterDir + QStringLiteral("/pkg")).exists());
    QVERIFY(!QDir(updaterDir + QStringLiteral("/updateData")).exists());
    // Still on its success page, holding the interlock until the user leaves it.
    QCOMPARE(update.state(), QProcess::Running);
    QVERIFY(platform::namedMutexExists(mutexName(instance)));
    update.kill();
    QVERIFY(update.waitForFinished(10000));
    root.setAutoRemove(!QTest::currentTestFailed());
}

QTEST_GUILESS_MAIN(TestUpdaterStartup)
#include "tst_updaterstartup.moc"
