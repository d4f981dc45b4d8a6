#include "packageadmission.h"

void PackageAdmission::expect(const SignedPackage &package)
{
    m_mode = Package;
    m_package = package;
}

void PackageAdmission::allowUntrustedArt()
{
    m_mode = UntrustedArt;
    m_package = SignedPackage();
}

void PackageAdmission::clear()
{
    m_mode = Undeclared;
    m_package = SignedPackage();
}

bool PackageAdmission::checksFile() const
{
    return m_mode == Package && PackageTrust::isEnabled();
}

bool PackageAdmission::admitRequest(ErrorDefine::ErrorCode *code, QString *why) const
{
    if (!PackageTrust::isEnabled() || m_mode == UntrustedArt)
        return true;
    if (m_mode == Undeclared) {
        *code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
        *why = QStringLiteral("no signed statement names this download");
        return false;
    }
    return PackageTrust::checkStatement(m_package, nullptr, why, code);
}

bool PackageAdmission::admitFile(const QString &md5, const QString &sha256, qint64 size,
                                 ErrorDefine::ErrorCode *code, QString *why) const
{
    if (!PackageTrust::isEnabled() || m_mode == UntrustedArt)
        return true;
    if (m_mode == Undeclared) {
        *code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
        *why = QStringLiteral("no signed statement names this download");
        return false;
    }
    return PackageTrust::checkFile(m_package, md5, sha256, size, why, code);
}
