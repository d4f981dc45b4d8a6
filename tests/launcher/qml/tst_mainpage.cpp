#include <QApplication>
#include <QColor>
#include <QDesktopServices>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>
#include <QtWebEngine/qtwebengineglobal.h>

#include <memory>

#include "httptestserver.h"
#include "pagetestviewmodel.h"

namespace {

// Returns a translation only for the keys it was given; everything else stays a key.
class MapTranslator : public QTranslator
{
public:
    QHash<QByteArray, QString> texts;
    QString translate(const char *, const char *sourceText, const char *, int) const override
    {
        return texts.value(QByteArray(sourceText));
    }
    bool isEmpty() const override { return texts.isEmpty(); }
};

// Receives what the page hands to the desktop browser.
class BrowserCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void openUrl(const QUrl &url) { opened << url; }
};

} // namespace

class TestMainPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void mainButtonFollowsGameState_data();
    void mainButtonFollowsGameState();
    void partialDownloadTurnsInstallIntoContinue();
    void fullStopInLabelBecomesLineBreak();
    void shippedTranslationsCoverEveryPageText_data();
    void shippedTranslationsCoverEveryPageText();
    void progressBarShowsPercentWithOneDecimal();
    void buttonsCallTheViewModel();
    void startButtonHidesWindowBeforeGameStarts();
    void disabledStartButtonIgnoresClicksAndRecovers();
    void imageButtonStatesSwapPicturesAndColours();
    void pauseButtonTakesPicturesWrittenByViewModel();
    void topBarDragMovesWindow();
    void trayIconBringsWindowBackAndQuits();
    void rightClicksOnWebPageAreSwallowed();
    void dialogMaskCoversEveryPageItem();
    void redPointFollowsNewLauncherVersion();
    void promotionButtonOpensAddressInBrowser();
    void webPageGetsClientObjectOverWebChannel();
    void webPageNewWindowOpensInBrowser();
    void failedWebPageIsHidden();

private:
    QQuickItem *item(const char *name) const;
    QPoint centreOf(QQuickItem *it) const;
    void click(QQuickItem *it, Qt::MouseButton button = Qt::LeftButton);

    std::unique_ptr<PageTestViewModel> m_model;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow *m_window = nullptr;
    HttpTestServer m_server;
    BrowserCatcher m_browser;
};

void TestMainPage::initTestCase()
{
    QDesktopServices::setUrlHandler("http", &m_browser, "openUrl");
    QDesktopServices::setUrlHandler("https", &m_browser, "openUrl");
    QVERIFY(m_server.listen());

    m_model = std::make_unique<PageTestViewModel>();
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->rootContext()->setContextProperty("mainViewModel", m_model.get());
    QList<QQmlError> warnings;
    connect(m_engine.get(), &QQmlEngine::warnings, this,
            [&warnings](const QList<QQmlError> &w) { warnings += w; });
    m_engine->load(QUrl("qrc:/main.qml"));
    QCOMPARE(m_engine->rootObjects().size(), 1);
    m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
    QVERIFY(m_window);
    QCOMPARE(m_window->objectName(), QString("rootWindow"));
    QCOMPARE(m_window->size(), QSize(1280, 730));
    QVERIFY(m_window->flags() & Qt::FramelessWindowHint);
    m_model->setWindow(m_window);
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // A binding error in the page (a misspelt property, a null item) shows up here.
    for (const QQmlError &w : warnings)
        qWarning() << w.toString();
    QVERIFY(warnings.isEmpty());
    disconnect(m_engine.get(), &QQmlEngine::warnings, this, nullptr);
}

