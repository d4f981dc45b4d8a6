#include "packagetrust.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QMutex>
#include <QRegularExpression>

#include <openssl/evp.h>

namespace {

constexpr int kKeyLength = 32;
constexpr int kSignatureLength = 64;

QMutex s_keysLock;
QList<QByteArray> s_keys;
QList<QByteArray> s_delegated;
QJsonObject s_delegatedField;

bool fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

bool isHex(const QString &text, int length)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]*$"));
    return text.size() == length && pattern.match(text).hasMatch();
}

bool verifyEd25519(const QByteArray &rawKey, const QByteArray &message, const QByteArray &signature)
{
    EVP_PKEY *key = EVP_PKEY_new_raw_public_key(
        EVP_PKEY_ED25519, nullptr, reinterpret_cast<const unsigned char *>(rawKey.constData()),
        size_t(rawKey.size()));
    if (!key)
        return false;
    EVP_MD_CTX *ctx = EVP_MD_CTX_new();
    const bool ok =
        ctx && EVP_DigestVerifyInit(ctx, nullptr, nullptr, nullptr, key) == 1 &&
        EVP_DigestVerify(ctx, reinterpret_cast<const unsigned char *>(signature.constData()),
                         size_t(signature.size()),
                         reinterpret_cast<const unsigned char *>(message.constData()),
                         size_t(message.size())) == 1;
    EVP_MD_CTX_free(ctx);
    EVP_PKEY_free(key);
    return ok;
}

// Strict base64: QByteArray::fromBase64 skips what it does not know, which would let two
// different texts stand for one signature.
bool decodeBase64(const QString &text, QByteArray *out)
{
    const auto result = QByteArray::fromBase64Encoding(
        text.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!result || text.isEmpty())
        return false;
    *out = result.decoded;
    return true;
}

} // namespace

QByteArray PackageStatement::toJson() const
{
    QJsonObject json{{QStringLiteral("name"), name},
                     {QStringLiteral("size"), double(size)},
                     {QStringLiteral("sha256"), sha256},
                     {QStringLiteral("md5"), md5},
                     {QStringLiteral("version"), version}};
    if (!from.isEmpty())
        json.insert(QStringLiteral("from"), from);
    if (!launcher.isEmpty())
        json.insert(QStringLiteral("launcher"), launcher);
    if (!product.isEmpty())
        json.insert(QStringLiteral("product"), product);
    if (!kind.isEmpty())
        json.insert(QStringLiteral("kind"), kind);
    if (!filesSha256.isEmpty()) {
        json.insert(QStringLiteral("files_sha256"), filesSha256);
        json.insert(QStringLiteral("files_size"), double(filesSize));
    }
    if (rollback)
        json.insert(QStringLiteral("rollback"), true);
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

bool PackageStatement::fromJson(const QByteArray &json, PackageStatement *statement, QString *why)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        return fail(why, QStringLiteral("statement is not a JSON object"));
    const QJsonObject object = doc.object();
    const auto text = [&object](const char *key, QString *out) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            out->clear();
            return true;
        }
        *out = value.toString();
        return value.isString();
    };
    // Doubles hold whole numbers exactly up to 2^53: far beyond any package.
    const auto byteCount = [&object](const char *key, qint64 *out) {
        const QJsonValue value = object.value(QLatin1String(key));
        const double number = value.toDouble(-1);
        if (!value.isDouble() || number < 0 || number > 9007199254740992.0 ||
            number != double(qint64(number)))
            return false;
        *out = qint64(number);
        return true;
    };
    PackageStatement read;
    if (!byteCount("size", &read.size))
        return fail(why, QStringLiteral("statement size is not a byte count"));
    if (!text("name", &read.name) || !text("sha256", &read.sha256) || !text("md5", &read.md5) ||
        !text("version", &read.version) || !text("from", &read.from) ||
        !text("launcher", &read.launcher) || !text("product", &read.product) ||
        !text("kind", &read.kind) || !text("files_sha256", &read.filesSha256))
        return fail(why, QStringLiteral("statement field is not a string"));
    if (read.name.isEmpty() || read.version.isEmpty() || !isHex(read.sha256, 64) ||
        !isHex(read.md5, 32))
        return fail(why, QStringLiteral("statement lacks a name, version or digest"));
    if (!read.filesSha256.isEmpty() &&
        (!isHex(read.filesSha256, 64) || !byteCount("files_size", &read.filesSize)))
        return fail(why, QStringLiteral("statement file list digest malformed"));
    const QJsonValue rollback = object.value(QStringLiteral("rollback"));
    if (!rollback.isUndefined() && !rollback.isBool())
        return fail(why, QStringLiteral("statement rollback is not true or false"));
    read.rollback = rollback.toBool();
    *statement = read;
    return true;
}

