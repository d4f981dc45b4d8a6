#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "errordefine.h"
#include "transfertestutil.h"
#include "uncompressmanager.h"

using namespace TransferTest;

class tst_UncompressManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void extractsPackageTreeIntoOutputFolder();
    void itemWithBadCrcIsReportedAndOthersStillWritten();
    void upperCaseZipSuffixUsesZipHandler();
    void unknownSuffixIsRefusedWithItsName();
    void emptyPathsAreReportedInsteadOfWaitingForever();
    void uncreatableOutputFolderIsReported();
    void hostilePathsNeverEscapeTheOutputFolder();
    void damagedPackageIsReportedWithoutFinish();
    void secondRunAfterUnloadResolvesLibraryAgain();

private:
    struct Outcome
    {
        int finished = 0;
        QList<QPair<int, QString>> errors;
        QStringList items;
        QList<QPair<qlonglong, qlonglong>> progress;
    };
    Outcome runExtraction(const QString &package, const QString &output);
    QString makePackage(const QString &name, const QStringList &extra = {});

    QTemporaryDir *m_dir = nullptr;
};

void tst_UncompressManager::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    if (QStandardPaths::findExecutable("7z").isEmpty())
        QSKIP("the 7z tool is needed to make test packages");
    if (!QFile::exists("/usr/lib/p7zip/7z.so"))
        QSKIP("7-Zip's shared library (p7zip-full) is not installed");
}

void tst_UncompressManager::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
}

void tst_UncompressManager::cleanup()
{
    UncompressManager::instance()->wait();
    UncompressManager::instance()->unloadLibrary();
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    delete m_dir;
    m_dir = nullptr;
}

tst_UncompressManager::Outcome tst_UncompressManager::runExtraction(const QString &package,
                                                                    const QString &output)
{
    Outcome outcome;
    UncompressManager *manager = UncompressManager::instance();
    QObject context;
    connect(manager, &UncompressManager::unzipFinished, &context, [&] { ++outcome.finished; });
    connect(manager, &UncompressManager::unzipError, &context,
            [&](ErrorDefine::ErrorCode code, const QString &msg) {
                outcome.errors.append({int(code), msg});
            });
    connect(manager, &UncompressManager::unzipingFile, &context,
            [&](const QString &path) { outcome.items << path; });
    connect(manager, &UncompressManager::unzipProgress, &context,
            [&](qlonglong done, qlonglong total) {
                outcome.progress.append({done, total});
            });
    QSignalSpy ended(manager, &QThread::finished);
    manager->setUncompressPaths(package, output);
    manager->start(QThread::InheritPriority);
    // An extraction that fails at once can end before any wait would begin: the spy has
    // counted it since the start, so its count is what is waited on.
    [&] {
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 60000);
    }();
    // The thread's last queued signals arrive before or with its finished signal.
    QCoreApplication::processEvents();
    return outcome;
}

QString tst_UncompressManager::makePackage(const QString &name, const QStringList &extra)
{
    const QString tree = m_dir->filePath("tree");
    writeFile(tree + "/launcher", noise(200000, 1));
    writeFile(tree + "/plugins/platforms/libqxcb.so", noise(50000, 2));
    writeFile(tree + "/language/en.qm", "english");
    const QString package = m_dir->filePath("pkg/" + name);
    QDir().mkpath(m_dir->filePath("pkg"));
    if (!sevenZip(package, tree, extra))
        return QString();
    return package;
}

void tst_UncompressManager::extractsPackageTreeIntoOutputFolder()
{
    const QString package = makePackage("launcher.7z");
    QVERIFY(!package.isEmpty());
    const QString output = m_dir->filePath("updater/updateData");
    const Outcome outcome = runExtraction(package, output);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(readFile(output + "/launcher"), noise(200000, 1));
    QCOMPARE(readFile(output + "/plugins/platforms/libqxcb.so"), noise(50000, 2));
    QCOMPARE(readFile(output + "/language/en.qm"), QByteArray("english"));
    QVERIFY(outcome.items.contains("plugins/platforms/libqxcb.so"));
    QVERIFY(!outcome.progress.isEmpty());
    QCOMPARE(outcome.progress.last().first, outcome.progress.last().second);
    // The package itself is left for the window to remove with its folder.
    QVERIFY(QFile::exists(package));
}

