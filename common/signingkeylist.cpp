#include "signingkeylist.h"

#include <QJsonArray>
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

QByteArray SigningKeyList::toJson() const
{
    QJsonArray array;
    for (const QByteArray &key : keys)
        array.append(QString::fromLatin1(key.toBase64()));
    return QJsonDocument(
               QJsonObject{{QStringLiteral("type"), QLatin1String(kType)},
                           {QStringLiteral("keys"), array},
                           {QStringLiteral("expires"), expires.toUTC().toString(Qt::ISODate)}})
        .toJson(QJsonDocument::Compact);
}

bool SigningKeyList::fromJson(const QByteArray &json, SigningKeyList *list, QString *why)
{
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    if (object.value(QStringLiteral("type")).toString() != QLatin1String(kType))
        return fail(why, QStringLiteral("not a signing key list"));
    SigningKeyList read;
    read.expires =
        QDateTime::fromString(object.value(QStringLiteral("expires")).toString(), Qt::ISODate);
    if (!read.expires.isValid())
        return fail(why, QStringLiteral("signing key list has no expiry date"));
    QStringList texts;
    for (const QJsonValue &value : object.value(QStringLiteral("keys")).toArray())
        texts << value.toString();
    if (!PackageTrust::parseKeyList(texts.join(QLatin1Char(';')), &read.keys, why))
        return false;
    *list = read;
    return true;
}

bool SigningKeyList::verify(const QJsonObject &field, const QList<QByteArray> &rootKeys,
                            const QDateTime &now, SigningKeyList *list, QString *why)
{
    QByteArray text;
    if (!PackageTrust::verifyField(field, rootKeys, &text, why))
        return false;
    SigningKeyList read;
    if (!fromJson(text, &read, why))
        return false;
    if (read.expires < now)
        return fail(why, QStringLiteral("signing key list expired on %1")
                             .arg(read.expires.toUTC().toString(Qt::ISODate)));
    *list = read;
    return true;
}