void TestMainPage::init()
{
    m_model->calls.clear();
    m_model->setDownloadNotComplated(false);
    m_model->setGameState(3);
    if (!m_window->isVisible()) {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    m_model->calls.clear();
}

void TestMainPage::cleanupTestCase()
{
    m_engine.reset();
    QDesktopServices::unsetUrlHandler("http");
    QDesktopServices::unsetUrlHandler("https");
}

QQuickItem *TestMainPage::item(const char *name) const
{
    auto *found = m_window->findChild<QQuickItem *>(QString::fromLatin1(name));
    if (!found)
        qFatal("page item %s is missing", name);
    return found;
}

QPoint TestMainPage::centreOf(QQuickItem *it) const
{
    return it->mapToScene(QPointF(it->width() / 2, it->height() / 2)).toPoint();
}

void TestMainPage::click(QQuickItem *it, Qt::MouseButton button)
{
    QTest::mouseClick(m_window, button, Qt::NoModifier, centreOf(it));
}

void TestMainPage::mainButtonFollowsGameState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("mainButton");
    QTest::addColumn<bool>("progressArea");
    QTest::addColumn<bool>("downloadTexts");
    QTest::addColumn<bool>("setupText");

    QTest::newRow("checking") << 1 << "startBtn" << false << false << false;
    QTest::newRow("not installed") << 2 << "installBtn" << false << false << false;
    QTest::newRow("installed") << 3 << "startBtn" << false << false << false;
    QTest::newRow("update available") << 4 << "updateBtn" << false << false << false;
    QTest::newRow("downloading") << 6 << "startBtn" << true << true << false;
    QTest::newRow("installing") << 7 << "startBtn" << true << false << true;
    QTest::newRow("query failed") << 8 << "" << false << false << false;
    QTest::newRow("verifying") << 9 << "startBtn" << true << false << true;
}

void TestMainPage::mainButtonFollowsGameState()
{
    QFETCH(int, state);
    QFETCH(QString, mainButton);
    QFETCH(bool, progressArea);
    QFETCH(bool, downloadTexts);
    QFETCH(bool, setupText);

    m_model->setGameState(state);

    // Exactly one main button (or none) is on screen.
    for (const char *name : {"installBtn", "updateBtn", "startBtn"})
        QCOMPARE(item(name)->isVisible(), mainButton == QLatin1String(name));
    QCOMPARE(item("installPathRect")->isVisible(), state == 2);
    QCOMPARE(item("download_bg")->isVisible(), progressArea);
    QCOMPARE(item("bgBottomMask")->isVisible(), progressArea);
    QCOMPARE(item("download_percentage")->isVisible(), downloadTexts);
    QCOMPARE(item("task_needtime")->isVisible(), downloadTexts);
    QCOMPARE(item("download_speed")->isVisible(), downloadTexts);
    QCOMPARE(item("pauseDownloadBtn")->isVisible(), downloadTexts);
    QCOMPARE(item("setup_percentage")->isVisible(), setupText);
    // Only an installed game can be started.
    QCOMPARE(item("startBtn")->property("interactable").toBool(), state == 3);
    QCOMPARE(item("startBtn")->state(), QString(state == 3 ? "nomal" : "disable"));
}

void TestMainPage::partialDownloadTurnsInstallIntoContinue()
{
    m_model->setGameState(2);
    QCOMPARE(item("installBtn")->property("text").toString(), QString("button_get_game"));
    QVERIFY(item("installPathRect")->isVisible());

    m_model->setDownloadNotComplated(true);
    QCOMPARE(item("installBtn")->property("text").toString(), QString("button_continue_download"));
    // The folder is fixed once bytes are on disk, so the path line goes away.
    QVERIFY(!item("installPathRect")->isVisible());

    m_model->setGameState(4);
    QCOMPARE(item("updateBtn")->property("text").toString(), QString("button_continue_download"));
    m_model->setDownloadNotComplated(false);
    QCOMPARE(item("updateBtn")->property("text").toString(), QString("button_update"));
}

void TestMainPage::fullStopInLabelBecomesLineBreak()
{
    MapTranslator translator;
    translator.texts.insert("button_get_game", QString::fromUtf8("立即。获取游戏"));
    translator.texts.insert("button_start_game", QString::fromUtf8("开始游戏"));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    m_engine->retranslate();
    m_model->setGameState(2);

    QQuickItem *install = item("installBtn");
    QCOMPARE(install->property("text").toString(), QString::fromUtf8("立即\n获取游戏"));
    auto *label = install->property("buttonText").value<QQuickItem *>();
    QVERIFY(label);
    QCOMPARE(label->property("lineCount").toInt(), 2);
    // A label without "。" stays on one line.
    QCOMPARE(item("startBtn")->property("text").toString(), QString::fromUtf8("开始游戏"));

    QCoreApplication::removeTranslator(&translator);
    m_engine->retranslate();
    QCOMPARE(install->property("text").toString(), QString("button_get_game"));
}

