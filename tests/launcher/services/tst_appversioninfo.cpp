#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "appenvironment.h"
#include "appversioninfo.h"
#include "updateprogram.h"

namespace {

const QString kMd5 = QStringLiteral("0123456789abcdef0123456789abcdef");

// A release answer around a "data" object given as JSON text.
QJsonDocument answer(const QByteArray &dataJson)
{
    const QJsonDocument doc = QJsonDocument::fromJson("{\"code\":0,\"data\":" + dataJson + "}");
    if (doc.isNull())
        qWarning() << "test answer does not parse:" << dataJson;
    return doc;
}

// A release with every field readable; fields are replaced by the rows.
QByteArray release(const QByteArray &overrides)
{
    QJsonObject data{{QStringLiteral("has_update"), QStringLiteral("true")},
                     {QStringLiteral("update_type"), 1},
                     {QStringLiteral("package_name"), QStringLiteral("launcher_2.3.4.0.7z")},
                     {QStringLiteral("package_version"), QStringLiteral("2.3.4.0")},
                     {QStringLiteral("package_url"),
                      QStringLiteral("https://cdn.example.com/l/launcher_2.3.4.0.7z")},
                     {QStringLiteral("package_md5"), kMd5},
                     {QStringLiteral("package_size"), 123456}};
    const QJsonObject extra = QJsonDocument::fromJson(overrides).object();
    for (auto it = extra.begin(); it != extra.end(); ++it) {
        if (it.value().isUndefined() || it.value().toString() == QLatin1String("<remove>"))
            data.remove(it.key());
        else
            data.insert(it.key(), it.value());
    }
    return QJsonDocument(data).toJson(QJsonDocument::Compact);
}

// Arguments the fake updater received, one line of NUL-separated values per start.
QList<QStringList> recordedStarts(const QString &logPath)
{
    QList<QStringList> starts;
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return starts;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList args;
        for (const QByteArray &arg : line.split('\0'))
            args << QString::fromUtf8(arg);
        args.removeLast(); // the terminator after the last argument
        starts << args;
    }
    return starts;
}

} // namespace

// Reading release answers and building the updater's command line; the real start of a
// detached program stands in for the updater.
class TestAppVersionInfo : public QObject
{
    Q_OBJECT
private slots:
    void decisionFollowsHasUpdateAndAppId_data();
    void decisionFollowsHasUpdateAndAppId();
    void fieldsAreReadWithDefaultsAndLowerCaseMd5_data();
    void fieldsAreReadWithDefaultsAndLowerCaseMd5();
    void untrustworthyFieldsMakeTheUpdateUnusable_data();
    void untrustworthyFieldsMakeTheUpdateUnusable();
    void malformedDocumentsAreNoUpdate_data();
    void malformedDocumentsAreNoUpdate();
    void travelsThroughQueuedSignalsAndVariants();
    void updaterArgumentsAreNameAndCompactSortedJson();
    void updaterReceivesArgumentsIntactFromPathWithSpaces();
    void garbageOrMissingProgramIsNotStarted();
};

void TestAppVersionInfo::decisionFollowsHasUpdateAndAppId_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("update");

    QTest::newRow("string true, no user_defined") << release("{}") << true;
    QTest::newRow("boolean true") << release(R"({"has_update":true})") << true;
    QTest::newRow("string false") << release(R"({"has_update":"false"})") << false;
    QTest::newRow("boolean false") << release(R"({"has_update":false})") << false;
    QTest::newRow("other case") << release(R"({"has_update":"TRUE"})") << false;
    QTest::newRow("number 1") << release(R"({"has_update":1})") << false;
    QTest::newRow("missing") << release(R"({"has_update":"<remove>"})") << false;
    QTest::newRow("app id 18") << release(R"({"user_defined":"{\"app_id\":\"18\"}"})") << true;
    QTest::newRow("app id 17") << release(R"({"user_defined":"{\"app_id\":\"17\"}"})") << false;
    QTest::newRow("numeric app id 17") << release(R"({"user_defined":"{\"app_id\":17}"})") << false;
    QTest::newRow("numeric app id 18") << release(R"({"user_defined":"{\"app_id\":18}"})") << true;
    QTest::newRow("empty app id") << release(R"({"user_defined":"{\"app_id\":\"\"}"})") << true;
    QTest::newRow("user_defined without app id")
        << release(R"({"user_defined":"{\"x\":1}"})") << true;
    QTest::newRow("user_defined not JSON") << release(R"({"user_defined":"app_id=17"})") << true;
    QTest::newRow("user_defined an object, not text")
        << release(R"({"user_defined":{"app_id":"17"}})") << true;
}

