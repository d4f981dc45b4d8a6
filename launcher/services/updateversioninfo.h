#pragma once

#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantList>

#include "diffpackageinfo.h"

class QNetworkAccessManager;
class QNetworkReply;

// The game manifest: what the resource service says about the current game version, its full
// and difference packages and plug-ins, and what the content service says about the promotion.
class UpdateVersionInfo : public QObject
{
    Q_OBJECT
public:
    explicit UpdateVersionInfo(QObject *parent = nullptr);
    ~UpdateVersionInfo() override;

    // The two query addresses; apiBase is the resource service address followed by "/zt7q_cn"
    // (LauncherConfig::apiUrl()).
    static QUrl resourceQueryUrl(const QString &apiBase);
    static QUrl contentQueryUrl(const QString &apiBase, const QString &languageCode);

    // Both return false with a reason in *error, and change nothing, when the body is not a
    // JSON object with a "data" object (an error answer of the service is not a manifest).
    bool parseResourceResponse(const QByteArray &body, QString *error = nullptr);
    bool parseContentResponse(const QByteArray &body, QString *error = nullptr);

    // The difference package's values when fromVersion has one, else the full package's.
    QUrl packageUrl(const QString &fromVersion) const;
    QString packageMd5(const QString &fromVersion) const;
    qint64 packageSize(const QString &fromVersion) const;
    QString packageName(const QString &fromVersion) const;

    // "b.7z" for "http://h/a/b.7z"; empty for an empty URL.
    static QString fileNameOfUrl(const QString &url);
    // The same without its extension ("b"); a name whose only "." leads stays whole.
    static QString baseNameOfUrl(const QString &url);
    // The folder a plug-in's installer is looked for in, below the launcher's: the address's
    // base name when it is one plain name (a decoded "..\\" would lead elsewhere on
    // Windows), otherwise empty.
    static QString pluginFolderName(const QString &url);

    QString background() const;
    QString version() const { return m_version; }
    QString path() const { return m_path; }
    QString name() const { return m_name; }
    QString md5() const { return m_md5; }
    // The publisher's signature field of the package for a version (same rule as the MD5);
    // empty when the manifest carries none.
    QJsonObject packageSignature(const QString &fromVersion) const;
    // The patch package from fromVersion, which new launchers prefer to its difference package
    // when the installed files are the ones it was made from ("patch" in the diff's entry).
    bool hasPatch(const QString &fromVersion) const;
    DiffPackageInfo patch(const QString &fromVersion) const;
    QJsonObject patchSignature(const QString &fromVersion) const;
    qint64 size() const { return m_size; }
    QString entry() const { return m_entry; }
    QMap<QString, DiffPackageInfo> diffs() const { return m_diffs; }
    QVariantList plugins() const { return m_plugins; }
    QString webUrl() const { return m_webUrl; }
    QString minVersion() const { return m_minVersion; }
    QString forceUpdateUrl() const { return m_forceUpdateUrl; }
    QString advUrl() const { return m_advUrl; }
    QString icon() const { return m_icon; }
    // The current version's file list (address, SHA-256 and size of the list itself); empty
    // when the publisher gives none.
    QString filesPath() const { return m_filesPath; }
    QString filesSha256() const { return m_filesSha256; }
    qint64 filesSize() const { return m_filesSize; }

    // The publisher's signed document over the answer's decisive fields ("signed" beside the
    // answer's own fields); empty when the answer carries none.
    QJsonObject signedMetadata() const { return m_signedMetadata; }
    // The root-signed list of the publisher's signing keys ("signing_keys"); may be empty.
    QJsonObject signingKeys() const { return m_signingKeys; }
    // Puts the fields a signed document covers (ManifestWriter::coveredFields) in place of the
    // answer's own: a launcher with keys decides nothing from unsigned ones. A forced update the
    // document does not name is dropped.
    void applySignedFields(const QJsonObject &fields);
    // The game the signed document names; its packages and plug-ins must name it too. Empty
    // for an answer no signature decided.
    QString signedProduct() const { return m_signedProduct; }
    void setSignedProduct(const QString &product) { m_signedProduct = product; }

private slots:
    void OnHeaderResponseFinished();

private:
    void requestSize();

    QString m_version;
    QString m_path;
    QString m_name;
    QString m_md5;
    qint64 m_size = 0;
    QString m_entry;
    QMap<QString, DiffPackageInfo> m_diffs;
    QJsonObject m_signature;
    QMap<QString, QJsonObject> m_diffSignatures;
    QMap<QString, DiffPackageInfo> m_patches;
    QMap<QString, QJsonObject> m_patchSignatures;
    QVariantList m_plugins;
    QString m_webUrl;
    QString m_minVersion;
    QString m_forceUpdateUrl;
    QString m_background;
    QString m_advUrl;
    QString m_icon;
    QString m_filesPath;
    QString m_filesSha256;
    qint64 m_filesSize = 0;
    QJsonObject m_signedMetadata;
    QJsonObject m_signingKeys;
    QString m_signedProduct;

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_sizeReply = nullptr;
};