void tst_UncompressManager::itemWithBadCrcIsReportedAndOthersStillWritten()
{
    const QString tree = m_dir->filePath("crc");
    QVERIFY(writeFile(tree + "/a.txt", "first item, intact"));
    QVERIFY(writeFile(tree + "/b.txt", "SECOND-ITEM-CONTENT-TO-BREAK"));
    QVERIFY(writeFile(tree + "/c.txt", "third item, intact"));
    const QString package = m_dir->filePath("crc.zip");
    QVERIFY(sevenZip(package, tree, {"-tzip", "-mx0"}, {"a.txt", "b.txt", "c.txt"}));
    // Stored entries keep their bytes as they are: change one so its checksum no longer fits.
    QByteArray bytes = readFile(package);
    const int at = bytes.indexOf("SECOND-ITEM-CONTENT");
    QVERIFY(at > 0);
    bytes[at] = 'X';
    QVERIFY(writeFile(package, bytes));

    const QString output = m_dir->filePath("out");
    const Outcome outcome = runExtraction(package, output);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::SETUP_ZIP_ERROR));
    QVERIFY2(outcome.errors.first().second.contains("CRC Failed"),
             qPrintable(outcome.errors.first().second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(readFile(output + "/a.txt"), QByteArray("first item, intact"));
    QCOMPARE(readFile(output + "/c.txt"), QByteArray("third item, intact"));
}

void tst_UncompressManager::upperCaseZipSuffixUsesZipHandler()
{
    const QString package = makePackage("LAUNCHER.ZIP", {"-tzip"});
    QVERIFY(!package.isEmpty());
    const QString output = m_dir->filePath("out");
    const Outcome outcome = runExtraction(package, output);
    QVERIFY2(outcome.errors.isEmpty(), qPrintable(outcome.errors.value(0).second));
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(readFile(output + "/language/en.qm"), QByteArray("english"));
}

void tst_UncompressManager::unknownSuffixIsRefusedWithItsName()
{
    const QString package = makePackage("launcher.tar.gz", {"-tgzip"});
    const QString path = package.isEmpty() ? m_dir->filePath("launcher.tar.gz") : package;
    if (package.isEmpty())
        QVERIFY(writeFile(path, "not really gzip"));
    const Outcome outcome = runExtraction(path, m_dir->filePath("out"));
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::SETUP_ZIP_FORMAT_ERROR));
    QVERIFY(outcome.errors.first().second.startsWith("gz "));
}

void tst_UncompressManager::emptyPathsAreReportedInsteadOfWaitingForever()
{
    Outcome outcome = runExtraction(QString(), m_dir->filePath("out"));
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR));
    QVERIFY(!QFileInfo::exists(m_dir->filePath("out")));

    outcome = runExtraction(m_dir->filePath("x.7z"), QString());
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
}

void tst_UncompressManager::uncreatableOutputFolderIsReported()
{
    const QString package = makePackage("launcher.7z");
    QVERIFY(writeFile(m_dir->filePath("blocker"), "a file where a folder should be"));
    const Outcome outcome = runExtraction(package, m_dir->filePath("blocker/updateData"));
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::SETUP_CREATE_FOLDER_ERROR));
    QCOMPARE(readFile(m_dir->filePath("blocker")), QByteArray("a file where a folder should be"));
}

void tst_UncompressManager::hostilePathsNeverEscapeTheOutputFolder()
{
    // 7z stores "../" names as given when asked to keep absolute and parent paths (-spf).
    const QString base = m_dir->filePath("hostile");
    QVERIFY(writeFile(base + "/inside/good.txt", "good"));
    QVERIFY(writeFile(base + "/escape.txt", "escaped"));
    const QString package = m_dir->filePath("hostile.7z");
    QVERIFY(sevenZip(package, base + "/inside", {"-spf"}, {"good.txt", "../escape.txt"}));

    const QString root = m_dir->filePath("root");
    const QString output = root + "/updater/updateData";
    const Outcome outcome = runExtraction(package, output);
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::SETUP_ZIP_UNABLE_OPEN_OUTPUT_ERROR));
    // Nothing at all was written, inside or outside.
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList written;
    while (it.hasNext())
        written << it.next();
    QVERIFY2(written.isEmpty(), qPrintable(written.join(", ")));
}

void tst_UncompressManager::damagedPackageIsReportedWithoutFinish()
{
    const QString package = makePackage("launcher.7z");
    QByteArray bytes = readFile(package);
    QVERIFY(writeFile(package, bytes.left(bytes.size() / 2)));
    const Outcome outcome = runExtraction(package, m_dir->filePath("out"));
    QCOMPARE(outcome.finished, 0);
    QVERIFY(!outcome.errors.isEmpty());
    const int code = outcome.errors.last().first;
    QVERIFY2(code == ErrorDefine::SETUP_ZIP_UNABLE_OPEN_FILE_ERROR ||
                 code == ErrorDefine::SETUP_ZIP_UNZIP_ERROR,
             qPrintable(outcome.errors.last().second));

    const Outcome missing = runExtraction(m_dir->filePath("absent.7z"), m_dir->filePath("out"));
    QCOMPARE(missing.finished, 0);
    QCOMPARE(missing.errors.size(), 1);
    QCOMPARE(missing.errors.first().first, int(ErrorDefine::SETUP_ZIP_ARCHIVE_FILE_ERROR));
}

void tst_UncompressManager::secondRunAfterUnloadResolvesLibraryAgain()
{
    const QString package = makePackage("launcher.7z");
    const QString output = m_dir->filePath("out");
    QCOMPARE(runExtraction(package, output).finished, 1);
    UncompressManager::instance()->unloadLibrary();
    QVERIFY(QDir(output).removeRecursively());

    // A library that cannot be found after the unload proves the second run looks again.
    UncompressManager::instance()->setLibraryPaths({m_dir->filePath("missing/7z.so")});
    Outcome outcome = runExtraction(package, output);
    QCOMPARE(outcome.finished, 0);
    QCOMPARE(outcome.errors.size(), 1);
    QCOMPARE(outcome.errors.first().first, int(ErrorDefine::SETUP_DLL_ERROR));

    UncompressManager::instance()->unloadLibrary();
    UncompressManager::instance()->setLibraryPaths({"/usr/lib/p7zip/7z.so"});
    outcome = runExtraction(package, output);
    QCOMPARE(outcome.finished, 1);
    QCOMPARE(readFile(output + "/launcher"), noise(200000, 1));
}

QTEST_GUILESS_MAIN(tst_UncompressManager)
#include "tst_uncompressmanager.moc"
