#include "gamepublisher.h"

#include <QDateTime>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

#include "foldersnapshot.h"
#include "gamefilelist.h"
#include "launcherpublisher.h"
#include "packagesigner.h"
#include "signingpolicy.h"
#include "publishcommon.h"
#include "sevenzippacker.h"
#include "sitestage.h"
#include "versioncompare.h"

namespace {

struct Difference
{
    QStringList changed; // added or changed files and new empty folders
    QStringList removed;
};

// What turns the installed `from` into `to`, or false when a difference package cannot do it.
bool difference(const FolderSnapshot &from, const FolderSnapshot &to, Difference *out,
                QString *error)
{
    Difference d;
    const auto &oldEntries = from.entries();
    const auto &newEntries = to.entries();
    for (auto it = newEntries.begin(); it != newEntries.end(); ++it) {
        const auto old = oldEntries.constFind(it.key());
        if (old == oldEntries.constEnd() || !FolderSnapshot::sameFile(old.value(), it.value()))
            d.changed << it.key();
    }
    for (auto it = oldEntries.begin(); it != oldEntries.end(); ++it) {
        if (!it.value().isDir && !newEntries.contains(it.key()))
            d.removed << it.key();
    }
    // Unpacking cannot put a file where a folder is, nor a folder where a file is; the deletion
    // list runs only after it.
    QSet<QString> oldFiles;
    QSet<QString> oldFolders;
    for (auto it = oldEntries.begin(); it != oldEntries.end(); ++it) {
        if (!it.value().isDir)
            oldFiles.insert(it.key());
        QString prefix = it.key();
        while (prefix.contains(QLatin1Char('/'))) {
            prefix = prefix.section(QLatin1Char('/'), 0, -2);
            oldFolders.insert(prefix);
        }
        if (it.value().isDir)
            oldFolders.insert(it.key());
    }
    for (const QString &path : d.changed) {
        const bool isDir = newEntries.value(path).isDir;
        if (!isDir && oldFolders.contains(path))
            return publish::fail(error,
                                 QStringLiteral("\"%1\" is a folder in %2 and a file in %3; a "
                                                "difference package cannot replace a folder "
                                                "with a file")
                                     .arg(path, from.root(), to.root()));
        // The path itself (a new empty folder) and every folder above it must not be old files.
        QString folder = isDir ? path : path.section(QLatin1Char('/'), 0, -2);
        while (!folder.isEmpty()) {
            if (oldFiles.contains(folder))
                return publish::fail(error, QStringLiteral("\"%1\" is a file in %2 and a folder in "
                                                           "%3; a difference package cannot "
                                                           "replace a file with a folder")
                                                .arg(folder, from.root(), to.root()));
            folder = folder.section(QLatin1Char('/'), 0, -2);
        }
    }
    const QStringList collision = FolderSnapshot::caseCollision(d.removed + d.changed);
    if (!collision.isEmpty())
        return publish::fail(error,
                             QStringLiteral("\"%1\" (%2) and \"%3\" (%4) differ only in case; on "
                                            "Windows the update would delete the file it installs")
                                 .arg(collision.at(0), from.root(), collision.at(1), to.root()));
    *out = d;
    return true;
}

QString packageUrl(const GamePublisher::Options &options, const QString &file)
{
    return options.baseUrl + QLatin1Char('/') + GamePublisher::packageFolder() + QLatin1Char('/') +
           file;
}

} // namespace

QString GamePublisher::resourcePath()
{
    return QStringLiteral("zt7q_cn/xsk/launcher/api/resource");
}

QString GamePublisher::contentPath()
{
    return QStringLiteral("zt7q_cn/xsk/launcher/api/content");
}

QString GamePublisher::packageFolder()
{
    return QStringLiteral("game");
}

QString GamePublisher::deletionListName()
{
    return QStringLiteral("deletefiles.txt");
}

