// Start-up decisions of the updater, its languages and its routines around the launcher's
// process, run in-process with the program's end observed instead of taken.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "dlgprogress.h"
#include "fakelauncher.h"
#include "language.h"
#include "launcherprocess.h"
#include "modalanswerer.h"
#include "updatecontext.h"
#include "updatewindow.h"

namespace {
QString json(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString args(const QString &exeDir, const QString &url, const QString &lang = "xx-yy")
{
    QJsonObject params;
    params.insert(QStringLiteral("exe_dir"), exeDir);
    params.insert(QStringLiteral("lang"), lang);
    params.insert(QStringLiteral("pkg_md5"), QStringLiteral("0123456789abcdef0123456789abcdef"));
    params.insert(QStringLiteral("pkg_url"), url);
    return json(params);
}

QString windowText(const char *key)
{
    return QCoreApplication::translate("UpdateWindow", key);
}
} // namespace

class TestUpdateArguments : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void hostileArgumentsNeverStartAnything_data();
    void hostileArgumentsNeverStartAnything();
    void unusablePackageAddressReturnsToLauncher_data();
    void unusablePackageAddressReturnsToLauncher();
    void instanceNameWithoutParametersStartsNothing();
    void noArgumentsEndAtOnce();
    void launcherArgumentsAreAcceptedAndSetTheFolders();
    void packageFileStaysInItsFolder_data();
    void packageFileStaysInItsFolder();

    void languageCodesLoadTheirFiles();
    void shippedChineseAndEnglishTranslateEveryKey();

    void restartLauncherStartsItWithUpdate();
    void launcherImageNameFollowsEitherSeparator();
    void stopLauncherKillsALauncherThatStaysAndLeavesOthers();
    void lowerCaseProcessNameIsFound();

private:
    QString m_launcherDir;
    QString m_launcherPath;
    QList<int> m_exits;
    QTemporaryDir m_root;
};

void TestUpdateArguments::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_root.isValid());
    // The shipped translations, so the language tests read what the program reads.
    const QString updater = m_root.filePath(QStringLiteral("inst/updateProgram"));
    QVERIFY(QDir().mkpath(updater + QStringLiteral("/language")));
    const QDir shipped(qEnvironmentVariable("LAUNCHER_BIN_DIR") +
                       QStringLiteral("/updateProgram/language"));
    const QStringList files = shipped.entryList({QStringLiteral("*.qm")}, QDir::Files);
    QCOMPARE(files.size(), 13);
    for (const QString &file : files)
        QVERIFY(QFile::copy(shipped.filePath(file), updater + QStringLiteral("/language/") + file));
    UpdateContext::setUpdaterFolder(updater);
    m_launcherDir = m_root.filePath(QStringLiteral("inst"));
    m_launcherPath = m_launcherDir + QStringLiteral("/fakelauncher");
    LauncherProcess::setExitHandler([this](int code) { m_exits << code; });
}

void TestUpdateArguments::init()
{
    m_exits.clear();
    UpdateContext::setLauncherPath(QString());
    UpdateContext::setPackageFileName(QString());
    QFile::remove(FakeLauncher::recordPath(m_launcherDir));
    QVERIFY(FakeLauncher::write(m_launcherDir, QStringLiteral("fakelauncher"), "v1"));
}

void TestUpdateArguments::cleanup()
{
    m_root.setAutoRemove(!QTest::currentTestFailed());
}

