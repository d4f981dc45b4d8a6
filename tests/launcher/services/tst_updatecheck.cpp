#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <QPointer>
#include <QtTest>

#include <memory>

#include "applicationinfo.h"
#include "appversioninfo.h"
#include "cdlgyesno.h"
#include "httptestserver.h"
#include "launcherconfig.h"
#include "questionbox.h"
#include "updateprogram.h"

namespace {

const QString kReleasePath = QStringLiteral("/pelorin/marduvel/api/getLatestRelease");

struct SeenBox
{
    QString text;
    QString confirm;
    bool cancelVisible;
    QRect geometry;
    bool pageDimmed;
};

// Answers the modal message boxes as they appear, in order, and records what each said.
// Boxes beyond the given answers are declined, so an unexpected box never hangs a test.
class BoxAnswerer : public QObject
{
public:
    BoxAnswerer()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_timer.start();
    }
    void setAnswers(const QList<bool> &answers) { m_answers = answers; }
    // The page's dimming layer, whose state each box records.
    QPointer<QObject> mask;
    QList<SeenBox> seen;
    // The first line of each box: a question adds what it offers on a line of its own.
    QStringList texts() const
    {
        QStringList list;
        for (const SeenBox &box : seen)
            list << box.text.section(QLatin1Char('\n'), 0, 0);
        return list;
    }

private:
    void poll()
    {
        auto *box = qobject_cast<CDlgYesNo *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        auto *text = box->findChild<QTextBrowser *>(QStringLiteral("textBrowser"));
        auto *ok = box->findChild<QPushButton *>(QStringLiteral("btn_ok"));
        auto *cancel = box->findChild<QPushButton *>(QStringLiteral("btn_cancel"));
        seen.append({text ? text->toPlainText() : QString(), ok ? ok->text() : QString(),
                     cancel && cancel->isVisibleTo(box), box->geometry(),
                     mask && mask->property("visible").toBool()});
        const bool accept = m_answers.isEmpty() ? false : m_answers.takeFirst();
        if (accept)
            box->accept();
        else
            box->reject();
    }

    QTimer m_timer;
    QList<bool> m_answers;
};

QByteArray releaseAnswer(const QByteArray &dataJson)
{
    return "{\"code\":0,\"msg\":\"ok\",\"data\":" + dataJson + "}";
}

QByteArray update(const QByteArray &extra = {})
{
    QByteArray data = R"({"has_update":"true","update_type":1,"package_name":"launcher.7z",)"
                      R"("package_version":"2.3.4.0",)"
                      R"("package_url":"http://127.0.0.1:1/launcher/launcher_2.3.4.0.7z",)"
                      R"("package_md5":"0123456789ABCDEF0123456789ABCDEF","package_size":1000)";
    if (!extra.isEmpty())
        data += "," + extra;
    return releaseAnswer(data + "}");
}

} // namespace

// The launcher update check as the view model wires it: the request against a loopback
// release service, the resends, the decision, the questions and the disk check.
class TestUpdateCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checkAsksWithQueryInOrderAndJsonHeader();
    void threeFailuresInARowEndSilentlyUnlessUserAsked();
    void userAskedCheckOffersRetryAfterThirdFailure();
    void status603EndsRetriesAtFirstFailure();
    void goodAnswerStartsFailureCountAfresh();
    void unreadableAnswerIsIgnoredAndKeepsUserFlag_data();
    void unreadableAnswerIsIgnoredAndKeepsUserFlag();
    void decisionAsksRecordsAndStarts_data();
    void decisionAsksRecordsAndStarts();
    void promptSitsOverMainWindow();

private:
    void check();
    LauncherConfig *config() { return LauncherConfig::instance(); }

    QTemporaryDir m_dir;
    HttpTestServer m_release;
    HttpTestServer m_reports;
    std::unique_ptr<BoxAnswerer> m_boxes;
    std::unique_ptr<QObject> m_owner;
    ApplicationInfo *m_info = nullptr;
    UpdateProgram *m_program = nullptr;
    std::unique_ptr<QSignalSpy> m_replies;
    std::unique_ptr<QSignalSpy> m_newVersion;
    std::unique_ptr<QSignalSpy> m_starts;
    std::unique_ptr<QSignalSpy> m_quits;
};

void TestUpdateCheck::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_release.listen());
    QVERIFY(m_reports.listen());
    m_reports.serveData("/client_report", "{}", "application/json");
    LauncherConfig::setInstanceFilePath(m_dir.filePath("config.ini"));
    config()->writeString("release_url", m_release.baseUrl(), "services");
    config()->writeString("report_url", m_reports.baseUrl(), "services");
}

