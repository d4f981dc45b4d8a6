#include <QtTest>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "installfolder.h"

// The install button's check of the folder the player chose: it is created when missing, and
// a file in its place or a disk too small stops the install without touching anything.
class TestInstallFolder : public QObject
{
    Q_OBJECT

private slots:
    void prepareCreatesOrRefuses_data()
    {
        QTest::addColumn<QString>("folder");       // below the temporary folder
        QTest::addColumn<QString>("fileInTheWay"); // a file made first, empty for none
        QTest::addColumn<qint64>("required");      // -1: one byte more than the disk has
        QTest::addColumn<int>("readiness");
        const int ready = int(InstallFolder::Readiness::Ready);
        const int notCreated = int(InstallFolder::Readiness::NotCreated);
        const int noSpace = int(InstallFolder::Readiness::NotEnoughSpace);
        QTest::newRow("missing folders are made") << "a/b/Orvyndale Game"
                                                  << "" << qint64(1) << ready;
        QTest::newRow("size unknown: not checked") << "Orvyndale Game"
                                                   << "" << qint64(0) << ready;
        QTest::newRow("a file where the folder goes")
            << "Orvyndale Game"
            << "Orvyndale Game" << qint64(0) << notCreated;
        QTest::newRow("a file where a parent goes") << "games/Orvyndale Game"
                                                    << "games" << qint64(0) << notCreated;
        QTest::newRow("more than the disk holds") << "Orvyndale Game"
                                                  << "" << qint64(-1) << noSpace;
    }

    void prepareCreatesOrRefuses()
    {
        QFETCH(QString, folder);
        QFETCH(QString, fileInTheWay);
        QFETCH(qint64, required);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        dir.setAutoRemove(!QTest::currentTestFailed());
        if (!fileInTheWay.isEmpty()) {
            QFile file(dir.filePath(fileInTheWay));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("kept");
        }
        const QString path = dir.filePath(folder);
        if (required < 0)
            required = InstallFolder::availableBytes(dir.path()) + 1;
        QTEST(int(InstallFolder::prepare(path, required)), "readiness");
        if (fileInTheWay.isEmpty()) {
            QVERIFY(QFileInfo(path).isDir());
        } else {
            QFile file(dir.filePath(fileInTheWay));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("kept"));
        }
    }
};

QTEST_GUILESS_MAIN(TestInstallFolder)
#include "tst_installfolder.moc"
