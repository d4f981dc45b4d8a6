#include "packagesigner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include "packagedigest.h"
#include "publishcommon.h"

struct PackageSigner::Key
{
    EVP_PKEY *pkey = nullptr;
    ~Key() { EVP_PKEY_free(pkey); }
};

namespace {

QByteArray rawPublicKey(EVP_PKEY *pkey)
{
    QByteArray raw(32, '\0');
    size_t length = size_t(raw.size());
    if (EVP_PKEY_get_raw_public_key(pkey, reinterpret_cast<unsigned char *>(raw.data()), &length) !=
            1 ||
        length != 32)
        return QByteArray();
    return raw;
}

QByteArray pemOf(EVP_PKEY *pkey)
{
    BIO *bio = BIO_new(BIO_s_mem());
    QByteArray pem;
    if (bio && PEM_write_bio_PrivateKey(bio, pkey, nullptr, nullptr, 0, nullptr, nullptr) == 1) {
        char *data = nullptr;
        const long length = BIO_get_mem_data(bio, &data);
        pem = QByteArray(data, int(length));
    }
    BIO_free(bio);
    return pem;
}

} // namespace

PackageSigner::PackageSigner() = default;
PackageSigner::~PackageSigner() = default;

bool PackageSigner::generate(const QString &stem, QString *publicKey, QString *error)
{
    const QString keyPath = stem + QStringLiteral(".key");
    const QString pubPath = stem + QStringLiteral(".pub");
    for (const QString &path : {keyPath, pubPath}) {
        if (QFileInfo::exists(path))
            return publish::fail(error,
                                 QStringLiteral("%1 exists; a key is never overwritten").arg(path));
    }
    Key key;
    EVP_PKEY_CTX *ctx = EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr);
    const bool made = ctx && EVP_PKEY_keygen_init(ctx) == 1 && EVP_PKEY_keygen(ctx, &key.pkey) == 1;
    EVP_PKEY_CTX_free(ctx);
    if (!made)
        return publish::fail(error, QStringLiteral("OpenSSL could not make an Ed25519 key"));
    const QByteArray pem = pemOf(key.pkey);
    const QByteArray pub = rawPublicKey(key.pkey).toBase64();

    QSaveFile privateFile(keyPath);
    if (!privateFile.open(QIODevice::WriteOnly) ||
        !privateFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        privateFile.write(pem) != pem.size() || !privateFile.commit())
        return publish::fail(
            error, QStringLiteral("%1: cannot write: %2").arg(keyPath, privateFile.errorString()));
    QSaveFile publicFile(pubPath);
    if (!publicFile.open(QIODevice::WriteOnly) || publicFile.write(pub + '\n') != pub.size() + 1 ||
        !publicFile.commit())
        return publish::fail(
            error, QStringLiteral("%1: cannot write: %2").arg(pubPath, publicFile.errorString()));
    *publicKey = QString::fromLatin1(pub);
    return true;
}

bool PackageSigner::load(const QString &privateKeyPath, QString *error)
{
    QFile file(privateKeyPath);
    if (!file.open(QIODevice::ReadOnly))
        return publish::fail(
            error, QStringLiteral("%1: cannot read: %2").arg(privateKeyPath, file.errorString()));
    const QByteArray pem = file.readAll();
    BIO *bio = BIO_new_mem_buf(pem.constData(), pem.size());
    auto key = std::make_unique<Key>();
    key->pkey = bio ? PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr) : nullptr;
    BIO_free(bio);
    if (!key->pkey || EVP_PKEY_id(key->pkey) != EVP_PKEY_ED25519)
        return publish::fail(error, QStringLiteral("%1: not an Ed25519 private key (make one with "
                                                   "lunmere-publish keygen)")
                                        .arg(privateKeyPath));
    m_key = std::move(key);
    return true;
}

bool PackageSigner::isLoaded() const
{
    return m_key && m_key->pkey;
}

QByteArray PackageSigner::publicKey() const
{
    return isLoaded() ? rawPublicKey(m_key->pkey) : QByteArray();
}

