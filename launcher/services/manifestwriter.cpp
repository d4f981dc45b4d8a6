#include "manifestwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray answer(const QJsonObject &data)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("code"), 0}, {QStringLiteral("data"), data}})
        .toJson(QJsonDocument::Indented);
}

} // namespace

QByteArray ManifestWriter::resourceAnswer(const GameRelease &release)
{
    QJsonObject latest{
        {QStringLiteral("name"), release.name},
        {QStringLiteral("version"), release.version},
        {QStringLiteral("path"), release.path},
        // A JSON number holds sizes exactly up to 2^53 bytes.
        {QStringLiteral("size"), double(release.size)},
        {QStringLiteral("md5"), release.md5},
        {QStringLiteral("entry"), release.entry},
    };
    // An extra field: launchers that do not verify ignore it.
    if (!release.filesPath.isEmpty())
        latest.insert(QStringLiteral("files"),
                      QJsonObject{{QStringLiteral("path"), release.filesPath},
                                  {QStringLiteral("sha256"), release.filesSha256},
                                  {QStringLiteral("size"), double(release.filesSize)}});
    if (!release.signature.isEmpty())
        latest.insert(QStringLiteral("signature"), release.signature);
    QJsonArray diffs;
    // The reader takes every diff field as a JSON string, the size included.
    for (const DiffPackageInfo &diff : release.diffs) {
        QJsonObject item{{QStringLiteral("name"), diff.name},
                         {QStringLiteral("md5"), diff.md5},
                         {QStringLiteral("path"), diff.path},
                         {QStringLiteral("version"), diff.version},
                         {QStringLiteral("size"), diff.size}};
        const QJsonObject signature = release.diffSignatures.value(diff.version);
        if (!signature.isEmpty())
            item.insert(QStringLiteral("signature"), signature);
        if (release.patches.contains(diff.version)) {
            const DiffPackageInfo patch = release.patches.value(diff.version);
            QJsonObject patchItem{{QStringLiteral("name"), patch.name},
                                  {QStringLiteral("md5"), patch.md5},
                                  {QStringLiteral("path"), patch.path},
                                  {QStringLiteral("size"), patch.size}};
            const QJsonObject patchSignature = release.patchSignatures.value(diff.version);
            if (!patchSignature.isEmpty())
                patchItem.insert(QStringLiteral("signature"), patchSignature);
            item.insert(QStringLiteral("patch"), patchItem);
        }
        diffs.append(item);
    }
    QJsonObject data{
        {QStringLiteral("game"),
         QJsonObject{{QStringLiteral("latest"), latest}, {QStringLiteral("diffs"), diffs}}},
        {QStringLiteral("plugin"),
         QJsonObject{{QStringLiteral("plugins"), QJsonArray::fromVariantList(release.plugins)}}},
        {QStringLiteral("web_url"), release.webUrl},
    };
    if (!release.minVersion.isEmpty())
        data.insert(QStringLiteral("force_update"),
                    QJsonObject{{QStringLiteral("min_version"), release.minVersion},
                                {QStringLiteral("url"), release.forceUpdateUrl}});
    if (!release.signedMetadata.isEmpty())
        data.insert(QStringLiteral("signed"), release.signedMetadata);
    if (!release.signingKeys.isEmpty())
        data.insert(QStringLiteral("signing_keys"), release.signingKeys);
    return answer(data);
}

QJsonObject ManifestWriter::coveredFields(const GameRelease &release)
{
    QJsonObject fields{
        {QStringLiteral("version"), release.version},
        {QStringLiteral("entry"), release.entry},
        {QStringLiteral("plugins"), QJsonArray::fromVariantList(release.plugins)},
        {QStringLiteral("web_url"), release.webUrl},
    };
    if (!release.filesPath.isEmpty())
        fields.insert(QStringLiteral("files"),
                      QJsonObject{{QStringLiteral("path"), release.filesPath},
                                  {QStringLiteral("sha256"), release.filesSha256},
                                  {QStringLiteral("size"), double(release.filesSize)}});
    if (!release.minVersion.isEmpty())
        fields.insert(QStringLiteral("force_update"),
                      QJsonObject{{QStringLiteral("min_version"), release.minVersion},
                                  {QStringLiteral("url"), release.forceUpdateUrl}});
    return fields;
}

QByteArray ManifestWriter::contentAnswer(const Promotion &promotion)
{
    return answer(QJsonObject{
        {QStringLiteral("adv"), QJsonObject{{QStringLiteral("background"), promotion.background},
                                            {QStringLiteral("url"), promotion.url},
                                            {QStringLiteral("icon"), promotion.icon}}}});
}

QByteArray ManifestWriter::releaseAnswer(const AppVersionInfo &release, const QString &launcherId,
                                         const QJsonObject &signedMetadata)
{
    QJsonObject data = releaseFields(release, launcherId);
    if (!signedMetadata.isEmpty())
        data.insert(QStringLiteral("signed"), signedMetadata);
    return answer(data);
}

QJsonObject ManifestWriter::releaseFields(const AppVersionInfo &release, const QString &launcherId)
{
    const QByteArray userDefined =
        QJsonDocument(QJsonObject{{QStringLiteral("app_id"), launcherId}})
            .toJson(QJsonDocument::Compact);
    QJsonObject data{
        {QStringLiteral("has_update"), QStringLiteral("true")},
        {QStringLiteral("user_defined"), QString::fromUtf8(userDefined)},
        {QStringLiteral("update_type"), release.updateType()},
        {QStringLiteral("package_name"), release.packageName()},
        {QStringLiteral("package_version"), release.packageVersion()},
        {QStringLiteral("package_url"), release.packageUrl()},
        {QStringLiteral("package_md5"), release.packageMd5()},
        {QStringLiteral("package_size"), double(release.packageSize())},
    };
    if (!release.packageSignature().isEmpty())
        data.insert(QStringLiteral("package_signature"), release.packageSignature());
    return data;
}

QByteArray ManifestWriter::noReleaseAnswer(const QJsonObject &signedMetadata)
{
    QJsonObject data = noReleaseFields();
    if (!signedMetadata.isEmpty())
        data.insert(QStringLiteral("signed"), signedMetadata);
    return answer(data);
}

QJsonObject ManifestWriter::noReleaseFields()
{
    return QJsonObject{{QStringLiteral("has_update"), QStringLiteral("false")},
                       {QStringLiteral("user_defined"), QStringLiteral("{}")}};
}
