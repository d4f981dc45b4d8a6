#include "releasegate.h"

#include <QDateTime>
#include <QJsonObject>

#include "appenvironment.h"
#include "launcherconfig.h"
#include "packagetrust.h"
#include "signedmetadata.h"

namespace {
// Apart from the resource answer's: the two are published independently.
const QString kCounterKey = QStringLiteral("releaseMetadataVersion");
const QString kCounterGroup = QStringLiteral("trust");
} // namespace

qint64 ReleaseGate::lastAccepted()
{
    return LauncherConfig::instance()->readString(kCounterKey, kCounterGroup).toLongLong();
}

bool ReleaseGate::admit(QJsonDocument *answer, QString *why, ErrorDefine::ErrorCode *code)
{
    if (!PackageTrust::isEnabled())
        return true;
    const QJsonObject field = answer->object()
                                  .value(QStringLiteral("data"))
                                  .toObject()
                                  .value(QStringLiteral("signed"))
                                  .toObject();
    const QString launcher = QLatin1String(AppEnvironment::kLauncherId);
    SignedMetadata metadata;
    if (!SignedMetadata::verify(field, QLatin1String(SignedMetadata::kLauncherType), launcher,
                                lastAccepted(), QDateTime::currentDateTimeUtc(), &metadata, why,
                                code))
        return false;
    if (metadata.product != launcher) {
        *code = ErrorDefine::PACKAGE_BINDING_ERROR;
        *why = QStringLiteral("the release answer is signed for \"%1\", not this launcher")
                   .arg(metadata.product);
        return false;
    }
    *answer = QJsonDocument(QJsonObject{{QStringLiteral("data"), metadata.fields}});
    if (metadata.counter > lastAccepted())
        LauncherConfig::instance()->writeString(kCounterKey, QString::number(metadata.counter),
                                                kCounterGroup);
    return true;
}
