// A replacement of the launcher's files cut short, with the real programs: the updater killed
// at points spread over the replacement, or a step failing and the player giving up; each
// time the player's next start of the launcher must find its folder wholly old or wholly new.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <QUrl>
#include <QtTest>

#include <csignal>
#include <memory>

#include "httptestserver.h"
#include "launcherprocess.h"
#include "fileentries.h"
#include "modalanswerer.h"
#include "namedmutex.h"
#include "processes.h"
#include "transfertestutil.h"
#include "updatecontext.h"
#include "updatewindow.h"

using namespace TransferTest;

namespace {
const char kFault[] = "LUNMERE_UPDATE_FAULT";

// Everything of the install but the updater's own folder (its working folders come and go)
// and the configuration, which the launcher itself writes when it starts.
QMap<QString, QByteArray> launcherFiles(const QString &install)
{
    QMap<QString, QByteArray> files = snapshot(install);
    files.remove(QStringLiteral("config.ini"));
    files.remove(QStringLiteral("config.ini.lock"));
    // A launcher killed while it saves its settings leaves QSettings' temporary copy.
    for (auto it = files.begin(); it != files.end();)
        it = it.key().startsWith(QLatin1String("config.ini.")) ? files.erase(it) : ++it;
    for (auto it = files.begin(); it != files.end();) {
        if (it.key().startsWith(QLatin1String("updateProgram/")))
            it = files.erase(it);
        else
            ++it;
    }
    return files;
}

bool copyTree(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}) == 0;
}

// Up to count points spread evenly over 1..total.
QList<int> spread(int total, int count)
{
    QList<int> points;
    for (int i = 0; i < count; ++i) {
        const int point = 1 + int(qint64(total - 1) * i / qMax(1, count - 1));
        if (points.isEmpty() || points.last() != point)
            points.append(point);
    }
    return points;
}
} // namespace

class TestUpdateRecovery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void killedUpdaterLeavesTheLauncherWhollyOldOrWhollyNew();
    void failedStepThenGivingUpLeavesTheLauncherWhollyOld();
    void interlockIsNotInheritedByTheLauncherNorItsGame();
    void heldFileEndsTheUndoWithAWayOutAndTheNextStartFinishes_data();
    void heldFileEndsTheUndoWithAWayOutAndTheNextStartFinishes();
    void hostileJournalIsRecoveredInsideTheFolder_data();
    void hostileJournalIsRecoveredInsideTheFolder();
    void linkedWorkingFolderIsNeverFollowed_data();
    void linkedWorkingFolderIsNeverFollowed();

private:
    // A replacement cut short after data/a.txt was replaced and data/added/b.txt added, its
    // originals in rollback/ (the journal is the caller's).
    void halfReplaced();
    // Starts the launcher in the install and waits until its start-up recovery has ended;
    // returns what it wrote on its error stream.
    QString launcherStartUp();
    QStringList updaterArguments(const QString &instance) const;
    // The folder as a kill left it, after the launcher started there as a player starts it.
    QString checkAfterLauncherStart(int point);
    void resetInstall() { QVERIFY(copyTree(m_template, m_install)); }

    QTemporaryDir m_root;
    QString m_template;
    QString m_install;
    QString m_launcher;
    QString m_journal;
    QMap<QString, QByteArray> m_old;
    QMap<QString, QByteArray> m_new;
    HttpTestServer m_server;
    QString m_packageMd5;
    int m_steps = 0;
    QList<int> m_exits;
};

