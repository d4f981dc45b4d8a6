// Patch packages made by the publisher's builder, applied by the launcher's applier: a run
// killed anywhere ends wholly at one version, and a package that would write outside the game
// folder, or that was made from other files, changes nothing.
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "foldersnapshot.h"
#include "patchapplier.h"
#include "patchbuilder.h"
#include "patchpackage.h"
#include "zstddelta.h"
#include "publishtestutil.h"

using namespace publishtest;

namespace {

QByteArray noise(int size, quint32 seed)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

const QString kVersionFile = QStringLiteral("version.txt");

// Every kind of change: a small edit inside a large file, a rename, a move with an edit, a
// swap of two names, a removed file and folder, a new nested folder, an executable bit.
QMap<QString, QByteArray> version1()
{
    return {{"bin/game", "#!/bin/sh\necho 1\n"},
            {"data/pack.pak", noise(2 << 20, 1)},
            {"data/a.txt", "first"},
            {"data/b.txt", "second"},
            {"old/gone.txt", "gone"},
            {"maps/m1.bin", noise(300000, 2)},
            {"maps/m2.bin", noise(200000, 3)},
            {"data/huge.pak", noise(5 << 20, 4)},
            {"same.txt", "never changes"}};
}

QMap<QString, QByteArray> version2()
{
    QMap<QString, QByteArray> v = version1();
    v["data/pack.pak"].replace(1 << 20, 11, "edited here");
    // Across the border of its second and third segment.
    v["data/huge.pak"].replace((2 << 20) - 6, 12, "segment edit");
    v["data/a.txt"] = "second";
    v["data/b.txt"] = "first";
    v.remove("old/gone.txt");
    v["renamed/m1.bin"] = v.take("maps/m1.bin");
    QByteArray moved = v.take("maps/m2.bin");
    moved.replace(100, 4, "EDIT");
    v["deep/er/m2.bin"] = moved;
    v["new/new.txt"] = "new file";
    return v;
}

bool writeVersion(const QString &root, const QMap<QString, QByteArray> &files, bool executable)
{
    return writeTree(root, files) &&
           writeFile(root + "/bin/game", files.value("bin/game"), executable);
}

// Segments of a megabyte from 3 MiB on: the gigabyte layout, scaled down to stay fast.
PatchBuilder::Segmenting smallSegments()
{
    PatchBuilder::Segmenting segmenting;
    segmenting.threshold = 3 << 20;
    segmenting.segment = 1 << 20;
    segmenting.margin = 512 << 10;
    return segmenting;
}

PatchBuilder::Changes changesBetween(const FolderSnapshot &from, const FolderSnapshot &to)
{
    PatchBuilder::Changes changes;
    for (auto it = to.entries().begin(); it != to.entries().end(); ++it) {
        const auto old = from.entries().constFind(it.key());
        if (old == from.entries().constEnd() || !FolderSnapshot::sameFile(old.value(), it.value()))
            changes.changed << it.key();
    }
    for (auto it = from.entries().begin(); it != from.entries().end(); ++it) {
        if (!to.entries().contains(it.key()))
            changes.removed << it.key();
    }
    const QSet<QString> kept = to.folders();
    for (const QString &folder : from.folders()) {
        if (!kept.contains(folder))
            changes.removedFolders << folder;
    }
    std::sort(changes.removedFolders.begin(), changes.removedFolders.end(),
              [](const QString &a, const QString &b) { return a.count('/') > b.count('/'); });
    return changes;
}

bool recordInto(const QString &folder, const QString &version)
{
    return writeFile(folder + '/' + kVersionFile, version.toUtf8());
}

QByteArray recorded(const QString &folder)
{
    QFile file(folder + '/' + kVersionFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool copyTree(const QString &from, const QString &to)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) ||
            !writeFile(to + path.mid(from.size()), file.readAll(), it.fileInfo().isExecutable()))
            return false;
    }
    return true;
}

} // namespace

