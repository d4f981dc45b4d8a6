#include "installtelemetry.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>

#include "updateversioninfo.h"

namespace {

qint64 g_downloadStartMs = 0;
QString g_speed;

} // namespace

QString InstallTelemetry::kindName(PackageKind kind)
{
    switch (kind) {
    case PackageKind::Difference:
        return QStringLiteral("difference");
    case PackageKind::Patch:
        return QStringLiteral("patch");
    case PackageKind::Full:
        break;
    }
    return QStringLiteral("full");
}

InstallTelemetry::PackageKind InstallTelemetry::kindFor(const UpdateVersionInfo &manifest,
                                                        const QString &installed)
{
    return !installed.isEmpty() && manifest.diffs().contains(installed) ? PackageKind::Difference
                                                                        : PackageKind::Full;
}

void InstallTelemetry::downloadStarted(const QString &installed, const QString &target,
                                       PackageKind kind)
{
    StatusReport *report = StatusReport::instance();
    report->setContextField(QStringLiteral("game_version"), installed);
    report->setContextField(QStringLiteral("target_version"), target);
    report->setContextField(QStringLiteral("package_kind"), kindName(kind));
    g_downloadStartMs = QDateTime::currentMSecsSinceEpoch();
    g_speed.clear();
}

void InstallTelemetry::transferEnded(qint64 bytes)
{
    const qint64 elapsedMs = QDateTime::currentMSecsSinceEpoch() - g_downloadStartMs;
    // A package found complete on disk took no transfer: no speed rather than a huge one.
    if (g_downloadStartMs <= 0 || bytes <= 0 || elapsedMs < 50) {
        g_speed.clear();
        return;
    }
    g_speed = QString::number(bytes / 1024.0 / (elapsedMs / 1000.0), 'f', 1);
}

void InstallTelemetry::packageChecked(bool update)
{
    StatusReport::instance()->report(update ? StatusReport::LAUNCHER_HOME_UPDATEGAME_FINISH
                                            : StatusReport::LAUNCHER_HOME_DOWNLOAD_FINISH,
                                     {}, {{QStringLiteral("download_kbs"), g_speed}});
    g_speed.clear();
}

void InstallTelemetry::installFinished()
{
    StatusReport *report = StatusReport::instance();
    report->report(StatusReport::LAUNCHER_HOME_INSTALL_FINISH);
    const QString target = report->contextFields().value(QStringLiteral("target_version"));
    if (target.isEmpty())
        return;
    report->setContextField(QStringLiteral("game_version"), target);
    report->setContextField(QStringLiteral("target_version"), QString());
    report->setContextField(QStringLiteral("package_kind"), QString());
}

StatusReport::StatusType InstallTelemetry::failureAction(Step step, ErrorDefine::ErrorCode code)
{
    // Every refusal of the publisher's signature or of signed metadata: an unsigned package,
    // a rollback or a package bound to something else, an unsigned or stale answer.
    static const int kSignatureRefusals[] = {
        ErrorDefine::PACKAGE_SIGNATURE_ERROR, ErrorDefine::PACKAGE_ROLLBACK_ERROR,
        ErrorDefine::PACKAGE_BINDING_ERROR, ErrorDefine::METADATA_SIGNATURE_ERROR,
        ErrorDefine::METADATA_STALE_ERROR};
    if (std::find(std::begin(kSignatureRefusals), std::end(kSignatureRefusals), int(code)) !=
        std::end(kSignatureRefusals))
        return StatusReport::LAUNCHER_SIGNATURE_FAILED;
    if (code == ErrorDefine::DOWNLOAD_MD5_ERROR)
        return StatusReport::LAUNCHER_CHECK_FAILED;
    switch (step) {
    case Step::Download:
        return StatusReport::LAUNCHER_DOWNLOAD_FAILED;
    case Step::Check:
        return StatusReport::LAUNCHER_CHECK_FAILED;
    case Step::Unpack:
        return StatusReport::LAUNCHER_UNPACK_FAILED;
    case Step::Repair:
        return StatusReport::LAUNCHER_REPAIR_FAILED;
    case Step::LauncherUpdate:
        return StatusReport::LAUNCHER_SELF_UPDATE_FAILED;
    case Step::Signature:
        break;
    }
    return StatusReport::LAUNCHER_SIGNATURE_FAILED;
}

QString InstallTelemetry::shortReason(const QString &message)
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QString line = message;
    line.replace(spaces, QStringLiteral(" "));
    line = line.trimmed();
    if (line.size() > 160)
        line = line.left(159) + QChar(0x2026);
    return line;
}

void InstallTelemetry::failed(Step step, ErrorDefine::ErrorCode code, const QString &message)
{
    StatusReport::instance()->report(failureAction(step, code), {},
                                     {{QStringLiteral("error_code"), QString::number(int(code))},
                                      {QStringLiteral("error_reason"), shortReason(message)}});
}
