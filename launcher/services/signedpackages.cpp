#include "signedpackages.h"

#include <QJsonObject>

#include "appenvironment.h"
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
    package.launcher = QLatin1String(AppEnvironment::kLauncherId);
    // Another game's genuine package, signed with the same key for the same launcher, must
    // not pass for this game's.
    package.product = manifest.signedProduct();
    package.kind =
        QLatin1String(diff ? PackageStatement::kDifferenceKind : PackageStatement::kFullKind);
    package.installedVersion = fromVersion;
    package.md5 = manifest.packageMd5(fromVersion);
    const qint64 size = manifest.packageSize(fromVersion);
    package.size = size > 0 ? size : -1;
    return package;
}

SignedPackage patchPackage(const UpdateVersionInfo &manifest, const QString &fromVersion)
{
    const DiffPackageInfo patch = manifest.patch(fromVersion);
    SignedPackage package;
    package.signature = manifest.patchSignature(fromVersion);
    package.name = UpdateVersionInfo::fileNameOfUrl(patch.path);
    package.version = manifest.version();
    package.from = fromVersion;
    package.launcher = QLatin1String(AppEnvironment::kLauncherId);
    package.product = manifest.signedProduct();
    package.kind = QLatin1String(PackageStatement::kDifferenceKind);
    package.installedVersion = fromVersion;
    package.md5 = patch.md5;
    bool ok = false;
    const qint64 size = patch.size.toLongLong(&ok);
    package.size = ok && size > 0 ? size : -1;
    return package;
}

SignedPackage plugin(const QVariantMap &plugin, const UpdateVersionInfo &manifest)
{
    SignedPackage package;
    package.signature =
        QJsonObject::fromVariantMap(plugin.value(QStringLiteral("signature")).toMap());
    package.name =
        UpdateVersionInfo::fileNameOfUrl(plugin.value(QStringLiteral("path")).toString());
    package.version = manifest.version();
    package.launcher = QLatin1String(AppEnvironment::kLauncherId);
    package.product = manifest.signedProduct();
    package.kind = QLatin1String(PackageStatement::kPluginKind);
    package.md5 = plugin.value(QStringLiteral("md5")).toString();
    return package;
}

SignedPackage launcherRelease(const AppVersionInfo &release)
{
    SignedPackage package;
    package.signature = release.packageSignature();
    package.name = UpdateVersionInfo::fileNameOfUrl(release.packageUrl());
    package.version = release.packageVersion();
    package.launcher = QLatin1String(AppEnvironment::kLauncherId);
    package.product = package.launcher;
    package.kind = QLatin1String(PackageStatement::kLauncherKind);
    package.installedVersion = QLatin1String(AppEnvironment::kLauncherVersion);
    package.md5 = release.packageMd5();
    package.size = release.packageSize() > 0 ? release.packageSize() : -1;
    return package;
}

bool isReleaseTrusted(const AppVersionInfo &release, QString *why, ErrorDefine::ErrorCode *code)
{
    return !PackageTrust::isEnabled() ||
           PackageTrust::checkStatement(launcherRelease(release), nullptr, why, code);
}

} // namespace SignedPackages