void TestMainPage::shippedTranslationsCoverEveryPageText_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("zh_cn") << "zh_cn";
    QTest::newRow("en") << "en";
}

void TestMainPage::shippedTranslationsCoverEveryPageText()
{
    QFETCH(QString, language);
    QFile page(qEnvironmentVariable("LAUNCHER_SOURCE_DIR") + "/launcher/qml/main.qml");
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
    const QString source = QString::fromUtf8(page.readAll());
    QStringList keys;
    QRegularExpression qsTr(QStringLiteral("qsTr\\(\"([^\"]+)\"\\)"));
    for (auto it = qsTr.globalMatch(source); it.hasNext();)
        keys << it.next().captured(1);
    keys.removeDuplicates();
    QVERIFY(keys.size() >= 12);

    QTranslator translator;
    const QString folder = qEnvironmentVariable("LAUNCHER_BIN_DIR") + "/language";
    QVERIFY2(translator.load("i18n_" + language, folder), qPrintable(folder));
    // The page's texts live in the context named after its file.
    for (const QString &key : qAsConst(keys)) {
        const QString text = translator.translate("main", key.toUtf8().constData());
        QVERIFY2(!text.isEmpty() && text != key, qPrintable(language + ": " + key));
    }

    QVERIFY(QCoreApplication::installTranslator(&translator));
    m_engine->retranslate();
    m_model->setGameState(2);
    QCOMPARE(
        item("installBtn")->property("text").toString(),
        translator.translate("main", "button_get_game").replace(QString::fromUtf8("。"), "\n"));
    QCoreApplication::removeTranslator(&translator);
    m_engine->retranslate();
}

void TestMainPage::progressBarShowsPercentWithOneDecimal()
{
    m_model->setGameState(6);
    QQuickItem *bar = item("progress");
    QVERIFY(bar);
    m_model->setProperty("progress", 0.4567f);
    QVERIFY(qAbs(bar->property("value").toDouble() - 0.4567) < 1e-4);
    QCOMPARE(bar->property("progress").toString(), QString("45.7"));
    QQuickItem *fill = bar->findChild<QQuickItem *>("progressFill");
    QVERIFY(fill);
    QVERIFY(qAbs(fill->width() - 0.4567 * 776) < 1.0);

    m_model->setProperty("progress", 1.0f);
    QCOMPARE(bar->property("progress").toString(), QString("100.0"));
    QVERIFY(qAbs(fill->width() - 776) < 1.0);
}

void TestMainPage::buttonsCallTheViewModel()
{
    m_model->setGameState(2);
    click(item("installBtn"));
    click(item("chg_InstallPath_btn"));
    click(item("settingbtn"));
    click(item("closebtn"));
    QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    m_model->setGameState(4);
    click(item("updateBtn"));
    m_model->setGameState(6);
    click(item("pauseDownloadBtn"));

    QCOMPARE(m_model->calls, QStringList({"installEnsureBtnClicked", "changeInstallPathBtnClicked",
                                          "btnSettingClick", "btnExitClick", "appInfoAreaClick",
                                          "updateBtnClicked", "pauseBtnClicked"}));
}

void TestMainPage::startButtonHidesWindowBeforeGameStarts()
{
    m_model->setGameState(3);
    m_model->windowVisibleWhenGameStarted = true;
    click(item("startBtn"));
    QVERIFY(m_model->calls.contains("startGameBtnClicked"));
    QVERIFY(!m_model->windowVisibleWhenGameStarted);
    QVERIFY(!m_window->isVisible());

    // Coming back (from the tray) asks the view model for fresh server state.
    m_model->calls.clear();
    m_window->show();
    QTRY_VERIFY(m_model->calls.contains("UpdateInfoByHttp"));
}

