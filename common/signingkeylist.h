#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

// The publisher's current signing keys, signed by a root key the programs were built with: a
// studio rotates or revokes a signing key by publishing a new list, without a new launcher.
// The list expires, so a revoked key cannot be brought back for ever with an old list.
struct SigningKeyList
{
    QList<QByteArray> keys; // raw Ed25519 public keys
    QDateTime expires;      // UTC

    static constexpr const char *kType = "signing-keys";

    QByteArray toJson() const;
    static bool fromJson(const QByteArray &json, SigningKeyList *list, QString *why);

    // A {"statement", "signature", "key"} field signed by one of `rootKeys`, of this type and
    // not expired at `now`.
    static bool verify(const QJsonObject &field, const QList<QByteArray> &rootKeys,
                       const QDateTime &now, SigningKeyList *list, QString *why);
};