void TestUpdateArguments::hostileArgumentsNeverStartAnything_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("shownPath");

    const QString url = QStringLiteral("http://127.0.0.1:9/launcher.7z");
    QTest::newRow("not JSON") << QStringLiteral("{exe_dir: oops") << QString();
    QTest::newRow("JSON array") << QStringLiteral("[\"a\",\"b\"]") << QString();
    QTest::newRow("empty object") << QStringLiteral("{}") << QString();
    QJsonObject wrongTypes;
    wrongTypes.insert(QStringLiteral("exe_dir"), 42);
    wrongTypes.insert(QStringLiteral("lang"), QJsonArray{1, 2});
    wrongTypes.insert(QStringLiteral("pkg_md5"), QJsonObject());
    wrongTypes.insert(QStringLiteral("pkg_url"), true);
    QTest::newRow("wrong types") << json(wrongTypes) << QString();
    QTest::newRow("relative path")
        << args(QStringLiteral("fakelauncher"), url) << QStringLiteral("fakelauncher");
    const QString upper = m_launcherDir + QStringLiteral("/fakelauncher.EXE");
    QTest::newRow("foreign suffix") << args(upper, url) << upper;
    QTest::newRow("folder") << args(m_launcherDir + QStringLiteral("/"), url)
                            << m_launcherDir + QStringLiteral("/");
    const QString huge = m_launcherDir + QStringLiteral("/") + QString(4 * 1024 * 1024, 'a') +
                         QStringLiteral(".bin");
    QTest::newRow("huge path") << args(huge, url) << huge.left(512) + QStringLiteral("...");
    QTest::newRow("markup in path") << args(QStringLiteral("<img src=x>/<b>l</b>.dll"), url)
                                    << QStringLiteral("<img src=x>/<b>l</b>.dll");
}

void TestUpdateArguments::hostileArgumentsNeverStartAnything()
{
    QFETCH(QString, parameters);
    QFETCH(QString, shownPath);
    QVERIFY(FakeLauncher::write(m_launcherDir, QStringLiteral("fakelauncher.EXE"), "v1"));

    UpdateWindow window({QStringLiteral("Update"), QStringLiteral("Lunmere"), parameters});
    ModalAnswerer answerer;
    QElapsedTimer clock;
    clock.start();
    window.initUpdate();

    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.texts().first(),
             windowText("message_main_process_parameter_abnormal") + shownPath);
    QCOMPARE(answerer.titles().first(), windowText("title_tip"));
    QCOMPARE(m_exits, QList<int>{0});
    // A started launcher ends the attempts at once; all three failed, so nothing ran.
    QVERIFY(clock.elapsed() >= 1400);
    QVERIFY(UpdateContext::launcherPath().isEmpty());
    QVERIFY(FakeLauncher::recorded(m_launcherDir).isEmpty());
    QCOMPARE(window.state(), int(UpdateWindow::None));
    QVERIFY(!window.progressDialog()->isVisible());
}

void TestUpdateArguments::unusablePackageAddressReturnsToLauncher_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("empty") << QString();
    QTest::newRow("local file") << QStringLiteral("file:///etc/passwd");
    QTest::newRow("no file name") << QStringLiteral("http://127.0.0.1:9/");
    QTest::newRow("other scheme") << QStringLiteral("ftp://127.0.0.1/launcher.7z");
    QTest::newRow("no host") << QStringLiteral("http:///launcher.7z");
    QTest::newRow("words") << QStringLiteral("not an address");
    QTest::newRow("huge") << QStringLiteral("http://") + QString(2 * 1024 * 1024, 'h');
}

void TestUpdateArguments::unusablePackageAddressReturnsToLauncher()
{
    QFETCH(QString, url);
    UpdateWindow window(
        {QStringLiteral("Update"), QStringLiteral("Lunmere"), args(m_launcherPath, url)});
    ModalAnswerer answerer;
    window.initUpdate();

    QCOMPARE(answerer.texts(), QStringList{windowText("message_update_address_abnormal")});
    QCOMPARE(answerer.cancelShown(), QList<bool>{false});
    QCOMPARE(m_exits, QList<int>{0});
    QTRY_COMPARE(FakeLauncher::recorded(m_launcherDir),
                 (QStringList{QStringLiteral("v1"), QStringLiteral("update")}));
    QCOMPARE(window.state(), int(UpdateWindow::None));
}

void TestUpdateArguments::instanceNameWithoutParametersStartsNothing()
{
    UpdateWindow window({QStringLiteral("Update"), QStringLiteral("Lunmere")});
    ModalAnswerer answerer;
    QElapsedTimer clock;
    clock.start();
    window.initUpdate();
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(m_exits, QList<int>{0});
    QVERIFY(clock.elapsed() >= 1400);
    QVERIFY(FakeLauncher::recorded(m_launcherDir).isEmpty());
}