class TestPatchApply : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void smallEditsAndMovesTravelAsFewBytes();
    void killedRunEndsWhollyAtOneVersion_data();
    void killedRunEndsWhollyAtOneVersion();
    void packageThatLeavesTheFolderChangesNothing_data();
    void packageThatLeavesTheFolderChangesNothing();
    void changedBaseFileLeavesTheGameAsItWas();
    void largeFileTravelsAsItsChanges_data();
    void largeFileTravelsAsItsChanges();
    void malformedSegmentsChangeNothing_data();
    void malformedSegmentsChangeNothing();
    void linkedFolderIsNeverWrittenThrough();

private:
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    int countSteps();

    QTemporaryDir m_dir;
    QString m_package;
    int m_steps = 0;
};

void TestPatchApply::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeVersion(path("v1"), version1(), false));
    QVERIFY(writeVersion(path("v2"), version2(), true));
    QVERIFY(QDir().mkpath(path("v2/empty/folder")));
    FolderSnapshot old;
    FolderSnapshot newest;
    QString error;
    QVERIFY2(FolderSnapshot::scan(path("v1"), &old, &error), qPrintable(error));
    QVERIFY2(FolderSnapshot::scan(path("v2"), &newest, &error), qPrintable(error));
    m_package = path("1_2.patch");
    QVERIFY2(PatchBuilder::build(path("v1"), old, newest, changesBetween(old, newest), "1", "2", 3,
                                 m_package, &error, smallSegments()),
             qPrintable(error));
    m_steps = countSteps();
}

void TestPatchApply::cleanupTestCase()
{
    m_dir.setAutoRemove(!QTest::currentTestFailed());
}

int TestPatchApply::countSteps()
{
    const QString game = path("count");
    if (!copyTree(path("v1"), game))
        return 0;
    int steps = 0;
    PatchApplier applier;
    applier.setStepHook([&steps] { ++steps; });
    const auto outcome =
        applier.apply(game, m_package, [&](const QString &v) { return recordInto(game, v); })
            .outcome;
    return outcome == PatchApplier::Outcome::Applied ? steps : 0;
}

void TestPatchApply::smallEditsAndMovesTravelAsFewBytes()
{
    PatchPackage index;
    qint64 dataOffset = 0;
    QString error;
    QVERIFY2(PatchPackage::read(m_package, &index, &dataOffset, &error), qPrintable(error));
    QMap<QString, PatchPackage::File> files;
    for (const PatchPackage::File &file : index.files)
        files.insert(file.path, file);
    // Content already installed travels as a move, an edit as a delta far smaller than the file.
    QCOMPARE(files.value("renamed/m1.bin").kind, PatchPackage::Kind::Copy);
    QCOMPARE(files.value("renamed/m1.bin").base, QStringLiteral("maps/m1.bin"));
    QCOMPARE(files.value("data/a.txt").kind, PatchPackage::Kind::Copy);
    QCOMPARE(files.value("data/a.txt").base, QStringLiteral("data/b.txt"));
    QCOMPARE(files.value("data/pack.pak").kind, PatchPackage::Kind::Delta);
    QVERIFY2(files.value("data/pack.pak").length < 4096,
             qPrintable(QString::number(files.value("data/pack.pak").length)));
    QCOMPARE(files.value("data/huge.pak").kind, PatchPackage::Kind::Segmented);
    // Only the stretch around the edit travels; the rest is copied from the installed file.
    const QList<PatchPackage::Segment> segments = files.value("data/huge.pak").segments;
    QCOMPARE(std::count_if(segments.begin(), segments.end(),
                           [](const PatchPackage::Segment &s) { return !s.copy; }),
             1);
    QCOMPARE(files.value("deep/er/m2.bin").kind, PatchPackage::Kind::Delta);
    QCOMPARE(files.value("deep/er/m2.bin").base, QStringLiteral("maps/m2.bin"));
    QCOMPARE(index.removed, QStringList({"maps/m1.bin", "maps/m2.bin", "old/gone.txt"}));
    QVERIFY(QFileInfo(m_package).size() < 20 * 1024);
}

