// The launcher program's start-up outcomes, with real launcher processes on a real X server.
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

#include "namedmutex.h"
#include "singleinstance.h"

class TestLauncherStartup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;

    // A copy of the shipped folder, pointed at a closed local port so it never goes online.
    QString installCopy(const QString &name)
    {
        const QString bin = qEnvironmentVariable("LAUNCHER_BIN_DIR");
        const QString folder = m_root.filePath(name);
        QDir().mkpath(folder + QStringLiteral("/language"));
        QFile::copy(bin + QStringLiteral("/launcher"), folder + QStringLiteral("/launcher"));
        for (const QString &qm : QDir(bin + QStringLiteral("/language")).entryList(QDir::Files))
            QFile::copy(bin + "/language/" + qm, folder + "/language/" + qm);
        QSettings config(folder + QStringLiteral("/config.ini"), QSettings::IniFormat);
        config.beginGroup(QStringLiteral("services"));
        for (const char *key : {"resource_url", "release_url", "report_url", "web_url"})
            config.setValue(QLatin1String(key), QStringLiteral("http://127.0.0.1:9"));
        config.endGroup();
        config.sync();
        return folder + QStringLiteral("/launcher");
    }

    static bool peerIsUp(const QString &executable)
    {
        QLocalSocket socket;
        socket.connectToServer(
            SingleInstance::serverNameFor(SingleInstance::idForPath(executable)));
        const bool up = socket.waitForConnected(200);
        socket.abort();
        return up;
    }

    bool waitUntilUp(QProcess &process, const QString &executable)
    {
        if (!process.waitForStarted(10000))
            return false;
        for (int i = 0; i < 300; ++i) {
            if (process.state() != QProcess::Running)
                return false;
            if (peerIsUp(executable))
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    static void stop(QProcess &process)
    {
        if (process.state() == QProcess::Running) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_root.setAutoRemove(true);
    }

    void secondStartFromTheSamePathRaisesTheFirstAndExits()
    {
        const QString exe = installCopy(QStringLiteral("same"));
        QProcess first;
        first.setWorkingDirectory(QFileInfo(exe).path());
        first.start(exe, {});
        QVERIFY(waitUntilUp(first, exe));

        QProcess second;
        second.start(exe, {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 255); // -1
        // The second process never got as far as a window or the network.
        QVERIFY(!second.readAllStandardError().contains("qml"));

        QByteArray log;
        QTRY_VERIFY_WITH_TIMEOUT(
            (log += first.readAllStandardError()).contains("handle msg \"raise_window_noop\""),
            10000);
        QCOMPARE(first.state(), QProcess::Running);
        stop(first);
    }

    void copyInAnotherFolderIsNotBlocked()
    {
        const QString a = installCopy(QStringLiteral("folder-a"));
        const QString b = installCopy(QStringLiteral("folder-b"));
        QProcess first, second;
        first.start(a, {});
        QVERIFY(waitUntilUp(first, a));
        second.start(b, {});
        QVERIFY(waitUntilUp(second, b));
        QCOMPARE(first.state(), QProcess::Running);
        stop(first);
        stop(second);
    }

    void runningUpdaterKeepsTheLauncherAwayUnlessItStartedIt()
    {
        const QString exe = installCopy(QStringLiteral("interlock"));
        platform::NamedMutex updater("Quillane_Lunmere_update");
        QVERIFY(updater.isHeld());

        for (const QString &argument :
             {QString(), QStringLiteral("Update"), QStringLiteral("updater")}) {
            QProcess blocked;
            blocked.start(exe, argument.isEmpty() ? QStringList() : QStringList{argument});
            QVERIFY(blocked.waitForFinished(20000));
            QCOMPARE(blocked.exitCode(), 255);
            QVERIFY(!peerIsUp(exe));
        }

        QProcess restarted;
        restarted.start(exe, {QStringLiteral("update")});
        QVERIFY(waitUntilUp(restarted, exe));
        stop(restarted);
    }

    void crashLeavesADumpInTheWorkingFolder()
    {
        const QString exe = installCopy(QStringLiteral("crash"));
        QTemporaryDir work;
        QProcess launcher;
        launcher.setWorkingDirectory(work.path());
        launcher.start(exe, {});
        QVERIFY(waitUntilUp(launcher, exe));
        ::kill(static_cast<pid_t>(launcher.processId()), SIGSEGV);
        QVERIFY(launcher.waitForFinished(10000));
        QCOMPARE(launcher.exitStatus(), QProcess::CrashExit);
        const QStringList dumps =
            QDir(work.path()).entryList({QStringLiteral("DumpFile-*.dmp")}, QDir::Files);
        QCOMPARE(dumps.size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^DumpFile-\\d{8}-\\d{6}\\.dmp$"))
                    .match(dumps.first())
                    .hasMatch());
    }
};

QTEST_GUILESS_MAIN(TestLauncherStartup)
#include "tst_launcherstartup.moc"