void TestUpdateArguments::noArgumentsEndAtOnce()
{
    // Even a known launcher is not started when the updater was run by hand.
    UpdateContext::setLauncherPath(m_launcherPath);
    UpdateWindow window({QStringLiteral("Update")});
    ModalAnswerer answerer;
    window.initUpdate();
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(m_exits, QList<int>{0});
    QVERIFY(!window.progressDialog()->isVisible());
}

void TestUpdateArguments::launcherArgumentsAreAcceptedAndSetTheFolders()
{
    // What the launcher sends: compact JSON, keys in alphabetical order.
    const QString parameters =
        QStringLiteral("{\"exe_dir\":\"%1\",\"lang\":\"en-us\",\"pkg_md5\":\"abc\","
                       "\"pkg_url\":\"https://cdn.example/rel/launcher%202.3.4.7z?sig=1\"}")
            .arg(m_launcherPath);
    UpdateWindow window({QStringLiteral("Update"), QStringLiteral("Lunmere"), parameters,
                         QStringLiteral("ignored")});
    ModalAnswerer answerer;
    QVERIFY(window.parseArguments());
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(window.packageUrl(),
             QStringLiteral("https://cdn.example/rel/launcher%202.3.4.7z?sig=1"));
    QCOMPARE(window.packageMd5(), QStringLiteral("abc"));
    QCOMPARE(UpdateContext::launcherPath(), m_launcherPath);
    QCOMPARE(UpdateContext::packageFileName(), QStringLiteral("launcher 2.3.4.7z"));

    const QString updater = UpdateContext::updaterFolder();
    QCOMPARE(UpdateContext::launcherFolder(), m_launcherDir);
    QCOMPARE(UpdateContext::downloadFolder(), updater + QStringLiteral("/pkg"));
    QCOMPARE(UpdateContext::packageFile(), updater + QStringLiteral("/pkg/launcher 2.3.4.7z"));
    QCOMPARE(UpdateContext::extractionFolder(), updater + QStringLiteral("/updateData"));
    QCOMPARE(UpdateContext::backupFolder(), updater + QStringLiteral("/rollback"));
    // The language came with the arguments: the progress dialog already speaks it.
    auto *retry = window.progressDialog()->findChild<QPushButton *>(QStringLiteral("btnOk"));
    QVERIFY(retry);
    QCOMPARE(retry->text(), QStringLiteral("Retry"));
    QVERIFY(m_exits.isEmpty());
}

void TestUpdateArguments::packageFileStaysInItsFolder_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("name"); // empty: a name the updater makes
    QTest::newRow("package's name") << "https://cdn.example/rel/launcher%202.3.4.zip"
                                    << "launcher 2.3.4.zip";
    QTest::newRow("parent folder") << "http://127.0.0.1:9/rel/.."
                                   << "";
    QTest::newRow("encoded backslashes") << "http://127.0.0.1:9/rel/..%5C..%5Clauncher.7z"
                                         << "";
    QTest::newRow("encoded slash") << "http://127.0.0.1:9/rel/..%2F..%2Flauncher.7z"
                                   << "launcher.7z";
    QTest::newRow("the updater's own name") << "http://127.0.0.1:9/rel/Update"
                                            << "";
    QTest::newRow("hidden") << "http://127.0.0.1:9/rel/.launcher.7z"
                            << "";
}

void TestUpdateArguments::packageFileStaysInItsFolder()
{
    QFETCH(QString, url);
    QFETCH(QString, name);
    UpdateWindow window(
        {QStringLiteral("Update"), QStringLiteral("Lunmere"), args(m_launcherPath, url)});
    ModalAnswerer answerer;
    QVERIFY(window.parseArguments());
    const QString saved = UpdateContext::packageFileName();
    if (!name.isEmpty())
        QCOMPARE(saved, name);
    const QFileInfo file(UpdateContext::packageFile());
    QCOMPARE(file.absolutePath(), UpdateContext::downloadFolder());
    QVERIFY2(!saved.contains(QLatin1Char('\\')) && !saved.startsWith(QLatin1Char('.')),
             qPrintable(saved));
    QVERIFY2(QStringList({"7z", "zip", "rar"}).contains(file.suffix()), qPrintable(saved));
}