void TestPatchApply::killedRunEndsWhollyAtOneVersion_data()
{
    QTest::addColumn<int>("killAfter");
    QVERIFY2(m_steps >= 20, qPrintable(QString::number(m_steps)));
    for (int step = 1; step <= m_steps; ++step)
        QTest::addRow("after step %d of %d", step, m_steps) << step;
}

void TestPatchApply::killedRunEndsWhollyAtOneVersion()
{
    QFETCH(int, killAfter);
    const QString game = path(QStringLiteral("kill%1").arg(killAfter));
    QVERIFY(copyTree(path("v1"), game));
    QVERIFY(recordInto(game, "1"));
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        int steps = 0;
        PatchApplier applier;
        applier.setStepHook([&steps, killAfter] {
            if (++steps == killAfter)
                raise(SIGKILL);
        });
        applier.apply(game, m_package, [&](const QString &v) { return recordInto(game, v); });
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    // The next start ends the run one way or the other, then the update runs again.
    PatchApplier next;
    const auto record = [&](const QString &v) {
        return recordInto(game, v);
    };
    const PatchApplier::Result resumed = next.resume(game, record);
    QVERIFY2(resumed.outcome == PatchApplier::Outcome::RolledBack ||
                 resumed.outcome == PatchApplier::Outcome::Applied,
             qPrintable(resumed.message));
    const QStringList skip{kVersionFile};
    if (resumed.outcome == PatchApplier::Outcome::RolledBack) {
        QCOMPARE(recorded(game), QByteArray("1"));
        QCOMPARE(listing(game, skip), listing(path("v1")));
        QCOMPARE(next.apply(game, m_package, record).outcome, PatchApplier::Outcome::Applied);
    }
    QCOMPARE(recorded(game), QByteArray("2"));
    QCOMPARE(listing(game, skip), listing(path("v2")));
}

void TestPatchApply::packageThatLeavesTheFolderChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("base");
    QTest::addColumn<qint64>("frameOffset");
    QTest::newRow("parent folder") << "../outside.txt"
                                   << "" << qint64(0);
    QTest::newRow("absolute path") << "/tmp/outside.txt"
                                   << "" << qint64(0);
    QTest::newRow("drive letter") << "C:/outside.txt"
                                  << "" << qint64(0);
    QTest::newRow("backslash") << "data\\..\\..\\x"
                               << "" << qint64(0);
    QTest::newRow("dot part") << "data/./x"
                              << "" << qint64(0);
    QTest::newRow("staged name") << "data/a.txt.lunpatch"
                                 << "" << qint64(0);
    QTest::newRow("base outside") << "data/a.txt"
                                  << "../v2/data/a.txt" << qint64(0);
    QTest::newRow("frame past the end") << "data/a.txt"
                                        << "" << qint64(1 << 20);
}

void TestPatchApply::packageThatLeavesTheFolderChangesNothing()
{
    QFETCH(QString, target);
    QFETCH(QString, base);
    QFETCH(qint64, frameOffset);
    const QString game = path("bad_" + QString::number(qHash(QString(QTest::currentDataTag()))));
    QVERIFY(copyTree(path("v1"), game));
    const auto before = listing(path("."));

    PatchPackage index;
    index.from = "1";
    index.to = "2";
    PatchPackage::File file;
    file.path = target;
    file.sha256 = QByteArray(64, 'a');
    file.size = 3;
    file.offset = frameOffset;
    file.length = 4;
    if (!base.isEmpty()) {
        file.kind = PatchPackage::Kind::Copy;
        file.base = base;
        file.baseSha256 = QByteArray(64, 'b');
    }
    index.files << file;
    QVERIFY(writeFile(path("frames"), "abcd"));
    const QString package = path("bad.patch");
    QString error;
    QVERIFY(PatchPackage::write(package, index, path("frames"), &error));

    PatchApplier applier;
    bool recordedVersion = false;
    const PatchApplier::Result result = applier.apply(game, package, [&](const QString &) {
        recordedVersion = true;
        return true;
    });
    QCOMPARE(result.outcome, PatchApplier::Outcome::Unusable);
    QVERIFY(!result.message.isEmpty());
    QVERIFY(!recordedVersion);
    QFile::remove(package);
    QFile::remove(path("frames"));
    QCOMPARE(listing(path(".")), before);
}