void TestUpdateCheck::init()
{
    QCOMPARE(ApplicationInfo::failureCount(), 0);
    m_release.clearRequests();
    m_release.clearFaults();
    m_release.removeAnswer(kReleasePath);
    config()->writeBool("is_user_update", false);
    config()->writeBool("is_auto_update", false);
    config()->writeString("new_version", QString());
    m_boxes.reset(new BoxAnswerer);

    // Wired as the view model wires them.
    m_owner.reset(new QObject);
    m_info = new ApplicationInfo(m_owner.get());
    m_program = new UpdateProgram(m_owner.get());
    m_info->setAsker(QuestionBox::over(nullptr));
    m_program->setAsker(QuestionBox::over(nullptr));
    connect(m_info, &ApplicationInfo::programVerInfoReply, m_program,
            &UpdateProgram::onCheckProgramUpdate);
    m_replies.reset(new QSignalSpy(m_info, &ApplicationInfo::programVerInfoReply));
    m_newVersion.reset(new QSignalSpy(m_program, &UpdateProgram::newProgramVersionUpdate));
    m_starts.reset(new QSignalSpy(m_program, &UpdateProgram::startUpdate));
    m_quits.reset(new QSignalSpy(m_program, &UpdateProgram::quitApp));
}

void TestUpdateCheck::cleanup()
{
    m_replies.reset();
    m_newVersion.reset();
    m_starts.reset();
    m_quits.reset();
    m_owner.reset();
    m_boxes.reset();
}

void TestUpdateCheck::check()
{
    m_info->requestProgramVerInfo();
}

void TestUpdateCheck::checkAsksWithQueryInOrderAndJsonHeader()
{
    m_release.serveData(kReleasePath, releaseAnswer(R"({"has_update":"false"})"),
                        "application/json");
    check();
    QTRY_COMPARE(m_newVersion->count(), 1);
    QCOMPARE(m_release.requestCount(), 1);
    const HttpTestServer::Request request = m_release.requests().first();
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.path, kReleasePath);
    QCOMPARE(request.query, QStringLiteral("app_id=100638&channel=official&app_version=2.3.3.0"));
    QCOMPARE(request.header("content-type"), QByteArray("application/json"));
    QCOMPARE(m_replies->count(), 1);
    QCOMPARE(config()->readString("new_version"), QStringLiteral("2.3.3.0"));
    QVERIFY(m_boxes->seen.isEmpty());
}

void TestUpdateCheck::threeFailuresInARowEndSilentlyUnlessUserAsked()
{
    m_release.serveData(kReleasePath, "oops", "text/plain", 500);
    check();
    QTRY_COMPARE(m_release.requestCount(), 3);
    // The third failure resets the count in the same step that would resend.
    QTRY_COMPARE(ApplicationInfo::failureCount(), 0);
    // A later good check goes through at once: nothing else was outstanding.
    m_release.serveData(kReleasePath, update(), "application/json");
    check();
    QTRY_COMPARE(m_replies->count(), 1);
    QCOMPARE(m_release.requestCount(), 4);
    // Only the answered check's question (declined), no retry box.
    QCOMPARE(m_boxes->texts(), QStringList{"message_new_version_whether_update"});
}

void TestUpdateCheck::userAskedCheckOffersRetryAfterThirdFailure()
{
    config()->writeBool("is_user_update", true);
    m_release.serveData(kReleasePath, "oops", "text/plain", 500);
    // The retry is taken; by then the service is back and has nothing new.
    m_boxes->setAnswers({true, false});
    connect(&m_release, &HttpTestServer::responseSent, this, [this](int index) {
        if (index == 2)
            m_release.serveData(kReleasePath, releaseAnswer(R"({"has_update":false})"),
                                "application/json");
    });
    check();
    QTRY_COMPARE(m_newVersion->count(), 1);
    QCOMPARE(m_release.requestCount(), 4);
    QCOMPARE(m_boxes->seen.size(), 2);
    QCOMPARE(m_boxes->seen.at(0).text, QStringLiteral("message_update_request_exception[500]"));
    QCOMPARE(m_boxes->seen.at(0).confirm, QStringLiteral("button_redo"));
    QVERIFY(m_boxes->seen.at(0).cancelVisible);
    QCOMPARE(m_boxes->seen.at(1).text, QStringLiteral("message_is_latest_version"));
    QCOMPARE(config()->readBool("is_user_update"), false);
    disconnect(&m_release, nullptr, this, nullptr);
}