QByteArray PackageSigner::sign(const QByteArray &message) const
{
    if (!isLoaded())
        return QByteArray();
    QByteArray signature(64, '\0');
    size_t length = size_t(signature.size());
    EVP_MD_CTX *ctx = EVP_MD_CTX_new();
    const bool ok =
        ctx && EVP_DigestSignInit(ctx, nullptr, nullptr, nullptr, m_key->pkey) == 1 &&
        EVP_DigestSign(ctx, reinterpret_cast<unsigned char *>(signature.data()), &length,
                       reinterpret_cast<const unsigned char *>(message.constData()),
                       size_t(message.size())) == 1;
    EVP_MD_CTX_free(ctx);
    return ok && length == 64 ? signature : QByteArray();
}

bool PackageSigner::signFile(const QString &path, const QString &name, const QString &version,
                             const QString &from, const QString &md5, QJsonObject *field,
                             QString *error)
{
    PackageDigest digest;
    if (!PackageDigest::ofFile(path, &digest))
        return publish::fail(error, QStringLiteral("%1: cannot read").arg(path));
    if (!md5.isEmpty() && md5.compare(digest.md5, Qt::CaseInsensitive) != 0)
        return publish::fail(error, QStringLiteral("%1: its MD5 is %2, not the %3 given for it")
                                        .arg(path, digest.md5, md5));
    return signDigest(digest, name, version, from, field, error);
}

bool PackageSigner::signPlugin(const QString &path, const QString &name, const QString &version,
                               const QString &md5, QJsonObject *field, QString *error)
{
    PackageDigest digest;
    if (!PackageDigest::ofFile(path, &digest))
        return publish::fail(error, QStringLiteral("%1: cannot read").arg(path));
    if (!md5.isEmpty() && md5.compare(digest.md5, Qt::CaseInsensitive) != 0)
        return publish::fail(error, QStringLiteral("%1: its MD5 is %2, not the %3 given for it")
                                        .arg(path, digest.md5, md5));
    PackageStatement statement;
    statement.name = name;
    statement.version = version;
    statement.kind = QLatin1String(PackageStatement::kPluginKind);
    return signStatement(digest, statement, field, error);
}

bool PackageSigner::signDigest(const PackageDigest &digest, const QString &name,
                               const QString &version, const QString &from, QJsonObject *field,
                               QString *error)
{
    PackageStatement statement;
    statement.name = name;
    statement.version = version;
    statement.from = from;
    statement.kind = QLatin1String(from.isEmpty() ? PackageStatement::kFullKind
                                                  : PackageStatement::kDifferenceKind);
    return signStatement(digest, statement, field, error);
}

bool PackageSigner::signStatement(const PackageDigest &digest, PackageStatement statement,
                                  QJsonObject *field, QString *error)
{
    statement.size = digest.size;
    statement.sha256 = digest.sha256;
    statement.md5 = digest.md5;
    statement.launcher = m_launcherId;
    if (statement.product.isEmpty())
        statement.product = m_product;
    statement.rollback = m_rollback;
    const QByteArray json = statement.toJson();
    const QByteArray signature = sign(json);
    if (signature.isEmpty())
        return publish::fail(error, QStringLiteral("%1: signing failed").arg(statement.name));
    *field = PackageTrust::signatureField(json, signature, publicKey());
    return true;
}

bool PackageSigner::signMetadata(SignedMetadata metadata, QJsonObject *field, QString *error)
{
    metadata.launcher = m_launcherId;
    metadata.product = m_product;
    const QByteArray json = metadata.toJson();
    const QByteArray signature = sign(json);
    if (signature.isEmpty())
        return publish::fail(error, QStringLiteral("signing the answer failed"));
    *field = PackageTrust::signatureField(json, signature, publicKey());
    return true;
}

void PackageSigner::setBinding(const QString &launcherId, const QString &product, bool rollback)
{
    m_launcherId = launcherId;
    m_product = product;
    m_rollback = rollback;
}

bool PackageSigner::isOutside(const QString &keyPath, const QString &folder)
{
    const QString key = QFileInfo(keyPath).canonicalFilePath();
    QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty())
        root = QFileInfo(folder).absoluteFilePath();
    return !key.isEmpty() && key != root && !key.startsWith(root + QLatin1Char('/'));
}