void TestPatchApply::changedBaseFileLeavesTheGameAsItWas()
{
    const QString game = path("changed");
    QVERIFY(copyTree(path("v1"), game));
    QVERIFY(writeFile(game + "/maps/m2.bin", "the player's own"));
    const auto before = listing(game);
    PatchApplier applier;
    const PatchApplier::Result result =
        applier.apply(game, m_package, [&](const QString &v) { return recordInto(game, v); });
    QCOMPARE(result.outcome, PatchApplier::Outcome::Unusable);
    QVERIFY2(result.message.contains("maps/m2.bin"), qPrintable(result.message));
    QCOMPARE(listing(game), before);
}

void TestPatchApply::largeFileTravelsAsItsChanges_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: the old version has no such file
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<qint64>("maxFrames");
    QTest::addColumn<qint64>("maxFramed"); // bytes of the new file that are not copies
    const QByteArray old = noise(6 << 20, 10);
    QByteArray border = old;
    border.replace((3 << 20) - 2048, 4096, noise(4096, 11));
    QByteArray inserted = old;
    inserted.insert(3 << 19, noise(64 << 10, 12));
    QByteArray removed = old;
    removed.remove(5 << 19, 100 << 10);
    QByteArray shrunk = old.left(2 << 20);
    shrunk.replace(1000, 4, "EDIT");
    QTest::newRow("4 KiB edit across a segment border")
        << old << border << qint64(6 << 10) << qint64(8 << 10);
    QTest::newRow("inserted block shifts the rest")
        << old << inserted << qint64(68 << 10) << qint64(64 << 10);
    QTest::newRow("removed block shifts the rest back")
        << old << removed << qint64(1 << 10) << qint64(4 << 10);
    QTest::newRow("truncated") << old << old.left((4 << 20) + 123) << qint64(0) << qint64(0);
    QTest::newRow("grown") << old << old + noise((1 << 20) + 76, 13)
                           << qint64((1 << 20) + (12 << 10)) << qint64((1 << 20) + (4 << 10));
    QTest::newRow("shrunk below the threshold")
        << old << shrunk << qint64(1 << 10) << qint64(4 << 10);
    QTest::newRow("new, no base") << QByteArray() << old << qint64((6 << 20) + (8 << 10))
                                  << qint64(6 << 20);
}