void TestUpdateCheck::status603EndsRetriesAtFirstFailure()
{
    m_release.serveData(kReleasePath, "{}", "application/json", 603);
    // Without the user: one request, no box.
    check();
    QTRY_COMPARE(m_release.requestCount(), 1);
    QTRY_COMPARE(ApplicationInfo::failureCount(), 0);

    // With the user: one request, a retry box; declining keeps the check marked as the user's.
    config()->writeBool("is_user_update", true);
    check();
    QTRY_COMPARE(m_boxes->seen.size(), 1);
    QCOMPARE(m_release.requestCount(), 2);
    QCOMPARE(m_boxes->seen.at(0).text, QStringLiteral("message_update_request_exception[603]"));
    QCOMPARE(config()->readBool("is_user_update"), true);
    QCOMPARE(ApplicationInfo::failureCount(), 0);
    QCOMPARE(m_replies->count(), 0);
}

void TestUpdateCheck::goodAnswerStartsFailureCountAfresh()
{
    const QByteArray noUpdate = releaseAnswer(R"({"has_update":"false"})");
    m_release.serveData(kReleasePath, noUpdate, "application/json");
    m_release.addFault(kReleasePath, HttpTestServer::Fault::status(502), 1);
    check();
    QTRY_COMPARE(m_replies->count(), 1);
    QCOMPARE(m_release.requestCount(), 2);

    // A later check has its own three attempts: two failures and a good third.
    m_release.addFault(kReleasePath, HttpTestServer::Fault::status(502), 2);
    check();
    QTRY_COMPARE(m_replies->count(), 2);
    QCOMPARE(m_release.requestCount(), 5);
}

void TestUpdateCheck::unreadableAnswerIsIgnoredAndKeepsUserFlag_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("not JSON") << QByteArray("<html>busy</html>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cut short") << update().left(40);
    QTest::newRow("an array") << QByteArray(R"([{"data":{"has_update":"true"}}])");
}