void TestUpdateRecovery::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_root.isValid());
    LauncherProcess::setExitHandler([this](int code) { m_exits << code; });
    const QString bin = qEnvironmentVariable("LAUNCHER_BIN_DIR");
    // The shipped layout, pointed at a closed port so the launcher never goes online.
    m_template = m_root.filePath(QStringLiteral("template"));
    QVERIFY(QDir().mkpath(m_template + "/updateProgram"));
    QVERIFY(copyTree(bin + "/language", m_template + "/language"));
    QVERIFY(QFile::copy(bin + "/launcher", m_template + "/launcher"));
    QVERIFY(QFile::copy(QStringLiteral(UPDATER_BIN), m_template + "/updateProgram/Update"));
    {
        QSettings config(m_template + "/config.ini", QSettings::IniFormat);
        for (const char *key : {"resource_url", "release_url", "report_url", "web_url"})
            config.setValue(QStringLiteral("services/") + key, "http://127.0.0.1:9");
    }
    QVERIFY(writeFile(m_template + "/.version", "2.3.3.0"));
    QVERIFY(writeFile(m_template + "/data/a.txt", "old a"));
    QVERIFY(writeFile(m_template + "/data/same.txt", "same"));
    QVERIFY(writeFile(m_template + "/lib/libfoo.so.1", "the real library"));
    QVERIFY(makeLink("libfoo.so.1", m_template + "/lib/libfoo.so"));

    // The new launcher still runs: an ELF file ignores bytes appended to it.
    const QString fresh = m_root.filePath(QStringLiteral("fresh"));
    QVERIFY(writeFile(fresh + "/launcher", readFile(bin + "/launcher") + "\nnew launcher\n"));
    QVERIFY(QFile::setPermissions(fresh + "/launcher", QFile(bin + "/launcher").permissions()));
    QVERIFY(writeFile(fresh + "/.version", "2.4.0.0"));
    QVERIFY(writeFile(fresh + "/data/a.txt", "new a"));
    QVERIFY(writeFile(fresh + "/data/same.txt", "same"));
    QVERIFY(writeFile(fresh + "/data/added/b.txt", "added b"));
    QVERIFY(writeFile(fresh + "/lib/libfoo.so", "libfoo.so.1"));
    QVERIFY(writeFile(fresh + "/translations/new.qm", noise(300000, 3)));
    const QString archive = m_root.filePath(QStringLiteral("launcher.7z"));
    // Fast compression: on a loaded machine the default level outlasts sevenZip's minute.
    QVERIFY(sevenZip(archive, fresh, {QStringLiteral("-mx=1")}));
    m_packageMd5 = md5Hex(readFile(archive));
    QVERIFY(m_server.listen());
    m_server.serveFile(QStringLiteral("/launcher.7z"), archive);

    m_install = m_root.filePath(QStringLiteral("inst"));
    m_launcher = m_install + "/launcher";
    m_journal = m_install + "/updateProgram/rollback.journal";
    m_old = launcherFiles(m_template);
    m_new = m_old;
    const auto package = snapshot(fresh);
    for (auto it = package.cbegin(); it != package.cend(); ++it)
        m_new.insert(it.key(), it.value());
}

void TestUpdateRecovery::cleanup()
{
    qunsetenv(kFault);
    platform::killProcessesByExecutable(m_launcher.toStdString());
    if (QTest::currentTestFailed())
        m_root.setAutoRemove(false);
}

QStringList TestUpdateRecovery::updaterArguments(const QString &instance) const
{
    QJsonObject params;
    params.insert(QStringLiteral("exe_dir"), m_launcher);
    params.insert(QStringLiteral("lang"), QStringLiteral("en-us"));
    params.insert(QStringLiteral("pkg_md5"), m_packageMd5);
    params.insert(QStringLiteral("pkg_url"), QString(m_server.baseUrl() + "/launcher.7z"));
    return {instance, QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact))};
}

