#pragma once

#include "packagedigest.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <memory>

#include "packagetrust.h"
#include "signedmetadata.h"

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
    // from `from` for a difference package, else a full one); checks that its MD5 is `md5` when
    // given.
    bool signFile(const QString &path, const QString &name, const QString &version,
                  const QString &from, const QString &md5, QJsonObject *field, QString *error);
    // signFile for a plug-in's local copy, published with game version `version`.
    bool signPlugin(const QString &path, const QString &name, const QString &version,
                    const QString &md5, QJsonObject *field, QString *error);
    // The same from a digest the caller already took of the package (one read per package).
    bool signDigest(const PackageDigest &digest, const QString &name, const QString &version,
                    const QString &from, QJsonObject *field, QString *error);
    // Signs `statement` (its name, version, source version, kind and file list digest as the
    // caller gives them) for the package with this digest; the digest and the binding fill the
    // rest.
    bool signStatement(const PackageDigest &digest, PackageStatement statement, QJsonObject *field,
                       QString *error);
    QByteArray sign(const QByteArray &message) const;
    // The "signed" field of an answer: `metadata` with this signer's binding, signed.
    bool signMetadata(SignedMetadata metadata, QJsonObject *field, QString *error);

    // What every statement names besides the file: the launcher id it is published for and the
    // product (the game's name; a launcher release names the launcher id), and whether the
    // publisher means it as a rollback below a newer installed version.
    void setBinding(const QString &launcherId, const QString &product, bool rollback = false);

    // False when `keyPath` lies in `folder`: whatever is there gets published or packed.
    static bool isOutside(const QString &keyPath, const QString &folder);

private:
    struct Key;
    std::unique_ptr<Key> m_key;
    QString m_launcherId;
    QString m_product;
    bool m_rollback = false;
};
