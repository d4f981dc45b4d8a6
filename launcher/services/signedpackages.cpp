#include "signedpackages.h"

#include <QJsonObject>

#include "appversioninfo.h"
#include "updateversioninfo.h"

namespace SignedPackages {

SignedPackage gamePackage(const UpdateVersionInfo &manifest, const QString &fromVersion)
{
    const bool diff = !fromVersion.isEmpty() && manifest.diffs().contains(fromVersion);
    SignedPackage package;
    package.signature = manifest.packageSignature(fromVersion);
    package.name = manifest.packageUrl(fromVersion).fileName();
    package.version = manifest.version();
    package.from = diff ? fromVersion : QString();
    package.md5 = manifest.packageMd5(fromVersion);
    const qint64 size = manifest.packageSize(fromVersion);
    package.size = size > 0 ? size : -1;
    return package;
}

SignedPackage plugin(const QVariantMap &plugin, const QString &gameVersion)
{
    SignedPackage package;
    package.signature =
        QJsonObject::fromVariantMap(plugin.value(QStringLiteral("signature")).toMap());
    package.name =
        UpdateVersionInfo::fileNameOfUrl(plugin.value(QStringLiteral("path")).toString());
    package.version = gameVersion;
    package.md5 = plugin.value(QStringLiteral("md5")).toString();
    return package;
}

SignedPackage launcherRelease(const AppVersionInfo &release)
{
    SignedPackage package;
    package.signature = release.packageSignature();
    package.name = UpdateVersionInfo::fileNameOfUrl(release.packageUrl());
    package.version = release.packageVersion();
    package.md5 = release.packageMd5();
    package.size = release.packageSize() > 0 ? release.packageSize() : -1;
    return package;
}

bool isReleaseTrusted(const AppVersionInfo &release, QString *why)
{
    return !PackageTrust::isEnabled() ||
           PackageTrust::checkStatement(launcherRelease(release), nullptr, why);
}

} // namespace SignedPackages