void TestAppVersionInfo::decisionFollowsHasUpdateAndAppId()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, update);
    AppVersionInfo info;
    info.setPackageName(QStringLiteral("untouched"));
    const auto verdict =
        AppVersionInfo::fromReleaseAnswer(answer(data), QStringLiteral("18"), &info);
    QCOMPARE(verdict, update ? AppVersionInfo::Verdict::Update : AppVersionInfo::Verdict::NoUpdate);
    QCOMPARE(info.packageName(),
             update ? QStringLiteral("launcher_2.3.4.0.7z") : QStringLiteral("untouched"));
}

void TestAppVersionInfo::fieldsAreReadWithDefaultsAndLowerCaseMd5_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("type");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("md5");

    QTest::newRow("as sent") << release("{}") << 1 << qint64(123456) << kMd5;
    QTest::newRow("compulsory") << release(R"({"update_type":2})") << 2 << qint64(123456) << kMd5;
    QTest::newRow("type as text") << release(R"({"update_type":"2"})") << 2 << qint64(123456)
                                  << kMd5;
    QTest::newRow("type missing") << release(R"({"update_type":"<remove>"})") << 1 << qint64(123456)
                                  << kMd5;
    QTest::newRow("type out of range")
        << release(R"({"update_type":1e20})") << 1 << qint64(123456) << kMd5;
    QTest::newRow("type beyond int")
        << release(R"({"update_type":4294967298})") << 1 << qint64(123456) << kMd5;
    QTest::newRow("type an object")
        << release(R"({"update_type":{"a":2}})") << 1 << qint64(123456) << kMd5;
    QTest::newRow("size as digits")
        << release(R"({"package_size":"9876543210"})") << 1 << qint64(9876543210LL) << kMd5;
    QTest::newRow("size missing") << release(R"({"package_size":"<remove>"})") << 1 << qint64(0)
                                  << kMd5;
    QTest::newRow("size beyond the disk")
        << release(R"({"package_size":4e18})") << 1 << qint64(4000000000000000000LL) << kMd5;
    // Not checked, as the updater reads an empty digest.
    QTest::newRow("md5 empty") << release(R"({"package_md5":""})") << 1 << qint64(123456)
                               << QString();
    QTest::newRow("md5 missing") << release(R"({"package_md5":"<remove>"})") << 1 << qint64(123456)
                                 << QString();
    QTest::newRow("md5 upper case")
        << release(R"({"package_md5":"0123456789ABCDEF0123456789ABCDEF"})") << 1 << qint64(123456)
        << kMd5;
}

void TestAppVersionInfo::fieldsAreReadWithDefaultsAndLowerCaseMd5()
{
    QFETCH(QByteArray, data);
    AppVersionInfo info;
    QString why;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(answer(data), QStringLiteral("18"), &info, &why),
             AppVersionInfo::Verdict::Update);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QTEST(info.updateType(), "type");
    QTEST(info.packageSize(), "size");
    QTEST(info.packageMd5(), "md5");
    QCOMPARE(info.packageVersion(), QStringLiteral("2.3.4.0"));
    QCOMPARE(info.packageUrl(), QStringLiteral("https://cdn.example.com/l/launcher_2.3.4.0.7z"));
}

