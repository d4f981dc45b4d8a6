#include "manifestgate.h"

#include <QDateTime>

#include "appenvironment.h"
#include "launcherconfig.h"
#include "packagetrust.h"
#include "signedmetadata.h"
#include "updateversioninfo.h"

namespace {
const QString kCounterKey = QStringLiteral("signedMetadataVersion");
const QString kCounterGroup = QStringLiteral("trust");
} // namespace

qint64 ManifestGate::lastAccepted()
{
    return LauncherConfig::instance()->readString(kCounterKey, kCounterGroup).toLongLong();
}

bool ManifestGate::admit(UpdateVersionInfo *manifest, QString *why, ErrorDefine::ErrorCode *code)
{
    if (!PackageTrust::isEnabled())
        return true;
    SignedMetadata metadata;
    if (!SignedMetadata::verify(manifest->signedMetadata(),
                                QLatin1String(SignedMetadata::kGameType),
                                QLatin1String(AppEnvironment::kLauncherId), lastAccepted(),
                                QDateTime::currentDateTimeUtc(), &metadata, why, code))
        return false;
    manifest->applySignedFields(metadata.fields);
    if (metadata.counter > lastAccepted())
        LauncherConfig::instance()->writeString(kCounterKey, QString::number(metadata.counter),
                                                kCounterGroup);
    return true;
}
