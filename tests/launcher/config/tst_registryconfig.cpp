#include <QtTest>

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include "appenvironment.h"
#include "autostart.h"
#include "registryconfig.h"

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

const char kName[] = "Lunmere_Launcher";

} // namespace

class TestRegistryConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void autoStartOnRecordsRunningLauncher();
    void autoStartOffKeepsHiddenEntryAndQueryReturnsFalse();
    void movedLauncherRewritesEntry();
    void oddLauncherPathsSurviveExecQuoting();
    void handWrittenEntriesAreUnderstood();
    void displayVersionRewrittenOnlyWhenDifferent();
    void launcherVersionRewrittenOnlyWhenDifferent();
    void unreadableRegistryFileIsKept();

private:
    QString entryPath() const { return QString::fromStdString(platform::autoStartLocation(kName)); }
    QString registryFile() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
               "/registry.ini";
    }
};

void TestRegistryConfig::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(AppEnvironment::kOrganizationName);
    QCoreApplication::setApplicationName(AppEnvironment::kApplicationName);
    // The entry must land in the test's private home, never in a real session's autostart.
    QVERIFY2(entryPath().startsWith(QDir::homePath()) ||
                 entryPath().startsWith(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))),
             qPrintable(entryPath()));
    QCOMPARE(RegistryConfig::autoStartName(), QStringLiteral("Lunmere_Launcher"));
}

void TestRegistryConfig::init()
{
    QFile::remove(entryPath());
    QFile::remove(registryFile());
    QFile::remove(registryFile() + ".bad");
}