void TestPatchApply::largeFileTravelsAsItsChanges()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(qint64, maxFrames);
    QFETCH(qint64, maxFramed);
    const QString dir = path("large_" + QString::number(qHash(QString(QTest::currentDataTag()))));
    QMap<QString, QByteArray> v1{{"keep.txt", "kept"}};
    if (!before.isEmpty())
        v1.insert("data/huge.pak", before);
    QVERIFY(writeTree(dir + "/v1", v1));
    QVERIFY(writeTree(dir + "/v2", {{"keep.txt", "kept"}, {"data/huge.pak", after}}));
    FolderSnapshot old;
    FolderSnapshot newest;
    QString error;
    QVERIFY2(FolderSnapshot::scan(dir + "/v1", &old, &error), qPrintable(error));
    QVERIFY2(FolderSnapshot::scan(dir + "/v2", &newest, &error), qPrintable(error));
    const QString package = dir + "/1_2.patch";
    QVERIFY2(PatchBuilder::build(dir + "/v1", old, newest, changesBetween(old, newest), "1", "2", 3,
                                 package, &error, smallSegments()),
             qPrintable(error));

    PatchPackage index;
    qint64 dataOffset = 0;
    QVERIFY2(PatchPackage::read(package, &index, &dataOffset, &error), qPrintable(error));
    QCOMPARE(index.files.size(), 1);
    QCOMPARE(index.files.at(0).kind, PatchPackage::Kind::Segmented);
    const qint64 frames = QFileInfo(package).size() - dataOffset;
    QVERIFY2(frames <= maxFrames, qPrintable(QString::number(frames)));
    // zstd spends a few bytes on every 128 KiB block a frame spans: at gigabytes, only copies
    // keep an edit's cost at its own size.
    qint64 framed = 0;
    for (const PatchPackage::Segment &segment : index.files.at(0).segments)
        framed += segment.copy ? 0 : segment.size;
    QVERIFY2(framed <= maxFramed, qPrintable(QString::number(framed)));

    const QString game = dir + "/game";
    QVERIFY(copyTree(dir + "/v1", game));
    PatchApplier applier;
    const PatchApplier::Result result =
        applier.apply(game, package, [&](const QString &v) { return recordInto(game, v); });
    QVERIFY2(result.outcome == PatchApplier::Outcome::Applied, qPrintable(result.message));
    QCOMPARE(listing(game, {kVersionFile}), listing(dir + "/v2"));
    QVERIFY(QDir(dir).removeRecursively());
}

void TestPatchApply::malformedSegmentsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QList<qint64>>("segments"); // size, base offset, base length per segment
    QTest::addColumn<qint64>("frameOffset");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<bool>("copies"); // the segments name stretches of the base, no frames
    const qint64 twoGiB = qint64(1) << 31;
    // A launcher from before segments knows only whole, delta and copy: any other kind makes it
    // refuse the index, so it takes the difference package.
    QTest::newRow("well formed") << QByteArray("segmented") << qint64(10) << QList<qint64>{10, 0, 5}
                                 << qint64(0) << true << false;
    QTest::newRow("kind unknown to the launcher")
        << QByteArray("sliced") << qint64(10) << QList<qint64>{10, 0, 5} << qint64(0) << false
        << false;
    QTest::newRow("segments short of the file")
        << QByteArray("segmented") << qint64(10) << QList<qint64>{6, 0, 5} << qint64(0) << false
        << false;
    QTest::newRow("segments past the file")
        << QByteArray("segmented") << qint64(10) << QList<qint64>{6, 0, 5, 6, 0, 5} << qint64(0)
        << false << false;
    QTest::newRow("stretch past the base")
        << QByteArray("segmented") << qint64(10) << QList<qint64>{10, 2, 4} << qint64(0) << false
        << false;
    QTest::newRow("window over 2 GiB")
        << QByteArray("segmented") << twoGiB << QList<qint64>{twoGiB - 4, 0, 5, 4, 0, 5}
        << qint64(0) << false << false;
    QTest::newRow("frame outside the package")
        << QByteArray("segmented") << qint64(10) << QList<qint64>{10, 0, 5} << qint64(1 << 20)
        << false << false;
    // Copied past the end of the installed file's mapping, which is one page.
    QTest::newRow("copy past the base's end")
        << QByteArray("segmented") << qint64(1 << 20) << QList<qint64>{1 << 20, 0, 1 << 20}
        << qint64(0) << false << true;
}

