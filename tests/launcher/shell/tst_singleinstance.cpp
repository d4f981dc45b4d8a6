#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

#include "singleinstance.h"

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QString m_id;

    static bool readLine(QProcess &process, QByteArray expected, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!process.canReadLine() && timer.elapsed() < timeoutMs)
            process.waitForReadyRead(100);
        const QByteArray line = process.readLine().trimmed();
        if (line != expected)
            qWarning() << "expected" << expected << "got" << line;
        return line == expected;
    }

    void startPrimary(QProcess &process)
    {
        process.start(QStringLiteral(INSTANCEPROBE), {m_id});
        QVERIFY(process.waitForStarted());
        QVERIFY(readLine(process, "primary"));
    }

    int send(const QString &message, QByteArray *output = nullptr)
    {
        QProcess second;
        second.start(QStringLiteral(INSTANCEPROBE), {m_id, message});
        second.waitForFinished(10000);
        if (output)
            *output = second.readAllStandardOutput().trimmed();
        return second.exitCode();
    }

private slots:
    void init()
    {
        m_id = QStringLiteral("lunmere-test-%1").arg(QRandomGenerator::global()->generate());
    }

    void secondProcessOnlyDeliversTheRaiseMessage()
    {
        QProcess first;
        startPrimary(first);

        QByteArray output;
        QCOMPARE(send(QStringLiteral("hello"), &output), 255);
        QCOMPARE(send(QLatin1String(SingleInstance::kRaiseMessage), &output), 255);
        QCOMPARE(output, QByteArray("sent 1"));
        // Only the known message reaches the running instance.
        QVERIFY(readLine(first, "got raise_window_noop"));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }

    void oversizedMessageIsDroppedAndThePeerKeepsServing()
    {
        QProcess first;
        startPrimary(first);
        QLocalSocket flood;
        flood.connectToServer(SingleInstance::serverNameFor(m_id));
        QVERIFY(flood.waitForConnected(5000));
        flood.write(QByteArray(4096, 'x') + '\n');
        flood.waitForBytesWritten(5000);
        QVERIFY(flood.waitForDisconnected(5000));

        QCOMPARE(send(QLatin1String(SingleInstance::kRaiseMessage)), 255);
        QVERIFY(readLine(first, "got raise_window_noop"));
        first.kill();
        first.waitForFinished();
    }

    void lockOfAKilledInstanceIsTakenOver()
    {
        QProcess first;
        startPrimary(first);
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));

        QProcess next;
        startPrimary(next);
        QCOMPARE(send(QLatin1String(SingleInstance::kRaiseMessage)), 255);
        QVERIFY(readLine(next, "got raise_window_noop"));
        next.kill();
        next.waitForFinished();
    }

    void sameIdIsOneApplicationOtherIdsAreNot()
    {
        SingleInstance first(m_id);
        QVERIFY(!first.isRunning());
        SingleInstance second(m_id);
        QVERIFY(second.isRunning());
        SingleInstance elsewhere(m_id + QStringLiteral("-other-folder"));
        QVERIFY(!elsewhere.isRunning());
        // The id follows the executable's path, so copies in other folders differ.
        QVERIFY(SingleInstance::defaultId().startsWith(QLatin1String("Lunmere-")));
    }

    // Not in the shared temp folder, where another user could take the name first.
    void socketLivesInTheUsersRuntimeFolder()
    {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QVERIFY(!runtime.isEmpty());
        SingleInstance primary(m_id);
        QVERIFY(!primary.isRunning());
        QVERIFY(QFileInfo::exists(runtime + QLatin1Char('/') + m_id));
        QVERIFY(!QFileInfo::exists(QDir::tempPath() + QLatin1Char('/') + m_id));
    }

    void sendingWithoutARunningInstanceFailsQuickly()
    {
        SingleInstance primary(m_id);
        QVERIFY(!primary.sendMessage(QLatin1String(SingleInstance::kRaiseMessage), 100));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