void TestRegistryConfig::autoStartOnRecordsRunningLauncher()
{
    RegistryConfig *registry = RegistryConfig::instance();
    QCOMPARE(RegistryConfig::instance(), registry);
    QCOMPARE(registry->isAutoStart(), false);
    QVERIFY2(!QFile::exists(entryPath()), "a query must not create the entry");

    registry->setAutoStart(true);
    QVERIFY(QFile::exists(entryPath()));
    QCOMPARE(registry->isAutoStart(), true);
    QCOMPARE(QString::fromStdString(platform::autoStartProgram(kName)),
             QCoreApplication::applicationFilePath());
    const QByteArray text = readAll(entryPath());
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    QVERIFY(text.contains("\nType=Application\n"));
    QVERIFY(text.contains("\nHidden=false\n"));
    QVERIFY(text.contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n"));
}

void TestRegistryConfig::autoStartOffKeepsHiddenEntryAndQueryReturnsFalse()
{
    RegistryConfig *registry = RegistryConfig::instance();
    registry->setAutoStart(true);
    registry->setAutoStart(false);
    QVERIFY2(QFile::exists(entryPath()), "switching off keeps the entry");
    QVERIFY(readAll(entryPath()).contains("\nHidden=true\n"));
    QCOMPARE(platform::autoStartProgram(kName), std::string());
    QCOMPARE(registry->isAutoStart(), false);
    // The query of a switched-off entry does not switch it back on.
    QVERIFY(readAll(entryPath()).contains("\nHidden=true\n"));

    registry->setAutoStart(true);
    QCOMPARE(registry->isAutoStart(), true);
}

void TestRegistryConfig::movedLauncherRewritesEntry()
{
    writeFile(entryPath(), "[Desktop Entry]\nType=Application\nName=Lunmere_Launcher\n"
                           "Exec=\"/old/place/Lunmere Launcher/launcher\"\nHidden=false\n");
    QCOMPARE(platform::autoStartProgram(kName),
             std::string("/old/place/Lunmere Launcher/launcher"));

    QCOMPARE(RegistryConfig::instance()->isAutoStart(), true);
    QCOMPARE(QString::fromStdString(platform::autoStartProgram(kName)),
             QCoreApplication::applicationFilePath());
    QVERIFY(!readAll(entryPath()).contains("/old/place"));
}

void TestRegistryConfig::oddLauncherPathsSurviveExecQuoting()
{
    const std::string odd = "/opt/My Games/$HOME \"x\" `y` 100%/back\\slash/launcher";
    QVERIFY(platform::setAutoStart(kName, odd, true));
    QCOMPARE(platform::autoStartProgram(kName), odd);
    // Exec quoting first (\$, \", \`, \\, %%), then the desktop string escape of "\".
    QVERIFY2(readAll(entryPath())
                 .contains("Exec=\"/opt/My Games/\\\\$HOME \\\\\"x\\\\\" \\\\`y\\\\` 100%%/"
                           "back\\\\\\\\slash/launcher\"\n"),
             readAll(entryPath()).constData());
}

void TestRegistryConfig::handWrittenEntriesAreUnderstood()
{
    writeFile(entryPath(), "# added by hand\n[Desktop Entry]\nName=x\n"
                           "Exec=/usr/games/launcher --minimized %U\n"
                           "[Desktop Action other]\nExec=/elsewhere\nHidden=true\n");
    QCOMPARE(platform::autoStartProgram(kName), std::string("/usr/games/launcher"));

    writeFile(entryPath(), "[Desktop Entry]\nExec=/usr/games/launcher\nHidden=true\n");
    QCOMPARE(platform::autoStartProgram(kName), std::string());

    writeFile(entryPath(), "[Desktop Entry]\nName=no exec\n");
    QCOMPARE(RegistryConfig::instance()->isAutoStart(), false);

    writeFile(entryPath(), QByteArray("\x00\xff\xfe garbage", 12));
    QCOMPARE(RegistryConfig::instance()->isAutoStart(), false);
}

void TestRegistryConfig::displayVersionRewrittenOnlyWhenDifferent()
{
    RegistryConfig *registry = RegistryConfig::instance();
    QCOMPARE(registry->displayVersion(), QString());
    registry->updateDisplayVersion();
    QCOMPARE(registry->displayVersion(), QStringLiteral("2.3.3.0"));
    {
        QSettings stored(registryFile(), QSettings::IniFormat);
        QCOMPARE(stored
                     .value("HKEY_LOCAL_MACHINE/Software/Microsoft/Windows/CurrentVersion/"
                            "Uninstall/Lunmere/DisplayVersion")
                     .toString(),
                 QStringLiteral("2.3.3.0"));
    }

    // QSettings drops comments when it rewrites a file: a surviving comment proves the
    // equal value was left alone.
    const QByteArray equal = "; untouched\n[HKEY_LOCAL_MACHINE]\n"
                             "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lunmere\\"
                             "DisplayVersion=2.3.3.0\n";
    writeFile(registryFile(), equal);
    registry->updateDisplayVersion();
    QCOMPARE(readAll(registryFile()), equal);

    // A different length: QSettings' file cache notices edits by size and time stamp.
    QByteArray older = equal;
    older.replace("2.3.3.0", "2.3.2");
    writeFile(registryFile(), older);
    QCOMPARE(registry->displayVersion(), QStringLiteral("2.3.2"));
    registry->updateDisplayVersion();
    QCOMPARE(registry->displayVersion(), QStringLiteral("2.3.3.0"));
    QVERIFY(!readAll(registryFile()).contains("untouched"));
}

void TestRegistryConfig::launcherVersionRewrittenOnlyWhenDifferent()
{
    RegistryConfig *registry = RegistryConfig::instance();
    registry->updateLauncherVersion();
    QCOMPARE(registry->launcherVersion(), QStringLiteral("2.3.3.0"));
    // The two keys are separate groups: one does not stand in for the other.
    QCOMPARE(registry->displayVersion(), QString());

    const QByteArray equal =
        "; untouched\n[HKEY_LOCAL_MACHINE]\nSoftware\\launcher\\Version=2.3.3.0\n";
    writeFile(registryFile(), equal);
    registry->updateLauncherVersion();
    QCOMPARE(readAll(registryFile()), equal);

    writeFile(registryFile(), "[HKEY_LOCAL_MACHINE]\nSoftware\\launcher\\Version=\n");
    registry->updateLauncherVersion();
    QCOMPARE(registry->launcherVersion(), QStringLiteral("2.3.3.0"));
}

void TestRegistryConfig::unreadableRegistryFileIsKept()
{
    const QByteArray junk =
        "{\"not\": \"ini\"}\n[HKEY_LOCAL_MACHINE]\nSoftware\\launcher\\Version=1.0\n";
    writeFile(registryFile(), junk);
    RegistryConfig::instance()->updateLauncherVersion();
    QCOMPARE(readAll(registryFile() + ".bad"), junk);
    QCOMPARE(RegistryConfig::instance()->launcherVersion(), QStringLiteral("2.3.3.0"));
}

QTEST_GUILESS_MAIN(TestRegistryConfig)
#include "tst_registryconfig.moc"
