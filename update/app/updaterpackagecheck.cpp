#include "updaterpackagecheck.h"

#include <QDateTime>
#include <QDebug>
#include <QFileInfo>

#include "packagedigest.h"
#include "packagetrust.h"
#include "signingkeylist.h"

namespace UpdaterPackageCheck {

namespace {

SignedPackage expectedRelease(const QString &packageFile, const QString &md5,
                              const QJsonObject &signature)
{
    SignedPackage expected;
    expected.signature = signature;
    expected.name = QFileInfo(packageFile).fileName();
    expected.md5 = md5;
    // The command line names no version; the statement's own is held against the installed one.
    expected.checkVersion = false;
    expected.launcher = launcherId();
    expected.product = launcherId();
    expected.kind = QLatin1String(PackageStatement::kLauncherKind);
    expected.installedVersion = launcherVersion();
    return expected;
}

} // namespace

QString launcherId()
{
    return QStringLiteral(LUNMERE_LAUNCHER_ID);
}

QString launcherVersion()
{
    return QStringLiteral(LUNMERE_LAUNCHER_VERSION);
}

void acceptSigningKeys(const QJsonObject &field)
{
    SigningKeyList list;
    QString why;
    if (field.isEmpty() || !PackageTrust::isEnabled())
        return;
    if (!SigningKeyList::verify(field, PackageTrust::rootKeys(), QDateTime::currentDateTimeUtc(),
                                &list, &why)) {
        qWarning() << "signing keys:" << why;
        return;
    }
    PackageTrust::setDelegatedKeys(list.keys, field);
}

bool isStatementTrusted(const QString &packageFile, const QString &md5,
                        const QJsonObject &signature, QString *why, ErrorDefine::ErrorCode *code)
{
    return !PackageTrust::isEnabled() ||
           PackageTrust::checkStatement(expectedRelease(packageFile, md5, signature), nullptr, why,
                                        code);
}

bool isTrusted(const QString &packageFile, const QString &md5, const QJsonObject &signature,
               QString *why, ErrorDefine::ErrorCode *code)
{
    if (!PackageTrust::isEnabled())
        return true;
    const SignedPackage expected = expectedRelease(packageFile, md5, signature);
    // The statement first: a forged command line costs no read of the file.
    if (!PackageTrust::checkStatement(expected, nullptr, why, code))
        return false;
    PackageDigest digest;
    if (!PackageDigest::ofFile(packageFile, &digest)) {
        if (code)
            *code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
        if (why)
            *why = QStringLiteral("the package cannot be read");
        return false;
    }
    return PackageTrust::checkFile(expected, digest.md5, digest.sha256, digest.size, why, code);
}

} // namespace UpdaterPackageCheck
