// The update window: its dialog's pages and buttons, and the whole flow against a loopback
// package server, the real 7-Zip library and a stand-in launcher.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTranslator>
#include <QtTest>

#include "dlgprogress.h"
#include "dlgyesno.h"
#include "fakelauncher.h"
#include "httptestserver.h"
#include "launcherprocess.h"
#include "modalanswerer.h"
#include "replacerecovery.h"
#include "uncompressmanager.h"
#include "updatecontext.h"
#include "updatewindow.h"
#include "sizetext.h"

namespace {
QString windowText(const char *key)
{
    return QCoreApplication::translate("UpdateWindow", key);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

template<typename T>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}
} // namespace

class TestUpdateWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void progressDialogPagesAndButtons();
    void messageBoxShowsTextAsItIs();
    void progressTextsAndPercentages();

    void updateReplacesLauncherFilesAndOpensTheLauncher();
    void closingDuringDownloadPausesContinuesAndCloses();
    void downloadFailureRetriesWithANewGroup();
    void closingAfterFailedReplacementRestoresTheBackup();
    void rollbackOverAHeldFileNeverReturnsToTheLauncher();
    void damagedPackageItemStopsBeforeReplacing();
    void backupFolderThatCannotBeMadeReturnsToLauncherUntouched();

private:
    // Packs the folder's entries into a 7z archive; the archive's path.
    QString pack(const QString &folder, const QString &archive);
    QStringList arguments(const QString &url, const QString &md5) const;
    void click(UpdateWindow &window, const char *button);

    QTemporaryDir *m_root = nullptr;
    QString m_launcherDir;
    QString m_launcherPath;
    QString m_updaterDir;
    QList<int> m_exits;
    HttpTestServer *m_server = nullptr;
};

void TestUpdateWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    LauncherProcess::setExitHandler([this](int code) { m_exits << code; });
}

void TestUpdateWindow::init()
{
    m_root = new QTemporaryDir;
    QVERIFY(m_root->isValid());
    m_launcherDir = m_root->filePath(QStringLiteral("inst"));
    m_updaterDir = m_launcherDir + QStringLiteral("/updateProgram");
    m_launcherPath = m_launcherDir + QStringLiteral("/fakelauncher");
    QVERIFY(QDir().mkpath(m_updaterDir));
    QVERIFY(FakeLauncher::write(m_launcherDir, QStringLiteral("fakelauncher"), "v1"));
    UpdateContext::setUpdaterFolder(m_updaterDir);
    UpdateContext::setLauncherPath(QString());
    m_exits.clear();
    m_server = new HttpTestServer;
    QVERIFY(m_server->listen());
}

void TestUpdateWindow::cleanup()
{
    delete m_server;
    m_server = nullptr;
    m_root->setAutoRemove(!QTest::currentTestFailed());
    delete m_root;
    m_root = nullptr;
}

QString TestUpdateWindow::pack(const QString &folder, const QString &archive)
{
    QProcess sevenZip;
    sevenZip.setWorkingDirectory(folder);
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    sevenZip.start(QStringLiteral("7z"), QStringList{QStringLiteral("a"), QStringLiteral("-bd"),
                                                     QStringLiteral("-y"), archive} +
                                             entries);
    if (!sevenZip.waitForFinished(60000) || sevenZip.exitCode() != 0)
        return QString();
    return archive;
}

QStringList TestUpdateWindow::arguments(const QString &url, const QString &md5) const
{
    QJsonObject params;
    params.insert(QStringLiteral("exe_dir"), m_launcherPath);
    params.insert(QStringLiteral("lang"), QStringLiteral("xx-yy"));
    params.insert(QStringLiteral("pkg_md5"), md5);
    params.insert(QStringLiteral("pkg_url"), url);
    return {QStringLiteral("Update"), QStringLiteral("Lunmere"),
            QString::fromUtf8(QJsonDocument(params).toJson(QJsonDocument::Compact))};
}

void TestUpdateWindow::click(UpdateWindow &window, const char *button)
{
    auto *widget = child<QPushButton>(window.progressDialog(), button);
    QVERIFY(widget);
    QVERIFY(widget->isEnabled());
    widget->click();
}

