#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariantList>

#include "appversioninfo.h"
#include "diffpackageinfo.h"

// Writes the answers that UpdateVersionInfo and AppVersionInfo read, for tools that publish
// releases. The output is indented JSON with sorted keys, so the same input always gives the
// same bytes.
class ManifestWriter
{
public:
    struct GameRelease
    {
        QString version;
        QString path; // URL of the full package
        QString name; // the full package's file name
        QString md5;
        qint64 size = 0;
        QString entry;
        // The file list of this version; written only when filesPath is not empty.
        QString filesPath;
        QString filesSha256;
        qint64 filesSize = 0;
        QList<DiffPackageInfo> diffs;
        QVariantList plugins; // maps with at least "path" and "md5"
        QString webUrl;
        // Written only when minVersion is not empty.
        QString minVersion;
        QString forceUpdateUrl;
        // Publisher signatures, written only when not empty: the full package's and the
        // difference packages' by source version. Plug-ins carry theirs in their maps.
        QJsonObject signature;
        QMap<QString, QJsonObject> diffSignatures;
        // Patch packages by source version, each written inside its difference package's entry
        // as "patch" (launchers that do not know it ignore it), with its signature when signed.
        QMap<QString, DiffPackageInfo> patches;
        QMap<QString, QJsonObject> patchSignatures;
        // The publisher's signed document over coveredFields(), written as "signed" when not
        // empty.
        QJsonObject signedMetadata;
        // The root-signed list of signing keys, written as "signing_keys" when not empty.
        QJsonObject signingKeys;
    };

    struct Promotion
    {
        QString background;
        QString url;
        QString icon;
    };

    static QByteArray resourceAnswer(const GameRelease &release);
    // The fields of the resource answer that decide what is installed and started, as the
    // signed document carries them (UpdateVersionInfo::applySignedFields reads them back).
    static QJsonObject coveredFields(const GameRelease &release);
    static QByteArray contentAnswer(const Promotion &promotion);
    // has_update "true" and user_defined naming launcherId, so that only that launcher takes it.
    // With `signedMetadata` (the publisher's document over releaseFields()) written as "signed".
    static QByteArray releaseAnswer(const AppVersionInfo &release, const QString &launcherId,
                                    const QJsonObject &signedMetadata = {});
    // The release answer's "data" fields, all of which decide which launcher a player gets.
    static QJsonObject releaseFields(const AppVersionInfo &release, const QString &launcherId);
    // What the release service says to a launcher that is already up to date.
    static QByteArray noReleaseAnswer(const QJsonObject &signedMetadata = {});
    static QJsonObject noReleaseFields();
};