void PackageTrust::setTrustedKeys(const QList<QByteArray> &keys)
{
    QMutexLocker lock(&s_keysLock);
    s_keys = keys;
}

QList<QByteArray> PackageTrust::trustedKeys()
{
    QMutexLocker lock(&s_keysLock);
    return s_keys + s_delegated;
}

QList<QByteArray> PackageTrust::rootKeys()
{
    QMutexLocker lock(&s_keysLock);
    return s_keys;
}

void PackageTrust::setDelegatedKeys(const QList<QByteArray> &keys, const QJsonObject &field)
{
    QMutexLocker lock(&s_keysLock);
    s_delegated = keys;
    s_delegatedField = keys.isEmpty() ? QJsonObject() : field;
}

QJsonObject PackageTrust::delegatedField()
{
    QMutexLocker lock(&s_keysLock);
    return s_delegatedField;
}

bool PackageTrust::isEnabled()
{
    return !rootKeys().isEmpty();
}

void PackageTrust::installBuiltInKeys(const char *text)
{
    QList<QByteArray> keys;
    QString why;
    if (!parseKeyList(QString::fromLatin1(text), &keys, &why))
        qFatal("publisher keys: %s", qPrintable(why));
    setTrustedKeys(keys);
}

bool PackageTrust::parseKeyList(const QString &text, QList<QByteArray> *keys, QString *why)
{
    QList<QByteArray> parsed;
    const QStringList parts =
        text.split(QRegularExpression(QStringLiteral("[;,\\s]+")), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        QByteArray raw;
        if (!decodeBase64(part, &raw) || raw.size() != kKeyLength)
            return fail(why, QStringLiteral("\"%1\" is not a base64 Ed25519 public key").arg(part));
        parsed << raw;
    }
    *keys = parsed;
    return true;
}

QString PackageTrust::keyId(const QByteArray &rawKey)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(rawKey, QCryptographicHash::Sha256).left(8).toHex());
}

QJsonObject PackageTrust::signatureField(const QByteArray &statementJson,
                                         const QByteArray &signature, const QByteArray &rawKey)
{
    return QJsonObject{{QStringLiteral("statement"), QString::fromUtf8(statementJson)},
                       {QStringLiteral("signature"), QString::fromLatin1(signature.toBase64())},
                       {QStringLiteral("key"), keyId(rawKey)}};
}

bool PackageTrust::verifyField(const QJsonObject &field, QByteArray *signedText, QString *why)
{
    return verifyField(field, trustedKeys(), signedText, why);
}

bool PackageTrust::verifyField(const QJsonObject &field, const QList<QByteArray> &keys,
                               QByteArray *signedText, QString *why)
{
    if (field.isEmpty())
        return fail(why, QStringLiteral("signature missing"));
    const QJsonValue statementValue = field.value(QStringLiteral("statement"));
    const QJsonValue signatureValue = field.value(QStringLiteral("signature"));
    QByteArray signature;
    if (!statementValue.isString() || !signatureValue.isString() ||
        !decodeBase64(signatureValue.toString(), &signature) ||
        signature.size() != kSignatureLength)
        return fail(why, QStringLiteral("signature malformed"));
    const QByteArray statementJson = statementValue.toString().toUtf8();

    // The key id only picks the key; the signature decides.
    const QString wantedId = field.value(QStringLiteral("key")).toString();
    bool keyKnown = false;
    bool verified = false;
    for (const QByteArray &key : keys) {
        if (!wantedId.isEmpty() && keyId(key) != wantedId)
            continue;
        keyKnown = true;
        if (verifyEd25519(key, statementJson, signature)) {
            verified = true;
            break;
        }
    }
    if (!keyKnown)
        return fail(why, QStringLiteral("signed by a key that is not trusted (%1)").arg(wantedId));
    if (!verified)
        return fail(why, QStringLiteral("signature does not match the statement"));
    *signedText = statementJson;
    return true;
}

