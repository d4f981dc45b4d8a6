#include <QtTest>

#include <QTemporaryDir>

#include <memory>

#include <unistd.h>

#include "postextractionsteps.h"
#include "setuptestutil.h"

using namespace SetupTest;
using Steps = PostExtractionSteps;

class tst_postextraction : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_root; // holds the install folder and things outside it
    QString m_install;

    void writeList(const QByteArray &text)
    {
        QVERIFY(writeFile(Steps::deletionListPath(m_install), text));
    }

private slots:
    void init()
    {
        m_temp.reset(new QTemporaryDir);
        QVERIFY(m_temp->isValid());
        m_root = m_temp->path();
        m_install = m_root + "/install";
        QDir().mkpath(m_install);
    }

    void cleanup()
    {
        m_temp->setAutoRemove(!QTest::currentTestFailed());
        m_temp.reset();
    }

    void noListIsSuccess()
    {
        const auto result = Steps::applyDeletionList(m_install);
        QVERIFY(result.ok);
        QVERIFY(result.removed.isEmpty());
    }

    void listedFilesAreRemovedThenTheList()
    {
        QVERIFY(writeFile(m_install + "/old.dll", "x"));
        QVERIFY(writeFile(m_install + "/sub dir/b.txt", "x"));
        QVERIFY(writeFile(m_install + "/win/c.txt", "x"));
        QVERIFY(writeFile(m_install + QString::fromUtf8("/名前.dat"), "x"));
        QVERIFY(writeFile(m_install + "/kept.txt", "x"));
        writeList(QByteArray("old.dll\n   sub dir/b.txt  \r\nwin\\c.txt\r\n\tabsent.txt\n") +
                  QString::fromUtf8("名前.dat").toUtf8());
        const auto result = Steps::applyDeletionList(m_install);
        QVERIFY(result.ok);
        QCOMPARE(result.removed.size(), 4);
        QVERIFY(!QFile::exists(m_install + "/old.dll"));
        QVERIFY(!QFile::exists(m_install + "/sub dir/b.txt"));
        QVERIFY(!QFile::exists(m_install + "/win/c.txt"));
        QVERIFY(!QFile::exists(m_install + QString::fromUtf8("/名前.dat")));
        QVERIFY(QFile::exists(m_install + "/kept.txt"));
        QVERIFY2(QDir(m_install + "/sub dir").exists(), "folders of removed files stay");
        QVERIFY(!QFile::exists(Steps::deletionListPath(m_install)));
    }

    void listOfAbsentEntriesIsReadThroughAndDeleted()
    {
        writeList("a\nb/c\nd.txt\n");
        QVERIFY(Steps::applyDeletionList(m_install).ok);
        QVERIFY(!QFile::exists(Steps::deletionListPath(m_install)));
    }

    void blankLinesNameNothing()
    {
        QVERIFY(writeFile(m_install + "/a.txt", "x"));
        writeList("\n   \r\na.txt\n\n");
        const auto result = Steps::applyDeletionList(m_install);
        QVERIFY(result.ok);
        QVERIFY(!QFile::exists(m_install + "/a.txt"));
        QVERIFY(QDir(m_install).exists());
    }

    void foldersGoOnlyWhenEmpty()
    {
        // The list names a version's removed files, then its removed folders, deepest first.
        QVERIFY(writeFile(m_install + "/gone/sub/a.txt", "x"));
        QVERIFY(QDir().mkpath(m_install + "/gone/emptied"));
        QVERIFY(writeFile(m_install + "/kept/old.pak", "x"));
        QVERIFY(writeFile(m_install + "/kept/player.sav", "the player's"));
        QVERIFY(writeFile(m_install + "/last.txt", "x"));
        writeList(
            "gone/sub/a.txt\nkept/old.pak\nlast.txt\ngone/sub/\ngone/emptied/\ngone/\nkept/\n");
        const auto result = Steps::applyDeletionList(m_install);
        QVERIFY(result.ok);
        QVERIFY(!QFileInfo::exists(m_install + "/gone"));
        QVERIFY(!QFileInfo::exists(m_install + "/last.txt"));
        QCOMPARE(readFile(m_install + "/kept/player.sav"), QByteArray("the player's"));
        QVERIFY(!QFileInfo::exists(m_install + "/kept/old.pak"));
        QVERIFY(!QFile::exists(Steps::deletionListPath(m_install)));
    }

    void failureKeepsTheListForTheNextRun()
    {
        if (geteuid() == 0)
            QSKIP("root removes files from a read-only folder");
        QVERIFY(writeFile(m_install + "/first.txt", "x"));
        QVERIFY(writeFile(m_install + "/locked/inside.txt", "x"));
        QVERIFY(writeFile(m_install + "/last.txt", "x"));
        QVERIFY(QFile::setPermissions(m_install + "/locked",
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        writeList("first.txt\nlocked/inside.txt\nlast.txt\n");
        auto result = Steps::applyDeletionList(m_install);
        QVERIFY(!result.ok);
        QCOMPARE(result.failedPath, m_install + "/locked/inside.txt");
        QVERIFY(!QFile::exists(m_install + "/first.txt"));
        QVERIFY2(QFile::exists(m_install + "/last.txt"), "processing stops at the failure");
        QVERIFY(QFile::exists(Steps::deletionListPath(m_install)));

        // Once the obstacle is gone, a later run works through the same list.
        QVERIFY(QFile::setPermissions(m_install + "/locked", QFileDevice::ReadOwner |
                                                                 QFileDevice::WriteOwner |
                                                                 QFileDevice::ExeOwner));
        result = Steps::applyDeletionList(m_install);
        QVERIFY(result.ok);
        QCOMPARE(result.removed,
                 (QStringList{m_install + "/locked/inside.txt", m_install + "/last.txt"}));
        QVERIFY(!QFile::exists(Steps::deletionListPath(m_install)));
    }

    void entriesLeavingTheInstallFolderAreRefused()
    {
        QVERIFY(writeFile(m_root + "/outside.txt", "precious"));
        QVERIFY(writeFile(m_root + "/elsewhere/target.txt", "precious"));
        QVERIFY(QFile::link(m_root + "/elsewhere", m_install + "/linkdir"));
        QVERIFY(QFile::link(m_root + "/outside.txt", m_install + "/filelink"));
        QVERIFY(writeFile(m_install + "/inside.txt", "x"));
        writeList("../outside.txt\n"
                  "sub/../../outside.txt\n"
                  "..\\outside.txt\n"
                  "linkdir/target.txt\n"
                  ".\n"
                  "filelink\n"
                  "inside.txt\n");
        const auto result = Steps::applyDeletionList(m_install);
        QVERIFY(result.ok);
        QCOMPARE(result.refused, (QStringList{"../outside.txt", "sub/../../outside.txt",
                                              "..\\outside.txt", "linkdir/target.txt", "."}));
        QCOMPARE(readFile(m_root + "/outside.txt"), QByteArray("precious"));
        QCOMPARE(readFile(m_root + "/elsewhere/target.txt"), QByteArray("precious"));
        // A link inside the folder is removed as a link; what it points to stays.
        QVERIFY(!QFileInfo(m_install + "/filelink").isSymLink());
        QVERIFY(!QFile::exists(m_install + "/inside.txt"));
    }

    void absoluteLookingEntryStaysInsideTheFolder()
    {
        QVERIFY(writeFile(m_install + "/etc/hosts", "game file"));
        writeList("/etc/hosts\n");
        QVERIFY(Steps::applyDeletionList(m_install).ok);
        QVERIFY(!QFile::exists(m_install + "/etc/hosts"));
        QVERIFY(QFile::exists("/etc/hosts"));
    }

    void unreadableListIsAFailureWithItsPath()
    {
        QDir().mkpath(Steps::deletionListPath(m_install)); // exists, cannot be read as a file
        const auto result = Steps::applyDeletionList(m_install);
        QVERIFY(!result.ok);
        QCOMPARE(result.failedPath, Steps::deletionListPath(m_install));
    }

    void healthyMetadataNeedsNothing()
    {
        QVERIFY(writeFile(Steps::managedMetaDataPath(m_install), "managed"));
        QVERIFY(writeFile(Steps::nativeMetaDataPath(m_install), "native"));
        const auto result = Steps::checkGlobalMetaData(m_install);
        QVERIFY(!result.dismissed);
        QVERIFY(!result.error);
        QCOMPARE(readFile(Steps::managedMetaDataPath(m_install)), QByteArray("managed"));
    }

    void metadataRepair_data()
    {
        QTest::addColumn<int>("managed"); // -1 absent, else size
        QTest::addColumn<int>("native");
        QTest::addColumn<bool>("managedFolder");
        QTest::addColumn<bool>("error");
        QTest::newRow("empty managed, native present") << 0 << 100 << true << false;
        QTest::newRow("managed missing, native present") << -1 << 100 << true << false;
        QTest::newRow("neither present") << -1 << -1 << true << true;
        QTest::newRow("both empty") << 0 << 0 << true << true;
        QTest::newRow("managed folder missing") << -1 << 100 << false << true;
    }

    void metadataRepair()
    {
        QFETCH(int, managed);
        QFETCH(int, native);
        QFETCH(bool, managedFolder);
        QFETCH(bool, error);
        const QString managedPath = Steps::managedMetaDataPath(m_install);
        const QString nativePath = Steps::nativeMetaDataPath(m_install);
        if (managedFolder)
            QDir().mkpath(QFileInfo(managedPath).path());
        if (managed >= 0)
            QVERIFY(writeFile(managedPath, QByteArray(managed, 'm')));
        const QByteArray nativeBytes = noise(qMax(native, 0), 9);
        if (native >= 0)
            QVERIFY(writeFile(nativePath, nativeBytes));

        const auto result = Steps::checkGlobalMetaData(m_install);
        QVERIFY(result.dismissed);
        QCOMPARE(result.error, error);
        if (!error)
            QCOMPARE(readFile(managedPath), nativeBytes);
        else
            QVERIFY(!QFileInfo(managedPath).exists() || QFileInfo(managedPath).size() == 0);
    }
};

QTEST_GUILESS_MAIN(tst_postextraction)
#include "tst_postextraction.moc"