QString TestUpdateRecovery::checkAfterLauncherStart(int point)
{
    const bool journal = QFileInfo::exists(m_journal);
    QProcess launcher;
    launcher.setWorkingDirectory(m_install);
    launcher.start(m_launcher, {});
    if (!launcher.waitForStarted(10000))
        return QStringLiteral("the launcher did not start");
    // Its start-up ends what the killed updater left before it goes on.
    for (int i = 0; i < 300 && QFileInfo::exists(m_journal); ++i)
        QTest::qWait(100);
    const bool running = launcher.state() == QProcess::Running;
    launcher.kill();
    launcher.waitForFinished(10000);
    if (!running)
        return QStringLiteral("the launcher ended: ") + launcher.readAllStandardError();
    if (QFileInfo::exists(m_journal))
        return QStringLiteral("the journal is still there");
    const auto files = launcherFiles(m_install);
    if (files != m_old && files != m_new) {
        QStringList mixed;
        for (const QString &key : (m_old.keys() + m_new.keys() + files.keys()))
            if (files.value(key) != m_old.value(key))
                mixed << key + (files.value(key) == m_new.value(key) ? " (new)" : " (other)");
        return QStringLiteral("point %1: mixed folder: %2").arg(point).arg(mixed.join(", "));
    }
    // Before its journal the updater has only unpacked; after it, the working folders go.
    for (const char *left : {"rollback", "updateData"})
        if (journal && QFileInfo::exists(m_install + "/updateProgram/" + left))
            return QStringLiteral("point %1: %2 left behind").arg(point).arg(left);
    return QString();
}

void TestUpdateRecovery::killedUpdaterLeavesTheLauncherWhollyOldOrWhollyNew()
{
    const QString instance = QStringLiteral("UpRecKill%1").arg(QCoreApplication::applicationPid());
    const QString updater = m_install + "/updateProgram/Update";
    // A whole run first, numbering the replacement's steps.
    resetInstall();
    QProcess counting;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kFault, "count");
    counting.setProcessEnvironment(env);
    counting.start(updater, updaterArguments(instance));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(m_install + "/updateProgram/rollback") &&
                                 launcherFiles(m_install) == m_new,
                             60000);
    QTRY_VERIFY(!QFileInfo::exists(m_journal));
    counting.kill();
    QVERIFY(counting.waitForFinished(10000));
    m_steps = QString::fromLocal8Bit(counting.readAllStandardError()).count("fault point ");
    QVERIFY2(m_steps >= 20, qPrintable(QString::number(m_steps)));

    int old = 0, fresh = 0;
    const QList<int> points = spread(m_steps, 40);
    for (int point : points) {
        resetInstall();
        QProcess update;
        env.insert(kFault, QStringLiteral("kill:%1").arg(point));
        update.setProcessEnvironment(env);
        update.start(updater, updaterArguments(instance));
        QTRY_VERIFY_WITH_TIMEOUT(update.state() == QProcess::NotRunning, 60000);
        QCOMPARE(update.exitStatus(), QProcess::CrashExit);
        const QString problem = checkAfterLauncherStart(point);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        ++(launcherFiles(m_install) == m_old ? old : fresh);
    }
    qInfo("%d of %d steps: %d kills left the old launcher, %d the new one", int(points.size()),
          m_steps, old, fresh);
    QVERIFY(points.size() >= 20);
    // The sweep reaches past the commit: both outcomes occur.
    QVERIFY(old > 0 && fresh > 0);
}

void TestUpdateRecovery::failedStepThenGivingUpLeavesTheLauncherWhollyOld()
{
    QVERIFY2(m_steps > 0, "needs the step count of the kill sweep");
    UpdateContext::setUpdaterFolder(m_install + "/updateProgram");
    const QStringList arguments =
        QStringList{QStringLiteral("Update")} + updaterArguments(QStringLiteral("Lunmere"));
    for (int point : spread(m_steps, 20)) {
        resetInstall();
        m_exits.clear();
        qputenv(kFault, QByteArray("fail:") + QByteArray::number(point));
        UpdateWindow window(arguments);
        ModalAnswerer answerer;
        window.initUpdate();
        auto *title = window.progressDialog()->findChild<QLabel *>(QStringLiteral("lblMsgTitle"));
        const QString failed =
            QCoreApplication::translate("UpdateWindow", "title_file_replace_failed");
        QTRY_VERIFY_WITH_TIMEOUT(window.state() == UpdateWindow::Succeeded ||
                                     (window.state() == UpdateWindow::Replacing &&
                                      title->isVisible() && title->text() == failed),
                                 60000);
        if (window.state() == UpdateWindow::Succeeded) {
            // The step was part of the clean-up after the commit, which goes on regardless.
            QCOMPARE(launcherFiles(m_install), m_new);
            continue;
        }
        answerer.enqueue(ModalAnswerer::Cancel);
        window.progressDialog()->findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
        QCOMPARE(m_exits, QList<int>{0});
        const auto files = launcherFiles(m_install);
        QVERIFY2(files == m_old, qPrintable(QStringLiteral("point %1").arg(point)));
        QVERIFY(!QFileInfo::exists(m_journal));
        QVERIFY(!QFileInfo::exists(m_install + "/updateProgram/rollback"));
        // The way back starts the old launcher, and only the one in this folder.
        QTRY_VERIFY(!platform::findProcessesByExecutable(m_launcher.toStdString()).empty());
        platform::killProcessesByExecutable(m_launcher.toStdString());
        QTRY_VERIFY(platform::findProcessesByExecutable(m_launcher.toStdString()).empty());
    }
}

