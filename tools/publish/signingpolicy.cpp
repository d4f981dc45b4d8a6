#include "signingpolicy.h"

#include <QDateTime>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QFileInfo>

#include "packagesigner.h"
#include "publishcommon.h"
#include "signedmetadata.h"

namespace {

// PEM private keys of any algorithm ("PRIVATE KEY", "ED25519 PRIVATE KEY", "RSA PRIVATE KEY",
// "ENCRYPTED PRIVATE KEY", OpenSSH's): small files, marked in their first line.
constexpr qint64 kLargestKeyFile = 64 * 1024;

bool looksLikePrivateKey(const QString &path)
{
    QFile file(path);
    if (file.size() > kLargestKeyFile || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(kLargestKeyFile);
    const int begin = head.indexOf("-----BEGIN ");
    return begin >= 0 && head.indexOf("PRIVATE KEY-----", begin) > begin;
}

} // namespace

bool SigningPolicy::loadKey(const QString &keyPath, const QStringList &published,
                            PackageSigner *signer, QString *error, QTextStream *log)
{
    const QFileInfo key(keyPath);
    if (!key.exists())
        return publish::fail(error,
                             QStringLiteral("the private key %1 does not exist").arg(keyPath));
    if (!key.isFile() || !key.isReadable())
        return publish::fail(
            error, QStringLiteral("the private key %1 is not a readable file").arg(keyPath));
    for (const QString &folder : published) {
        if (!PackageSigner::isOutside(keyPath, folder))
            return publish::fail(error, QStringLiteral("the private key %1 lies in %2, which gets "
                                                       "published; keep it elsewhere")
                                            .arg(keyPath, folder));
    }
    if (!signer->load(keyPath, error))
        return false;
    if (log && (key.permissions() & (QFile::ReadGroup | QFile::ReadOther)))
        *log << "warning: other users may read the private key " << keyPath
             << "; make it readable by you only (chmod 600)" << Qt::endl;
    return true;
}

bool SigningPolicy::holdsNoPrivateKey(const QString &folder, QString *found)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (looksLikePrivateKey(path)) {
            *found = path;
            return false;
        }
    }
    return true;
}

bool SigningPolicy::checkSiteSigning(const QString &answerFile, bool signing, bool allowChange,
                                     QString *error)
{
    QFile file(answerFile);
    if (allowChange || !file.open(QIODevice::ReadOnly))
        return true;
    // Every signed answer carries the signature field beside its packages; an answer that
    // offers no package (the launcher's "no release") is neither.
    const QByteArray answer = file.readAll();
    if (!answer.contains("md5\""))
        return true;
    const bool wasSigned = answer.contains("\"statement\"");
    if (wasSigned == signing)
        return true;
    return publish::fail(
        error, wasSigned
                   ? QStringLiteral("the site is signed: without --sign-key every launcher built "
                                    "with keys would refuse this release. Give the key, or "
                                    "--change-signing to publish unsigned on purpose")
                   : QStringLiteral("the site is unsigned: launchers built with keys could not "
                                    "have installed from it. Give --change-signing to start "
                                    "signing it on purpose"));
}

qint64 SigningPolicy::nextMetadataVersion(const QString &answerFile)
{
    qint64 previous = 0;
    QFile file(answerFile);
    if (file.open(QIODevice::ReadOnly)) {
        const QJsonObject field = QJsonDocument::fromJson(file.readAll())
                                      .object()
                                      .value(QStringLiteral("data"))
                                      .toObject()
                                      .value(QStringLiteral("signed"))
                                      .toObject();
        SignedMetadata metadata;
        if (SignedMetadata::fromJson(field.value(QStringLiteral("statement")).toString().toUtf8(),
                                     &metadata, nullptr))
            previous = metadata.counter;
    }
    return qMax(previous + 1, QDateTime::currentSecsSinceEpoch());
}
