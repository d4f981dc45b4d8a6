#pragma once

#include <QString>
#include <QVariantMap>

#include "packagetrust.h"

class AppVersionInfo;
class UpdateVersionInfo;

// What the manifests say each package is, in the form the signature check compares with the
// publisher's statement.
namespace SignedPackages {

// The full package, or the difference package from `fromVersion` (the installed version)
// when the manifest has one; never older than `fromVersion` unless signed as a rollback.
SignedPackage gamePackage(const UpdateVersionInfo &manifest, const QString &fromVersion);
// The patch package from `fromVersion`: signed like the difference package it stands beside.
SignedPackage patchPackage(const UpdateVersionInfo &manifest, const QString &fromVersion);
// A plug-in published with the manifest's game version, for its game.
SignedPackage plugin(const QVariantMap &plugin, const UpdateVersionInfo &manifest);
SignedPackage launcherRelease(const AppVersionInfo &release);
// Whether the updater may be handed this release: always without trusted keys, else only with
// the publisher's signature over what the release answer says.
bool isReleaseTrusted(const AppVersionInfo &release, QString *why,
                      ErrorDefine::ErrorCode *code = nullptr);

} // namespace SignedPackages