void TestMainPage::disabledStartButtonIgnoresClicksAndRecovers()
{
    m_model->setGameState(1);
    QQuickItem *start = item("startBtn");
    QCOMPARE(start->state(), QString("disable"));
    auto *label = start->property("buttonText").value<QQuickItem *>();
    QCOMPARE(label->property("color").value<QColor>(), QColor("#b2999999"));
    click(start);
    QVERIFY(!m_model->calls.contains("startGameBtnClicked"));
    QVERIFY(m_window->isVisible());

    // When the game becomes startable the label must not stay grey.
    m_model->setGameState(3);
    QCOMPARE(start->state(), QString("nomal"));
    QTRY_COMPARE(label->property("color").value<QColor>(), QColor("#704a1d"));
}

void TestMainPage::imageButtonStatesSwapPicturesAndColours()
{
    m_model->setGameState(2);
    QQuickItem *install = item("installBtn");
    auto *picture = install->property("buttonImage").value<QQuickItem *>();
    QVERIFY(picture);
    auto source = [picture] {
        return picture->property("source").toUrl().toString();
    };
    const QPoint centre = centreOf(install);

    QTest::mouseMove(m_window, centre);
    QTRY_COMPARE(install->state(), QString("hover"));
    QTRY_VERIFY(source().endsWith("pic/main_btn_o.png"));
    QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, centre);
    QCOMPARE(install->state(), QString("press"));
    QTRY_VERIFY(source().endsWith("pic/main_btn_d.png"));
    QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, centre);
    QCOMPARE(install->state(), QString("nomal"));
    QTRY_VERIFY(source().endsWith("pic/main_btn_n.png"));
    // The pictures come from the linked resources (Image.Ready is 1).
    QTRY_COMPARE(picture->property("status").toInt(), 1);
    QTest::mouseMove(m_window, QPoint(5, 200));
    QTest::mouseMove(m_window, centre);
    QTRY_COMPARE(install->state(), QString("hover"));
    QTest::mouseMove(m_window, QPoint(5, 200));
    QTRY_COMPARE(install->state(), QString("nomal"));

    // The change-path link keeps its own yellow at rest and brightens on hover.
    QQuickItem *link = item("chg_InstallPath_btn");
    auto *linkLabel = link->property("buttonText").value<QQuickItem *>();
    QTest::mouseMove(m_window, QPoint(5, 200));
    QTRY_COMPARE(linkLabel->property("color").value<QColor>(), QColor("#ffd846"));
    QTest::mouseMove(m_window, centreOf(link));
    QTRY_COMPARE(link->state(), QString("hover"));
    QTRY_COMPARE(linkLabel->property("color").value<QColor>(), QColor("#ffec5c"));
    QTest::mouseMove(m_window, QPoint(5, 200));
    QTRY_COMPARE(linkLabel->property("color").value<QColor>(), QColor("#ffd846"));
}

void TestMainPage::pauseButtonTakesPicturesWrittenByViewModel()
{
    m_model->setGameState(6);
    QQuickItem *pause = item("pauseDownloadBtn");
    auto *picture = pause->property("buttonImage").value<QQuickItem *>();
    auto source = [picture] {
        return picture->property("source").toUrl().toString();
    };
    QCOMPARE(pause->state(), QString("nomal"));
    QVERIFY(source().endsWith("pic/continue_n.png"));

    // What the view model does on pause: the resting picture changes under the same state.
    pause->setProperty("nomal_Image", "pic/pause_n.png");
    pause->setProperty("hover_Image", "pic/pause_o.png");
    pause->setProperty("press_Image", "pic/pause_d.png");
    QTRY_VERIFY(source().endsWith("pic/pause_n.png"));
    QTRY_COMPARE(picture->property("status").toInt(), 1);
    QTest::mouseMove(m_window, centreOf(pause));
    QTRY_VERIFY(source().endsWith("pic/pause_o.png"));
    QTest::mouseMove(m_window, QPoint(5, 200));
    QTRY_VERIFY(source().endsWith("pic/pause_n.png"));

    pause->setProperty("nomal_Image", "pic/continue_n.png");
    pause->setProperty("hover_Image", "pic/continue_o.png");
    pause->setProperty("press_Image", "pic/continue_d.png");
    QTRY_VERIFY(source().endsWith("pic/continue_n.png"));
}

