#include "updaterpackagecheck.h"

#include <QFileInfo>

#include "packagedigest.h"
#include "packagetrust.h"

namespace UpdaterPackageCheck {

bool isTrusted(const QString &packageFile, const QString &md5, const QJsonObject &signature,
               QString *why)
{
    if (!PackageTrust::isEnabled())
        return true;
    SignedPackage expected;
    expected.signature = signature;
    expected.name = QFileInfo(packageFile).fileName();
    expected.md5 = md5;
    expected.checkVersion = false;
    // The statement first: a forged command line costs no read of the file.
    if (!PackageTrust::checkStatement(expected, nullptr, why))
        return false;
    PackageDigest digest;
    if (!PackageDigest::ofFile(packageFile, &digest)) {
        if (why)
            *why = QStringLiteral("the package cannot be read");
        return false;
    }
    return PackageTrust::checkFile(expected, digest.md5, digest.sha256, digest.size, why);
}

} // namespace UpdaterPackageCheck
