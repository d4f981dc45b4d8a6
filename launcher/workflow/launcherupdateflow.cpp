#include "launcherupdateflow.h"

#include <QCoreApplication>
#include <QDebug>

#include "applicationinfo.h"
#include "appenvironment.h"
#include "installtelemetry.h"
#include "launcherconfig.h"
#include "packagetrust.h"
#include "signedpackages.h"
#include "updateprogram.h"
#include "versioncompare.h"

// The texts keep the view model's translation context (QCoreApplication::translate), where
// the translation files have them.

LauncherUpdateFlow::LauncherUpdateFlow(const UserAsker &asker, QObject *parent)
    : QObject(parent)
{
    AppVersionInfo::registerMetaType();
    m_appInfo = new ApplicationInfo(this);
    m_updateProgram = new UpdateProgram();
    m_appInfo->setAsker(asker);
    m_updateProgram->setAsker(asker);
    connect(m_appInfo, &ApplicationInfo::programVerInfoReply, m_updateProgram,
            &UpdateProgram::onCheckProgramUpdate);
    connect(m_updateProgram, &UpdateProgram::startUpdate, this, &LauncherUpdateFlow::startUpdate);
    connect(m_updateProgram, &UpdateProgram::quitApp, this, &LauncherUpdateFlow::quitWanted);
    connect(m_updateProgram, &UpdateProgram::newProgramVersionUpdate, this,
            &LauncherUpdateFlow::checked);
}

LauncherUpdateFlow::~LauncherUpdateFlow()
{
    delete m_updateProgram;
}

bool LauncherUpdateFlow::hasNewVersion()
{
    const QString newVersion =
        LauncherConfig::instance()->readString(QStringLiteral("new_version"));
    if (newVersion.isEmpty())
        return false;
    return compareVersion(QLatin1String(AppEnvironment::kLauncherVersion), newVersion) > 0;
}

void LauncherUpdateFlow::check()
{
    m_appInfo->requestProgramVerInfo();
}

void LauncherUpdateFlow::startUpdate(const AppVersionInfo &info)
{
    QString why;
    ErrorDefine::ErrorCode code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
    if (!SignedPackages::isReleaseTrusted(info, &why, &code)) {
        qWarning() << "update Info: release signature:" << why;
        InstallTelemetry::failed(InstallTelemetry::Step::Signature, code, why);
        emit failed(QCoreApplication::translate("MainViewModel", "message_download_error"), code,
                    PackageTrust::errorMessage(code, why));
        return;
    }
    if (UpdateProgram::startUpdater(info)) {
        QCoreApplication::exit(0);
        return;
    }
    InstallTelemetry::failed(InstallTelemetry::Step::LauncherUpdate, ErrorDefine::DEFAULTT,
                             QStringLiteral("updater did not start"));
    emit warned(QCoreApplication::translate("MainViewModel", "title_warning"),
                QCoreApplication::translate("MainViewModel", "message_run_update_exe_failed"));
}
