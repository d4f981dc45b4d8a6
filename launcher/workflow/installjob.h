#pragma once

#include <QString>

#include "installtelemetry.h"
#include "patchupdate.h"

// One install or update of the game, as the install flow takes it: which package goes into
// which folder, over which version.
struct InstallJob
{
    // The game's folder: the package is saved and unpacked there.
    QString folder;
    // The version installed now (empty for a first install) and the one the job installs.
    QString installedVersion;
    QString targetVersion;
    // The full package, the difference package from installedVersion or a patch package
    // (package.isPatch): address, MD5, size, name and what the publisher signed for it.
    PatchUpdate::Package package;
    // What the reports call the package.
    InstallTelemetry::PackageKind reportedKind = InstallTelemetry::PackageKind::Full;
};
