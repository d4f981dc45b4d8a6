// The real updater program, started the way the launcher starts it.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "fakelauncher.h"
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

QTEST_GUILESS_MAIN(TestUpdaterStartup)
#include "tst_updaterstartup.moc"