void TestAppVersionInfo::untrustworthyFieldsMakeTheUpdateUnusable_data()
{
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("negative size") << release(R"({"package_size":-1})");
    QTest::newRow("fractional size") << release(R"({"package_size":12.5})");
    QTest::newRow("size beyond qint64") << release(R"({"package_size":1e300})");
    QTest::newRow("size with letters") << release(R"({"package_size":"12abc"})");
    QTest::newRow("size digits beyond qint64")
        << release(R"({"package_size":"99999999999999999999999"})");
    QTest::newRow("size a list") << release(R"({"package_size":[1]})");
    QTest::newRow("url missing") << release(R"({"package_url":"<remove>"})");
    QTest::newRow("url a number") << release(R"({"package_url":5})");
    QTest::newRow("url not http") << release(R"({"package_url":"file:///etc/passwd"})");
    QTest::newRow("url relative") << release(R"({"package_url":"launcher.7z"})");
    QTest::newRow("url names no file") << release(R"({"package_url":"https://cdn.example.com/"})");
    QTest::newRow("host with a space") << release(R"({"package_url":"https://cdn.ex ample/a.7z"})");
    QTest::newRow("md5 too short") << release(R"({"package_md5":"0123abcd"})");
    QTest::newRow("md5 not hex") << release(
        R"({"package_md5":"0123456789abcdef0123456789abcdeg"})");
    QTest::newRow("md5 with a quote")
        << release(R"({"package_md5":"0123456789abcdef0123456789abcd\"f"})");
}

void TestAppVersionInfo::untrustworthyFieldsMakeTheUpdateUnusable()
{
    QFETCH(QByteArray, data);
    AppVersionInfo info;
    QString why;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(answer(data), QStringLiteral("18"), &info, &why),
             AppVersionInfo::Verdict::Unusable);
    QVERIFY(!why.isEmpty());
    QVERIFY(!info.isUsable());
    // The start refuses it as well, whoever calls it.
    QVERIFY(!UpdateProgram::startUpdater(info, QStringLiteral("/bin/true")));
}

void TestAppVersionInfo::malformedDocumentsAreNoUpdate_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("empty document") << QByteArray();
    QTest::newRow("array") << QByteArray(R"([{"data":{"has_update":"true"}}])");
    QTest::newRow("no data") << QByteArray(R"({"has_update":"true"})");
    QTest::newRow("data a string") << QByteArray(R"({"data":"has_update"})");
    QTest::newRow("data a list") << QByteArray(R"({"data":[true]})");
    QTest::newRow("has_update an object") << QByteArray(R"({"data":{"has_update":{"a":1}}})");
    QTest::newRow("deep nesting") << QByteArray(
        R"({"data":{"has_update":[[[[[[[[[[[[[[[["true"]]]]]]]]]]]]]]]]}})");
}

void TestAppVersionInfo::malformedDocumentsAreNoUpdate()
{
    QFETCH(QByteArray, body);
    AppVersionInfo info;
    QCOMPARE(AppVersionInfo::fromReleaseAnswer(QJsonDocument::fromJson(body), QStringLiteral("18"),
                                               &info),
             AppVersionInfo::Verdict::NoUpdate);
    QCOMPARE(info, AppVersionInfo());
}

void TestAppVersionInfo::travelsThroughQueuedSignalsAndVariants()
{
    UpdateProgram program; // registers the type
    AppVersionInfo sent;
    QVERIFY(AppVersionInfo::fromReleaseAnswer(answer(release(R"({"update_type":2})")),
                                              QStringLiteral("18"),
                                              &sent) == AppVersionInfo::Verdict::Update);
    QSignalSpy spy(&program, &UpdateProgram::startUpdate);
    QVERIFY(QMetaObject::invokeMethod(&program, "startUpdate", Qt::QueuedConnection,
                                      Q_ARG(AppVersionInfo, sent)));
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<AppVersionInfo>(), sent);
    QCOMPARE(QVariant::fromValue(sent).value<AppVersionInfo>().updateType(), 2);
}

