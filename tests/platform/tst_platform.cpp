#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

#include "crashhandler.h"
#include "namedmutex.h"
#include "processes.h"
#include "uilanguage.h"

class TestPlatform : public QObject
{
    Q_OBJECT

private:
    static std::string uniqueName(const char *prefix)
    {
        return QStringLiteral("%1_%2_%3")
            .arg(QLatin1String(prefix))
            .arg(QCoreApplication::applicationPid())
            .arg(QRandomGenerator::global()->generate())
            .toStdString();
    }

    static bool waitForLine(QProcess &process, const QByteArray &line)
    {
        for (int i = 0; i < 100 && !process.canReadLine(); ++i)
            process.waitForReadyRead(100);
        return process.readLine().trimmed() == line;
    }

    QStringList dumpFiles(const QString &folder)
    {
        return QDir(folder).entryList({QStringLiteral("DumpFile-*")}, QDir::Files);
    }

private slots:
    void namedMutexHeldByAnotherProcessIsSeenUntilItIsKilled()
    {
        const std::string name = uniqueName("mutex");
        QVERIFY(!platform::namedMutexExists(name));

        QProcess holder;
        holder.start(QStringLiteral(MUTEXHOLDER), {QString::fromStdString(name)});
        QVERIFY(holder.waitForStarted());
        QVERIFY(waitForLine(holder, "held"));
        QVERIFY(platform::namedMutexExists(name));

        // A second would-be holder is refused while the first lives.
        QProcess second;
        second.start(QStringLiteral(MUTEXHOLDER), {QString::fromStdString(name)});
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 1);
        QCOMPARE(second.readAllStandardOutput().trimmed(), QByteArray("busy"));

        ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(5000));
        QCOMPARE(holder.exitStatus(), QProcess::CrashExit);
        QVERIFY(!platform::namedMutexExists(name));
    }

    void namedMutexHeldByFlockToolIsSeen()
    {
        const std::string name = uniqueName("flock");
        const QString path = QString::fromStdString(platform::namedMutexLockPath(name));
        QProcess flock;
        // -o: only flock itself holds the lock, so killing it releases the lock.
        flock.start(QStringLiteral("flock"),
                    {QStringLiteral("-o"), path, QStringLiteral("sh"), QStringLiteral("-c"),
                     QStringLiteral("echo held; exec sleep 20")});
        QVERIFY(flock.waitForStarted());
        QVERIFY(waitForLine(flock, "held"));
        QVERIFY(platform::namedMutexExists(name));
        flock.kill();
        QVERIFY(flock.waitForFinished(5000));
        QTRY_VERIFY(!platform::namedMutexExists(name));
        QFile::remove(path);
    }

    // Without a runtime folder the lock file lives in the shared temp folder, where another
    // user could create and hold it first.
    void namedMutexOfAnotherUserIsIgnored()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to give the lock file to another user");
        QTemporaryDir shared;
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray oldTmp = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(shared.path()));
        const std::string name = uniqueName("foreign");
        const QString path = QString::fromStdString(platform::namedMutexLockPath(name));
        QProcess flock;
        flock.start(QStringLiteral("flock"),
                    {QStringLiteral("-o"), path, QStringLiteral("sh"), QStringLiteral("-c"),
                     QStringLiteral("echo held; exec sleep 20")});
        const bool started = flock.waitForStarted() && waitForLine(flock, "held");
        const bool mine = started && platform::namedMutexExists(name);
        const bool given = ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
        const bool foreignSeen = platform::namedMutexExists(name);
        flock.kill();
        flock.waitForFinished(5000);
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        qputenv("TMPDIR", oldTmp);
        QVERIFY(mine);
        QVERIFY(given);
        QVERIFY(!foreignSeen);
    }

    void namedMutexInThisProcessIsExclusiveAndQueryCreatesNothing()
    {
        const std::string name = uniqueName("local");
        const QString path = QString::fromStdString(platform::namedMutexLockPath(name));
        QVERIFY(!platform::namedMutexExists(name));
        QVERIFY(!QFile::exists(path));
        {
            platform::NamedMutex first(name);
            QVERIFY(first.isHeld());
            platform::NamedMutex second(name);
            QVERIFY(!second.isHeld());
            QVERIFY(platform::namedMutexExists(name));
        }
        QVERIFY(!platform::namedMutexExists(name));
        QFile::remove(path);
    }

    void findsAndKillsProcessesByImageName()
    {
        QTemporaryDir dir;
        dir.setAutoRemove(!QTest::currentTestFailed());
        const QString image = QString::fromStdString(uniqueName("probe"));
        const QString exe = dir.filePath(image);
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), exe));
        QVERIFY(QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeUser));

        QProcess first, second;
        first.start(exe, {QStringLiteral("60")});
        second.start(exe, {QStringLiteral("60")});
        QVERIFY(first.waitForStarted() && second.waitForStarted());

        std::vector<long> found = platform::findProcessesByImageName(image.toStdString());
        std::sort(found.begin(), found.end());
        std::vector<long> expected = {static_cast<long>(first.processId()),
                                      static_cast<long>(second.processId())};
        std::sort(expected.begin(), expected.end());
        QCOMPARE(found, expected);
        QVERIFY(platform::isProcessRunning(image.toStdString()));

        // The image name test is exact: no case folding, no prefix match.
        QVERIFY(!platform::isProcessRunning(image.toUpper().toStdString()));
        QVERIFY(!platform::isProcessRunning(image.left(image.size() - 1).toStdString()));

        QCOMPARE(platform::killProcessesByImageName(image.toStdString()), 2);
        QVERIFY(first.waitForFinished(5000) && second.waitForFinished(5000));
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);
        QVERIFY(!platform::isProcessRunning(image.toStdString()));
        QCOMPARE(platform::killProcessesByImageName(image.toStdString()), 0);
    }

    void crashWritesANamedDumpAndStillDies_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("signalLine");
        QTest::newRow("null pointer") << "segv"
                                      << "signal 11 (SEGV)";
        QTest::newRow("abort") << "abort"
                               << "signal 6 (ABRT)";
        QTest::newRow("arithmetic") << "fpe"
                                    << "signal 8 (FPE)";
        QTest::newRow("worker thread stack overflow") << "thread-overflow"
                                                      << "signal 11 (SEGV)";
    }

    void crashWritesANamedDumpAndStillDies()
    {
        QFETCH(QString, how);
        QFETCH(QString, signalLine);
        QTemporaryDir dir;
        dir.setAutoRemove(!QTest::currentTestFailed());
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

        QProcess probe;
        probe.setWorkingDirectory(dir.path());
        probe.start(QStringLiteral(CRASHPROBE), {how});
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);

        const QStringList dumps = dumpFiles(dir.path());
        QCOMPARE(dumps.size(), 1);
        const QRegularExpression pattern(QStringLiteral("^DumpFile-(\\d{8}-\\d{6})\\.dmp$"));
        const QRegularExpressionMatch match = pattern.match(dumps.first());
        QVERIFY2(match.hasMatch(), qPrintable(dumps.first()));
        // The name carries the local time of the crash.
        const QDateTime stamp =
            QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
        QVERIFY(stamp.isValid());
        QVERIFY2(stamp >= before.addSecs(-1) && stamp <= QDateTime::currentDateTime().addSecs(1),
                 qPrintable(stamp.toString()));

        QFile dump(dir.filePath(dumps.first()));
        QVERIFY(dump.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(dump.readAll());
        QVERIFY2(text.startsWith(signalLine), qPrintable(text.left(80)));
        QVERIFY(text.contains(QLatin1String("backtrace:\n")));
        QVERIFY(text.contains(QLatin1String("crashprobe(")));
        QVERIFY(text.contains(QLatin1String("\nmaps:\n")));
        QVERIFY(text.contains(QLatin1String("[stack]")));
    }

    // The zone switches to daylight saving (UTC+1) two seconds after the handler is installed.
    void dumpNameFollowsDaylightSaving()
    {
        QTemporaryDir dir;
        dir.setAutoRemove(!QTest::currentTestFailed());
        const QDateTime change = QDateTime::currentDateTimeUtc().addSecs(2);
        const int day = change.date().dayOfYear() - 1;
        const QString zone = QStringLiteral("AAA0BBB-1,%1/%2,%3/0")
                                 .arg(day)
                                 .arg(change.time().toString(QStringLiteral("hh:mm:ss")))
                                 .arg((day + 180) % 365);
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), zone);
        probe.setProcessEnvironment(env);
        probe.setWorkingDirectory(dir.path());
        probe.start(QStringLiteral(CRASHPROBE), {QStringLiteral("wait")});
        QVERIFY(waitForLine(probe, "ready"));
        QTRY_VERIFY_WITH_TIMEOUT(QDateTime::currentDateTimeUtc() > change.addSecs(1), 10000);
        ::kill(static_cast<pid_t>(probe.processId()), SIGSEGV);
        QVERIFY(probe.waitForFinished(10000));

        const QStringList dumps = dumpFiles(dir.path());
        QCOMPARE(dumps.size(), 1);
        QDateTime stamp =
            QDateTime::fromString(dumps.first().mid(9, 15), QStringLiteral("yyyyMMdd-HHmmss"));
        QVERIFY2(stamp.isValid(), qPrintable(dumps.first()));
        stamp.setTimeSpec(Qt::UTC);
        const qint64 ahead = QDateTime::currentDateTimeUtc().secsTo(stamp);
        QVERIFY2(qAbs(ahead - 3600) <= 5, qPrintable(dumps.first() + " " + zone));
    }

    void crashUnderATracerWritesNoDump()
    {
        QTemporaryDir dir;
        dir.setAutoRemove(!QTest::currentTestFailed());
        QProcess probe;
        probe.setWorkingDirectory(dir.path());
        probe.start(QStringLiteral(CRASHPROBE), {QStringLiteral("traced"), QStringLiteral("segv")});
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 128 + SIGSEGV);
        QVERIFY(dumpFiles(dir.path()).isEmpty());
    }

    void signalFromOutsideWritesADump()
    {
        QTemporaryDir dir;
        dir.setAutoRemove(!QTest::currentTestFailed());
        QProcess probe;
        probe.setWorkingDirectory(dir.path());
        probe.start(QStringLiteral(CRASHPROBE), {QStringLiteral("wait")});
        QVERIFY(waitForLine(probe, "ready"));
        ::kill(static_cast<pid_t>(probe.processId()), SIGBUS);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
        QCOMPARE(dumpFiles(dir.path()).size(), 1);
    }

    void crashWhereNoDumpCanBeWrittenStillDies()
    {
        // A working folder that no longer exists refuses the dump even to root.
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkpath(folder));
        QProcess probe;
        probe.setWorkingDirectory(folder);
        probe.start(QStringLiteral(CRASHPROBE), {QStringLiteral("wait")});
        QVERIFY(waitForLine(probe, "ready"));
        QVERIFY(QDir(folder).removeRecursively());
        ::kill(static_cast<pid_t>(probe.processId()), SIGSEGV);
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitStatus(), QProcess::CrashExit);
        QVERIFY(dumpFiles(dir.path()).isEmpty());
    }

    void localeMapsToWindowsLanguageId_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("id");
        QTest::newRow("traditional Chinese, Taiwan") << "zh_TW.UTF-8" << 0x0404;
        QTest::newRow("Chinese, Hong Kong") << "zh_HK" << 0x0C04;
        QTest::newRow("Chinese, mainland") << "zh_CN.UTF-8" << 0x0804;
        QTest::newRow("Portuguese, Portugal") << "pt_PT" << 0x0816;
        QTest::newRow("Portuguese, Brazil") << "pt_BR.UTF-8" << 0x0416;
        QTest::newRow("German") << "de_DE.UTF-8@euro" << 0x0407;
        QTest::newRow("Italian") << "it_IT" << 0x0410;
        QTest::newRow("Thai") << "th_TH" << 0x041E;
        QTest::newRow("Vietnamese") << "vi_VN" << 0x042A;
        QTest::newRow("POSIX") << "C" << 0x0409;
        QTest::newRow("unset") << "" << 0x0409;
    }

    void localeMapsToWindowsLanguageId()
    {
        QFETCH(QString, locale);
        QFETCH(int, id);
        QCOMPARE(int(platform::languageIdForLocale(locale.toStdString())), id);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
