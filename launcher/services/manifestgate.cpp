#include "manifestgate.h"

#include <QDateTime>

#include "appenvironment.h"
#include "launcherconfig.h"
#include "packagetrust.h"
#include "signedmetadata.h"
#include "signingkeylist.h"
#include "updateversioninfo.h"

namespace {
const QString kCounterKey = QStringLiteral("signedMetadataVersion");
const QString kCounterGroup = QStringLiteral("trust");
const QString kProductKey = QStringLiteral("signedProduct");
QString s_builtInProduct;
} // namespace

void ManifestGate::setBuiltInProduct(const QString &product)
{
    s_builtInProduct = product;
}

QString ManifestGate::expectedProduct()
{
    if (!s_builtInProduct.isEmpty())
        return s_builtInProduct;
    return LauncherConfig::instance()->readString(kProductKey, kCounterGroup);
}

qint64 ManifestGate::lastAccepted()
{
    return LauncherConfig::instance()->readString(kCounterKey, kCounterGroup).toLongLong();
}

bool ManifestGate::admit(UpdateVersionInfo *manifest, QString *why, ErrorDefine::ErrorCode *code)
{
    if (!PackageTrust::isEnabled())
        return true;
    // A rotated signing key arrives as a list a root key signed; without a list only the root
    // keys sign.
    const QJsonObject keysField = manifest->signingKeys();
    QList<QByteArray> delegated;
    if (!keysField.isEmpty()) {
        SigningKeyList list;
        if (!SigningKeyList::verify(keysField, PackageTrust::rootKeys(),
                                    QDateTime::currentDateTimeUtc(), &list, why)) {
            *code = ErrorDefine::METADATA_SIGNATURE_ERROR;
            PackageTrust::setDelegatedKeys({}, {});
            return false;
        }
        delegated = list.keys;
    }
    PackageTrust::setDelegatedKeys(delegated, keysField);
    SignedMetadata metadata;
    if (!SignedMetadata::verify(manifest->signedMetadata(),
                                QLatin1String(SignedMetadata::kGameType),
                                QLatin1String(AppEnvironment::kLauncherId), lastAccepted(),
                                QDateTime::currentDateTimeUtc(), &metadata, why, code))
        return false;
    const QString product = expectedProduct();
    if (!product.isEmpty() && metadata.product != product) {
        *code = ErrorDefine::PACKAGE_BINDING_ERROR;
        *why = QStringLiteral("the answer is signed for the game \"%1\", not \"%2\"")
                   .arg(metadata.product, product);
        return false;
    }
    if (product.isEmpty() && !metadata.product.isEmpty())
        LauncherConfig::instance()->writeString(kProductKey, metadata.product, kCounterGroup);
    manifest->applySignedFields(metadata.fields);
    manifest->setSignedProduct(metadata.product);
    if (metadata.counter > lastAccepted())
        LauncherConfig::instance()->writeString(kCounterKey, QString::number(metadata.counter),
                                                kCounterGroup);
    return true;
}
