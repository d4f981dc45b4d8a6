#include <QApplication>
#include <QDebug>
#include <QFont>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTranslator>
#include <QtWebEngine/qtwebengineglobal.h>

#include "appenvironment.h"
#include "cdlgyesno.h"
#include "crashhandler.h"
#include "errordefine.h"
#include "languageselection.h"
#include "mainviewmodel.h"
#include "manifestgate.h"
#include "namedmutex.h"
#include "packagetrust.h"
#include "replacerecovery.h"
#include "scriptfont.h"
#include "singleinstance.h"
#include "user.h"
#include "window.h"

int main(int argc, char *argv[])
{
    platform::installCrashHandler();

    // Chromium refuses to start as root with its sandbox on; CI and containers run as root.
    if (platform::runsAsSuperuser() && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    // The page embeds a web view; its engine must be set up before the application object.
    QtWebEngine::initialize();

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(AppEnvironment::kOrganizationName));
    QCoreApplication::setOrganizationDomain(QLatin1String(AppEnvironment::kOrganizationDomain));
    QCoreApplication::setApplicationName(QLatin1String(AppEnvironment::kApplicationName));

    SingleInstance instance;
    if (instance.isRunning()) {
        instance.sendMessage(QLatin1String(SingleInstance::kRaiseMessage), 5000);
        return -1;
    }

    QApplication::setFont(QApplication::font("QMenu"));

    const QStringList arguments = QCoreApplication::arguments();
    const QString firstArgument = arguments.size() >= 2 ? arguments.at(1) : QString();
    const bool startedByUpdater = firstArgument == QLatin1String("update");
    if (platform::namedMutexExists(AppEnvironment::updaterMutexName().toStdString()) &&
        !startedByUpdater) {
        qDebug() << "the updater is running; the launcher stays away";
        return -1;
    }

    // An updater that was killed mid-replacement left a journal: end its work, wholly old or
    // wholly new, before anything of this folder is used.
    const ReplaceRecovery::Outcome recovery =
        ReplaceRecovery::recoverAtStartup(QCoreApplication::applicationDirPath(), [] {
            return platform::namedMutexExists(AppEnvironment::updaterMutexName().toStdString());
        });

    ErrorDefine::registerMetaTypes();
    PackageTrust::installBuiltInKeys(LUNMERE_PUBLISHER_KEYS);
    ManifestGate::setBuiltInProduct(QStringLiteral(LUNMERE_GAME_PRODUCT));

    MainViewModel viewModel;
    viewModel.setStartedByUpdater(startedByUpdater);

    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);

    QQmlApplicationEngine engine;
    QTranslator translator;
    const QString languageCode = LanguageSelection::select(translator);
    QCoreApplication::installTranslator(&translator);
    ScriptFont::useLanguageOf(translator);
    // Qt's own dialogs and buttons (the folder picker) follow the same language.
    QTranslator qtTranslator;
    LanguageSelection::loadQtTranslations(qtTranslator, languageCode);
    QCoreApplication::installTranslator(&qtTranslator);
    viewModel.setLanguageCode(languageCode);

    if (recovery == ReplaceRecovery::Outcome::Failed) {
        // The folder is part old, part new: the player must know before anything of it runs.
        // The journal and the originals stay, so the next start tries again.
        qWarning() << "the launcher's start-up recovery could not finish";
        CDlgYesNo::ask(
            QCoreApplication::translate("MainViewModel", "title_warning"),
            QStringLiteral("[%1]:%2")
                .arg(int(ErrorDefine::STARTUP_RECOVERY_ERROR))
                .arg(QCoreApplication::translate("main", "message_startup_recovery_failed")),
            false);
    }

    viewModel.initialize();

    engine.rootContext()->setContextProperty(QStringLiteral("mainViewModel"), &viewModel);
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return -1;

    QObject *root = engine.rootObjects().constFirst();
    if (auto *window = qobject_cast<QWindow *>(root)) {
        viewModel.setMainWindowHandle(window->winId());
        platform::bringWindowToFront(window->winId());
    }
    viewModel.setRootObject(root);

    QObject::connect(&instance, &SingleInstance::messageReceived, &viewModel,
                     &MainViewModel::handleMessage);

    return QApplication::exec();
}