void TestUpdateWindow::progressDialogPagesAndButtons()
{
    DlgProgress dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.size(), QSize(730, 522));
    auto *stack = child<QStackedWidget>(&dlg, "stackedWidget");
    auto *message = child<QWidget>(&dlg, "wgtMsg");
    auto *tip = child<QLabel>(&dlg, "lblProgressTip");
    auto *bar = child<QProgressBar>(&dlg, "progressBar");
    auto *big = child<QPushButton>(&dlg, "btnOk");
    auto *close = child<QPushButton>(&dlg, "btnClose");
    auto *minimise = child<QPushButton>(&dlg, "btnMin");
    auto *top = child<QWidget>(&dlg, "wgtTop");
    QVERIFY(stack && message && tip && bar && big && close && minimise && top);
    QCOMPARE(big->text(), QStringLiteral("button_redo"));
    QCOMPARE(minimise->toolTip(), QStringLiteral("message_minimizing_continue_update_launcher"));
    QCOMPARE(bar->value(), 0);

    dlg.showProgressPage(QStringLiteral(" tip0%..."), QStringLiteral(":/pic/bg/updateIng.png"));
    QCOMPARE(stack->currentWidget(), child<QWidget>(&dlg, "pageProgress"));
    QVERIFY(!message->isVisible());
    QCOMPARE(tip->text(), QStringLiteral(" tip0%..."));
    QVERIFY(top->styleSheet().contains(QStringLiteral("url(:/pic/bg/updateIng.png)")));
    dlg.setProgressValue(42);
    QCOMPARE(bar->value(), 42);
    dlg.setBackground(QString());
    QCOMPARE(dlg.background(), QStringLiteral(":/pic/bg/updateIng.png"));

    QSignalSpy closed(&dlg, &DlgProgress::closeProgressDlg);
    QSignalSpy clicked(&dlg, &DlgProgress::btnOnClicked);
    // While a step runs, neither the button nor Escape gets past the disabled close.
    dlg.setCloseEnabled(false);
    QVERIFY(!close->isEnabled());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QCOMPARE(closed.count(), 0);
    QVERIFY(dlg.isVisible());

    minimise->click();
    QTRY_VERIFY(dlg.isMinimized());
    dlg.showResultPage(QStringLiteral("Failed"), QStringLiteral("<b>/x/y</b>"),
                       QStringLiteral("Again"), QStringLiteral(":/pic/bg/updateFaile.png"));
    // A failure brings a minimised dialog back.
    QTRY_VERIFY(!dlg.isMinimized());
    QCOMPARE(stack->currentWidget(), child<QWidget>(&dlg, "pageButton"));
    QVERIFY(message->isVisible());
    QCOMPARE(child<QLabel>(&dlg, "lblMsgTitle")->text(), QStringLiteral("Failed"));
    auto *text = child<QLabel>(&dlg, "lblMsgText");
    QCOMPARE(text->text(), QStringLiteral("<b>/x/y</b>"));
    QCOMPARE(text->textFormat(), Qt::PlainText);
    QCOMPARE(big->text(), QStringLiteral("Again"));
    QVERIFY(top->styleSheet().contains(QStringLiteral("updateFaile.png")));

    dlg.setCloseEnabled(true);
    close->click();
    QCOMPARE(closed.count(), 1);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QCOMPARE(closed.count(), 2);
    QVERIFY(dlg.isVisible());
    big->click();
    QCOMPARE(clicked.count(), 1);
}

