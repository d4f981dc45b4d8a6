#pragma once

#include <QString>

#include "errordefine.h"
#include "statusreport.h"

class UpdateVersionInfo;

// What the install, update, repair and self-update steps tell the report service beyond the
// plain events: which versions and package are involved, the download speed, and each
// failure with its step, code and a short reason. The view model calls one function per event.
class InstallTelemetry
{
public:
    enum class Step { Download, Check, Unpack, Repair, LauncherUpdate, Signature };
    enum class PackageKind { Full, Difference, Patch };

    static QString kindName(PackageKind kind);
    // The package the manifest gives for an installed version: a difference package when
    // one starts from it, else the full package.
    static PackageKind kindFor(const UpdateVersionInfo &manifest, const QString &installed);

    // A download of target over installed begins; every later report carries the three.
    static void downloadStarted(const QString &installed, const QString &target, PackageKind kind);
    // The transfer ended (not yet checked); bytes is the package's size.
    static void transferEnded(qint64 bytes);
    // The package passed its MD5 and, where checked, its signature.
    static void packageChecked(bool update);
    // The package is unpacked: reported, and from now on the target is the installed version.
    static void installFinished();

    // The action a failure is sent as: a refused signature is a signature failure and a
    // wrong digest a check failure, whichever step met them.
    static StatusReport::StatusType failureAction(Step step, ErrorDefine::ErrorCode code);
    // One line of at most 160 characters.
    static QString shortReason(const QString &message);
    static void failed(Step step, ErrorDefine::ErrorCode code, const QString &message);
};
