#include <QtTest>

#include <QFile>
#include <QNetworkProxyFactory>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "buildconfig.h"
#include "launcherconfig.h"
#include "unprivileged.h"

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

// Values as another reader (the game, the next launcher run) sees them on disk.
QVariant onDisk(const QString &path, const QString &key)
{
    QSettings settings(path, QSettings::IniFormat);
    return settings.value(key);
}

bool onDiskContains(const QString &path, const QString &key)
{
    QSettings settings(path, QSettings::IniFormat);
    return settings.contains(key);
}

} // namespace

class TestLauncherConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFileGetsChannelDefaults();
    void emptyChannelKeysReadAsDefaults();
    void defaultStepKeepsGameCpsAndLeavesLauncherFileAlone();
    void defaultStepFillsEmptyGameKeyThenLauncherKey();
    void versionWriteThenDefaultStepYieldsVelmora();
    void gameVersionIsCachedOnlyOnceFound();
    void noInstallPathSkipsGameFile();
    void genericAccessHonoursGroupsAndDefaults();
    void commaValueIsNotTakenForAbsent();
    void serviceAddressesOverrideAndStripSlash();
    void invalidServiceOverrideFallsBackToDefault();
    void proxyChoiceDecidesSystemProxy();
    void instanceFollowsInstanceFilePath();

    void notIniFileIsKeptAndOtherKeysSurvive();
    void readOnlyFileKeepsContentAndReportsAccessError();
    void readOnlyFolderKeepsContentAndReportsAccessError();
    void notIniGameFileIsKeptBeforeVersionWrite();
    void readOnlyGameFolderStillCachesVersion();

private:
    QString launcherFile() const { return m_dir->filePath(QStringLiteral("launcher/config.ini")); }
    QString gameFolder() const { return m_dir->filePath(QStringLiteral("game")); }
    QString gameFile() const { return gameFolder() + QLatin1String("/config.ini"); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLauncherConfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("launcher")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("game")));
}

void TestLauncherConfig::cleanup()
{
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    if (QTest::currentTestFailed())
        qWarning() << "kept" << m_dir->path();
    m_dir.reset();
}

void TestLauncherConfig::newFileGetsChannelDefaults()
{
    LauncherConfig config(launcherFile());
    QCOMPARE(onDisk(launcherFile(), "cps").toString(), QStringLiteral("velmora"));
    QCOMPARE(onDisk(launcherFile(), "channel").toString(), QStringLiteral("1"));
    QCOMPARE(onDisk(launcherFile(), "sub_channel").toString(), QStringLiteral("1"));
    // Keys without a group live in the General section.
    QVERIFY(readAll(launcherFile()).startsWith("[General]\n"));
    QVERIFY(config.installPath().isNull());
    QCOMPARE(config.lastWriteStatus(), QSettings::NoError);
}

void TestLauncherConfig::emptyChannelKeysReadAsDefaults()
{
    LauncherConfig config(launcherFile());
    config.writeString("channel", QString());
    config.writeString("sub_channel", QString());
    config.writeString("cps", QString());
    QCOMPARE(onDisk(launcherFile(), "channel").toString(), QString());
    QCOMPARE(config.channel(), QStringLiteral("1"));
    QCOMPARE(config.subChannel(), QStringLiteral("1"));
    QCOMPARE(config.cps(), QStringLiteral("velmora"));

    config.writeString("channel", "7");
    QCOMPARE(config.channel(), QStringLiteral("7"));

    // A file whose channel is present but empty is filled by the next start's default step.
    LauncherConfig again(launcherFile());
    QCOMPARE(onDisk(launcherFile(), "sub_channel").toString(), QStringLiteral("1"));
    QCOMPARE(again.channel(), QStringLiteral("7"));
}