void TestUpdateCheck::unreadableAnswerIsIgnoredAndKeepsUserFlag()
{
    QFETCH(QByteArray, body);
    config()->writeBool("is_user_update", true);
    m_release.serveData(kReleasePath, body, "application/json");
    // One failure first, so that the good-status answer's handling shows as the count's reset.
    m_release.addFault(kReleasePath, HttpTestServer::Fault::status(500), 1);
    check();
    QTRY_COMPARE(m_release.requestCount(), 2);
    QTRY_COMPARE(ApplicationInfo::failureCount(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(m_replies->count(), 0);
    QCOMPARE(m_newVersion->count(), 0);
    QVERIFY(m_boxes->seen.isEmpty());
    QCOMPARE(config()->readBool("is_user_update"), true);
    QCOMPARE(config()->readString("new_version"), QString());
}

void TestUpdateCheck::decisionAsksRecordsAndStarts_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("userAsked");
    QTest::addColumn<bool>("autoUpdate");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("newVersion");
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("quit");

    const QStringList whether{"message_new_version_whether_update"};
    const QStringList please{"message_new_version_please_update"};
    const QStringList none;
    const QString next = QStringLiteral("2.3.4.0");
    const QString own = QStringLiteral("2.3.3.0");
    const QByteArray compulsory = update(R"("update_type":2)");

    QTest::newRow("optional declined: launcher goes on")
        << update() << false << false << QList<bool>{false} << whether << next << false << false;
    QTest::newRow("optional accepted")
        << update() << false << false << QList<bool>{true} << whether << next << true << false;
    QTest::newRow("compulsory declined: launcher ends")
        << compulsory << false << false << QList<bool>{false} << please << next << false << true;
    QTest::newRow("compulsory accepted")
        << compulsory << false << false << QList<bool>{true} << please << next << true << false;
    QTest::newRow("automatic at start-up: no question")
        << update() << false << true << QList<bool>{} << none << next << true << false;
    QTest::newRow("automatic even when compulsory")
        << compulsory << false << true << QList<bool>{} << none << next << true << false;
    QTest::newRow("automatic but asked by the user: question")
        << update() << true << true << QList<bool>{true} << whether << next << true << false;
    QTest::newRow("meant for launcher 17, user asked")
        << update(R"("user_defined":"{\"app_id\":\"17\"}")") << true << false << QList<bool>{}
        << QStringList{"message_is_latest_version"} << own << false << false;
    QTest::newRow("meant for launcher 17, start-up")
        << update(R"("user_defined":"{\"app_id\":\"17\"}")") << false << false << QList<bool>{}
        << none << own << false << false;
    QTest::newRow("no update, start-up") << releaseAnswer(R"({"has_update":"false"})") << false
                                         << false << QList<bool>{} << none << own << false << false;
    QTest::newRow("not enough space, automatic")
        << update(R"("package_size":4000000000000000000)") << false << true << QList<bool>{}
        << QStringList{"message_update_failed_not_enough_space"} << next << false << false;
    QTest::newRow("not enough space after yes")
        << update(R"("package_size":"4000000000000000000")") << false << false << QList<bool>{true}
        << QStringList{"message_new_version_whether_update",
                       "message_update_failed_not_enough_space"}
        << next << false << false;
    QTest::newRow("compulsory without a digest")
        << update(R"("update_type":2,"package_md5":"")") << false << false << QList<bool>{true}
        << please << next << true << false;
    QTest::newRow("compulsory with a bad digest, start-up")
        << update(R"("update_type":2,"package_md5":"0123abcd")") << false << false << QList<bool>{}
        << QStringList{"message_update_request_exception"} << own << false << false;
    QTest::newRow("address not http, user asked")
        << update(R"("package_url":"file:///etc/passwd")") << true << true << QList<bool>{}
        << QStringList{"message_update_request_exception"} << own << false << false;
}

void TestUpdateCheck::decisionAsksRecordsAndStarts()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, userAsked);
    QFETCH(bool, autoUpdate);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, boxes);
    QFETCH(bool, started);
    QFETCH(bool, quit);

    config()->writeBool("is_user_update", userAsked);
    config()->writeBool("is_auto_update", autoUpdate);
    m_boxes->setAnswers(answers);
    m_release.serveData(kReleasePath, body, "application/json");
    check();
    QTRY_COMPARE(m_newVersion->count(), 1);

    QCOMPARE(m_boxes->texts(), boxes);
    for (const SeenBox &box : qAsConst(m_boxes->seen)) {
        const bool question = box.text.startsWith(QLatin1String("message_new_version_"));
        QCOMPARE(box.confirm, question ? QStringLiteral("button_update") : box.confirm);
        QCOMPARE(box.cancelVisible, question);
    }
    QTEST(config()->readString("new_version"), "newVersion");
    QCOMPARE(config()->readBool("is_user_update"), false);
    QCOMPARE(m_quits->count(), quit ? 1 : 0);
    QCOMPARE(m_starts->count(), started ? 1 : 0);
    if (started) {
        const auto info = m_starts->first().first().value<AppVersionInfo>();
        const QString sent = QJsonDocument::fromJson(body)["data"]["package_md5"].toString();
        QCOMPARE(info.packageMd5(), sent.toLower());
        QCOMPARE(info.packageUrl(),
                 QStringLiteral("http://127.0.0.1:1/launcher/launcher_2.3.4.0.7z"));
        QCOMPARE(info.packageVersion(), QStringLiteral("2.3.4.0"));
        QCOMPARE(info, m_program->versionInfo());
    }
}

void TestUpdateCheck::promptSitsOverMainWindow()
{
    QWindow window;
    window.setGeometry(100, 50, 1280, 730);
    QObject mask(&window);
    mask.setObjectName(QStringLiteral("bgMask_msgbox"));
    mask.setProperty("visible", false);
    m_boxes->mask = &mask;
    m_program->setAsker(QuestionBox::over(&window));
    m_release.serveData(kReleasePath, update(), "application/json");
    check();
    QTRY_COMPARE(m_boxes->seen.size(), 1);
    const QRect box = m_boxes->seen.first().geometry;
    // The box grows downwards by the line with the version and size.
    QCOMPARE(box.width(), 460);
    QVERIFY(box.height() >= 300);
    QCOMPARE(box.topLeft(), QPoint(100 + (1280 - 500) / 2, 50 + (730 - 300) / 2));
    // The question names what is offered, over the dimmed page, which is bright again after.
    QVERIFY2(m_boxes->seen.first().text.contains(QLatin1String("label_new_launcher_version")),
             qPrintable(m_boxes->seen.first().text));
    QVERIFY(m_boxes->seen.first().pageDimmed);
    QVERIFY(!mask.property("visible").toBool());
}

QTEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
