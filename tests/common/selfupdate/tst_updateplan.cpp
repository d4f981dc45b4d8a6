// The launcher's hand-off to its updater, written by one program and read by the other, and
// what the updater makes of arguments that no launcher wrote.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "updateplan.h"

Q_DECLARE_METATYPE(UpdatePlan)

namespace {
QString json(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject launcherFields(const QString &exeDir, const QString &url)
{
    return {{"exe_dir", exeDir},
            {"lang", "de-de"},
            {"pkg_md5", "0123456789abcdef0123456789abcdef"},
            {"pkg_url", url}};
}
} // namespace

class TestUpdatePlan : public QObject
{
    Q_OBJECT
private slots:
    void readsBackWhatItWrites_data();
    void readsBackWhatItWrites();
    void hostileArgumentsAreUnusable_data();
    void hostileArgumentsAreUnusable();
};

void TestUpdatePlan::readsBackWhatItWrites_data()
{
    QTest::addColumn<UpdatePlan>("plan");
    QTest::addColumn<QStringList>("keys");

    UpdatePlan plain;
    plain.instance = "Lunmere";
    plain.launcherPath = "/opt/Lun mere/启动器/\"q\\uote/launcher";
    plain.languageCode = "pt-pt";
    plain.packageUrl = "https://cdn.example.com/l/启动器 2.7z?a=1&b=\"x\"";
    plain.packageMd5 = "abcdef0123456789abcdef0123456789";
    // Older updaters know only these four keys: an unsigned hand-off adds none.
    QTest::newRow("unsigned") << plain << QStringList{"exe_dir", "lang", "pkg_md5", "pkg_url"};

    UpdatePlan signedPlan = plain;
    signedPlan.signature = {{"key", "k1"}, {"sig", "c2ln"}, {"rollback", true}};
    signedPlan.signingKeys = {{"keys", QJsonArray{"a", "b"}}, {"sig", "cm9vdA=="}};
    QTest::newRow("signed") << signedPlan
                            << QStringList{"exe_dir",       "lang",    "pkg_md5",
                                           "pkg_signature", "pkg_url", "signing_keys"};
}

void TestUpdatePlan::readsBackWhatItWrites()
{
    QFETCH(UpdatePlan, plan);
    QFETCH(QStringList, keys);

    const QStringList arguments = plan.toArguments();
    QCOMPARE(arguments.size(), 2);
    QCOMPARE(arguments.at(0), plan.instance);
    QCOMPARE(QJsonDocument::fromJson(arguments.at(1).toUtf8()).object().keys(), keys);
    const std::optional<UpdatePlan> back = UpdatePlan::fromArguments(arguments);
    QVERIFY(back);
    QCOMPARE(back->instance, plan.instance);
    QCOMPARE(back->launcherPath, plan.launcherPath);
    QCOMPARE(back->languageCode, plan.languageCode);
    QCOMPARE(back->packageUrl, plan.packageUrl);
    QCOMPARE(back->packageMd5, plan.packageMd5);
    QCOMPARE(back->signature, plan.signature);
    QCOMPARE(back->signingKeys, plan.signingKeys);
    // Written again, byte for byte the same: nothing is lost or reordered on the way.
    QCOMPARE(back->toArguments(), arguments);
    QVERIFY(back->hasUsableLauncherPath());
    QVERIFY(back->hasUsablePackageUrl());
    QCOMPARE(back->addressFileName(), QStringLiteral("启动器 2.7z"));
}

void TestUpdatePlan::hostileArgumentsAreUnusable_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("launcherUsable");
    QTest::addColumn<bool>("urlUsable");

    const QString launcher = "/opt/lunmere/launcher";
    const QString url = "https://cdn.example.com/launcher.7z";
    const auto with = [](const QJsonObject &fields) {
        return QStringList{"Lunmere", json(fields)};
    };

    QTest::newRow("no JSON argument") << QStringList{"Lunmere"} << false << false << false;
    QTest::newRow("not JSON") << QStringList{"Lunmere", "{exe_dir: oops"} << true << false << false;
    QTest::newRow("array") << QStringList{"Lunmere", "[\"exe_dir\",\"/opt/x/launcher\"]"} << true
                           << false << false;
    QTest::newRow("missing fields") << with({{"lang", "de-de"}}) << true << false << false;
    QTest::newRow("wrong types") << with({{"exe_dir", 42},
                                          {"lang", QJsonArray{1}},
                                          {"pkg_url", true},
                                          {"pkg_signature", "text"}})
                                 << true << false << false;
    QTest::newRow("launcher path climbs with ..")
        << with(launcherFields("/opt/lunmere/../../home/user/launcher", url)) << true << false
        << true;
    QTest::newRow("launcher path with .")
        << with(launcherFields("/opt/lunmere/./launcher", url)) << true << false << true;
    QTest::newRow("relative launcher path")
        << with(launcherFields("../lunmere/launcher", url)) << true << false << true;
    QTest::newRow("local package")
        << with(launcherFields(launcher, "file:///etc/passwd")) << true << true << false;
    QTest::newRow("usable") << with(launcherFields(launcher, url)) << true << true << true;
}

void TestUpdatePlan::hostileArgumentsAreUnusable()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, readable);
    QFETCH(bool, launcherUsable);
    QFETCH(bool, urlUsable);

    const std::optional<UpdatePlan> plan = UpdatePlan::fromArguments(arguments);
    QCOMPARE(bool(plan), readable);
    if (!plan)
        return;
    QCOMPARE(plan->hasUsableLauncherPath(), launcherUsable);
    QCOMPARE(plan->hasUsablePackageUrl(), urlUsable);
    QVERIFY(plan->signature.isEmpty());
}

QTEST_GUILESS_MAIN(TestUpdatePlan)
#include "tst_updateplan.moc"