bool GamePublisher::publish(const QList<Version> &versions, const Options &options, QString *error,
                            QTextStream *log)
{
    if (versions.isEmpty())
        return publish::fail(error, QStringLiteral("no game version given"));
    if (!publish::isValidName(options.name))
        return publish::fail(error,
                             QStringLiteral("game name \"%1\": use letters, digits, '.', '_' "
                                            "and '-' only")
                                 .arg(options.name));
    for (int i = 0; i < versions.size(); ++i) {
        const QString &version = versions.at(i).version;
        if (!publish::isValidVersion(version))
            return publish::fail(error,
                                 QStringLiteral("version \"%1\": use dotted numbers, such as "
                                                "1.0.2")
                                     .arg(version));
        for (int j = 0; j < i; ++j) {
            if (versions.at(j).version == version)
                return publish::fail(
                    error, QStringLiteral("version %1 is given twice (%2 and %3)")
                               .arg(version, versions.at(j).folder, versions.at(i).folder));
        }
        // The launcher must see every newer version as newer, or it never updates.
        if (i > 0 && compareVersion(versions.at(i - 1).version, version) != 1)
            return publish::fail(error,
                                 QStringLiteral("version %1 comes after %2 but is not newer; "
                                                "give the versions from oldest to newest")
                                     .arg(version, versions.at(i - 1).version));
    }

    // A site inside a version folder would be packed into the next release.
    const QString site = QFileInfo(options.site).absoluteFilePath();
    for (const Version &version : versions) {
        const QString folder = QFileInfo(version.folder).absoluteFilePath();
        if (site == folder || site.startsWith(folder + QLatin1Char('/')) ||
            folder.startsWith(site + QLatin1Char('/')))
            return publish::fail(error, QStringLiteral("the site folder %1 and the version folder "
                                                       "%2 must not lie in one another")
                                            .arg(site, folder));
    }

    PackageSigner signer;
    QStringList published{options.site};
    for (const Version &version : versions)
        published << version.folder;
    if (!options.signingKey.isEmpty()) {
        if (!SigningPolicy::loadKey(options.signingKey, published, &signer, error, log))
            return false;
        signer.setBinding(options.launcherId, options.name, options.signedRollback);
    }
    for (const Version &version : versions) {
        QString key;
        if (!SigningPolicy::holdsNoPrivateKey(version.folder, &key))
            return publish::fail(error, QStringLiteral("%1 is a private key: it would be packed "
                                                       "into the game and named in its file "
                                                       "list; move it out of the folder")
                                            .arg(key));
    }
    if (!SigningPolicy::checkSiteSigning(QDir(options.site).filePath(resourcePath()),
                                         signer.isLoaded(), options.allowSigningChange, error))
        return false;
    QVariantList plugins;
    for (const QVariant &item : options.plugins) {
        QVariantMap plugin = item.toMap();
        const QString file = plugin.take(QStringLiteral("file")).toString();
        if (signer.isLoaded()) {
            const QString path = plugin.value(QStringLiteral("path")).toString();
            if (file.isEmpty())
                return publish::fail(error, QStringLiteral("plug-in %1: give its local copy as "
                                                           "\"file\" so that it can be signed")
                                                .arg(path));
            QJsonObject signature;
            if (!signer.signPlugin(file, QUrl(path).fileName(), versions.last().version,
                                   plugin.value(QStringLiteral("md5")).toString(), &signature,
                                   error))
                return false;
            plugin.insert(QStringLiteral("signature"), signature.toVariantMap());
        }
        plugins << plugin;
    }

    QList<FolderSnapshot> snapshots;
    const QMap<QString, QString> reserved{
        {deletionListName(), QStringLiteral("the launcher reads a file of this name at the top of "
                                            "a package as its deletion list and removes it")}};
    for (const Version &version : versions) {
        FolderSnapshot snapshot;
        if (!FolderSnapshot::scan(version.folder, &snapshot, error, reserved))
            return false;
        if (snapshot.entries().isEmpty())
            return publish::fail(error,
                                 QStringLiteral("%1: the folder is empty").arg(version.folder));
        snapshots << snapshot;
    }
    const FolderSnapshot &newest = snapshots.last();
    const QString newestVersion = versions.last().version;
    QList<Difference> differences;
    for (int i = 0; i + 1 < snapshots.size(); ++i) {
        Difference d;
        if (!difference(snapshots.at(i), newest, &d, error))
            return false;
        differences << d;
    }

    SiteStage stage;
    if (!stage.begin(options.site, error))
        return false;
    // The game folder holds exactly this release's packages.
    stage.remove(packageFolder());
    if (!stage.makeFolder(packageFolder(), error))
        return false;

    ManifestWriter::GameRelease release;
    release.version = newestVersion;
    release.name = QStringLiteral("%1_%2.7z").arg(options.name, newestVersion);
    release.path = packageUrl(options, release.name);
    release.entry = options.entry;
    release.plugins = plugins;
    release.webUrl = options.webUrl;
    release.minVersion = options.minLauncherVersion;
    release.forceUpdateUrl = options.forceUpdateUrl;
    const QString fullPackage = stage.filePath(packageFolder() + QLatin1Char('/') + release.name);
    if (log)
        *log << "packing " << release.name << " (" << newest.files().size() << " files)"
             << Qt::endl;
    if (!SevenZipPacker::pack(newest.root(), newest.entries().keys(), {}, fullPackage, error))
        return false;
    PackageDigest fullDigest;
    if (!publish::digestOf(fullPackage, &fullDigest, error))
        return false;
    release.md5 = fullDigest.md5;
    release.size = fullDigest.size;

    // What the launcher checks an installed game against, and repairs from the full package.
    // The snapshot already read every file of the newest version; its digests are the list's.
    GameFileList fileList;
    fileList.version = newestVersion;
    for (const QString &path : newest.files()) {
        const FolderSnapshot::Entry entry = newest.entries().value(path);
        fileList.entries << GameFileList::Entry{path, entry.size, entry.sha256};
    }
    const QByteArray fileListJson = fileList.toJson();
    const QString fileListName =
        QStringLiteral("%1_%2.files.json").arg(options.name, newestVersion);
    if (!stage.writeFile(packageFolder() + QLatin1Char('/') + fileListName, fileListJson, error))
        return false;
    release.filesPath = packageUrl(options, fileListName);
    release.filesSha256 = QString::fromLatin1(GameFileList::sha256Hex(fileListJson));
    release.filesSize = fileListJson.size();
    // The full package's statement carries the list's digest: a repair trusts no other.
    if (signer.isLoaded()) {
        PackageStatement full;
        full.name = release.name;
        full.version = newestVersion;
        full.kind = QLatin1String(PackageStatement::kFullKind);
        full.filesSha256 = release.filesSha256;
        full.filesSize = release.filesSize;
        if (!signer.signStatement(fullDigest, full, &release.signature, error))
            return false;
    }

    QTemporaryDir lists;
    if (!lists.isValid())
        return publish::fail(
            error, QStringLiteral("cannot create a temporary folder: %1").arg(lists.errorString()));
    for (int i = 0; i < differences.size(); ++i) {
        const Difference &d = differences.at(i);
        const QString from = versions.at(i).version;
        const QString listFolder = lists.filePath(from);
        const QString list = listFolder + QLatin1Char('/') + deletionListName();
        QDir().mkpath(listFolder);
        QFile listFile(list);
        if (!listFile.open(QIODevice::WriteOnly)) {
            return publish::fail(
                error, QStringLiteral("%1: cannot write: %2").arg(list, listFile.errorString()));
        }
        for (const QString &path : d.removed)
            listFile.write(path.toUtf8() + '\n');
        listFile.close();

        DiffPackageInfo diff;
        diff.version = from;
        diff.name = QStringLiteral("%1_%2_%3.7z").arg(options.name, from, newestVersion);
        diff.path = packageUrl(options, diff.name);
        const QString package = stage.filePath(packageFolder() + QLatin1Char('/') + diff.name);
        if (log)
            *log << "packing " << diff.name << " (" << d.changed.size() << " changed, "
                 << d.removed.size() << " removed)" << Qt::endl;
        if (!SevenZipPacker::pack(newest.root(), d.changed, {list}, package, error))
            return false;
        PackageDigest digest;
        if (!publish::digestOf(package, &digest, error))
            return false;
        diff.md5 = digest.md5;
        diff.size = QString::number(digest.size);
        if (signer.isLoaded()) {
            QJsonObject signature;
            if (!signer.signDigest(digest, diff.name, newestVersion, from, &signature, error))
                return false;
            release.diffSignatures.insert(from, signature);
        }
        release.diffs << diff;
    }

    if (signer.isLoaded()) {
        SignedMetadata metadata;
        metadata.type = QLatin1String(SignedMetadata::kGameType);
        metadata.counter =
            SigningPolicy::nextMetadataVersion(QDir(options.site).filePath(resourcePath()));
        metadata.expires = QDateTime::currentDateTimeUtc().addDays(options.expiresDays);
        metadata.fields = ManifestWriter::coveredFields(release);
        if (!signer.signMetadata(metadata, &release.signedMetadata, error))
            return false;
        release.signingKeys = options.signingKeys;
    }
    if (!stage.writeFile(resourcePath(), ManifestWriter::resourceAnswer(release), error))
        return false;
    // The launcher keeps asking for the content answer until it gets one, so there always is.
    if (options.hasPromotion || !QFileInfo::exists(stage.filePath(contentPath()))) {
        if (!stage.writeFile(contentPath(), ManifestWriter::contentAnswer(options.promotion),
                             error))
            return false;
    }
    // A site without a launcher release still answers the release check, with "no update":
    // a launcher that is told nothing reports a network error at every start.
    if (!QFileInfo::exists(stage.filePath(LauncherPublisher::releasePath())) &&
        !stage.writeFile(LauncherPublisher::releasePath(), ManifestWriter::noReleaseAnswer(),
                         error))
        return false;
    if (!stage.commit(error))
        return false;
    if (log)
        *log << "published game " << newestVersion << " with " << release.diffs.size()
             << " difference package(s) in " << QDir(options.site).absolutePath() << Qt::endl;
    return true;
}
