#include "signedmetadata.h"

#include <QJsonDocument>

#include "packagetrust.h"

namespace {

bool fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

} // namespace

QByteArray SignedMetadata::toJson() const
{
    return QJsonDocument(
               QJsonObject{{QStringLiteral("type"), type},
                           {QStringLiteral("launcher"), launcher},
                           {QStringLiteral("product"), product},
                           {QStringLiteral("metadata_version"), double(counter)},
                           {QStringLiteral("expires"), expires.toUTC().toString(Qt::ISODate)},
                           {QStringLiteral("fields"), fields}})
        .toJson(QJsonDocument::Compact);
}

bool SignedMetadata::fromJson(const QByteArray &json, SignedMetadata *metadata, QString *why)
{
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    if (!doc.isObject())
        return fail(why, QStringLiteral("metadata is not a JSON object"));
    const QJsonObject object = doc.object();
    SignedMetadata read;
    read.type = object.value(QStringLiteral("type")).toString();
    read.launcher = object.value(QStringLiteral("launcher")).toString();
    read.product = object.value(QStringLiteral("product")).toString();
    const QJsonValue counter = object.value(QStringLiteral("metadata_version"));
    const double number = counter.toDouble(-1);
    if (!counter.isDouble() || number < 1 || number > 9007199254740992.0 ||
        number != double(qint64(number)))
        return fail(why, QStringLiteral("metadata version is not a positive whole number"));
    read.counter = qint64(number);
    read.expires =
        QDateTime::fromString(object.value(QStringLiteral("expires")).toString(), Qt::ISODate);
    if (!read.expires.isValid())
        return fail(why, QStringLiteral("metadata has no expiry date"));
    const QJsonValue fields = object.value(QStringLiteral("fields"));
    if (read.type.isEmpty() || !fields.isObject())
        return fail(why, QStringLiteral("metadata lacks its type or fields"));
    read.fields = fields.toObject();
    *metadata = read;
    return true;
}

bool SignedMetadata::verify(const QJsonObject &field, const QString &type, const QString &launcher,
                            qint64 lastCounter, const QDateTime &now, SignedMetadata *metadata,
                            QString *why, ErrorDefine::ErrorCode *code)
{
    *code = ErrorDefine::METADATA_SIGNATURE_ERROR;
    QByteArray text;
    if (!PackageTrust::verifyField(field, &text, why))
        return false;
    SignedMetadata read;
    if (!fromJson(text, &read, why))
        return false;
    if (read.type != type || read.launcher != launcher) {
        *code = ErrorDefine::PACKAGE_BINDING_ERROR;
        return fail(why, QStringLiteral("metadata is for %1 of launcher \"%2\", not %3 of \"%4\"")
                             .arg(read.type, read.launcher, type, launcher));
    }
    // An answer older than one already seen, or past its date, may hide a newer release (a
    // fix, a revoked version) from the player: it decides nothing.
    if (read.counter < lastCounter) {
        *code = ErrorDefine::METADATA_STALE_ERROR;
        return fail(why, QStringLiteral("metadata version %1 is older than the %2 seen before")
                             .arg(read.counter)
                             .arg(lastCounter));
    }
    if (read.expires < now) {
        *code = ErrorDefine::METADATA_STALE_ERROR;
        return fail(why, QStringLiteral("metadata expired on %1")
                             .arg(read.expires.toUTC().toString(Qt::ISODate)));
    }
    *metadata = read;
    return true;
}
