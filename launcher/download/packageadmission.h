#pragma once

#include <QString>

#include "errordefine.h"
#include "packagetrust.h"

// Whether a download may start and whether its finished file may be used. With trusted keys a
// download is either a package the caller describes (its signed statement must pass before the
// first byte and the file must match it after the last) or page art the caller marks as
// untrusted; anything else is refused, so a new caller cannot forget the check. Without keys
// everything passes, as it always did.
class PackageAdmission
{
public:
    void expect(const SignedPackage &package);
    // Background and icon images: shown, never unpacked or run.
    void allowUntrustedArt();
    void clear();

    // The file needs its SHA-256 and a signature check.
    bool checksFile() const;
    // Before the first request: false (with the code and the reason) when nothing downloaded
    // could pass.
    bool admitRequest(ErrorDefine::ErrorCode *code, QString *why) const;
    bool admitFile(const QString &md5, const QString &sha256, qint64 size,
                   ErrorDefine::ErrorCode *code, QString *why) const;

private:
    enum Mode { Undeclared, Package, UntrustedArt };
    Mode m_mode = Undeclared;
    SignedPackage m_package;
};
