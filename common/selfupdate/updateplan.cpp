#include "updateplan.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QUrl>

#include "processes.h"

namespace {
const QLatin1String kLauncherPath("exe_dir");
const QLatin1String kLanguage("lang");
const QLatin1String kPackageUrl("pkg_url");
const QLatin1String kPackageMd5("pkg_md5");
const QLatin1String kSignature("pkg_signature");
const QLatin1String kSigningKeys("signing_keys");

} // namespace

QStringList UpdatePlan::toArguments() const
{
    QJsonObject json;
    json.insert(kPackageUrl, packageUrl);
    json.insert(kPackageMd5, packageMd5);
    json.insert(kLauncherPath, QDir::fromNativeSeparators(launcherPath));
    json.insert(kLanguage, languageCode);
    // Without publisher keys the command line stays as older updaters know it.
    if (!signature.isEmpty())
        json.insert(kSignature, signature);
    if (!signingKeys.isEmpty())
        json.insert(kSigningKeys, signingKeys);
    return {instance, QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact))};
}

std::optional<UpdatePlan> UpdatePlan::fromArguments(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(arguments.at(1).toUtf8());
    const QJsonObject json = document.isObject() ? document.object() : QJsonObject();
    UpdatePlan plan;
    plan.instance = arguments.at(0);
    plan.launcherPath = json.value(kLauncherPath).toString();
    plan.languageCode = json.value(kLanguage).toString();
    plan.packageUrl = json.value(kPackageUrl).toString();
    plan.packageMd5 = json.value(kPackageMd5).toString();
    plan.signature = json.value(kSignature).toObject();
    plan.signingKeys = json.value(kSigningKeys).toObject();
    return plan;
}

bool UpdatePlan::hasUsableLauncherPath() const
{
    const QString suffix = QString::fromStdString(platform::executableSuffix()).mid(1);
    const QFileInfo info(launcherPath);
    // The suffix test alone lets an empty or relative path through where executables carry
    // no suffix; neither names a launcher that could be started.
    if (info.suffix() != suffix || launcherPath.isEmpty() || !QDir::isAbsolutePath(launcherPath) ||
        info.fileName().isEmpty())
        return false;
    const QStringList steps = QDir::fromNativeSeparators(launcherPath).split(QChar('/'));
    for (const QString &step : steps) {
        if (step == QLatin1String(".") || step == QLatin1String(".."))
            return false;
    }
    return true;
}

bool UpdatePlan::hasUsablePackageUrl() const
{
    const QUrl url(packageUrl, QUrl::TolerantMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty() && !addressFileName().isEmpty();
}

QString UpdatePlan::addressFileName() const
{
    return QUrl(packageUrl, QUrl::TolerantMode).fileName(QUrl::FullyDecoded);
}