void TestPatchApply::malformedSegmentsChangeNothing()
{
    QFETCH(QByteArray, kind);
    QFETCH(qint64, size);
    QFETCH(QList<qint64>, segments);
    QFETCH(qint64, frameOffset);
    QFETCH(bool, wellFormed);
    QFETCH(bool, copies);
    const QString game = path("seg_" + QString::number(qHash(QString(QTest::currentDataTag()))));
    QVERIFY(copyTree(path("v1"), game));
    const auto before = listing(game);

    // A frame that does give the file from "first", so only the index can be at fault.
    const QByteArray content = "firstfirst";
    QFile base(game + "/data/a.txt");
    QVERIFY(base.open(QIODevice::ReadOnly));
    QByteArray frame;
    {
        QBuffer buffer(&frame);
        buffer.open(QIODevice::WriteOnly);
        qint64 written = 0;
        QString error;
        QVERIFY(ZstdDelta::compress(base.map(0, 5), 5,
                                    reinterpret_cast<const uchar *>(content.data()), content.size(),
                                    3, &buffer, &written, {}, &error));
    }
    QJsonArray list;
    for (int i = 0; i + 2 < segments.size(); i += 3) {
        QJsonObject segment{{"size", double(segments.at(i))},
                            {"base_offset", double(segments.at(i + 1))},
                            {"base_length", double(segments.at(i + 2))},
                            {"offset", double(frameOffset)},
                            {"length", double(frame.size())}};
        if (copies)
            segment.insert("copy", true);
        list.append(segment);
    }
    const QJsonObject file{
        {"path", "data/a.txt"},
        {"sha256", QString(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex())},
        {"size", double(size)},
        {"kind", QString::fromLatin1(kind)},
        {"base", "data/a.txt"},
        {"base_sha256",
         QString(QCryptographicHash::hash("first", QCryptographicHash::Sha256).toHex())},
        {"base_size", 5},
        {"segments", list}};
    const QByteArray json =
        QJsonDocument(
            QJsonObject{{"format", 1}, {"from", "1"}, {"to", "2"}, {"files", QJsonArray{file}}})
            .toJson(QJsonDocument::Compact);
    QByteArray length(8, '\0');
    qToLittleEndian<quint64>(quint64(json.size()), length.data());
    const QString package = path("segments.patch");
    QVERIFY(writeFile(package, "LMPATCH1" + length + json + frame));

    PatchApplier applier;
    bool recordedVersion = false;
    const PatchApplier::Result result = applier.apply(game, package, [&](const QString &) {
        recordedVersion = true;
        return true;
    });
    QFile::remove(package);
    if (wellFormed) {
        QVERIFY2(result.outcome == PatchApplier::Outcome::Applied, qPrintable(result.message));
        QCOMPARE(listing(game).value("data/a.txt"),
                 QCryptographicHash::hash(content, QCryptographicHash::Md5).toHex());
        return;
    }
    QCOMPARE(result.outcome, PatchApplier::Outcome::Unusable);
    QVERIFY(!recordedVersion);
    QCOMPARE(listing(game), before);
}

void TestPatchApply::linkedFolderIsNeverWrittenThrough()
{
    const QString game = path("linked");
    QVERIFY(copyTree(path("v1"), game));
    // The player moved a folder elsewhere and linked it back; the patch writes into it.
    QVERIFY(QDir().mkpath(path("elsewhere")));
    QVERIFY(QFile::link(path("elsewhere"), game + "/new"));
    const auto before = listing(path("elsewhere"));
    PatchApplier applier;
    const PatchApplier::Result result =
        applier.apply(game, m_package, [&](const QString &v) { return recordInto(game, v); });
    QCOMPARE(result.outcome, PatchApplier::Outcome::Failed);
    QCOMPARE(result.code, ErrorDefine::GAME_FOLDER_LINK_ERROR);
    QCOMPARE(listing(path("elsewhere")), before);
    QVERIFY(!QFileInfo::exists(game + '/' + PatchApplier::journalName()));
    QCOMPARE(recorded(game), QByteArray());
}

QTEST_GUILESS_MAIN(TestPatchApply)
#include "tst_patchapply.moc"