void TestMainPage::topBarDragMovesWindow()
{
    const QPoint start = m_window->position();
    QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, QPoint(400, 15));
    QTest::mouseMove(m_window, QPoint(450, 35));
    QTRY_COMPARE(m_window->position(), start + QPoint(50, 20));
    // The pointer has not moved since: in the moved window it is back at (400, 15).
    QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, QPoint(400, 15));
    QCOMPARE(m_window->position(), start + QPoint(50, 20));

    // The left 80 pixels belong to the about gesture, not to dragging.
    const QPoint before = m_window->position();
    QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, QPoint(40, 15));
    QTest::mouseMove(m_window, QPoint(90, 35));
    QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, QPoint(90, 35));
    QCOMPARE(m_window->position(), before);
    QCOMPARE(m_model->calls, QStringList{"appInfoAreaClick"});
}

void TestMainPage::trayIconBringsWindowBackAndQuits()
{
    QObject *tray = m_window->findChild<QObject *>("trayIcon");
    QVERIFY(tray);
    QVERIFY(tray->property("visible").toBool());
    // Hovering the icon names the program.
    QCOMPARE(tray->property("tooltip").toString(),
             QCoreApplication::translate("main", "title_app_name_kv"));
    const int signalIndex =
        tray->metaObject()->indexOfSignal("activated(QPlatformSystemTrayIcon::ActivationReason)");
    QVERIFY(signalIndex >= 0);
    const QMetaMethod activated = tray->metaObject()->method(signalIndex);
    auto activate = [&](int reason) {
        // The reason is an enum of a private header; pass its integer storage as it is.
        QVERIFY(activated.invoke(
            tray, Qt::DirectConnection,
            QGenericArgument("QPlatformSystemTrayIcon::ActivationReason", &reason)));
    };

    // Single click (3) and double click (2) both restore the hidden window.
    for (int reason : {3, 2}) {
        m_window->hide();
        QVERIFY(!m_window->isVisible());
        activate(reason);
        QTRY_VERIFY(m_window->isVisible());
    }
    // The context click (1) only opens the menu; the handler runs synchronously.
    m_window->hide();
    activate(1);
    QVERIFY(!m_window->isVisible());

    QObject *open = m_window->findChild<QObject *>("trayOpenItem");
    QObject *quit = m_window->findChild<QObject *>("trayQuitItem");
    QVERIFY(open && quit);
    QCOMPARE(open->property("text").toString(), QString("button_open_main_window"));
    QCOMPARE(quit->property("text").toString(), QString("button_quit"));
    QVERIFY(QMetaObject::invokeMethod(open, "triggered"));
    QTRY_VERIFY(m_window->isVisible());

    m_model->calls.clear();
    QVERIFY(QMetaObject::invokeMethod(quit, "triggered"));
    QTRY_VERIFY(m_model->calls.contains("onApplicationQuit"));
}

void TestMainPage::rightClicksOnWebPageAreSwallowed()
{
    // A right press anywhere over the web page lands on the guard, so no context menu can
    // open: in the middle, over the main button, and in the last 30 pixels at the bottom.
    QQuickItem *guard = item("rightClickGuard");
    QQuickItem *web = item("bgWebView");
    const QRectF webArea(web->mapToScene(QPointF(0, 0)), web->size());
    QCOMPARE(webArea.bottom(), qreal(m_window->height()));
    const QList<QPoint> points = {QPoint(640, 300), centreOf(item("startBtn")), QPoint(640, 705),
                                  QPoint(2, 729),   QPoint(1279, 729),          QPoint(640, 31)};
    for (const QPoint &point : points) {
        QTest::mousePress(m_window, Qt::RightButton, Qt::NoModifier, point);
        QVERIFY2(m_window->mouseGrabberItem() == guard,
                 qPrintable(QStringLiteral("right press at %1,%2 reached %3")
                                .arg(point.x())
                                .arg(point.y())
                                .arg(m_window->mouseGrabberItem()
                                         ? m_window->mouseGrabberItem()->objectName()
                                         : QStringLiteral("nothing"))));
        QTest::mouseRelease(m_window, Qt::RightButton, Qt::NoModifier, point);
    }
    const QPoint onPage(640, 300);
    // ...while left clicks still reach the page's links.
    QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, onPage);
    QVERIFY(m_window->mouseGrabberItem() != guard);
    QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, onPage);
}

