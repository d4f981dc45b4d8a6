// The replacement journal lies in the launcher's folder, which other programs of the player can
// write: a link planted where the journal or its new header goes must never carry the journal's
// lines, or its truncation, to the file it points at, nor be read as a journal.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "replacejournal.h"

namespace {
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), qint64(data.size()));
}
} // namespace

class TestReplaceJournal : public QObject
{
    Q_OBJECT
private slots:
    void plantedLinksAreNeverWrittenOrReadThrough_data();
    void plantedLinksAreNeverWrittenOrReadThrough();
};

void TestReplaceJournal::plantedLinksAreNeverWrittenOrReadThrough_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<bool>("beforeBegin");
    QTest::newRow("new header before begin") << "rollback.journal.new" << true;
    QTest::newRow("journal before begin") << "rollback.journal" << true;
    QTest::newRow("journal swapped after begin") << "rollback.journal" << false;
}

void TestReplaceJournal::plantedLinksAreNeverWrittenOrReadThrough()
{
    QFETCH(QString, planted);
    QFETCH(bool, beforeBegin);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString launcher = dir.filePath("launcher");
    QVERIFY(QDir().mkpath(launcher));
    // An outside file that reads like a journal of this launcher: loaded, it would have the
    // launcher's own program undone as "added".
    const QString outside = dir.filePath("outside.txt");
    const QByteArray bait =
        "lunmere-replace 1\nroot " + QFile::encodeName(launcher) + "\nadded launcher\n";
    writeFile(outside, bait);
    const QString link = launcher + QLatin1Char('/') + planted;

    ReplaceJournal journal(launcher + QStringLiteral("/rollback"));
    if (beforeBegin)
        QVERIFY(QFile::link(outside, link));
    if (planted == QLatin1String("rollback.journal"))
        QVERIFY2(!journal.load() || !beforeBegin, "a link was read as a journal");

    QVERIFY(journal.begin(launcher));
    if (!beforeBegin) {
        QVERIFY(QFile::remove(journal.path()));
        QVERIFY(QFile::link(outside, link));
        QVERIFY(!journal.record(ReplaceJournal::Origin::Saved, QStringLiteral("launcher")));
        QVERIFY(!journal.commit());
    } else {
        // The planted entry was replaced, not followed: the journal is a file of its own.
        QVERIFY(!QFileInfo(journal.path()).isSymLink());
        QVERIFY(journal.record(ReplaceJournal::Origin::Saved, QStringLiteral("launcher")));
        QVERIFY(journal.commit());
        ReplaceJournal reread(launcher + QStringLiteral("/rollback"));
        QVERIFY(reread.load());
        QVERIFY(reread.isCommitted());
        QCOMPARE(reread.entries().size(), 1);
    }
    QCOMPARE(contents(outside), bait);
    QVERIFY(journal.remove());
    QCOMPARE(contents(outside), bait);
    QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestReplaceJournal)
#include "tst_replacejournal.moc"
