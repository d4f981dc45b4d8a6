// Shows the real page with a scripted view model in the states a player meets, with the
// launcher's dialogs over it, and saves a picture of the window's screen area (dialogs on top
// included) for each.
//
// Usage: pagepreview --scene SCENE --out file.png [--lang zh-cn]
//        pagepreview --gallery DIR [--lang zh-cn]    every scene, DIR/<scene>-<lang>.png
// --lang names the translation file: zh-cn reads language/i18n_zh_cn.qm.
// Scenes: see kScenes below; "normal" is "notinstalled".

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QCursor>
#include <QEventLoop>
#include <QFileDialog>
#include <QListWidget>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QtWebEngine/qtwebengineglobal.h>

#include <cstdio>
#include <functional>
#include <unistd.h>

#include "newspageserver.h"
#include "pagetestviewmodel.h"
#include "progresstext.h"
#include "scriptfont.h"
#include "sizetext.h"

#ifdef PREVIEW_HAVE_DIALOGS
#include "appenvironment.h"
#include "cdlgappinfo.h"
#include "cdlgclosetip.h"
#include "cdlgyesno.h"
#include "csetinstallpathdialog.h"
#include "dlgsetting.h"
#include "languageselection.h"
#endif

namespace {

// Page states first, then the dialogs over the dimmed page.
const QStringList kScenes{
    "notinstalled", "continue",     "downloading", "paused",      "verifying", "installing",
    "installed",    "update",       "queryfailed", "msgbox",      "notice",    "settings-1",
    "settings-2",   "settings-3",   "repair",      "installpath", "closetip",  "about",
    "updateprompt", "folderpicker", "traymenu"};

// Time for the page and a dialog to paint before the picture is taken.
constexpr int kSettleMs = 400;

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The view model's own texts; the page's context holds the ones the page shares with it.
QString tr(const char *key)
{
    const QString text = QCoreApplication::translate("MainViewModel", key);
    return text != QLatin1String(key) ? text : QCoreApplication::translate("main", key);
}

class Preview
{
public:
    Preview(PageTestViewModel &model, QQuickWindow *window)
        : m_model(model)
        , m_window(window)
    {}

    // Puts the page into the scene's state, shows the scene's dialog if it has one and saves
    // the picture. False when the picture could not be written.
    bool shoot(const QString &scene, const QString &file)
    {
        reset();
        m_file = file;
        m_saved = false;
        if (!preparePage(scene)) {
#ifdef PREVIEW_HAVE_DIALOGS
            showDialog(scene);
#else
            std::fprintf(stderr, "built without the dialogs library\n");
            return false;
#endif
        } else {
            wait(kSettleMs);
            grab();
        }
        return m_saved;
    }

private:
    void setText(const char *name, const QString &text)
    {
        if (QObject *item = m_window->findChild<QObject *>(QString::fromLatin1(name)))
            item->setProperty("text", text);
    }

    void setItem(const char *name, const char *property, const QVariant &value)
    {
        if (QObject *item = m_window->findChild<QObject *>(QString::fromLatin1(name)))
            item->setProperty(property, value);
    }

    void setPauseImages(const QString &stem)
    {
        setItem("pauseDownloadBtn", "nomal_Image", QString(stem + "_n.png"));
        setItem("pauseDownloadBtn", "hover_Image", QString(stem + "_o.png"));
        setItem("pauseDownloadBtn", "press_Image", QString(stem + "_d.png"));
    }

    void reset()
    {
        m_model.setDownloadNotComplated(false);
        m_model.setProperty("progress", 0.0f);
        setItem("bgMask_msgbox", "visible", false);
        setItem("bgWebView", "visible", true);
        setPauseImages(QStringLiteral("pic/continue"));
        // What the view model writes into the page by object name.
        setText("versionText", "1.4.2 ");
    }

    static qint64 gigabytes(double value)
    {
        return qint64(value * 1073741824.0);
    }

    void setProgressLine(const char *item, const char *label, int percent, double done)
    {
        setText(item, tr(label) + QStringLiteral(" %1% (%2/%3)")
                                      .arg(percent)
                                      .arg(SizeText::bytes(gigabytes(done)),
                                           SizeText::bytes(gigabytes(5.10))));
    }