void TestMainPage::dialogMaskCoversEveryPageItem()
{
    QQuickItem *mask = item("bgMask_msgbox");
    QVERIFY(!mask->isVisible());
    QCOMPARE(mask->size(), QSizeF(1280, 730));
    QCOMPARE(mask->position(), QPointF(0, 0));
    const QList<QQuickItem *> siblings = mask->parentItem()->childItems();
    QCOMPARE(siblings.last(), mask);
    for (QQuickItem *other : siblings)
        QVERIFY2(other == mask || other->z() < mask->z(), qPrintable(other->objectName()));
}

void TestMainPage::redPointFollowsNewLauncherVersion()
{
    m_model->setProperty("hasNewProgramVersion", false);
    QVERIFY(!item("redPoint")->isVisible());
    m_model->setProperty("hasNewProgramVersion", true);
    QVERIFY(item("redPoint")->isVisible());
    // A click on the dot still opens the settings.
    click(item("redPoint"));
    QCOMPARE(m_model->calls, QStringList{"btnSettingClick"});
    m_model->setProperty("hasNewProgramVersion", false);
}

void TestMainPage::promotionButtonOpensAddressInBrowser()
{
    QQuickItem *promo = item("viewActivity");
    QVERIFY(!promo->isVisible());
    promo->setVisible(true); // what the view model does once its icon is downloaded
    m_model->promotionUrl = "https://example.invalid/event";
    m_browser.opened.clear();
    click(promo);
    QCOMPARE(m_model->calls, QStringList{"btnMoreActiveJumpUrl"});
    QCOMPARE(m_browser.opened, QList<QUrl>{QUrl("https://example.invalid/event")});
    promo->setVisible(false);
}

void TestMainPage::webPageGetsClientObjectOverWebChannel()
{
    QFile channelScript(":/qtwebchannel/qwebchannel.js");
    QVERIFY(channelScript.open(QIODevice::ReadOnly));
    m_server.serveData("/qwebchannel.js", channelScript.readAll(), "application/javascript");
    m_server.serveData("/18/en", R"(<!doctype html><html><body style="background:transparent">
<script src="/qwebchannel.js"></script>
<script>
new QWebChannel(qt.webChannelTransport, function(channel) {
    document.title = "client:" + channel.objects.client.reportParam;
});
</script></body></html>)",
                       "text/html; charset=utf-8");
    m_model->setProperty("reportParam", "uid=7&ver=2.3.3.0");
    QQuickItem *web = item("bgWebView");
    web->setVisible(true);
    m_model->setProperty("mainBgUrl", m_server.url("/18/en?prev=false").toString());

    QTRY_COMPARE_WITH_TIMEOUT(web->property("title").toString(),
                              QString("client:uid=7&ver=2.3.3.0"), 30000);
    // A page served with 200 stays visible and asks for its one reload.
    QTRY_VERIFY(m_model->calls.contains("singleReloadWeb"));
    QVERIFY(web->isVisible());
}

void TestMainPage::webPageNewWindowOpensInBrowser()
{
    QQuickItem *web = item("bgWebView");
    QTRY_VERIFY_WITH_TIMEOUT(!web->property("loading").toBool(), 30000);
    m_browser.opened.clear();
    const QUrl target = m_server.url("/news/42");
    QVERIFY(QMetaObject::invokeMethod(
        web, "runJavaScript",
        Q_ARG(QString, QString("window.open('%1', '_blank');").arg(target.toString())),
        Q_ARG(QJSValue, QJSValue())));
    QTRY_COMPARE_WITH_TIMEOUT(m_browser.opened, QList<QUrl>{target}, 15000);
    // The page itself stays where it was.
    QCOMPARE(web->property("url").toUrl().path(), QString("/18/en"));
}

void TestMainPage::failedWebPageIsHidden()
{
    QQuickItem *web = item("bgWebView");
    web->setVisible(true);
    m_model->setProperty("mainBgUrl", m_server.url("/18/missing").toString());
    QTRY_VERIFY_WITH_TIMEOUT(!web->isVisible(), 30000);
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QtWebEngine::initialize();
    QApplication app(argc, argv);
    TestMainPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainpage.moc"