void TestLauncherConfig::defaultStepKeepsGameCpsAndLeavesLauncherFileAlone()
{
    writeFile(launcherFile(), "[General]\ngame_install_path=" + gameFolder().toUtf8() + "\n");
    writeFile(gameFile(), "[General]\ncps=partner\n");

    LauncherConfig config(launcherFile());
    QCOMPARE(onDisk(gameFile(), "cps").toString(), QStringLiteral("partner"));
    QVERIFY2(!onDiskContains(launcherFile(), "cps"),
             "the launcher file must not be looked at once the game file has cps");
    // The channel keys were absent from the game file: both files got them.
    QCOMPARE(onDisk(gameFile(), "channel").toString(), QStringLiteral("1"));
    QCOMPARE(onDisk(launcherFile(), "channel").toString(), QStringLiteral("1"));
    // The launcher file has no cps, so the read falls back to the default.
    QCOMPARE(config.cps(), QStringLiteral("velmora"));
}

void TestLauncherConfig::defaultStepFillsEmptyGameKeyThenLauncherKey()
{
    LauncherConfig config(launcherFile());
    config.writeString("sub_channel", "9");
    config.setInstallPath(gameFolder());
    writeFile(gameFile(), "[General]\nsub_channel=\n");

    config.applyDefault("sub_channel", "1");
    QCOMPARE(onDisk(gameFile(), "sub_channel").toString(), QStringLiteral("1"));
    // A non-empty launcher value stays.
    QCOMPARE(onDisk(launcherFile(), "sub_channel").toString(), QStringLiteral("9"));
}

void TestLauncherConfig::versionWriteThenDefaultStepYieldsVelmora()
{
    LauncherConfig config(launcherFile());
    config.setInstallPath(gameFolder());
    QVERIFY(!QFile::exists(gameFile()));

    config.setGameVersion("1.4.2");
    QCOMPARE(onDisk(gameFile(), "game_version").toString(), QStringLiteral("1.4.2"));
    // The version write leaves an empty cps entry behind...
    QVERIFY(onDiskContains(gameFile(), "cps"));
    QCOMPARE(onDisk(gameFile(), "cps").toString(), QString());

    // ...which the view model's default steps after the installation fill.
    config.applyDefault("cps", "velmora");
    config.applyDefault("channel", "1");
    config.applyDefault("sub_channel", "1");
    QCOMPARE(onDisk(gameFile(), "cps").toString(), QStringLiteral("velmora"));
    QCOMPARE(onDisk(gameFile(), "channel").toString(), QStringLiteral("1"));
    QCOMPARE(onDisk(gameFile(), "sub_channel").toString(), QStringLiteral("1"));
    QCOMPARE(config.gameVersion(), QStringLiteral("1.4.2"));
}

void TestLauncherConfig::gameVersionIsCachedOnlyOnceFound()
{
    LauncherConfig config(launcherFile());
    config.setInstallPath(gameFolder());
    QFile::remove(gameFile());
    QCOMPARE(config.gameVersion(), QString());

    // An empty read is not cached: the game appears later (installed by hand, say).
    writeFile(gameFile(), "[General]\ngame_version=2.0.1\n");
    QCOMPARE(config.gameVersion(), QStringLiteral("2.0.1"));

    // Once found, the cache answers.
    writeFile(gameFile(), "[General]\ngame_version=9.9.9\n");
    QCOMPARE(config.gameVersion(), QStringLiteral("2.0.1"));
    config.setGameVersion("2.1.0");
    QCOMPARE(config.gameVersion(), QStringLiteral("2.1.0"));
    QCOMPARE(onDisk(gameFile(), "game_version").toString(), QStringLiteral("2.1.0"));
}

