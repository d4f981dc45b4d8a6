#pragma once

#include <QList>
#include <QString>
#include <QTextStream>
#include <QVariantList>

#include "manifestwriter.h"

// Publishes game versions into a site folder: the full package of the newest, a difference
// package from every older one, and the resource and content answers that announce them.
class GamePublisher
{
public:
    struct Version
    {
        QString version;
        QString folder;
    };

    struct Options
    {
        QString site;
        QString baseUrl; // the address the site folder is served at
        QString name;    // the game's name in package file names
        QString entry;
        QString webUrl;
        QVariantList plugins;
        bool hasPromotion = false;
        ManifestWriter::Promotion promotion;
        QString minLauncherVersion;
        QString forceUpdateUrl;
        // The publisher's private key: every package, plug-ins included, gets a signature.
        // Plug-ins name their local copy in "file" then (never published).
        QString signingKey;
        // Republish a version with other content, go back to an older version, or drop
        // difference packages the site has no file list for.
        bool force = false;
        // Say what the run would change, and change nothing.
        bool dryRun = false;
        // A package the new release no longer announces stays for at least this many later
        // runs and this many hours, so that a paused download can still finish.
        int graceRuns = 2;
        double graceHours = 48;
        // Publish the kept content of this earlier version as the (new) version given.
        QString rollbackOf;
        // What the signatures bind the packages to, and whether they allow a rollback.
        QString launcherId = QStringLiteral("18");
        bool signedRollback = false;
        // Publish unsigned onto a signed site, or signed onto an unsigned one.
        bool allowSigningChange = false;
        // How long keyed launchers trust the signed answer; republish before it runs out.
        int expiresDays = 30;
        // A root-signed list of signing keys (lunmere-publish keylist) to carry in the answer.
        QJsonObject signingKeys;
        // The zstd level of the patch packages' frames.
        int patchLevel = 3;
        // The zstd level of the per-file store's objects.
        int storeLevel = 9;
    };

    // Site paths of the two answers; a static server finds them whatever the query string.
    static QString resourcePath();
    static QString contentPath();
    static QString packageFolder();
    static QString deletionListName();

    // versions go from oldest to newest; the newest is the release, the older ones are needed
    // only when the site keeps no file list of theirs. For a rollback, the one version has no
    // folder. On failure *error says why and the site is unchanged.
    static bool publish(const QList<Version> &versions, const Options &options, QString *error,
                        QTextStream *log = nullptr);
};