void TestAppVersionInfo::updaterArgumentsAreNameAndCompactSortedJson()
{
    AppVersionInfo info;
    info.setPackageUrl(QStringLiteral("https://cdn.example.com/l/启动器 2.7z?a=1&b=\"x\""));
    info.setPackageMd5(QStringLiteral("ABCDEF0123456789ABCDEF0123456789"));
    const QString launcher = QStringLiteral("/opt/Lun mere/启动器/\"q\\uote/launcher");
    const QStringList args = UpdateProgram::updaterArguments(info, launcher, "pt-pt");

    QCOMPARE(args.size(), 2);
    QCOMPARE(args.at(0), QStringLiteral("Lunmere"));
    // The exact text: compact, keys sorted, quotes and backslashes escaped, UTF-8 kept.
    QCOMPARE(
        args.at(1),
        QStringLiteral("{\"exe_dir\":\"/opt/Lun mere/启动器/\\\"q\\\\uote/launcher\","
                       "\"lang\":\"pt-pt\","
                       "\"pkg_md5\":\"abcdef0123456789abcdef0123456789\","
                       "\"pkg_url\":\"https://cdn.example.com/l/启动器 2.7z?a=1&b=\\\"x\\\"\"}"));
    // And what the updater reads back from it is what went in.
    const QJsonObject back = QJsonDocument::fromJson(args.at(1).toUtf8()).object();
    QCOMPARE(back.value("exe_dir").toString(), launcher);
    QCOMPARE(back.value("pkg_url").toString(), info.packageUrl());
}

void TestAppVersionInfo::updaterReceivesArgumentsIntactFromPathWithSpaces()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("Lun mere 启动器/updateProgram"));
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/Update");
    const QString log = dir.filePath(QStringLiteral("starts.log"));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    // One line per start, each argument NUL-terminated; written whole, then moved in place.
    script.write("#!/bin/sh\n"
                 "tmp=\"$STARTS_LOG.$$\"\n"
                 "printf '%s\\0' \"$@\" > \"$tmp\"\n"
                 "printf '\\n' >> \"$tmp\"\n"
                 "cat \"$tmp\" >> \"$STARTS_LOG\" && rm -f \"$tmp\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("STARTS_LOG", QFile::encodeName(log));

    AppEnvironment::setCurrentLanguageCode(QStringLiteral("ja-jp"));
    AppVersionInfo info;
    info.setPackageUrl(QStringLiteral("http://127.0.0.1:1/pkg/launcher 2.3.4.0.7z"));
    info.setPackageMd5(kMd5);
    info.setPackageSize(10);
    QVERIFY(UpdateProgram::startUpdater(info, program));

    QTRY_COMPARE(recordedStarts(log).size(), 1);
    const QStringList args = recordedStarts(log).first();
    QCOMPARE(args.size(), 2);
    QCOMPARE(args.at(0), QStringLiteral("Lunmere"));
    const QJsonObject json = QJsonDocument::fromJson(args.at(1).toUtf8()).object();
    QCOMPARE(json.keys(), QStringList({"exe_dir", "lang", "pkg_md5", "pkg_url"}));
    QCOMPARE(json.value("exe_dir").toString(), QCoreApplication::applicationFilePath());
    QVERIFY(!json.value("exe_dir").toString().contains(QLatin1Char('\\')));
    QCOMPARE(json.value("lang").toString(), QStringLiteral("ja-jp"));
    QCOMPARE(json.value("pkg_md5").toString(), kMd5);
    QCOMPARE(json.value("pkg_url").toString(), info.packageUrl());
}

void TestAppVersionInfo::garbageOrMissingProgramIsNotStarted()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    AppVersionInfo info;
    info.setPackageUrl(QStringLiteral("http://127.0.0.1:1/launcher.7z"));
    info.setPackageMd5(kMd5);
    QVERIFY(!UpdateProgram::startUpdater(info, dir.filePath(QStringLiteral("no/Update"))));

    // The default program is the updater in the launcher's own folder, whatever the
    // working folder.
    QVERIFY(QDir::setCurrent(dir.path()));
    QCOMPARE(UpdateProgram::updaterPath(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/updateProgram/Update"));
}

QTEST_GUILESS_MAIN(TestAppVersionInfo)
#include "tst_appversioninfo.moc"