void TestUpdateRecovery::interlockIsNotInheritedByTheLauncherNorItsGame()
{
    // A launcher that starts its game and runs on, as the real pair does.
    const QString folder = m_root.filePath(QStringLiteral("interlock"));
    const QString script = folder + "/launcher";
    QVERIFY(writeFile(script, "#!/bin/sh\n"
                              "cd \"$(dirname \"$0\")\"\n"
                              "sleep 60 & echo $! > game.pid\n"
                              "echo $$ > launcher.pid\n"
                              "exec sleep 60\n"));
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const std::string name = QStringLiteral("Quillane_UpRecLock%1_update")
                                 .arg(QCoreApplication::applicationPid())
                                 .toStdString();
    // Held as the updater's main routine holds it; the restart is the updater's own.
    auto interlock = std::make_unique<platform::NamedMutex>(name);
    QVERIFY(interlock->isHeld());
    m_exits.clear();
    UpdateContext::setLauncherPath(script);
    LauncherProcess::restartLauncher();
    QCOMPARE(m_exits, QList<int>{0});
    QTRY_VERIFY(QFileInfo::exists(folder + "/game.pid") &&
                QFileInfo::exists(folder + "/launcher.pid"));
    const pid_t game = readFile(folder + "/game.pid").trimmed().toInt();
    const pid_t launcher = readFile(folder + "/launcher.pid").trimmed().toInt();

    interlock.reset(); // the updater ends
    const bool stillHeld = platform::namedMutexExists(name);
    const bool bothRun = ::kill(game, 0) == 0 && ::kill(launcher, 0) == 0;
    ::kill(game, SIGKILL);
    ::kill(launcher, SIGKILL);
    QVERIFY(bothRun);
    QVERIFY2(!stillHeld, "a process the updater started keeps the interlock");
}

void TestUpdateRecovery::heldFileEndsTheUndoWithAWayOutAndTheNextStartFinishes_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("its button") << "btnOk";
    QTest::newRow("the close button") << "btnClose";
}