void TestUpdateArguments::languageCodesLoadTheirFiles()
{
    Language *language = Language::instance();
    QCOMPARE(Language::instance(), language);

    QVERIFY(language->loadLanguage(QString()));
    QCOMPARE(windowText("title_tip"), QStringLiteral("提示"));
    QVERIFY(language->loadLanguage(QStringLiteral("en-us")));
    QCOMPARE(windowText("title_tip"), QStringLiteral("Notice"));
    QCOMPARE(QCoreApplication::translate("CDlgYesNo", "button_cancle"), QStringLiteral("Cancel"));

    // Unknown codes (and the case of known ones matters) leave the keys showing.
    QVERIFY(!language->loadLanguage(QStringLiteral("en-gb")));
    QCOMPARE(windowText("title_tip"), QStringLiteral("title_tip"));
    QVERIFY(!language->loadLanguage(QStringLiteral("EN-US")));
    QVERIFY(!language->loadLanguage(QStringLiteral("../../etc/passwd")));

    const QStringList codes{"zh-cn", "zh-tw", "en-us", "pt-pt", "fr-fr", "de-de", "es-es",
                            "ru-ru", "ko-kr", "th-th", "id-id", "ja-jp", "vi-vn"};
    for (const QString &code : codes)
        QVERIFY2(language->loadLanguage(code), qPrintable(code));
    // The object's own code is not what was loaded last.
    QCOMPARE(language->languageCode(), QStringLiteral("zh-cn"));
    language->loadLanguage(QStringLiteral("xx-yy"));
}

void TestUpdateArguments::shippedChineseAndEnglishTranslateEveryKey()
{
    const QStringList needed{"title_tip",
                             "message_main_process_parameter_abnormal",
                             "message_update_address_abnormal",
                             "label_percent_sign",
                             "message_update_init_failed",
                             "button_redo",
                             "label_resource_downloading",
                             "title_download_error",
                             "label_file_unziping",
                             "title_unzip_error",
                             "message_create_backup_folder_failed",
                             "message_file_replace_exception",
                             "message_failed_create_backup_folder_try_again",
                             "label_file_replacing",
                             "title_update_success",
                             "message_click_button_open_launcher",
                             "button_open_launcher",
                             "title_file_replace_failed",
                             "message_updating_do_not_close",
                             "button_continue_update",
                             "button_close_update",
                             "label_update_failed",
                             "label_click_redo_update_launcher_again",
                             "message_minimizing_continue_update_launcher",
                             "button_confirm",
                             "button_cancle"};
    for (const QString &lang : {QStringLiteral("zh_cn"), QStringLiteral("en")}) {
        QFile file(qEnvironmentVariable("LAUNCHER_SOURCE_DIR") +
                   QStringLiteral("/translations/update/i18n_%1.ts").arg(lang));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList sources;
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
                sources << source;
            } else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QStringLiteral("type")).toString();
                const QString text = xml.readElementText();
                QVERIFY2(type.isEmpty() && !text.isEmpty() && text != source,
                         qPrintable(lang + QLatin1Char(' ') + source));
            }
        }
        QVERIFY(!xml.hasError());
        for (const QString &key : needed)
            QVERIFY2(sources.contains(key), qPrintable(lang + QLatin1Char(' ') + key));
    }
}

void TestUpdateArguments::restartLauncherStartsItWithUpdate()
{
    UpdateContext::setLauncherPath(m_launcherPath);
    LauncherProcess::restartLauncher();
    QCOMPARE(m_exits, QList<int>{0});
    QTRY_COMPARE(FakeLauncher::recorded(m_launcherDir),
                 (QStringList{QStringLiteral("v1"), QStringLiteral("update")}));
}

