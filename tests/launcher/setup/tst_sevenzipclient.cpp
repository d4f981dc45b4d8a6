#include <QtTest>

#include <QTemporaryDir>

#include <cstring>
#include <vector>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "archiveitempath.h"
#include "carchiveextractcallback.h"
#include "carchiveopencallback.h"
#include "cinfilestream.h"
#include "coutfilestream.h"
#include "sevenziplibrary.h"
#include "setuptestutil.h"

using namespace SevenZip;
using namespace SetupTest;

// The 7-Zip client objects on their own: the contracts the library relies on.
class tst_sevenzipclient : public QObject
{
    Q_OBJECT

private slots:
    void inputStreamReadsInBoundedChunksAndSeeksFromEveryOrigin()
    {
        QTemporaryDir dir;
        const QByteArray data = noise(5 * 1024 * 1024, 11);
        QVERIFY(writeFile(dir.filePath("in.bin"), data));
        auto *stream = new CInFileStream;
        stream->AddRef();
        QCOMPARE(stream->open(dir.filePath("in.bin")), 0);

        QByteArray buffer(8 * 1024 * 1024, 0);
        UInt32 got = 0;
        QCOMPARE(stream->Read(buffer.data(), 8 * 1024 * 1024, &got), S_OK);
        QCOMPARE(got, CInFileStream::kMaxChunk);
        QVERIFY(buffer.left(int(got)) == data.left(int(got)));

        UInt64 position = 0;
        QCOMPARE(stream->Seek(-10, 2, &position), S_OK);
        QCOMPARE(position, UInt64(data.size() - 10));
        QCOMPARE(stream->Read(buffer.data(), 100, &got), S_OK);
        QCOMPARE(got, 10u);
        QCOMPARE(buffer.left(10), data.right(10));
        QCOMPARE(stream->Read(buffer.data(), 100, &got), S_OK);
        QCOMPARE(got, 0u); // end of file is no error

        QCOMPARE(stream->Seek(100, 0, nullptr), S_OK);
        QCOMPARE(stream->Seek(-40, 1, &position), S_OK);
        QCOMPARE(position, UInt64(60));
        QCOMPARE(stream->Seek(0, 3, &position), STG_E_INVALIDFUNCTION);
        QVERIFY(stream->Seek(-1, 0, &position) != S_OK);
        QCOMPARE(stream->Seek(0, 1, &position), S_OK);
        QCOMPARE(position, UInt64(60));

        UInt64 size = 0;
        QCOMPARE(stream->GetSize(&size), S_OK);
        QCOMPARE(size, UInt64(data.size()));

        void *out = reinterpret_cast<void *>(1);
        QCOMPARE(stream->QueryInterface(IID_IStreamGetSize, &out), S_OK);
        QCOMPARE(out, static_cast<void *>(static_cast<IStreamGetSize *>(stream)));
        static_cast<IStreamGetSize *>(out)->Release();
        QCOMPARE(stream->QueryInterface(IID_IOutStream, &out), E_NOINTERFACE);
        QCOMPARE(out, nullptr);
        QCOMPARE(stream->Release(), 0u);
    }

    void inputStreamRefusesMissingFilesAndFolders()
    {
        QTemporaryDir dir;
        CInFileStream stream;
        QCOMPARE(stream.open(dir.filePath("absent")), ENOENT);
        QCOMPARE(stream.open(dir.path()), EISDIR);
        const QByteArray fifo = QFile::encodeName(dir.filePath("fifo"));
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QCOMPARE(stream.open(dir.filePath("fifo")), EINVAL); // and does not block
        UInt32 got = 7;
        char byte;
        QVERIFY(stream.Read(&byte, 1, &got) != S_OK);
        QCOMPARE(got, 0u);
    }

    void outputStreamReplacesDestinationOnlyOnCommit()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("target.bin");
        QVERIFY(writeFile(target, "previous"));
        auto *stream = new COutFileStream;
        stream->AddRef();
        QCOMPARE(stream->create(target), 0);
        const QByteArray data = noise(9 * 1024 * 1024, 12);
        UInt32 written = 0;
        QCOMPARE(stream->Write(data.constData(), UInt32(data.size()), &written), S_OK);
        QCOMPARE(written, UInt32(data.size()));
        QCOMPARE(stream->SetSize(1000), S_OK);
        UInt64 position = 0;
        QCOMPARE(stream->Seek(0, 2, &position), S_OK);
        QCOMPARE(position, UInt64(1000));
        QCOMPARE(stream->Seek(0, 7, &position), STG_E_INVALIDFUNCTION);
        QCOMPARE(readFile(target), QByteArray("previous"));

