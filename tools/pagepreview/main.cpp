// Shows the real page with a scripted view model in one of the states a player meets and
// saves a picture of the screen area of the window (dialogs on top included).
//
// Usage: pagepreview --scene SCENE --out file.png [--lang zh-cn|en]
// Scenes: normal, downloading, msgbox, settings, repair (the settings while the game is
// checked), installpath.

#include <QApplication>
#include <QCommandLineParser>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QtWebEngine/qtwebengineglobal.h>

#include <cstdio>
#include <unistd.h>

#include "newspageserver.h"
#include "pagetestviewmodel.h"

#ifdef PREVIEW_HAVE_DIALOGS
#include "cdlgyesno.h"
#include "csetinstallpathdialog.h"
#include "dlgsetting.h"
#endif

namespace {

void setText(QQuickWindow *window, const char *name, const QString &text)
{
    if (QObject *item = window->findChild<QObject *>(QString::fromLatin1(name)))
        item->setProperty("text", text);
}

// The view model's own texts; the page's context holds the ones the page shares with it.
QString tr(const char *key)
{
    const QString text = QCoreApplication::translate("MainViewModel", key);
    return text != QLatin1String(key) ? text : QCoreApplication::translate("main", key);
}

} // namespace

int main(int argc, char *argv[])
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QtWebEngine::initialize();
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addOption(
        {"scene", "normal, downloading, msgbox, settings, repair or installpath", "scene", "normal"});
    parser.addOption({"out", "PNG file to write", "file"});
    parser.addOption({"lang", "zh-cn or en", "lang", "zh-cn"});
    parser.process(app);
    const QString scene = parser.value("scene");
    const QString lang = parser.value("lang");
    const QString out = parser.value("out");
    const QStringList scenes{"normal", "downloading", "msgbox", "settings", "repair",
                             "installpath"};
    if (out.isEmpty() || !scenes.contains(scene)) {
        std::fprintf(stderr, "usage: pagepreview --scene %s --out f.png\n",
                     qPrintable(scenes.join('|')));
        return 2;
    }

    QTranslator translator;
    const QString qm = QStringLiteral("i18n_%1").arg(QString(lang).replace('-', '_'));
    if (translator.load(qm, QStringLiteral(PREVIEW_LANGUAGE_DIR)))
        app.installTranslator(&translator);
    else
        std::fprintf(stderr, "no translation %s, showing keys\n", qPrintable(qm));

    NewsPageServer server;
    if (!server.listen()) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }

    PageTestViewModel model;
    model.setProperty("installPath", QStringLiteral("/home/player/Games/Orvyndale Game"));
    model.setProperty("mainBgUrl",
                      QString(server.baseUrl().toString() + "/18/" + lang + "?prev=false"));
    model.setProperty("hasNewProgramVersion", true);
    model.setGameState(scene == "downloading" ? 6 : 2);
    if (scene == "downloading")
        model.setProperty("progress", 0.453f);

    QQmlApplicationEngine engine;
    engine.rootContext()->setContextProperty("mainViewModel", &model);
    engine.load(QUrl("qrc:/main.qml"));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    model.setWindow(window);
    window->setPosition(40, 40);

    // What the view model writes into the page by object name.
    setText(window, "versionText", "1.4.2 ");
    if (scene == "downloading") {
        setText(window, "download_percentage",
                tr("label_downloading_percent") + " 45% (2.31" + tr("label_unit_gb") + "/5.10" +
                    tr("label_unit_gb") + ")");
        setText(window, "download_speed",
                tr("label_download_speed") + " 12.46" + tr("label_download_speed_mbs"));
        setText(window, "task_needtime", tr("label_task_need_time") + "00:03:52");
    }

    auto grab = [window, out] {
        QScreen *screen = window->screen();
        const QRect area = window->geometry();
        const QImage image =
            screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        const bool ok = !image.isNull() && image.save(out);
        std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write",
                     qPrintable(out));
        QCoreApplication::exit(ok ? 0 : 1);
    };

    // Wait for the news page, then give the web view time to paint it.
    QObject *web = window->findChild<QObject *>("bgWebView");
    auto ready = [&] {
        if (scene == "normal" || scene == "downloading") {
            QTimer::singleShot(1500, &app, grab);
            return;
        }
#ifdef PREVIEW_HAVE_DIALOGS
        // As the view model does it: dim the page, centre the dialog, run it modally.
        QObject *mask = window->findChild<QObject *>("bgMask_msgbox");
        mask->setProperty("visible", true);
        QTimer::singleShot(1500, &app, grab);
        const QRect area = window->geometry();
        auto runCentred = [&area](QDialog &dialog) {
            dialog.move(area.x() + (area.width() - dialog.width()) / 2,
                        area.y() + (area.height() - dialog.height()) / 2);
            dialog.exec();
        };
        if (scene == "msgbox") {
            CDlgYesNo::ask(tr("title_error"), tr("message_launcher_check_failed"), true, nullptr,
                           area);
        } else if (scene == "settings") {
            DlgSetting dialog;
            runCentred(dialog);
        } else if (scene == "repair") {
            DlgSetting dialog;
            // The show event starts on the first page; the check's page is chosen after it.
            QTimer::singleShot(0, &dialog, [&dialog] {
                dialog.onTabSwitch(2);
                dialog.setGameRepairRunning(true);
                dialog.setGameRepairStatus(
                    QCoreApplication::translate("GameRepairFlow", "label_repair_verifying")
                        .arg(1234)
                        .arg(2000)
                        .arg(QStringLiteral("612.4 MB"), QStringLiteral("1,023.9 MB")) +
                    QLatin1Char(' ') +
                    QCoreApplication::translate("GameRepairFlow", "label_repair_time_left")
                        .arg(QStringLiteral("00:00:34")));
            });
            runCentred(dialog);
        } else {
            CSetInstallPathDialog dialog;
            dialog.setNeedSpace(qint64(5.1 * 1024 * 1024 * 1024));
            dialog.setPathText(QStringLiteral("/home/player/Games/Orvyndale Game"));
            runCentred(dialog);
        }
        mask->setProperty("visible", false);
#else
        std::fprintf(stderr, "built without the dialogs library\n");
        QCoreApplication::exit(1);
#endif
    };
    bool started = false;
    // The load request type is private to the web engine module, so poll its properties.
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (!started && !web->property("loading").toBool() &&
            web->property("loadProgress").toInt() == 100) {
            started = true;
            poll.stop();
            QTimer::singleShot(0, &app, ready);
        }
    });
    poll.start();
    QTimer::singleShot(60000, &app, [] {
        std::fprintf(stderr, "the page did not load in time\n");
        QCoreApplication::exit(1);
    });
    return app.exec();
}