    // Returns false for a scene that is a dialog over the not-installed page.
    bool preparePage(const QString &scene)
    {
        if (scene == "notinstalled" || scene == "continue") {
            m_model.setGameState(2);
            m_model.setDownloadNotComplated(scene == "continue");
        } else if (scene == "downloading" || scene == "paused") {
            m_model.setGameState(6);
            m_model.setProperty("progress", 0.453f);
            setProgressLine("download_percentage",
                            scene == "paused" ? "label_download_paused"
                                              : "label_downloading_percent",
                            45, 2.31);
            if (scene == "paused") {
                // As the view model shows a paused transfer.
                setPauseImages(QStringLiteral("pic/pause"));
                setText("download_speed",
                        ProgressText::speedLine(tr("label_download_speed"),
                                                tr("label_value_paused"), QString()));
                setText("task_needtime", tr("label_task_need_time") + tr("label_value_paused"));
            } else {
                setText("download_speed",
                        ProgressText::speedLine(tr("label_download_speed"),
                                                SizeText::speed(12.46 * 1048576.0), QString()));
                setText("task_needtime", tr("label_task_need_time") + "00:03:52");
            }
        } else if (scene == "verifying") {
            m_model.setGameState(9);
            m_model.setProperty("progress", 1.0f);
            setText("setup_percentage", tr("label_checking_md5") + "...");
        } else if (scene == "installing") {
            m_model.setGameState(7);
            m_model.setProperty("progress", 0.37f);
            setProgressLine("setup_percentage", "label_installing_progress", 37, 1.89);
            setText("task_needtime", tr("label_task_need_time") + "00:01:12");
        } else if (scene == "installed") {
            m_model.setGameState(3);
        } else if (scene == "update") {
            m_model.setGameState(4);
        } else {
            m_model.setGameState(2);
            return false;
        }
        return true;
    }

    void grab()
    {
        QScreen *screen = m_window->screen();
        const QRect area = m_window->geometry();
        const QImage image =
            screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        m_saved = !image.isNull() && image.save(m_file);
        std::fprintf(m_saved ? stdout : stderr, "%s %s\n", m_saved ? "wrote" : "cannot write",
                     qPrintable(m_file));
    }

#ifdef PREVIEW_HAVE_DIALOGS
    // As the view model does it: dim the page, centre the dialog, run it modally; the picture
    // is taken from inside the dialog's own event loop, which then ends.
    void showDialog(const QString &scene)
    {
        setItem("bgMask_msgbox", "visible", true);
        const QRect area = m_window->geometry();
        QTimer::singleShot(kSettleMs, [this] {
            grab();
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->done(0);
        });
        auto runCentred = [&area](QDialog &dialog) {
            dialog.move(area.x() + (area.width() - dialog.width()) / 2,
                        area.y() + (area.height() - dialog.height()) / 2);
            dialog.exec();
        };
        if (scene == "traymenu") {
            // The tray menu pops up where the pointer is: over the page's centre here. It is
            // no modal dialog, so it is closed here once the picture is taken.
            setItem("bgMask_msgbox", "visible", false);
            QObject *tray = m_window->findChild<QObject *>(QStringLiteral("trayIcon"));
            QObject *menu = tray ? tray->property("menu").value<QObject *>() : nullptr;
            const int signal = tray ? tray->metaObject()->indexOfSignal(
                                          "activated(QPlatformSystemTrayIcon::ActivationReason)")
                                    : -1;
            if (!menu || signal < 0)
                return;
            QCursor::setPos(area.center());
            // A context click on the icon, as the page handles it; the reason's type is private
            // to Qt, so its integer storage is passed as it is.
            int contextClick = 1;
            tray->metaObject()->method(signal).invoke(
                tray, Qt::DirectConnection,
                QGenericArgument("QPlatformSystemTrayIcon::ActivationReason", &contextClick));
            wait(kSettleMs * 2);
            QMetaObject::invokeMethod(menu, "close");
            return;
        }
        if (scene == "queryfailed") {
            // The resource query failed: no web page, no button, and the retry question.
            m_model.setGameState(8);
            setItem("bgWebView", "visible", false);
            CDlgYesNo::ask(tr("title_error"), tr("message_resource_check_failed"), true, nullptr,
                           area);
        } else if (scene == "msgbox") {
            CDlgYesNo::ask(tr("title_error"), tr("message_launcher_check_failed"), true, nullptr,
                           area);
        } else if (scene == "notice") {
            // The one-button notice the view model sizes itself.
            CDlgYesNo notice;
            notice.resize(460, 300);
            notice.setMessage(QString(), tr("message_need_update_launcher"));
            notice.showCloseButton(false);
            notice.hideCancelButton(true);
            notice.setConfirmText(tr("button_confirm"));
            notice.placeOver(area);
            notice.exec();
        } else if (scene.startsWith("settings-")) {
            DlgSetting dialog;
            // Chosen once the dialog is up, as a player does: showing it goes back to row one.
            if (auto *rows = dialog.findChild<QListWidget *>("listWidget")) {
                const int row = scene.mid(9).toInt() - 1;
                QTimer::singleShot(kSettleMs / 2, rows, [rows, row] { rows->setCurrentRow(row); });
            }
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
                        .arg(SizeText::bytes(qint64(612.4 * 1048576.0)),
                             SizeText::bytes(qint64(1023.9 * 1048576.0))) +
                    QLatin1Char(' ') +
                    QCoreApplication::translate("GameRepairFlow", "label_repair_time_left")
                        .arg(QStringLiteral("00:00:34")));
            });
            runCentred(dialog);
        } else if (scene == "installpath") {
            CSetInstallPathDialog dialog;
            dialog.setNeedSpace(qint64(5.1 * 1024 * 1024 * 1024));
            dialog.setPathText(QStringLiteral("/home/player/Games/Orvyndale Game"));
            runCentred(dialog);
        } else if (scene == "closetip") {
            CDlgCloseTip dialog;
            runCentred(dialog);
        } else if (scene == "updateprompt") {
            // The launcher's own update, with the version and size it offers.
            CDlgYesNo box;
            box.resize(460, 300);
            box.showCloseButton(false);
            box.setMessage(
                QString(),
                QCoreApplication::translate("UpdateProgram", "message_new_version_whether_update") +
                    QStringLiteral("<br/>") +
                    QCoreApplication::translate("UpdateProgram", "label_new_launcher_version")
                        .arg(QStringLiteral("2.4.0.0"),
                             SizeText::bytes(qint64(48.3 * 1024 * 1024))));
            box.setConfirmText(QCoreApplication::translate("UpdateProgram", "button_update"));
            // As the launcher places it: centred at the height its text gives it.
            box.placeOver(area);
            box.exec();
        } else if (scene == "folderpicker") {
            // Qt's own folder picker, in Qt's translation of the language.
            QFileDialog picker(
                nullptr,
                QCoreApplication::translate("CSetInstallPathDialog", "label_select_install_path"),
                QDir::homePath());
            picker.setFileMode(QFileDialog::Directory);
            picker.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
            picker.resize(760, 480);
            runCentred(picker);
        } else if (scene == "about") {
            CDlgAppInfo dialog;
            dialog.setInfo(QStringLiteral("1.4.2"), AppEnvironment::launcherIdText(),
                           QLatin1String(AppEnvironment::kLauncherVersion));
            runCentred(dialog);
        }
    }