bool PackageTrust::checkStatement(const SignedPackage &expected, PackageStatement *statement,
                                  QString *why, ErrorDefine::ErrorCode *code)
{
    if (code)
        *code = ErrorDefine::PACKAGE_SIGNATURE_ERROR;
    QByteArray statementJson;
    if (!verifyField(expected.signature, &statementJson, why))
        return false;

    PackageStatement read;
    if (!PackageStatement::fromJson(statementJson, &read, why))
        return false;
    // What the package is for before what it is: a genuine package of another product or
    // kind says so plainly instead of as a mismatch of names.
    const auto wrongFor = [&](const QString &what, const QString &named, const QString &wanted) {
        if (code)
            *code = ErrorDefine::PACKAGE_BINDING_ERROR;
        return fail(
            why, QStringLiteral("statement is for %1 \"%2\", not \"%3\"").arg(what, named, wanted));
    };
    if (!expected.launcher.isEmpty() && read.launcher != expected.launcher)
        return wrongFor(QStringLiteral("launcher"), read.launcher, expected.launcher);
    if (!expected.product.isEmpty() && read.product != expected.product)
        return wrongFor(QStringLiteral("product"), read.product, expected.product);
    if (!expected.kind.isEmpty() && read.kind != expected.kind)
        return wrongFor(QStringLiteral("package kind"), read.kind, expected.kind);
    if (!expected.installedVersion.isEmpty() && !read.rollback &&
        compareVersions(read.version, expected.installedVersion) < 0) {
        if (code)
            *code = ErrorDefine::PACKAGE_ROLLBACK_ERROR;
        return fail(why, QStringLiteral("version %1 is older than the installed %2")
                             .arg(read.version, expected.installedVersion));
    }
    if (read.name != expected.name)
        return fail(why,
                    QStringLiteral("statement is for %1, not %2").arg(read.name, expected.name));
    if (expected.checkVersion && (read.version != expected.version || read.from != expected.from))
        return fail(why, QStringLiteral("statement is for version %1 (from %2), not %3 (from %4)")
                             .arg(read.version, read.from, expected.version, expected.from));
    if (read.md5.compare(expected.md5, Qt::CaseInsensitive) != 0)
        return fail(why, QStringLiteral("statement MD5 differs from the manifest's"));
    if (expected.size >= 0 && read.size != expected.size)
        return fail(why, QStringLiteral("statement size differs from the manifest's"));
    if (statement)
        *statement = read;
    return true;
}

bool PackageTrust::checkFile(const SignedPackage &expected, const QString &md5,
                             const QString &sha256, qint64 size, QString *why,
                             ErrorDefine::ErrorCode *code)
{
    PackageStatement statement;
    if (!checkStatement(expected, &statement, why, code))
        return false;
    if (statement.size != size || statement.sha256.compare(sha256, Qt::CaseInsensitive) != 0 ||
        statement.md5.compare(md5, Qt::CaseInsensitive) != 0)
        return fail(why, QStringLiteral("the file is not the one the statement describes"));
    return true;
}

QString PackageTrust::errorMessage(const QString &why)
{
    return errorMessage(ErrorDefine::PACKAGE_SIGNATURE_ERROR, why);
}

QString PackageTrust::errorMessage(ErrorDefine::ErrorCode code, const QString &why)
{
    const char *key =
        code == ErrorDefine::PACKAGE_ROLLBACK_ERROR     ? "message_error_package_rollback"
        : code == ErrorDefine::PACKAGE_BINDING_ERROR    ? "message_error_package_binding"
        : code == ErrorDefine::METADATA_SIGNATURE_ERROR ? "message_error_metadata_signature"
        : code == ErrorDefine::METADATA_STALE_ERROR     ? "message_error_metadata_stale"
                                                        : "message_error_package_signature";
    const QString text = QCoreApplication::translate("PackageTrust", key);
    return why.isEmpty() ? text : text + QStringLiteral(" (") + why + QLatin1Char(')');
}

int PackageTrust::compareVersions(const QString &a, const QString &b)
{
    const QStringList left = a.split(QLatin1Char('.'));
    const QStringList right = b.split(QLatin1Char('.'));
    for (int i = 0; i < qMax(left.size(), right.size()); ++i) {
        const QString l = i < left.size() ? left.at(i) : QStringLiteral("0");
        const QString r = i < right.size() ? right.at(i) : QStringLiteral("0");
        bool lNumber = false;
        bool rNumber = false;
        const qulonglong ln = l.toULongLong(&lNumber);
        const qulonglong rn = r.toULongLong(&rNumber);
        const int order = lNumber && rNumber ? (ln < rn ? -1 : ln > rn ? 1 : 0) : l.compare(r);
        if (order != 0)
            return order;
    }
    return 0;
}