void TestUpdateRecovery::heldFileEndsTheUndoWithAWayOutAndTheNextStartFinishes()
{
    QFETCH(QString, button);
    QVERIFY2(m_steps > 5, "needs the step count of the kill sweep");
    // The page puts the held file's path into its translated text.
    QTranslator english;
    QVERIFY(english.load(qEnvironmentVariable("LAUNCHER_BIN_DIR") +
                         "/updateProgram/language/i18n_en.qm"));
    QCoreApplication::installTranslator(&english);
    UpdateContext::setUpdaterFolder(m_install + "/updateProgram");
    const QStringList arguments =
        QStringList{QStringLiteral("Update")} + updaterArguments(QStringLiteral("Lunmere"));
    resetInstall();
    m_exits.clear();
    // The commit (the step before the four of the clean-up) fails: every file is new, every
    // original saved. Leading zeros make the setting's text differ from every earlier one, so
    // its count starts afresh.
    static int runs = 0;
    qputenv(kFault, "fail:" + QByteArray(++runs, '0') + QByteArray::number(m_steps - 4));
    UpdateWindow window(arguments);
    ModalAnswerer answerer;
    window.initUpdate();
    auto *title = window.progressDialog()->findChild<QLabel *>(QStringLiteral("lblMsgTitle"));
    auto *text = window.progressDialog()->findChild<QLabel *>(QStringLiteral("lblMsgText"));
    auto *ok = window.progressDialog()->findChild<QPushButton *>(QStringLiteral("btnOk"));
    const auto translated = [](const char *key) {
        return QCoreApplication::translate("UpdateWindow", key);
    };
    QTRY_VERIFY_WITH_TIMEOUT(
        title->isVisible() && title->text() == translated("title_file_replace_failed"), 60000);
    qunsetenv(kFault);
    // Another program holds a launcher file: here a folder stands where it must go back.
    const QString held = m_install + "/data/a.txt";
    QCOMPARE(readFile(held), QByteArray("new a"));
    QVERIFY(QFile::remove(held) && QDir().mkdir(held));

    answerer.enqueue(ModalAnswerer::Cancel);
    window.progressDialog()->findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    QVERIFY(m_exits.isEmpty());
    QCOMPARE(title->text(), translated("title_rollback_failed"));
    QVERIFY2(text->text().contains(QDir::toNativeSeparators(held)), qPrintable(text->text()));
    QCOMPARE(ok->text(), translated("button_quit_finish_later"));
    window.progressDialog()->findChild<QPushButton *>(button)->click();
    // It quits without starting the launcher over the mixed folder.
    QCOMPARE(m_exits, QList<int>{0});
    QVERIFY(platform::findProcessesByExecutable(m_launcher.toStdString()).empty());
    QVERIFY(QFileInfo::exists(m_journal));

    QVERIFY(QDir().rmdir(held));
    const QString errors = launcherStartUp();
    QVERIFY2(!QFileInfo::exists(m_journal), qPrintable(errors));
    QCOMPARE(launcherFiles(m_install), m_old);
}

void TestUpdateRecovery::halfReplaced()
{
    QVERIFY(writeFile(m_install + "/data/a.txt", "new a"));
    QVERIFY(writeFile(m_install + "/data/added/b.txt", "added b"));
    QVERIFY(writeFile(m_install + "/updateProgram/rollback/data/a.txt", "old a"));
}

QString TestUpdateRecovery::launcherStartUp()
{
    QProcess launcher;
    launcher.setWorkingDirectory(m_install);
    launcher.start(m_launcher, {});
    if (!launcher.waitForStarted(10000))
        return QStringLiteral("the launcher did not start");
    QByteArray errors;
    // Either the journal goes, or the launcher says it could not end the replacement.
    for (int i = 0; i < 300 && launcher.state() == QProcess::Running; ++i) {
        errors += launcher.readAllStandardError();
        if (!QFileInfo::exists(m_journal) || errors.contains("start-up recovery could not"))
            break;
        QTest::qWait(100);
    }
    launcher.kill();
    launcher.waitForFinished(10000);
    return QString::fromLocal8Bit(errors + launcher.readAllStandardError());
}

void TestUpdateRecovery::hostileJournalIsRecoveredInsideTheFolder_data()
{
    const QByteArray header = "lunmere-replace 1\nroot " + QUrl::toPercentEncoding(m_install, "/");
    const QByteArray steps = "\nsaved data/a.txt\nfolder data/added\nadded data/added/b.txt\n";
    QTest::addColumn<QByteArray>("journal");
    // Without a readable journal what was added is not known; the originals still come back.
    QTest::addColumn<bool>("readable");
    QTest::newRow("entry through a link") << header + steps + "added userdata/victim.txt\n" << true;
    QTest::newRow("entry through a link to a folder")
        << header + steps + "folder userdata/sub\nadded userdata/sub/x.txt\n"
        << true;
    QTest::newRow("cut inside its header") << QByteArray("lunmere-replace 1\nroo") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("garbage") << QByteArray("\x01\xff\nremoved ../../x\n") << false;
    QTest::newRow("folder moved since")
        << QByteArray("lunmere-replace 1\nroot /elsewhere/inst") + steps << true;
}

