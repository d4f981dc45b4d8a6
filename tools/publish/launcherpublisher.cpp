#include "launcherpublisher.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "appversioninfo.h"
#include "foldersnapshot.h"
#include "manifestwriter.h"
#include "packagesigner.h"
#include "signingpolicy.h"
#include "publishcommon.h"
#include "sevenzippacker.h"
#include "signedmetadata.h"
#include "sitestage.h"

QString LauncherPublisher::versionFileName()
{
    return QStringLiteral("launcher-version.txt");
}

bool LauncherPublisher::checkShippedFolder(const QString &folder, const QString &version,
                                           QString *error)
{
    // A launcher built as another version would be offered its own release at every start.
    QFile versionFile(QDir(folder).filePath(versionFileName()));
    if (!versionFile.open(QIODevice::ReadOnly))
        return publish::fail(error, QStringLiteral("%1: no %2; give the shipped folder of a "
                                                   "launcher built with -DLAUNCHER_VERSION=%3")
                                        .arg(folder, versionFileName(), version));
    const QString built = QString::fromUtf8(versionFile.read(64)).trimmed();
    if (built != version)
        return publish::fail(error, QStringLiteral("%1 holds a launcher built as %2, not %3; "
                                                   "build it with -DLAUNCHER_VERSION=%3")
                                        .arg(folder, built, version));
    // A folder a launcher has run from may hold the game it installed (by default beside it):
    // the release would copy that game over every player's launcher.
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        const QString game = it.next();
        if (QFileInfo::exists(game + QStringLiteral("/config.ini")) ||
            QFileInfo::exists(game + QStringLiteral("/deletefiles.txt")))
            return publish::fail(error, QStringLiteral("%1 holds a game install (%2); publish a "
                                                       "clean copy of the shipped folder")
                                            .arg(folder, game));
    }
    return true;
}

QString LauncherPublisher::releasePath()
{
    return QStringLiteral("pelorin/marduvel/api/getLatestRelease");
}

QString LauncherPublisher::packageFolder()
{
    return QStringLiteral("launcher");
}

bool LauncherPublisher::publish(const Options &options, QString *error, QTextStream *log)
{
    if (!publish::isValidVersion(options.version))
        return publish::fail(error,
                             QStringLiteral("launcher version \"%1\": use dotted numbers, such "
                                            "as 2.3.4.0")
                                 .arg(options.version));
    if (!publish::isValidName(options.name))
        return publish::fail(error,
                             QStringLiteral("package name \"%1\": use letters, digits, '.', '_' "
                                            "and '-' only")
                                 .arg(options.name));
    if (options.updateType != AppVersionInfo::kDefaultUpdateType &&
        options.updateType != AppVersionInfo::kCompulsoryUpdateType)
        return publish::fail(error, QStringLiteral("update type %1: 1 (optional) or 2 (compulsory)")
                                        .arg(options.updateType));
    PackageSigner signer;
    if (!options.signingKey.isEmpty()) {
        if (!SigningPolicy::loadKey(options.signingKey, {options.site, options.folder}, &signer,
                                    error, log))
            return false;
        signer.setBinding(options.launcherId, options.launcherId, options.signedRollback);
    }
    if (!checkShippedFolder(options.folder, options.version, error))
        return false;
    QString key;
    if (!SigningPolicy::holdsNoPrivateKey(options.folder, &key))
        return publish::fail(error, QStringLiteral("%1 is a private key: it would be shipped to "
                                                   "every player; move it out of the folder")
                                        .arg(key));
    if (!SigningPolicy::checkSiteSigning(QDir(options.site).filePath(releasePath()),
                                         signer.isLoaded(), options.allowSigningChange, error))
        return false;
    FolderSnapshot snapshot;
    // The updater copies every file of the package over the player's launcher folder.
    const QMap<QString, QString> reserved{
        {QStringLiteral("config.ini"),
         QStringLiteral("the player's launcher settings; a release must not overwrite them")}};
    if (!FolderSnapshot::scan(options.folder, &snapshot, error, reserved))
        return false;
    if (snapshot.files().isEmpty())
        return publish::fail(error,
                             QStringLiteral("%1: the folder holds no file").arg(options.folder));

    SiteStage stage;
    if (!stage.begin(options.site, error, log))
        return false;
    stage.remove(packageFolder());
    if (!stage.makeFolder(packageFolder(), error))
        return false;
    // Answers for earlier releases' own versions would keep those launchers from updating.
    const QString releaseFolder = stage.filePath(releasePath()).section(QLatin1Char('/'), 0, -2);
    const QString releaseName = releasePath().section(QLatin1Char('/'), -1);
    for (const QString &old :
         QDir(releaseFolder).entryList({releaseName + QStringLiteral(".*")}, QDir::Files))
        QFile::remove(releaseFolder + QLatin1Char('/') + old);

    const QString file = QStringLiteral("%1_%2.7z").arg(options.name, options.version);
    const QString package = stage.filePath(packageFolder() + QLatin1Char('/') + file);
    if (log)
        *log << "packing " << file << " (" << snapshot.files().size() << " files)" << Qt::endl;
    if (!SevenZipPacker::pack(snapshot.root(), snapshot.entries().keys(), {}, package, error))
        return false;
    PackageDigest digest;
    if (!publish::digestOf(package, &digest, error))
        return false;

    AppVersionInfo release;
    release.setUpdateType(options.updateType);
    release.setPackageName(file);
    release.setPackageVersion(options.version);
    release.setPackageUrl(options.baseUrl + QLatin1Char('/') + packageFolder() + QLatin1Char('/') +
                          file);
    release.setPackageMd5(digest.md5);
    release.setPackageSize(digest.size);
    if (signer.isLoaded()) {
        QJsonObject signature;
        PackageStatement statement;
        statement.name = file;
        statement.version = options.version;
        statement.kind = QLatin1String(PackageStatement::kLauncherKind);
        if (!signer.signStatement(digest, statement, &signature, error))
            return false;
        release.setPackageSignature(signature);
    }
    QString why;
    if (!release.isUsable(&why))
        return publish::fail(
            error, QStringLiteral("the release would be refused by the launcher: %1").arg(why));
    // A keyed launcher takes every field of the answer from this document, and only while it
    // is newer than the last one it saw and not expired.
    QJsonObject releaseSigned;
    QJsonObject upToDateSigned;
    if (signer.isLoaded()) {
        SignedMetadata metadata;
        metadata.type = QLatin1String(SignedMetadata::kLauncherType);
        metadata.counter =
            SigningPolicy::nextMetadataVersion(QDir(options.site).filePath(releasePath()));
        metadata.expires = QDateTime::currentDateTimeUtc().addDays(options.expiresDays);
        metadata.fields = ManifestWriter::releaseFields(release, options.launcherId);
        if (!signer.signMetadata(metadata, &releaseSigned, error))
            return false;
        // The released launcher itself is told "no update" in signed words as well, or a keyed
        // one could not tell it from an answer it must ignore.
        metadata.fields = ManifestWriter::noReleaseFields();
        if (!signer.signMetadata(metadata, &upToDateSigned, error))
            return false;
    }
    if (!stage.writeFile(releasePath(),
                         ManifestWriter::releaseAnswer(release, options.launcherId, releaseSigned),
                         error) ||
        !stage.writeFile(releasePath() + QLatin1Char('.') + options.version,
                         ManifestWriter::noReleaseAnswer(upToDateSigned), error))
        return false;
    if (!stage.commit(error))
        return false;
    if (log)
        *log << "published launcher " << options.version << " in "
             << QDir(options.site).absolutePath() << Qt::endl;
    return true;
}
