#pragma once

#include "packagedigest.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <memory>

#include "packagetrust.h"

// The publisher's side of package signatures: makes Ed25519 key pairs and signs package
// statements with a private key kept outside the site folder.
class PackageSigner
{
public:
    PackageSigner();
    ~PackageSigner();
    PackageSigner(const PackageSigner &) = delete;
    PackageSigner &operator=(const PackageSigner &) = delete;

    // Writes `<stem>.key` (the private key, PEM, readable by its owner only) and `<stem>.pub`
    // (the public key as base64, what a launcher build trusts). Never overwrites.
    static bool generate(const QString &stem, QString *publicKey, QString *error);

    bool load(const QString &privateKeyPath, QString *error);
    bool isLoaded() const;
    QByteArray publicKey() const; // raw 32 bytes

    // The signature field for the package file at `path`, installed as `version` (updating
    // from `from` for a difference package); checks that its MD5 is `md5` when given.
    bool signFile(const QString &path, const QString &name, const QString &version,
                  const QString &from, const QString &md5, QJsonObject *field, QString *error);
    // The same from a digest the caller already took of the package (one read per package).
    bool signDigest(const PackageDigest &digest, const QString &name, const QString &version,
                    const QString &from, QJsonObject *field, QString *error);
    QByteArray sign(const QByteArray &message) const;

    // False when `keyPath` lies in `folder`: whatever is there gets published or packed.
    static bool isOutside(const QString &keyPath, const QString &folder);

private:
    struct Key;
    std::unique_ptr<Key> m_key;
};
