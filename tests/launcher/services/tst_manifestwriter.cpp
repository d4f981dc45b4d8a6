// What the publisher writes, read back by the launcher's own readers.
#include <QJsonDocument>
#include <QtTest>

#include "appversioninfo.h"
#include "manifestwriter.h"
#include "updateversioninfo.h"

class TestManifestWriter : public QObject
{
    Q_OBJECT
private slots:
    void resourceAnswerReadsBackFieldForField();
    void contentAnswerReadsBack();
    void releaseAnswerIsAnUpdateOnlyForItsLauncher();
};

void TestManifestWriter::resourceAnswerReadsBackFieldForField()
{
    ManifestWriter::GameRelease release;
    release.version = QStringLiteral("1.0.10");
    release.name = QStringLiteral("Orv_1.0.10.7z");
    release.path = QStringLiteral("http://cdn.example/game/Orv_1.0.10.7z");
    release.md5 = QStringLiteral("0123456789abcdef0123456789abcdef");
    // Beyond 32 bits, so a narrowing on either side shows.
    release.size = 5000000000LL;
    release.entry = QStringLiteral("Kestrava.exe");
    release.diffs << DiffPackageInfo{"d9.7z", "aaaa", "http://cdn.example/d9.7z", "1.0.9",
                                     "3000000000"}
                  << DiffPackageInfo{"d8.7z", "bbbb", "http://cdn.example/d8.7z", "1.0.8", "12"};
    release.plugins << QVariantMap{{"path", "http://cdn.example/p.7z"}, {"md5", "cccc"}};
    release.webUrl = QStringLiteral("http://web.example/news");
    release.minVersion = QStringLiteral("2.3.0.0");
    release.forceUpdateUrl = QStringLiteral("http://get.example/launcher");
    const QByteArray written = ManifestWriter::resourceAnswer(release);
    // The same input gives the same bytes.
    QCOMPARE(ManifestWriter::resourceAnswer(release), written);

    UpdateVersionInfo info;
    QString error;
    QVERIFY2(info.parseResourceResponse(written, &error), qPrintable(error));
    QCOMPARE(info.version(), release.version);
    QCOMPARE(info.name(), release.name);
    QCOMPARE(info.path(), release.path);
    QCOMPARE(info.md5(), release.md5);
    QCOMPARE(info.size(), release.size);
    QCOMPARE(info.entry(), release.entry);
    QCOMPARE(info.webUrl(), release.webUrl);
    QCOMPARE(info.minVersion(), release.minVersion);
    QCOMPARE(info.forceUpdateUrl(), release.forceUpdateUrl);
    QCOMPARE(info.plugins(), release.plugins);
    QCOMPARE(info.diffs().size(), 2);
    for (const DiffPackageInfo &diff : release.diffs) {
        const DiffPackageInfo read = info.diffs().value(diff.version);
        QCOMPARE(read.name, diff.name);
        QCOMPARE(read.md5, diff.md5);
        QCOMPARE(read.path, diff.path);
        QCOMPARE(read.size, diff.size);
    }
    QCOMPARE(info.packageSize(QStringLiteral("1.0.9")), qint64(3000000000LL));
    QCOMPARE(info.packageUrl(QStringLiteral("1.0.7")), QUrl(release.path));

    // Without a minimum launcher version the answer leaves the launcher's own alone.
    release.minVersion.clear();
    UpdateVersionInfo second;
    QVERIFY(second.parseResourceResponse(ManifestWriter::resourceAnswer(release)));
    QVERIFY(second.minVersion().isEmpty());
    QVERIFY(!QJsonDocument::fromJson(ManifestWriter::resourceAnswer(release))
                 .object()
                 .value("data")
                 .toObject()
                 .contains("force_update"));
}

void TestManifestWriter::contentAnswerReadsBack()
{
    UpdateVersionInfo info;
    QVERIFY(info.parseContentResponse(ManifestWriter::contentAnswer(
        {QStringLiteral("http://a/bg.png"), QStringLiteral("http://a/event"),
         QStringLiteral("http://a/icon.png")})));
    QCOMPARE(info.background(), QStringLiteral("http://a/bg.png"));
    QCOMPARE(info.advUrl(), QStringLiteral("http://a/event"));
    QCOMPARE(info.icon(), QStringLiteral("http://a/icon.png"));
}

void TestManifestWriter::releaseAnswerIsAnUpdateOnlyForItsLauncher()
{
    AppVersionInfo release;
    release.setUpdateType(AppVersionInfo::kCompulsoryUpdateType);
    release.setPackageName(QStringLiteral("launcher_2.4.0.0.7z"));
    release.setPackageVersion(QStringLiteral("2.4.0.0"));
    release.setPackageUrl(QStringLiteral("http://cdn.example/launcher/launcher_2.4.0.0.7z"));
    release.setPackageMd5(QStringLiteral("0123456789ABCDEF0123456789ABCDEF"));
    release.setPackageSize(4000000000LL);
    const QJsonDocument answer =
        QJsonDocument::fromJson(ManifestWriter::releaseAnswer(release, QStringLiteral("18")));

    AppVersionInfo read;
    QString error;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(answer, QStringLiteral("18"), &read, &error),
             AppVersionInfo::Verdict::Update);
    QCOMPARE(read, release);
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(answer, QStringLiteral("17"), &read),
             AppVersionInfo::Verdict::NoUpdate);
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(
                 QJsonDocument::fromJson(ManifestWriter::noReleaseAnswer()), "18", &read),
             AppVersionInfo::Verdict::NoUpdate);
}

QTEST_GUILESS_MAIN(TestManifestWriter)
#include "tst_manifestwriter.moc"