#endif

    PageTestViewModel &m_model;
    QQuickWindow *m_window;
    QString m_file;
    bool m_saved = false;
};

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
    parser.addOption({"scene", "one of: " + kScenes.join(", "), "scene", "notinstalled"});
    parser.addOption({"out", "PNG file to write", "file"});
    parser.addOption({"gallery", "folder for a picture of every scene", "dir"});
    parser.addOption({"lang", "language code such as zh-cn, en, pt", "lang", "zh-cn"});
    parser.process(app);
    QString scene = parser.value("scene");
    if (scene == "normal")
        scene = "notinstalled";
    else if (scene == "settings")
        scene = "settings-1";
    const QString lang = parser.value("lang");
    const QString out = parser.value("out");
    const QString gallery = parser.value("gallery");
    if ((out.isEmpty() && gallery.isEmpty()) || !kScenes.contains(scene)) {
        std::fprintf(stderr, "usage: pagepreview --scene %s --out f.png | --gallery dir\n",
                     qPrintable(kScenes.join('|')));
        return 2;
    }
    if (!gallery.isEmpty() && !QDir().mkpath(gallery)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(gallery));
        return 1;
    }

    QTranslator translator;
    const QString qm = QStringLiteral("i18n_%1").arg(QString(lang).replace('-', '_'));
    if (translator.load(qm, QStringLiteral(PREVIEW_LANGUAGE_DIR)))
        app.installTranslator(&translator);
    SizeText::useLanguageOf(translator);
    ScriptFont::useLanguageOf(translator);
    if (translator.isEmpty())
        std::fprintf(stderr, "no translation %s, showing keys\n", qPrintable(qm));
#ifdef PREVIEW_HAVE_DIALOGS
    // Qt's own texts (the folder picker's) as the launcher loads them.
    QTranslator qtTranslator;
    if (LanguageSelection::loadQtTranslations(qtTranslator, lang,
                                              QStringLiteral(PREVIEW_LANGUAGE_DIR "/")))
        app.installTranslator(&qtTranslator);
#endif

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
    model.setGameState(2);

    QQmlApplicationEngine engine;
    engine.rootContext()->setContextProperty("mainViewModel", &model);
    engine.load(QUrl("qrc:/main.qml"));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    model.setWindow(window);
    window->setPosition(40, 40);

    Preview preview(model, window);
    auto run = [&] {
        bool ok = true;
        if (gallery.isEmpty()) {
            ok = preview.shoot(scene, out);
        } else {
            for (const QString &name : kScenes)
                ok = preview.shoot(name, QStringLiteral("%1/%2-%3.png").arg(gallery, name, lang)) &&
                     ok;
        }
        QCoreApplication::exit(ok ? 0 : 1);
    };

    // Wait for the news page, then give the web view time to paint it.
    QObject *web = window->findChild<QObject *>("bgWebView");
    bool started = false;
    // The load request type is private to the web engine module, so poll its properties.
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (!started && !web->property("loading").toBool() &&
            web->property("loadProgress").toInt() == 100) {
            started = true;
            poll.stop();
            QTimer::singleShot(1500, &app, run);
        }
    });
    poll.start();
    QTimer::singleShot(60000, &app, [&started] {
        if (started)
            return;
        std::fprintf(stderr, "the page did not load in time\n");
        QCoreApplication::exit(1);
    });
    return app.exec();
}