void TestUpdateArguments::launcherImageNameFollowsEitherSeparator()
{
    QCOMPARE(UpdateContext::imageName(QStringLiteral("D:\\Games\\launcher.exe")),
             QStringLiteral("launcher.exe"));
    QCOMPARE(UpdateContext::imageName(QStringLiteral("D:/Games\\sub/launcher.exe")),
             QStringLiteral("launcher.exe"));
    QCOMPARE(UpdateContext::imageName(QStringLiteral("/opt/lunmere/launcher")),
             QStringLiteral("launcher"));
}

void TestUpdateArguments::stopLauncherKillsALauncherThatStaysAndLeavesOthers()
{
    const QString name = QStringLiteral("upappstop%1").arg(QCoreApplication::applicationPid());
    QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("stop/inst"))));
    QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("stop/elsewhere"))));
    const QString path = m_root.filePath(QStringLiteral("stop/inst/") + name);
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), path));
    // Another program that shares the launcher's image name, and one whose name is longer.
    const QString samePath = m_root.filePath(QStringLiteral("stop/elsewhere/") + name);
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), samePath));
    const QString otherPath = m_root.filePath(QStringLiteral("stop/inst/") + name + "x");
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), otherPath));

    QProcess launcher, sameName, other;
    launcher.start(path, {QStringLiteral("60")});
    sameName.start(samePath, {QStringLiteral("60")});
    other.start(otherPath, {QStringLiteral("60")});
    QVERIFY(launcher.waitForStarted() && sameName.waitForStarted() && other.waitForStarted());
    QTRY_VERIFY(LauncherProcess::isLauncherRunning(path));
    QVERIFY(LauncherProcess::isProcessRunning(name));

    // The launcher path as given on the command line, through a link to its folder.
    const QString linked = m_root.filePath(QStringLiteral("stop/linked"));
    QVERIFY(QFile::link(m_root.filePath(QStringLiteral("stop/inst")), linked));
    UpdateContext::setLauncherPath(linked + QLatin1Char('/') + name);
    LauncherProcess::stopLauncher();
    QVERIFY(launcher.waitForFinished(5000));
    QCOMPARE(launcher.exitStatus(), QProcess::CrashExit);
    QVERIFY(!LauncherProcess::isLauncherRunning(path));
    QVERIFY(!sameName.waitForFinished(200));
    QVERIFY(!other.waitForFinished(200));

    // A launcher whose file was replaced while it ran is still the launcher.
    QProcess replaced;
    replaced.start(path, {QStringLiteral("60")});
    QVERIFY(replaced.waitForStarted());
    QTRY_VERIFY(LauncherProcess::isLauncherRunning(path));
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), path));
    UpdateContext::setLauncherPath(path);
    LauncherProcess::stopLauncher();
    QVERIFY(replaced.waitForFinished(5000));
    QVERIFY(!sameName.waitForFinished(200));
    sameName.kill();
    other.kill();
    QVERIFY(sameName.waitForFinished(5000) && other.waitForFinished(5000));

    // Nothing to stop: returns without waiting for anything.
    LauncherProcess::stopLauncher();
    QVERIFY(!LauncherProcess::isProcessRunning(QString()));
}

void TestUpdateArguments::lowerCaseProcessNameIsFound()
{
    const QString name = QStringLiteral("upapplower%1").arg(QCoreApplication::applicationPid());
    const QString path = m_root.filePath(name);
    QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), path));
    QProcess process;
    process.start(path, {QStringLiteral("60")});
    QVERIFY(process.waitForStarted());
    const QString mixed = QStringLiteral("UpAppLower%1").arg(QCoreApplication::applicationPid());
    QTRY_VERIFY(LauncherProcess::isProcessRunning(mixed));
    QVERIFY(!LauncherProcess::isProcessRunning(mixed + QStringLiteral("Z")));
    LauncherProcess::killProcess(mixed);
    QVERIFY(process.waitForFinished(5000));
    QVERIFY(!LauncherProcess::isProcessRunning(name));
}

QTEST_MAIN(TestUpdateArguments)
#include "tst_updatearguments.moc"