void TestUpdateRecovery::hostileJournalIsRecoveredInsideTheFolder()
{
    QFETCH(QByteArray, journal);
    QFETCH(bool, readable);
    resetInstall();
    const QString outside = m_root.filePath(QStringLiteral("outside"));
    QDir(outside).removeRecursively();
    QVERIFY(writeFile(outside + "/victim.txt", "not the launcher's"));
    QVERIFY(writeFile(outside + "/sub/x.txt", "not the launcher's either"));
    QVERIFY(makeLink(outside, m_install + "/userdata"));
    halfReplaced();
    QVERIFY(writeFile(m_journal, journal));
    const auto outsideBefore = snapshot(outside);

    const QString errors = launcherStartUp();
    QCOMPARE(snapshot(outside), outsideBefore);
    QVERIFY2(!QFileInfo::exists(m_journal), qPrintable(errors));
    auto files = launcherFiles(m_install);
    QCOMPARE(files.take(QStringLiteral("userdata")), "-> " + outside.toUtf8());
    if (!readable)
        QCOMPARE(files.take(QStringLiteral("data/added/b.txt")), QByteArray("added b"));
    QCOMPARE(files, m_old);
    QVERIFY(!QFileInfo::exists(m_install + "/updateProgram/rollback"));
    // What the launcher made of the damaged journal is in its log.
    QVERIFY2(errors.contains("rollback:"), qPrintable(errors));
}

void TestUpdateRecovery::linkedWorkingFolderIsNeverFollowed_data()
{
    QTest::addColumn<QString>("linked");
    QTest::addColumn<bool>("committed");
    QTest::addColumn<bool>("recovered");
    QTest::newRow("rollback, unfinished") << "updateProgram/rollback" << false << false;
    QTest::newRow("updateData, unfinished") << "updateProgram/updateData" << false << true;
    QTest::newRow("updateData, committed") << "updateProgram/updateData" << true << true;
    QTest::newRow("pkg, committed") << "updateProgram/pkg" << true << true;
    QTest::newRow("updateProgram, committed") << "updateProgram" << true << false;
}

void TestUpdateRecovery::linkedWorkingFolderIsNeverFollowed()
{
    QFETCH(QString, linked);
    QFETCH(bool, committed);
    QFETCH(bool, recovered);
    resetInstall();
    const QByteArray steps = "lunmere-replace 1\nroot " + QUrl::toPercentEncoding(m_install, "/") +
                             "\nsaved data/a.txt\nfolder data/added\nadded data/added/b.txt\n";
    halfReplaced();
    QVERIFY(writeFile(m_journal, committed ? steps + "committed\n" : steps));
    const QString outside = m_root.filePath(QStringLiteral("outside"));
    QDir(outside).removeRecursively();
    // What the link points to looks like the folder it stands for.
    QVERIFY(writeFile(outside + "/data/a.txt", "outside a"));
    QVERIFY(writeFile(outside + "/rollback.journal", readFile(m_journal)));
    QVERIFY(writeFile(outside + "/rollback/data/a.txt", "outside a"));
    QVERIFY(writeFile(outside + "/Update", "outside updater"));
    const QString path = m_install + "/" + linked;
    QVERIFY(QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), path}) == 0);
    QVERIFY(makeLink(outside, path));
    const auto outsideBefore = snapshot(outside);
    const auto installBefore = launcherFiles(m_install);

    const QString errors = launcherStartUp();
    QCOMPARE(snapshot(outside), outsideBefore);
    if (recovered) {
        QVERIFY2(!QFileInfo::exists(m_journal), qPrintable(errors));
        QCOMPARE(launcherFiles(m_install), committed ? installBefore : m_old);
        // The link itself went with the working folder it stood for.
        QCOMPARE(platform::entryKind(QFile::encodeName(path).toStdString()),
                 platform::EntryKind::Missing);
    } else {
        // The player is told, and the folder stays as it was for the next start.
        QVERIFY2(errors.contains("start-up recovery could not finish"), qPrintable(errors));
        QCOMPARE(launcherFiles(m_install), installBefore);
    }
}

QTEST_MAIN(TestUpdateRecovery)
#include "tst_updaterecovery.moc"
