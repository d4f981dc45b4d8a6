#include "gamepublisher.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

#include "foldersnapshot.h"
#include "gamefilelist.h"
#include "launcherpublisher.h"
#include "packagesigner.h"
#include "patchbuilder.h"
#include "patchpackage.h"
#include "publishstate.h"
#include "signingpolicy.h"
#include "publishcommon.h"
#include "sevenzippacker.h"
#include "sitestage.h"
#include "storebuilder.h"
#include "versioncompare.h"

namespace {

struct Difference
{
    QStringList changed; // added or changed files and new empty folders
    QStringList removed;
    // Folders the new version no longer has, deepest first; the launcher removes each one only
    // when it is empty on disk, so a player's own files keep theirs.
    QStringList removedFolders;
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
    const QSet<QString> newFolders = to.folders();
    for (const QString &folder : from.folders()) {
        if (!newFolders.contains(folder))
            d.removedFolders << folder;
    }
    std::sort(d.removedFolders.begin(), d.removedFolders.end(),
              [](const QString &a, const QString &b) {
                  const int depthA = a.count(QLatin1Char('/'));
                  const int depthB = b.count(QLatin1Char('/'));
                  return depthA != depthB ? depthA > depthB : a > b;
              });
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

// The patch package beside the difference package from `from`: new launchers download it
// instead when the installed files are the ones it was made from.
bool publishPatch(SiteStage &stage, const PublishState &state,
                  const GamePublisher::Options &options, PackageSigner &signer,
                  const FolderSnapshot &old, const FolderSnapshot &newest, const Difference &d,
                  const QString &from, const QString &to, ManifestWriter::GameRelease *release,
                  QString *error, QTextStream *log)
{
    QTemporaryDir oldFiles;
    if (!oldFiles.isValid())
        return publish::fail(
            error,
            QStringLiteral("cannot create a temporary folder: %1").arg(oldFiles.errorString()));
    if (log)
        *log << "unpacking the kept package of " << from << " for its patch" << Qt::endl;
    if (!SevenZipPacker::extract(stage.filePath(PublishState::packagePath(state.packageOf(from))),
                                 oldFiles.path(), error))
        return false;
    DiffPackageInfo patch;
    patch.version = from;
    patch.name = PatchPackage::fileName(options.name, from, to);
    patch.path = packageUrl(options, patch.name);
    const QString package =
        stage.filePath(GamePublisher::packageFolder() + QLatin1Char('/') + patch.name);
    PatchBuilder::Changes changes{d.changed, d.removed, d.removedFolders};
    if (!PatchBuilder::build(oldFiles.path(), old, newest, changes, from, to, options.patchLevel,
                             package, error))
        return false;
    PackageDigest digest;
    if (!publish::digestOf(package, &digest, error))
        return false;
    patch.md5 = digest.md5;
    patch.size = QString::number(digest.size);
    if (log)
        *log << "wrote " << patch.name << " (" << digest.size << " bytes)" << Qt::endl;
    if (signer.isLoaded()) {
        QJsonObject signature;
        if (!signer.signDigest(digest, patch.name, to, from, &signature, error))
            return false;
        release->patchSignatures.insert(from, signature);
    }
    release->patches.insert(from, patch);
    return true;
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
    const QString site = QDir::cleanPath(QFileInfo(options.site).absoluteFilePath());
    for (const Version &version : versions) {
        if (version.folder.isEmpty())
            continue;
        const QString folder = QDir::cleanPath(QFileInfo(version.folder).absoluteFilePath());
        if (site == folder || site.startsWith(folder + QLatin1Char('/')) ||
            folder.startsWith(site + QLatin1Char('/')))
            return publish::fail(error, QStringLiteral("the site folder %1 and the version folder "
                                                       "%2 must not lie in one another")
                                            .arg(site, folder));
    }

    PackageSigner signer;
    QStringList published{options.site};
    for (const Version &version : versions) {
        // A rollback takes its content from the site, not from a folder.
        if (!version.folder.isEmpty())
            published << version.folder;
    }
    if (!options.signingKey.isEmpty()) {
        if (!SigningPolicy::loadKey(options.signingKey, published, &signer, error, log))
            return false;
        signer.setBinding(options.launcherId, options.name, options.signedRollback);
    }
    for (const Version &version : versions) {
        QString key;
        if (!version.folder.isEmpty() && !SigningPolicy::holdsNoPrivateKey(version.folder, &key))
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

    const QMap<QString, QString> reserved{
        {deletionListName(), QStringLiteral("the launcher reads a file of this name at the top of "
                                            "a package as its deletion list and removes it")},
        {QStringLiteral("config.ini"),
         QStringLiteral("the launcher keeps its record of the installed game (the game version) "
                        "in a config.ini at the top of the install folder; the game's own would "
                        "be overwritten by it, and it by the game's; move the game's settings "
                        "elsewhere")}};
    QMap<QString, FolderSnapshot> given;
    for (const Version &version : versions) {
        if (version.folder.isEmpty())
            continue;
        FolderSnapshot snapshot;
        if (!FolderSnapshot::scan(version.folder, &snapshot, error, reserved))
            return false;
        if (snapshot.entries().isEmpty())
            return publish::fail(error,
                                 QStringLiteral("%1: the folder is empty").arg(version.folder));
        given.insert(version.version, snapshot);
    }

    // From here on the site is locked: what it keeps cannot change under this run.
    SiteStage stage;
    if (!stage.begin(options.site, error, log))
        return false;
    PublishState state;
    if (!state.load(stage.path(), error))
        return false;
    PublishState::LiveRelease live;
    const bool hasLive = PublishState::readLiveRelease(stage.path(), &live);
    const QString newestVersion = versions.last().version;

    QTemporaryDir restored;
    FolderSnapshot newest;
    if (!options.rollbackOf.isEmpty()) {
        if (!state.has(options.rollbackOf) || state.packageOf(options.rollbackOf).isEmpty())
            return publish::fail(
                error, QStringLiteral("version %1: the site keeps no full package of it (it "
                                      "keeps: %2)")
                           .arg(options.rollbackOf, state.versions().join(QStringLiteral(", "))));
        if (state.has(newestVersion))
            return publish::fail(error, QStringLiteral("version %1 is already published; a "
                                                       "rollback needs a new version number")
                                            .arg(newestVersion));
        if (!restored.isValid())
            return publish::fail(
                error,
                QStringLiteral("cannot create a temporary folder: %1").arg(restored.errorString()));
        const FolderSnapshot kept = state.snapshot(options.rollbackOf);
        if (log)
            *log << "unpacking the kept package of " << options.rollbackOf << Qt::endl;
        if (!SevenZipPacker::extract(
                stage.filePath(PublishState::packagePath(state.packageOf(options.rollbackOf))),
                restored.path(), error))
            return false;
        for (auto it = kept.entries().begin(); it != kept.entries().end(); ++it) {
            if (it.value().isDir)
                continue;
            QFile file(restored.filePath(it.key()));
            const auto exe = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
            file.setPermissions(it.value().executable ? file.permissions() | exe
                                                      : file.permissions() & ~exe);
        }
        if (!FolderSnapshot::scan(restored.path(), &newest, error, reserved))
            return false;
        if (newest.entries().keys() != kept.entries().keys() ||
            !std::equal(newest.entries().begin(), newest.entries().end(), kept.entries().begin(),
                        FolderSnapshot::sameFile))
            return publish::fail(error, QStringLiteral("the kept package of %1 does not hold "
                                                       "what its file list says")
                                            .arg(options.rollbackOf));
    } else {
        newest = given.value(newestVersion);
    }
    if (!options.entry.isEmpty()) {
        const QString entry = QString(options.entry).replace(QLatin1Char('\\'), QLatin1Char('/'));
        const auto found = newest.entries().constFind(entry);
        if (found == newest.entries().constEnd() || found.value().isDir)
            return publish::fail(error, QStringLiteral("--entry %1: no such file in %2; the "
                                                       "launcher could not start the game")
                                            .arg(options.entry, newest.root()));
    }

    // What the site has published stays what it was, unless told otherwise.
    QStringList toRecord;
    for (auto it = given.begin(); it != given.end(); ++it) {
        toRecord << it.key();
        if (!state.has(it.key()))
            continue;
        const FolderSnapshot published = state.snapshot(it.key());
        Difference d;
        const bool same = difference(published, it.value(), &d, nullptr) && d.changed.isEmpty() &&
                          d.removed.isEmpty() && d.removedFolders.isEmpty();
        if (!same && !options.force)
            return publish::fail(
                error, QStringLiteral("version %1 is already published with other content (%2 "
                                      "changed, %3 removed); publish the change as a new "
                                      "version, or give --force to replace it")
                           .arg(it.key())
                           .arg(d.changed.size())
                           .arg(d.removed.size()));
        if (same)
            toRecord.removeOne(it.key());
    }
    if (hasLive && compareVersion(newestVersion, live.version) == 1 && !options.force)
        return publish::fail(error,
                             QStringLiteral("version %1 is older than the live version %2; "
                                            "launchers never update to an older version: use "
                                            "`rollback --to %1 --version <newer>`, or --force")
                                 .arg(newestVersion, live.version));

    // A difference package from every version the site or the run knows.
    QMap<QString, FolderSnapshot> sources;
    for (const QString &version : state.versions())
        sources.insert(version, state.snapshot(version));
    for (auto it = given.begin(); it != given.end(); ++it)
        sources.insert(it.key(), it.value());
    sources.remove(newestVersion);
    QStringList dropped;
    if (hasLive) {
        for (const PublishState::Package &diff : live.diffs) {
            if (!sources.contains(diff.version) && diff.version != newestVersion)
                dropped << diff.version;
        }
        if (!sources.contains(live.version) && live.version != newestVersion)
            dropped << live.version;
    }
    if (!dropped.isEmpty() && !options.force)
        return publish::fail(error,
                             QStringLiteral("players on %1 would lose their difference packages: "
                                            "the site keeps no file list of these versions; "
                                            "give their folders (VERSION=FOLDER), or --force to "
                                            "let them download the full package")
                                 .arg(dropped.join(QStringLiteral(", "))));
    QStringList sourceVersions = sources.keys();
    std::sort(sourceVersions.begin(), sourceVersions.end(),
              [](const QString &a, const QString &b) { return compareVersion(a, b) == 1; });
    QList<Difference> differences;
    for (const QString &version : sourceVersions) {
        Difference d;
        if (!difference(sources.value(version), newest, &d, error))
            return false;
        differences << d;
    }

    // The package folder: this run's files, the ones still in their grace period.
    const QString fullName = QStringLiteral("%1_%2.7z").arg(options.name, newestVersion);
    const QString fileListName =
        QStringLiteral("%1_%2.files.json").arg(options.name, newestVersion);
    const QString storeName = StoreBuilder::fileName(options.name, newestVersion);
    QStringList produced{fullName, fileListName, storeName};
    for (const QString &from : sourceVersions) {
        produced << QStringLiteral("%1_%2_%3.7z").arg(options.name, from, newestVersion);
        // The old content comes from the kept full package: without one there is no patch.
        if (!state.packageOf(from).isEmpty())
            produced << PatchPackage::fileName(options.name, from, newestVersion);
    }
    const QStringList present = QDir(stage.filePath(packageFolder())).entryList(QDir::Files);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<PublishState::Retired> retired;
    QStringList expired;
    for (PublishState::Retired item : state.retired()) {
        if (produced.contains(item.file) || !present.contains(item.file))
            continue;
        ++item.runs;
        if (item.runs > options.graceRuns && item.since.secsTo(now) >= options.graceHours * 3600)
            expired << item.file;
        else
            retired << item;
    }
    QStringList newlyRetired;
    for (const QString &file : present) {
        if (produced.contains(file) || expired.contains(file) ||
            std::any_of(retired.begin(), retired.end(),
                        [&](const PublishState::Retired &item) { return item.file == file; }))
            continue;
        retired << PublishState::Retired{file, now, 0};
        newlyRetired << file;
    }

    if (options.dryRun) {
        if (log) {
            *log << "dry run: nothing is written" << Qt::endl;
            *log << "would publish game " << newestVersion;
            if (!options.rollbackOf.isEmpty())
                *log << " with the content of " << options.rollbackOf;
            *log << " (" << newest.files().size() << " files, " << newest.totalSize()
                 << " bytes) over "
                 << (hasLive ? QStringLiteral("live %1").arg(live.version)
                             : QStringLiteral("an empty site"))
                 << Qt::endl;
            for (int i = 0; i < differences.size(); ++i)
                *log << "would pack " << produced.at(3 + i) << " ("
                     << differences.at(i).changed.size() << " changed, "
                     << differences.at(i).removed.size() << " removed, "
                     << differences.at(i).removedFolders.size() << " folders removed)" << Qt::endl;
            for (const QString &file : newlyRetired)
                *log << "would retire " << packageFolder() << '/' << file
                     << " (kept for the grace period)" << Qt::endl;
            for (const QString &file : expired)
                *log << "would remove " << packageFolder() << '/' << file << " (grace period over)"
                     << Qt::endl;
            if (!dropped.isEmpty())
                *log << "would drop the difference packages from " << dropped.join(", ")
                     << Qt::endl;
        }
        return true;
    }

    for (const QString &file : expired + produced)
        stage.remove(packageFolder() + QLatin1Char('/') + file);
    if (!stage.makeFolder(packageFolder(), error))
        return false;

    ManifestWriter::GameRelease release;
    release.version = newestVersion;
    release.name = fullName;
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
    // Kept out of the served folders: what a later run builds difference packages from and a
    // rollback restores.
    stage.remove(PublishState::packagePath(release.name));
    if (!stage.link(packageFolder() + QLatin1Char('/') + release.name,
                    PublishState::packagePath(release.name), error))
        return false;

    // What the launcher checks an installed game against, and repairs from the full package.
    // The snapshot already read every file of the newest version; its digests are the list's.
    GameFileList fileList;
    fileList.version = newestVersion;
    for (const QString &path : newest.files()) {
        const FolderSnapshot::Entry entry = newest.entries().value(path);
        GameFileList::Entry listed;
        listed.path = path;
        listed.size = entry.size;
        listed.sha256 = entry.sha256;
        listed.executable = entry.executable;
        fileList.entries << listed;
    }
    // The store's name and every object's range go into the list, and so under its digest in
    // the full package's statement: nothing unsigned says where a repair's bytes come from.
    if (log)
        *log << "writing " << storeName << Qt::endl;
    if (!StoreBuilder::build(newest.root(),
                             stage.filePath(packageFolder() + QLatin1Char('/') + storeName),
                             options.storeLevel, &fileList, error))
        return false;
    const QByteArray fileListJson = fileList.toJson();
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
        const QString from = sourceVersions.at(i);
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
        // After the files, deepest first: each folder is empty by then unless the player keeps
        // something of their own in it.
        for (const QString &folder : d.removedFolders)
            listFile.write(folder.toUtf8() + "/\n");
        listFile.close();

        DiffPackageInfo diff;
        diff.version = from;
        diff.name = QStringLiteral("%1_%2_%3.7z").arg(options.name, from, newestVersion);
        diff.path = packageUrl(options, diff.name);
        const QString package = stage.filePath(packageFolder() + QLatin1Char('/') + diff.name);
        if (log)
            *log << "packing " << diff.name << " (" << d.changed.size() << " changed, "
                 << d.removed.size() << " removed, " << d.removedFolders.size()
                 << " folders removed)" << Qt::endl;
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
        if (!state.packageOf(from).isEmpty() &&
            !publishPatch(stage, state, options, signer, sources.value(from), newest, d, from,
                          newestVersion, &release, error, log))
            return false;
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
    for (const QString &version : toRecord)
        state.record(version, given.value(version), QString());
    state.record(newestVersion, newest, release.name);
    state.setRetired(retired);
    if (!state.save(stage.path(), error))
        return false;
    if (!stage.commit(error))
        return false;
    if (log) {
        *log << "published game " << newestVersion << " with " << release.diffs.size()
             << " difference package(s) in " << QDir(options.site).absolutePath() << Qt::endl;
        for (const QString &file : newlyRetired)
            *log << "retired " << packageFolder() << '/' << file << " (kept for the grace period)"
                 << Qt::endl;
        for (const QString &file : expired)
            *log << "removed " << packageFolder() << '/' << file << " (grace period over)"
                 << Qt::endl;
    }
    return true;
}