void TestUpdateWindow::messageBoxShowsTextAsItIs()
{
    DlgYesNo box;
    box.setTitleAndText(QStringLiteral("Title"), QStringLiteral("<b>C:/a&b</b>"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.size(), QSize(480, 314));
    QCOMPARE(box.windowTitle(), QStringLiteral("Title"));
    QVERIFY(!child<QWidget>(&box, "lblTitle")->isVisible());
    QVERIFY(!child<QWidget>(&box, "btnClose")->isVisible());
    auto *text = child<QTextBrowser>(&box, "textBrowser");
    QCOMPARE(text->toPlainText(), QStringLiteral("<b>C:/a&b</b>"));
    QVERIFY(!text->isEnabled());
    auto *ok = child<QPushButton>(&box, "btnOk");
    auto *cancel = child<QPushButton>(&box, "btnCancel");
    QCOMPARE(ok->text(), QStringLiteral("button_confirm"));
    QCOMPARE(cancel->text(), QStringLiteral("button_cancle"));
    QVERIFY(ok->width() >= 190 && ok->height() >= 48);
    QVERIFY(cancel->isVisible());
    cancel->click();
    QCOMPARE(box.result(), int(QDialog::Rejected));

    ModalAnswerer answerer;
    QVERIFY(DlgYesNo::showNotice(QStringLiteral("T"), QStringLiteral("notice")));
    QCOMPARE(answerer.texts(), QStringList{QStringLiteral("notice")});
    QCOMPARE(answerer.cancelShown(), QList<bool>{false});
}

void TestUpdateWindow::progressTextsAndPercentages()
{
    const QString sign = windowText("label_percent_sign");
    QCOMPARE(UpdateWindow::progressText(QStringLiteral("Down "), 0, true),
             QStringLiteral(" Down 0") + sign + QStringLiteral("..."));
    QCOMPARE(UpdateWindow::progressText(QStringLiteral("Down %1"), 37, false),
             QStringLiteral("Down %137") + sign + QStringLiteral("..."));
    QCOMPARE(UpdateWindow::percentOf(50, 200), qint64(25));
    QCOMPARE(UpdateWindow::percentOf(199, 200), qint64(99));
    // Sizes beyond 32 bits, an unknown total and overshooting reports stay in 0..100.
    QCOMPARE(UpdateWindow::percentOf(3000000000000LL, 4000000000000LL), qint64(75));
    QCOMPARE(UpdateWindow::percentOf(5, 0), qint64(0));
    QCOMPARE(UpdateWindow::percentOf(-1, 10), qint64(0));
    QCOMPARE(UpdateWindow::percentOf(300, 200), qint64(100));
}

void TestUpdateWindow::updateReplacesLauncherFilesAndOpensTheLauncher()
{
    QVERIFY(writeFile(m_launcherDir + "/data/config.txt", "old config"));
    QVERIFY(writeFile(m_launcherDir + "/keep.txt", "same in both"));
    QVERIFY(writeFile(m_launcherDir + "/only_old.txt", "stays"));
    const QString fresh = m_root->filePath(QStringLiteral("new"));
    QVERIFY(FakeLauncher::write(fresh, QStringLiteral("fakelauncher"), "v2"));
    QVERIFY(writeFile(fresh + "/data/config.txt", "new config"));
    QVERIFY(writeFile(fresh + "/data/deep/added.txt", "added"));
    QVERIFY(writeFile(fresh + "/keep.txt", "same in both"));
    const QString archive = pack(fresh, m_root->filePath(QStringLiteral("launcher 2.7z")));
    QVERIFY(!archive.isEmpty());
    m_server->serveFile(QStringLiteral("/rel/launcher%202.7z"), archive);
    const QString md5 = QString::fromLatin1(
        QCryptographicHash::hash(readFile(archive), QCryptographicHash::Md5).toHex());

    UpdateWindow window(arguments(m_server->baseUrl() + "/rel/launcher%202.7z", md5));
    ModalAnswerer answerer;
    window.initUpdate();
    QCOMPARE(window.state(), int(UpdateWindow::Downloading));
    QVERIFY(window.progressDialog()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(window.state(), int(UpdateWindow::Succeeded), 60000);

    QCOMPARE(answerer.count(), 0);
    QVERIFY(m_exits.isEmpty());
    QCOMPARE(readFile(m_launcherDir + "/data/config.txt"), QByteArray("new config"));
    QCOMPARE(readFile(m_launcherDir + "/data/deep/added.txt"), QByteArray("added"));
    QCOMPARE(readFile(m_launcherDir + "/keep.txt"), QByteArray("same in both"));
    QCOMPARE(readFile(m_launcherDir + "/only_old.txt"), QByteArray("stays"));
    // The working folders are gone once the launcher is replaced.
    QVERIFY(!QDir(m_updaterDir + "/pkg").exists());
    QVERIFY(!QDir(m_updaterDir + "/updateData").exists());
    QVERIFY(!QDir(m_updaterDir + "/rollback").exists());
    QCOMPARE(child<QLabel>(window.progressDialog(), "lblMsgTitle")->text(),
             windowText("title_update_success"));
    QCOMPARE(child<QPushButton>(window.progressDialog(), "btnOk")->text(),
             windowText("button_open_launcher"));
    QVERIFY(window.progressDialog()->background().endsWith(QStringLiteral("updateSucceed.png")));

    // The large button opens the new launcher, telling it the update is done.
    click(window, "btnOk");
    QCOMPARE(m_exits, QList<int>{0});
    QTRY_COMPARE(FakeLauncher::recorded(m_launcherDir),
                 (QStringList{QStringLiteral("v2"), QStringLiteral("update")}));

    // Closing the success page ends the updater without a question.
    QFile::remove(FakeLauncher::recordPath(m_launcherDir));
    click(window, "btnClose");
    QCOMPARE(m_exits, (QList<int>{0, 0}));
    QCOMPARE(answerer.count(), 0);
}

void TestUpdateWindow::closingDuringDownloadPausesContinuesAndCloses()
{
    QByteArray body(2 * 1024 * 1024, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char((i * 7919) >> 3);
    QVERIFY(writeFile(m_root->filePath(QStringLiteral("big.7z")), body));
    const QString path = QStringLiteral("/big.7z");
    m_server->serveFile(path, m_root->filePath(QStringLiteral("big.7z")));
    // Slow transfers keep the download in its first step for the whole test.
    m_server->addFault(path, HttpTestServer::Fault::throttle(64 * 1024), -1, "GET");

    UpdateWindow window(arguments(m_server->baseUrl() + path, QString()));
    ModalAnswerer answerer;
    window.initUpdate();
    auto *tip = child<QLabel>(window.progressDialog(), "lblProgressTip");
    QCOMPARE(tip->text(), windowText("label_resource_downloading").prepend(' ') + "0" +
                              windowText("label_percent_sign") + "...");
    // The first report drops the leading space.
    QTRY_VERIFY(!tip->text().startsWith(QLatin1Char(' ')));
    // Sizes first, then, once a rate is known, speed and time left.
    QTRY_VERIFY2(tip->text().contains(SizeText::bytes(body.size())), qPrintable(tip->text()));
    // (This run shows keys: the line with speed and time left is its key.)
    QTRY_VERIFY2_WITH_TIMEOUT(tip->text().contains(windowText("label_download_details")),
                              qPrintable(tip->text()), 5000);
    const QString partial = m_updaterDir + QStringLiteral("/pkg/big.7z_tmp");
    QTRY_VERIFY(QFileInfo(partial).size() > 0);

    answerer.enqueue(ModalAnswerer::Confirm);
    click(window, "btnClose");
    QCOMPARE(answerer.texts(), QStringList{windowText("message_updating_do_not_close")});
    QCOMPARE(answerer.cancelShown(), QList<bool>{true});
    QCOMPARE(window.state(), int(UpdateWindow::Downloading));
    // The question paused the transfer; "continue" resumes it from the partial file.
    QTRY_VERIFY([&] {
        for (const auto &request : m_server->requestsFor(path)) {
            const QByteArray range = request.header("range");
            if (request.method == "GET" && range.startsWith("bytes=") &&
                range.mid(6, range.size() - 7).toLongLong() > 0)
                return true;
        }
        return false;
    }());

    answerer.enqueue(ModalAnswerer::Cancel);
    click(window, "btnClose");
    QCOMPARE(answerer.count(), 2);
    QCOMPARE(m_exits, QList<int>{0});
    QVERIFY(!QDir(m_updaterDir + QStringLiteral("/pkg")).exists());
    QTRY_COMPARE(FakeLauncher::recorded(m_launcherDir),
                 (QStringList{QStringLiteral("v1"), QStringLiteral("update")}));
}

void TestUpdateWindow::downloadFailureRetriesWithANewGroup()
{
    QVERIFY(writeFile(m_root->filePath(QStringLiteral("l.7z")), "not what was promised"));
    m_server->serveFile(QStringLiteral("/l.7z"), m_root->filePath(QStringLiteral("l.7z")));
    UpdateWindow window(arguments(m_server->baseUrl() + "/l.7z",
                                  QStringLiteral("00000000000000000000000000000000")));
    ModalAnswerer answerer;
    window.initUpdate();
    auto *title = child<QLabel>(window.progressDialog(), "lblMsgTitle");
    auto *text = child<QLabel>(window.progressDialog(), "lblMsgText");
    QTRY_COMPARE_WITH_TIMEOUT(title->text(), windowText("title_download_error"), 30000);
    QCOMPARE(text->text(),
             QCoreApplication::translate("DownloadTask", "message_error_download_md5"));
    QVERIFY(text->isVisible());
    QCOMPARE(window.state(), int(UpdateWindow::Downloading));
    QVERIFY(window.progressDialog()->background().endsWith(QStringLiteral("updateFaile.png")));
    const int firstGroup = window.groupId();
    const int firstGets = m_server->requestCount(QStringLiteral("/l.7z"));

    click(window, "btnOk");
    QVERIFY(window.groupId() > firstGroup);
    QVERIFY(!text->isVisible());
    QTRY_VERIFY(m_server->requestCount(QStringLiteral("/l.7z")) > firstGets);
    QTRY_VERIFY_WITH_TIMEOUT(text->isVisible(), 30000);
    QCOMPARE(answerer.count(), 0);
    QVERIFY(m_exits.isEmpty());
}

void TestUpdateWindow::closingAfterFailedReplacementRestoresTheBackup()
{
    QVERIFY(writeFile(m_launcherDir + "/sub/changed.txt", "old"));
    // A folder where the package has a file: that file cannot be put in place.
    QVERIFY(writeFile(m_launcherDir + "/blocker.txt/inside.txt", "in the way"));
    const QString fresh = m_root->filePath(QStringLiteral("new"));
    QVERIFY(writeFile(fresh + "/sub/changed.txt", "new"));
    QVERIFY(writeFile(fresh + "/blocker.txt", "file"));
    const QString archive = pack(fresh, m_root->filePath(QStringLiteral("l.7z")));
    QVERIFY(!archive.isEmpty());
    m_server->serveFile(QStringLiteral("/l.7z"), archive);

    UpdateWindow window(arguments(m_server->baseUrl() + "/l.7z", QString()));
    ModalAnswerer answerer;
    window.initUpdate();
    auto *title = child<QLabel>(window.progressDialog(), "lblMsgTitle");
    QTRY_COMPARE_WITH_TIMEOUT(title->text(), windowText("title_file_replace_failed"), 60000);
    QCOMPARE(window.state(), int(UpdateWindow::Replacing));
    QCOMPARE(child<QLabel>(window.progressDialog(), "lblMsgText")->text(),
             m_updaterDir + QStringLiteral("/updateData/blocker.txt"));
    // The subfolder went first: its file is replaced and its old version backed up.
    QCOMPARE(readFile(m_launcherDir + "/sub/changed.txt"), QByteArray("new"));
    QCOMPARE(readFile(m_updaterDir + "/rollback/sub/changed.txt"), QByteArray("old"));

    answerer.enqueue(ModalAnswerer::Cancel);
    click(window, "btnClose");
    QCOMPARE(answerer.texts(), QStringList{windowText("message_updating_do_not_close")});
    QCOMPARE(readFile(m_launcherDir + "/sub/changed.txt"), QByteArray("old"));
    QVERIFY(!QDir(m_updaterDir + "/rollback").exists());
    QVERIFY(!QDir(m_updaterDir + "/updateData").exists());
    QCOMPARE(m_exits, QList<int>{0});
    QTRY_COMPARE(FakeLauncher::recorded(m_launcherDir),
                 (QStringList{QStringLiteral("v1"), QStringLiteral("update")}));
}

void TestUpdateWindow::rollbackOverAHeldFileNeverReturnsToTheLauncher()
{
    // The page puts the held file's path into its translated text.
    QTranslator english;
    QVERIFY(english.load(qEnvironmentVariable("LAUNCHER_BIN_DIR") +
                         "/updateProgram/language/i18n_en.qm"));
    QCoreApplication::installTranslator(&english);
    QVERIFY(writeFile(m_launcherDir + "/sub/changed.txt", "old"));
    QVERIFY(writeFile(m_launcherDir + "/other.txt", "old other"));
    QVERIFY(writeFile(m_launcherDir + "/blocker.txt/inside.txt", "in the way"));
    const QString fresh = m_root->filePath(QStringLiteral("new"));
    QVERIFY(writeFile(fresh + "/sub/changed.txt", "new"));
    QVERIFY(writeFile(fresh + "/other.txt", "new other"));
    QVERIFY(writeFile(fresh + "/blocker.txt", "file"));
    const QString archive = pack(fresh, m_root->filePath(QStringLiteral("l.7z")));
    QVERIFY(!archive.isEmpty());
    m_server->serveFile(QStringLiteral("/l.7z"), archive);

    UpdateWindow window(arguments(m_server->baseUrl() + "/l.7z", QString()));
    ModalAnswerer answerer;
    window.initUpdate();
    auto *title = child<QLabel>(window.progressDialog(), "lblMsgTitle");
    auto *text = child<QLabel>(window.progressDialog(), "lblMsgText");
    QTRY_COMPARE_WITH_TIMEOUT(text->text(),
                              m_updaterDir + QStringLiteral("/updateData/blocker.txt"), 60000);
    QCOMPARE(readFile(m_launcherDir + "/sub/changed.txt"), QByteArray("new"));
    // Another program holds the replaced file's place while the player gives up.
    QVERIFY(QFile::remove(m_launcherDir + "/sub/changed.txt"));
    QVERIFY(writeFile(m_launcherDir + "/sub/changed.txt/held", "held"));
    answerer.enqueue(ModalAnswerer::Cancel);
    click(window, "btnClose");
    // The folder is part old, part new: no launcher; the page names the launcher's file that
    // is held and only lets the player go.
    QVERIFY(m_exits.isEmpty());
    QCOMPARE(title->text(), windowText("title_rollback_failed"));
    QCOMPARE(text->text(), windowText("message_rollback_file_held")
                               .arg(m_launcherDir + QStringLiteral("/sub/changed.txt")));
    QVERIFY(text->text().contains(m_launcherDir + QStringLiteral("/sub/changed.txt")));
    QCOMPARE(child<QPushButton>(window.progressDialog(), "btnOk")->text(),
             windowText("button_quit_finish_later"));
    QCOMPARE(readFile(m_launcherDir + "/other.txt"), QByteArray("old other"));
    QCOMPARE(readFile(m_updaterDir + "/rollback/sub/changed.txt"), QByteArray("old"));
    QVERIFY(QFileInfo::exists(m_updaterDir + "/rollback.journal"));
    click(window, "btnClose");
    QCOMPARE(m_exits, QList<int>{0});
    QVERIFY(FakeLauncher::recorded(m_launcherDir).isEmpty());

    // Let go: the next start finishes the rollback.
    QVERIFY(QDir(m_launcherDir + "/sub/changed.txt").removeRecursively());
    QCOMPARE(ReplaceRecovery(UpdaterLayout(m_launcherDir, m_updaterDir)).recover(),
             ReplaceRecovery::Outcome::RolledBack);
    QCOMPARE(readFile(m_launcherDir + "/sub/changed.txt"), QByteArray("old"));
    QVERIFY(!QDir(m_updaterDir + "/rollback").exists());
}

void TestUpdateWindow::damagedPackageItemStopsBeforeReplacing()
{
    QVERIFY(writeFile(m_launcherDir + "/a.txt", "old a"));
    QVERIFY(writeFile(m_launcherDir + "/b.txt", "old b"));
    const QString fresh = m_root->filePath(QStringLiteral("new"));
    const QByteArray first(200, 'A');
    QVERIFY(writeFile(fresh + "/a.txt", first));
    QVERIFY(writeFile(fresh + "/b.txt", "new b"));
    // Stored without compression, so one flipped byte fails exactly that item's check.
    QProcess sevenZip;
    sevenZip.setWorkingDirectory(fresh);
    const QString archive = m_root->filePath(QStringLiteral("l.7z"));
    sevenZip.start(QStringLiteral("7z"),
                   {QStringLiteral("a"), QStringLiteral("-bd"), QStringLiteral("-mx0"), archive,
                    QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    QVERIFY(sevenZip.waitForFinished(60000));
    QCOMPARE(sevenZip.exitCode(), 0);
    QByteArray bytes = readFile(archive);
    const int at = bytes.indexOf(first.left(16));
    QVERIFY(at > 0);
    bytes[at + 5] = 'B';
    QVERIFY(writeFile(archive, bytes));
    m_server->serveFile(QStringLiteral("/l.7z"), archive);

    UpdateWindow window(arguments(m_server->baseUrl() + "/l.7z", QString()));
    ModalAnswerer answerer;
    window.initUpdate();
    auto *title = child<QLabel>(window.progressDialog(), "lblMsgTitle");
    QTRY_COMPARE_WITH_TIMEOUT(title->text(), windowText("title_unzip_error"), 60000);
    // The run goes on to its end; the flow must stay on the failure page all the same.
    QTRY_VERIFY(!UncompressManager::instance()->isRunning());
    QCoreApplication::processEvents();
    QCOMPARE(window.state(), int(UpdateWindow::Unzipping));
    QCOMPARE(title->text(), windowText("title_unzip_error"));
    QVERIFY(child<QPushButton>(window.progressDialog(), "btnClose")->isEnabled());
    QCOMPARE(readFile(m_launcherDir + "/a.txt"), QByteArray("old a"));
    QCOMPARE(readFile(m_launcherDir + "/b.txt"), QByteArray("old b"));
    QVERIFY(!QDir(m_updaterDir + "/rollback").exists());

    // Retry unpacks again (and fails again): nothing is replaced meanwhile.
    click(window, "btnOk");
    QCOMPARE(window.state(), int(UpdateWindow::Unzipping));
    QTRY_COMPARE_WITH_TIMEOUT(title->text(), windowText("title_unzip_error"), 60000);
    QTRY_VERIFY(!UncompressManager::instance()->isRunning());
    QCoreApplication::processEvents();
    QCOMPARE(readFile(m_launcherDir + "/b.txt"), QByteArray("old b"));

    // Giving up removes the unpacked files and returns to the launcher.
    answerer.enqueue(ModalAnswerer::Cancel);
    click(window, "btnClose");
    QVERIFY(!QDir(m_updaterDir + "/updateData").exists());
    QCOMPARE(m_exits, QList<int>{0});
    QTRY_COMPARE(FakeLauncher::recorded(m_launcherDir),
                 (QStringList{QStringLiteral("v1"), QStringLiteral("update")}));
}

void TestUpdateWindow::backupFolderThatCannotBeMadeReturnsToLauncherUntouched()
{
    QVERIFY(writeFile(m_launcherDir + "/a.txt", "old"));
    // A file where the backup folder belongs.
    QVERIFY(writeFile(m_updaterDir + "/rollback", "not a folder"));
    const QString fresh = m_root->filePath(QStringLiteral("new"));
    QVERIFY(writeFile(fresh + "/a.txt", "new"));
    const QString archive = pack(fresh, m_root->filePath(QStringLiteral("l.7z")));
    QVERIFY(!archive.isEmpty());
    m_server->serveFile(QStringLiteral("/l.7z"), archive);

    UpdateWindow window(arguments(m_server->baseUrl() + "/l.7z", QString()));
    ModalAnswerer answerer;
    window.initUpdate();
    QTRY_COMPARE_WITH_TIMEOUT(m_exits, QList<int>{0}, 60000);
    QCOMPARE(answerer.texts(), QStringList{windowText("message_create_backup_folder_failed")});
    QCOMPARE(answerer.cancelShown(), QList<bool>{false});
    QCOMPARE(readFile(m_launcherDir + "/a.txt"), QByteArray("old"));
    QTRY_COMPARE(FakeLauncher::recorded(m_launcherDir),
                 (QStringList{QStringLiteral("v1"), QStringLiteral("update")}));
}

QTEST_MAIN(TestUpdateWindow)
#include "tst_updatewindow.moc"