        // 2001-09-09 01:46:40 UTC as FILETIME ticks.
        const quint64 ticks = (1000000000ULL + 11644473600ULL) * 10000000ULL + 1234500;
        stream->setModificationTime(FILETIME{quint32(ticks), quint32(ticks >> 32)});
        stream->setAttributes(0x81A08020); // a POSIX mode of 0640 in the high half
        QCOMPARE(stream->commit(), S_OK);
        QCOMPARE(readFile(target), data.left(1000));
        QCOMPARE(leftovers(dir.path()), QStringList());
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
        QCOMPARE(qint64(info.st_mtim.tv_sec), qint64(1000000000));
        QCOMPARE(qint64(info.st_mtim.tv_nsec), qint64(123450000));
        QCOMPARE(int(info.st_mode & 07777), 0640);
        QVERIFY2(stream->Write("x", 1, &written) != S_OK, "a committed stream takes no more data");
        QCOMPARE(stream->Release(), 0u);
    }

    void discardedOrAbandonedOutputLeavesDestinationUntouched()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("target.bin");
        QVERIFY(writeFile(target, "previous"));
        {
            auto *stream = new COutFileStream;
            stream->AddRef();
            QCOMPARE(stream->create(target), 0);
            QCOMPARE(stream->Write("partial", 7, nullptr), S_OK);
            stream->discard();
            stream->Release();
        }
        {
            auto *stream = new COutFileStream;
            stream->AddRef();
            QCOMPARE(stream->create(target), 0);
            QCOMPARE(stream->Write("partial", 7, nullptr), S_OK);
            stream->Release(); // the library let go mid-item
        }
        QCOMPARE(readFile(target), QByteArray("previous"));
        QCOMPARE(leftovers(dir.path()), QStringList());
        COutFileStream orphan;
        QCOMPARE(orphan.create(dir.filePath("missing-folder/x")), ENOENT);
    }

    void killedWriterLeavesNothingBehind()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("target.bin");
        QVERIFY(writeFile(target, "previous"));
        const pid_t child = ::fork();
        if (child == 0) {
            auto *stream = new COutFileStream;
            stream->AddRef();
            const QByteArray data = noise(1024 * 1024, 13);
            if (stream->create(target) == 0 &&
                stream->Write(data.constData(), UInt32(data.size()), nullptr) == S_OK)
                ::raise(SIGKILL);
            ::_exit(1);
        }
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "killed mid-write");
        QCOMPARE(readFile(target), QByteArray("previous"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"target.bin"});
    }

    void itemPathsAreContained_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("contained");
        QTest::newRow("plain") << "a.txt" << true;
        QTest::newRow("nested") << "a/b/c.txt" << true;
        QTest::newRow("dot segments") << "./a/./b" << true;
        QTest::newRow("dots in names") << "a..b/..c/d.." << true;
        QTest::newRow("content") << "[Content]" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot only") << "." << false;
        QTest::newRow("parent") << "../a" << false;
        QTest::newRow("inner parent") << "a/../../b" << false;
        QTest::newRow("trailing parent") << "a/.." << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("drive") << "c:/windows" << false;
        QTest::newRow("drive relative") << "D:evil" << false;
        QTest::newRow("NUL") << QString("a/..") + QChar(0) + "x" << false;
        QTest::newRow("backslashes after normalising")
            << ArchiveItemPath::normalized("a\\..\\..\\b") << false;
    }

    void itemPathsAreContained()
    {
        QFETCH(QString, path);
        QFETCH(bool, contained);
        QCOMPARE(ArchiveItemPath::isContained(path), contained);
    }

    void attributesBecomeSafePermissions_data()
    {
        QTest::addColumn<quint32>("attributes");
        QTest::addColumn<bool>("directory");
        QTest::addColumn<int>("mode");
        QTest::newRow("file 0644") << 0x81A48020u << false << 0644;
        QTest::newRow("file 0755") << 0x81ED8020u << false << 0755;
        QTest::newRow("setuid setgid file") << ((0106755u << 16) | 0x8020u) << false << 0755;
        QTest::newRow("folder 0755") << 0x41ED8010u << true << 0755;
        QTest::newRow("sticky folder") << ((041777u << 16) | 0x8010u) << true << 0777;
        QTest::newRow("read-only folder") << ((040555u << 16) | 0x8010u) << true << 0755;
        QTest::newRow("symlink") << 0xA1FF8020u << false << -1;
        QTest::newRow("fifo") << ((010644u << 16) | 0x8020u) << false << -1;
        QTest::newRow("DOS read-only") << 0x21u << false << 0444;
        QTest::newRow("DOS archive") << 0x20u << false << -1;
        QTest::newRow("DOS read-only folder") << 0x11u << true << -1;
        QTest::newRow("high bits without flag") << 0x81FF0021u << false << 0444;
    }

    void attributesBecomeSafePermissions()
    {
        QFETCH(quint32, attributes);
        QFETCH(bool, directory);
        QFETCH(int, mode);
        QCOMPARE(ArchiveItemPath::permissionsFor(attributes, directory), mode);
    }

    void operationResultsHaveFixedTexts()
    {
        const QStringList expected{"Unsupported Method",
                                   "Data Error",
                                   "CRC Failed",
                                   "Unavailable data",
                                   "Unexpected end of data",
                                   "There are some data after the end of the payload data",
                                   "Is not archive",
                                   "Headers Error"};
        for (int result = 1; result <= 8; ++result)
            QCOMPARE(CArchiveExtractCallback::operationResultText(result), expected.at(result - 1));
        QCOMPARE(CArchiveExtractCallback::operationResultText(9), QStringLiteral("9"));
        QCOMPARE(CArchiveExtractCallback::operationResultText(-3), QStringLiteral("-3"));
    }

    void callbacksAnswerPasswordQueriesOnly()
    {
        auto *open = new CArchiveOpenCallback;
        open->AddRef();
        void *out = nullptr;
        QCOMPARE(open->QueryInterface(IID_ICryptoGetTextPassword, &out), S_OK);
        auto *password = static_cast<ICryptoGetTextPassword *>(out);
        BSTR text = reinterpret_cast<BSTR>(1);
        QCOMPARE(password->CryptoGetTextPassword(&text), E_ABORT);
        QCOMPARE(text, nullptr);
        password->Release();
        const GUID volumeCallback = interfaceId(0x06, 0x30);
        out = reinterpret_cast<void *>(1);
        QCOMPARE(open->QueryInterface(volumeCallback, &out), E_NOINTERFACE);
        QCOMPARE(out, nullptr);
        QCOMPARE(open->Release(), 0u);
    }

    void libraryIsLoadedOnlyWithOurInterfaceLayout()
    {
        SevenZipLibrary library;
        library.setCandidates({"/nonexistent/7z.so", "/usr/lib/p7zip/7z.so"});
        QVERIFY2(library.resolve(), qPrintable(library.errorString()));
        QCOMPARE(library.loadedPath(), QStringLiteral("/usr/lib/p7zip/7z.so"));
        void *object = nullptr;
        QCOMPARE(library.createObject(CLSID_Format7z, IID_IInArchive, &object), S_OK);
        QVERIFY(object);
        static_cast<IInArchive *>(object)->Release();
        const GUID unknownClass{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
        QVERIFY(library.createObject(unknownClass, IID_IInArchive, &object) != S_OK);
        QCOMPARE(object, nullptr);

        SevenZipLibrary wrong;
        wrong.setCandidates(
            {QLibraryInfo::location(QLibraryInfo::LibrariesPath) + "/libQt5Core.so.5"});
        QVERIFY(!wrong.resolve());
        QVERIFY(wrong.errorString().contains("CreateObject"));
    }

    void bstrTextUsesItsLengthAndKeepsSurrogates()
    {
        // [byte length][UTF-16 units widened to wchar_t][NUL], as the library builds it.
        const std::vector<std::uint32_t> units{'a', 0, '/', 0xD83D, 0xDE00};
        std::vector<wchar_t> raw(1 + units.size() + 1, 0);
        const std::uint32_t bytes = std::uint32_t(units.size() * sizeof(wchar_t));
        std::memcpy(raw.data(), &bytes, sizeof(bytes));
        for (size_t i = 0; i < units.size(); ++i)
            raw[1 + i] = wchar_t(units[i]);
        const QString text = SevenZipLibrary::fromBstr(raw.data() + 1);
        QCOMPARE(text.size(), 5);
        QCOMPARE(text.at(1), QChar(0));
        QCOMPARE(text.mid(3), QString::fromUtf8("😀"));
        QVERIFY(!ArchiveItemPath::isContained(text));
        QCOMPARE(SevenZipLibrary::fromBstr(nullptr), QString());
    }
};

QTEST_GUILESS_MAIN(tst_sevenzipclient)
#include "tst_sevenzipclient.moc"