void TestLauncherConfig::noInstallPathSkipsGameFile()
{
    LauncherConfig config(launcherFile());
    QVERIFY(config.gameFilePath().isEmpty());
    QCOMPARE(config.gameVersion(), QString());
    config.setGameVersion("3.0");
    QCOMPARE(config.gameVersion(), QStringLiteral("3.0"));
    config.applyDefault("channel", "5");
    QCOMPARE(QDir(gameFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    QCOMPARE(QDir(m_dir->path() + "/launcher").entryList(QDir::Files), QStringList{"config.ini"});
}

void TestLauncherConfig::genericAccessHonoursGroupsAndDefaults()
{
    LauncherConfig config(launcherFile());
    QCOMPARE(config.readInt("exit_type"), 0);
    QCOMPARE(config.readString("new_version"), QString());
    QCOMPARE(config.readBool("is_first_exit", {}, true), true);
    QCOMPARE(config.readBool("is_auto_update"), false);

    config.writeInt("exit_type", 2);
    config.writeBool("is_first_exit", false);
    config.writeString("resource_url", "http://127.0.0.1:1", "services");
    QCOMPARE(config.readInt("exit_type"), 2);
    QCOMPARE(config.readBool("is_first_exit", {}, true), false);
    QCOMPARE(config.readString("resource_url", "services"), QStringLiteral("http://127.0.0.1:1"));
    QCOMPARE(config.readString("resource_url"), QString());
    QCOMPARE(onDisk(launcherFile(), "services/resource_url").toString(),
             QStringLiteral("http://127.0.0.1:1"));
    QCOMPARE(onDisk(launcherFile(), "exit_type").toInt(), 2);

    config.setInstallPath(gameFolder());
    QCOMPARE(config.installPath(), gameFolder());
    QCOMPARE(config.gameFilePath(), gameFile());
}

void TestLauncherConfig::commaValueIsNotTakenForAbsent()
{
    // Hand-edited: QSettings reads an unquoted comma value as a list.
    writeFile(launcherFile(), "[General]\ncps=alpha,beta\n");
    LauncherConfig config(launcherFile());
    QCOMPARE(config.cps(), QStringLiteral("alpha,beta"));
    QCOMPARE(config.readString("cps"), QStringLiteral("alpha,beta"));
    QCOMPARE(onDisk(launcherFile(), "cps").toStringList(), (QStringList{"alpha", "beta"}));
}

void TestLauncherConfig::serviceAddressesOverrideAndStripSlash()
{
    LauncherConfig config(launcherFile());
    QString resource = QStringLiteral(LAUNCHER_DEFAULT_RESOURCE_URL);
    while (resource.endsWith('/'))
        resource.chop(1);
    QCOMPARE(config.resourceUrl(), resource);
    QCOMPARE(config.apiUrl(), resource + "/zt7q_cn");
    QVERIFY(!config.releaseUrl().endsWith('/'));
    QVERIFY(config.releaseUrl().startsWith(QStringLiteral(LAUNCHER_DEFAULT_RELEASE_URL)));
    QVERIFY(config.reportUrl().startsWith(QStringLiteral(LAUNCHER_DEFAULT_REPORT_URL)));
    QVERIFY(config.webUrl().startsWith(QStringLiteral(LAUNCHER_DEFAULT_WEB_URL)));

    config.writeString("resource_url", "http://127.0.0.1:8123/", "services");
    config.writeString("release_url", "http://127.0.0.1:8124/base//", "services");
    config.writeString("report_url", "https://127.0.0.1:8125", "services");
    config.writeString("web_url", "http://localhost:8126/web/", "services");
    QCOMPARE(config.resourceUrl(), QStringLiteral("http://127.0.0.1:8123"));
    QCOMPARE(config.apiUrl(), QStringLiteral("http://127.0.0.1:8123/zt7q_cn"));
    QCOMPARE(config.releaseUrl(), QStringLiteral("http://127.0.0.1:8124/base"));
    QCOMPARE(config.reportUrl(), QStringLiteral("https://127.0.0.1:8125"));
    QCOMPARE(config.webUrl(), QStringLiteral("http://localhost:8126/web"));

    // The General section's keys of the same names are not overrides.
    config.writeString("web_url", "http://127.0.0.9:1");
    config.writeString("web_url", QString(), "services");
    QVERIFY(config.webUrl().startsWith(QStringLiteral(LAUNCHER_DEFAULT_WEB_URL)));
}

void TestLauncherConfig::invalidServiceOverrideFallsBackToDefault()
{
    LauncherConfig config(launcherFile());
    const QString builtIn = config.reportUrl();
    for (const char *bad : {"ftp://127.0.0.1/x", "127.0.0.1:8000", "not an address", "http://"}) {
        config.writeString("report_url", bad, "services");
        QCOMPARE(config.reportUrl(), builtIn);
    }
}

void TestLauncherConfig::proxyChoiceDecidesSystemProxy()
{
    LauncherConfig config(launcherFile());
    QCOMPARE(config.useSystemProxy(), false);
    config.writeString("proxy", "0");
    QCOMPARE(config.useSystemProxy(), false);

    QNetworkProxyFactory::setUseSystemConfiguration(true);
    config.writeBool("is_user_update", true);
    config.runStartupHousekeeping();
    QCOMPARE(QNetworkProxyFactory::usesSystemConfiguration(), false);
    QCOMPARE(onDisk(launcherFile(), "is_user_update").toBool(), false);

    // Edited by hand while the launcher runs: the second reader sees it.
    {
        QSettings byHand(launcherFile(), QSettings::IniFormat);
        byHand.setValue("proxy", "1");
    }
    QCOMPARE(config.useSystemProxy(), true);
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    config.runStartupHousekeeping();
    QCOMPARE(QNetworkProxyFactory::usesSystemConfiguration(), true);
}

void TestLauncherConfig::instanceFollowsInstanceFilePath()
{
    LauncherConfig::setInstanceFilePath(launcherFile());
    LauncherConfig *config = LauncherConfig::instance();
    QCOMPARE(LauncherConfig::instance(), config);
    QCOMPARE(config->filePath(), launcherFile());
    QCOMPARE(onDisk(launcherFile(), "cps").toString(), QStringLiteral("velmora"));
    config->setGameVersion("5.0");

    const QString other = m_dir->filePath("other.ini");
    LauncherConfig::setInstanceFilePath(other);
    QCOMPARE(LauncherConfig::instance(), config);
    QCOMPARE(config->filePath(), other);
    // Reopening starts from the new file's state, not the old cache.
    QCOMPARE(config->gameVersion(), QString());
    QCOMPARE(onDisk(other, "channel").toString(), QStringLiteral("1"));
    QCOMPARE(LauncherConfig::defaultFilePath(),
             QCoreApplication::applicationDirPath() + "/config.ini");
}

void TestLauncherConfig::notIniFileIsKeptAndOtherKeysSurvive()
{
    const QByteArray original = "[General]\ngame_install_path=/opt/game\nexit_type=1\n"
                                "{\"oops\": \"pasted json\"}\n\x01\x02\xff binary\n"
                                "[services]\nweb_url=http://127.0.0.1:9\n";
    writeFile(launcherFile(), original);

    LauncherConfig config(launcherFile());
    // What happens: the unreadable file is kept byte for byte beside it, the readable keys
    // stay in use and survive every rewrite.
    QCOMPARE(readAll(launcherFile() + ".bad"), original);
    QCOMPARE(config.installPath(), QStringLiteral("/opt/game"));
    config.writeString("new_version", "2.4.0.0");
    QCOMPARE(config.lastWriteStatus(), QSettings::NoError);
    QCOMPARE(onDisk(launcherFile(), "game_install_path").toString(), QStringLiteral("/opt/game"));
    QCOMPARE(onDisk(launcherFile(), "exit_type").toInt(), 1);
    QCOMPARE(onDisk(launcherFile(), "services/web_url").toString(),
             QStringLiteral("http://127.0.0.1:9"));
    QCOMPARE(onDisk(launcherFile(), "new_version").toString(), QStringLiteral("2.4.0.0"));
    QCOMPARE(config.webUrl(), QStringLiteral("http://127.0.0.1:9"));

    // Now valid INI: the next start keeps no further copy, and an older copy is never
    // overwritten by a new incident.
    LauncherConfig again(launcherFile());
    QVERIFY(!QFile::exists(launcherFile() + ".bad.2"));
    writeFile(launcherFile(), "this is not an ini file");
    LauncherConfig third(launcherFile());
    QCOMPARE(readAll(launcherFile() + ".bad"), original);
    QCOMPARE(readAll(launcherFile() + ".bad.2"), QByteArray("this is not an ini file"));
    QCOMPARE(third.channel(), QStringLiteral("1"));
}

void TestLauncherConfig::readOnlyFileKeepsContentAndReportsAccessError()
{
    const QByteArray original = "[General]\ncps=velmora\nchannel=3\nsub_channel=4\nexit_type=1\n";
    writeFile(launcherFile(), original);
    QVERIFY(Unprivileged::prepare(m_dir->path(), 0755));
    QVERIFY(Unprivileged::prepare(m_dir->filePath("launcher"), 0777));
    QVERIFY(Unprivileged::prepare(launcherFile(), 0444));

    Unprivileged scope;
    QVERIFY(scope.isEffective());
    LauncherConfig config(launcherFile());
    QCOMPARE(config.channel(), QStringLiteral("3"));
    config.writeInt("exit_type", 2);
    QCOMPARE(config.lastWriteStatus(), QSettings::AccessError);
    // The value lives on for this run; the file is untouched.
    QCOMPARE(config.readInt("exit_type"), 2);
    QCOMPARE(readAll(launcherFile()), original);
}

void TestLauncherConfig::readOnlyFolderKeepsContentAndReportsAccessError()
{
    const QByteArray original = "[General]\ncps=velmora\nchannel=3\nsub_channel=4\n";
    writeFile(launcherFile(), original);
    QVERIFY(Unprivileged::prepare(m_dir->path(), 0755));
    QVERIFY(Unprivileged::prepare(launcherFile(), 0644));
    QVERIFY(Unprivileged::prepare(m_dir->filePath("launcher"), 0555));

    {
        Unprivileged scope;
        QVERIFY(scope.isEffective());
        LauncherConfig config(launcherFile());
        config.setInstallPath(gameFolder());
        QCOMPARE(config.lastWriteStatus(), QSettings::AccessError);
        QCOMPARE(config.installPath(), gameFolder());
        QCOMPARE(readAll(launcherFile()), original);
        QCOMPARE(QDir(m_dir->filePath("launcher")).entryList(QDir::Files),
                 QStringList{"config.ini"});
    }
    QVERIFY(Unprivileged::prepare(m_dir->filePath("launcher"), 0755));
}

void TestLauncherConfig::notIniGameFileIsKeptBeforeVersionWrite()
{
    LauncherConfig config(launcherFile());
    config.setInstallPath(gameFolder());
    const QByteArray original = "<xml>not ini</xml>\ngame_version=0.9\n";
    writeFile(gameFile(), original);

    config.setGameVersion("1.0");
    QCOMPARE(readAll(gameFile() + ".bad"), original);
    QCOMPARE(onDisk(gameFile(), "game_version").toString(), QStringLiteral("1.0"));
}

void TestLauncherConfig::readOnlyGameFolderStillCachesVersion()
{
    const QByteArray original = "[General]\ngame_version=0.5\ncps=x\n";
    writeFile(gameFile(), original);
    QVERIFY(Unprivileged::prepare(m_dir->path(), 0755));
    QVERIFY(Unprivileged::prepare(m_dir->filePath("launcher"), 0777));
    QVERIFY(Unprivileged::prepare(gameFile(), 0644));
    QVERIFY(Unprivileged::prepare(gameFolder(), 0555));
    {
        Unprivileged scope;
        QVERIFY(scope.isEffective());
        LauncherConfig config(launcherFile());
        config.setInstallPath(gameFolder());
        QCOMPARE(config.lastWriteStatus(), QSettings::NoError);
        config.setGameVersion("0.6");
        QCOMPARE(config.gameVersion(), QStringLiteral("0.6"));
        QCOMPARE(readAll(gameFile()), original);
    }
    QVERIFY(Unprivileged::prepare(gameFolder(), 0755));
}

QTEST_GUILESS_MAIN(TestLauncherConfig)
#include "tst_launcherconfig.moc"
