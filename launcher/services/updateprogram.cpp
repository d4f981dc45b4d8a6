#include "updateprogram.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QPointer>
#include <QProcess>

#include "appenvironment.h"
#include "diskspace.h"
#include "launcherconfig.h"
#include "packagetrust.h"
#include "releasegate.h"
#include "sizetext.h"
#include "updateplan.h"
#include "updaterlayout.h"

UpdateProgram::UpdateProgram(QObject *parent)
    : QObject(parent)
{
    AppVersionInfo::registerMetaType();
}

UpdateProgram::~UpdateProgram() = default;

QString UpdateProgram::updaterPath()
{
    return UpdaterLayout::ofLauncher(QCoreApplication::applicationDirPath()).updaterExecutable();
}

QStringList UpdateProgram::updaterArguments(const AppVersionInfo &info, const QString &launcherPath,
                                            const QString &languageCode)
{
    UpdatePlan plan;
    plan.instance = QLatin1String(kInstanceName);
    plan.launcherPath = launcherPath;
    plan.languageCode = languageCode;
    plan.packageUrl = info.packageUrl();
    plan.packageMd5 = info.packageMd5();
    // An updater built with the same keys checks the package against it (older updaters
    // ignore it); without keys the command line stays as it always was.
    if (PackageTrust::isEnabled()) {
        plan.signature = info.packageSignature();
        // The signing keys the launcher accepted: root-signed, so the updater checks them.
        plan.signingKeys = PackageTrust::delegatedField();
    }
    return plan.toArguments();
}

bool UpdateProgram::startUpdater(const AppVersionInfo &info, const QString &program)
{
    QString why;
    if (!info.isUsable(&why)) {
        qWarning() << "update Info: not starting the updater:" << why;
        return false;
    }
    const QStringList arguments = updaterArguments(info, QCoreApplication::applicationFilePath(),
                                                   AppEnvironment::currentLanguageCode());
    const bool started = QProcess::startDetached(program, arguments);
    qDebug() << "update Info: start" << program << arguments << started;
    return started;
}

void UpdateProgram::onCheckProgramUpdate(QJsonDocument obj)
{
    LauncherConfig *config = LauncherConfig::instance();
    AppVersionInfo read;
    QString why;
    ErrorDefine::ErrorCode code = ErrorDefine::METADATA_SIGNATURE_ERROR;
    // With keys, an answer without a valid, fresh signed document offers nothing; the player
    // who asked is told the check failed rather than that this launcher is the latest.
    const AppVersionInfo::Verdict verdict =
        ReleaseGate::admit(&obj, &why, &code)
            ? AppVersionInfo::fromReleaseAnswer(obj, QLatin1String(AppEnvironment::kLauncherId),
                                                &read, &why)
            : AppVersionInfo::Verdict::Unusable;
    const bool userAsked = config->readBool(QStringLiteral("is_user_update"));
    qDebug() << "update Info: verdict" << static_cast<int>(verdict) << read.packageVersion()
             << read.packageUrl() << read.updateType() << read.packageSize();

    if (verdict == AppVersionInfo::Verdict::Update) {
        m_info = read;
        config->writeString(QStringLiteral("new_version"), m_info.packageVersion());
    } else {
        // An announced update that cannot be fetched safely is no update for this launcher.
        if (verdict == AppVersionInfo::Verdict::Unusable)
            qWarning() << "update Info: ignoring the release answer:" << why;
        config->writeString(QStringLiteral("new_version"),
                            QLatin1String(AppEnvironment::kLauncherVersion));
    }
    emit newProgramVersionUpdate();

    if (verdict == AppVersionInfo::Verdict::Update) {
        QPointer<UpdateProgram> self(this);
        prompt();
        if (!self)
            return;
    } else if (userAsked || (verdict == AppVersionInfo::Verdict::Unusable &&
                             read.updateType() == AppVersionInfo::kCompulsoryUpdateType)) {
        // Telling the user "latest version" about an answer we refused would be false, and a
        // compulsory update refused without a word would leave them on a launcher the
        // publisher no longer serves.
        const QString text = verdict == AppVersionInfo::Verdict::NoUpdate
                                 ? tr("message_is_latest_version")
                                 : tr("message_update_request_exception");
        QPointer<UpdateProgram> self(this);
        tell(text);
        if (!self)
            return;
    }
    config->writeBool(QStringLiteral("is_user_update"), false);
}

void UpdateProgram::prompt()
{
    LauncherConfig *config = LauncherConfig::instance();
    const bool autoUpdate = config->readBool(QStringLiteral("is_auto_update"));
    const bool userAsked = config->readBool(QStringLiteral("is_user_update"));

    // The boxes run an event loop in which the owner may go away.
    QPointer<UpdateProgram> self(this);
    if (!autoUpdate || userAsked) {
        // What the player is asked to take: the version and what it costs to download. The
        // version comes from the server and is shown as text, never as markup.
        const QString offer =
            QStringLiteral("<br/>") + tr("label_new_launcher_version")
                                          .arg(m_info.packageVersion().toHtmlEscaped(),
                                               SizeText::bytes(m_info.packageSize()));
        if (m_info.updateType() == AppVersionInfo::kCompulsoryUpdateType) {
            const bool yes =
                ask(tr("message_new_version_please_update") + offer, tr("button_update"), true);
            if (!self)
                return;
            if (!yes) {
                emit quitApp();
                return;
            }
        } else if (!ask(tr("message_new_version_whether_update") + offer, tr("button_update"),
                        true) ||
                   !self) {
            return;
        }
    }

    // A path without a volume (relative) yields -1 and so never passes.
    const long long available = platform::availableBytes(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    if (available < m_info.packageSize()) {
        qDebug() << "update Info: not enough space:" << available << "<" << m_info.packageSize();
        tell(tr("message_update_failed_not_enough_space"));
        return;
    }
    emit startUpdate(m_info);
}

bool UpdateProgram::ask(const QString &text, const QString &confirmText, bool withCancel) const
{
    UserQuestion question;
    question.title = tr("title_tip");
    question.text = text;
    question.confirmText = confirmText;
    question.withCancel = withCancel;
    // The page dims behind the question as behind every other box.
    question.placement = UserQuestion::Placement::OverDimmedPage;
    // A copy: the box's event loop may end this object.
    const UserAsker asker = m_ask;
    return asker && asker(question);
}

void UpdateProgram::tell(const QString &text) const
{
    UserQuestion notice;
    notice.title = tr("title_tip");
    notice.text = text;
    notice.placement = UserQuestion::Placement::OverPage;
    const UserAsker asker = m_ask;
    if (asker)
        asker(notice);
}
