#include <QtTest>

#include "mainviewmodel.h"
#include "progresstext.h"

class TestProgressText : public QObject
{
    Q_OBJECT

private slots:
    void remainingTimeCarriesOnlyPastWholeUnits_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "00:00:00";
        QTest::newRow("one minute stays seconds") << qint64(60) << "00:00:60";
        QTest::newRow("just past a minute") << qint64(61) << "00:01:01";
        QTest::newRow("one hour stays minutes") << qint64(3600) << "00:60:00";
        QTest::newRow("just past an hour") << qint64(3601) << "01:00:01";
        QTest::newRow("a long download") << qint64(100 * 3600 + 125) << "100:02:05";
    }

    void remainingTimeCarriesOnlyPastWholeUnits()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(ProgressText::remainingTime(seconds), text);
    }

    void speedSwitchesToMegabytesFromPointNineKilobytes()
    {
        bool mega = false;
        QCOMPARE(ProgressText::speedValue(500.0, &mega), QStringLiteral("0.49"));
        QVERIFY(mega);
        QCOMPARE(ProgressText::speedValue(0.5, &mega), QStringLiteral("0.50"));
        QVERIFY(!mega);
        QCOMPARE(ProgressText::speedValue(0.9, &mega), QStringLiteral("0.00"));
        QVERIFY(mega);
        QCOMPARE(ProgressText::gigabytes(1610612736), QStringLiteral("1.50"));
    }

    void speedIsTheMeanOfTheLastElevenSamples()
    {
        ProgressText::resetAverage();
        QCOMPARE(ProgressText::averageSpeed(100), 100.0);
        QCOMPARE(ProgressText::averageSpeed(300), 200.0);
        for (int i = 0; i < 9; ++i)
            ProgressText::averageSpeed(200);
        // Eleven samples now; the next one pushes out the first (100).
        QCOMPARE(ProgressText::averageSpeed(1300), (300.0 + 9 * 200.0 + 1300.0) / 11.0);
    }

    void installPathsAreNormalised()
    {
        QCOMPARE(MainViewModel::normalizedInstallPath(QStringLiteral("/games//Orvyndale Game/")),
                 QStringLiteral("/games/Orvyndale Game"));
        QCOMPARE(
            MainViewModel::normalizedInstallPath(QStringLiteral("D:\\\\games\\Orvyndale Game\\")),
            QStringLiteral("D:\\games\\Orvyndale Game"));
        QCOMPARE(MainViewModel::normalizedInstallPath(QStringLiteral("/")), QStringLiteral("/"));
        QCOMPARE(MainViewModel::withGameFolder(QStringLiteral("/games/orvyndale game")),
                 QStringLiteral("/games/orvyndale game"));
        QCOMPARE(MainViewModel::withGameFolder(QStringLiteral("/games")),
                 QStringLiteral("/games/Orvyndale Game"));
    }
};

QTEST_GUILESS_MAIN(TestProgressText)
#include "tst_progresstext.moc"
