#include <QtTest>

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "gameexitwatcher.h"

// The launcher comes back when the game it started ends, and only then: watched through the
// real process table, with a real program standing in for the game.
class TestGameExitWatcher : public QObject
{
    Q_OBJECT

private slots:
    void reportsTheEndOfTheGameOnce_data();
    void reportsTheEndOfTheGameOnce();
};

void TestGameExitWatcher::reportsTheEndOfTheGameOnce_data()
{
    QTest::addColumn<bool>("start");
    QTest::addColumn<int>("exits");
    QTest::newRow("game runs, then ends") << true << 1;
    QTest::newRow("game never started") << false << 0;
}

void TestGameExitWatcher::reportsTheEndOfTheGameOnce()
{
    QFETCH(bool, start);
    QFETCH(int, exits);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString game = dir.filePath(QStringLiteral("Kestrava"));
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), game));

    GameExitWatcher watcher;
    watcher.setPollInterval(50);
    QSignalSpy exited(&watcher, &GameExitWatcher::gameExited);
    QProcess process;
    if (start) {
        process.start(game, {QStringLiteral("1")});
        QVERIFY(process.waitForStarted());
    }
    watcher.watch(game);
    if (start) {
        QTRY_VERIFY(watcher.isWatching());
        QTest::qWait(300);
        // Still running: nothing to report yet.
        QCOMPARE(exited.count(), 0);
        QVERIFY(process.waitForFinished(5000));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!watcher.isWatching(), 5000);
    QCOMPARE(exited.count(), exits);
}

QTEST_MAIN(TestGameExitWatcher)
#include "tst_gameexitwatcher.moc"
