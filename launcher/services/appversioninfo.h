#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaType>
#include <QString>

// One launcher release as the release service announces it; travels by value in signals.
class AppVersionInfo
{
public:
    // What a release answer says for this launcher.
    enum class Verdict {
        NoUpdate, // no update, or one meant for another launcher id
        Update,   // an update whose fields can be handed to the updater
        Unusable, // an update whose address, digest or size cannot be trusted
    };

    static constexpr int kDefaultUpdateType = 1;
    // Declining a compulsory update ends the launcher.
    static constexpr int kCompulsoryUpdateType = 2;

    int updateType() const { return m_updateType; }
    QString packageName() const { return m_packageName; }
    QString packageVersion() const { return m_packageVersion; }
    QString packageUrl() const { return m_packageUrl; }
    // Always lower case.
    QString packageMd5() const { return m_packageMd5; }
    // -1 when the answer carried a size that is not a whole number of bytes.
    qint64 packageSize() const { return m_packageSize; }

    void setUpdateType(int type) { m_updateType = type; }
    void setPackageName(const QString &name) { m_packageName = name; }
    void setPackageVersion(const QString &version) { m_packageVersion = version; }
    void setPackageUrl(const QString &url) { m_packageUrl = url; }
    void setPackageMd5(const QString &md5) { m_packageMd5 = md5.toLower(); }
    void setPackageSize(qint64 size) { m_packageSize = size; }
    // The publisher's signature field ("package_signature"); empty when the answer has none.
    QJsonObject packageSignature() const { return m_packageSignature; }
    void setPackageSignature(const QJsonObject &signature) { m_packageSignature = signature; }

    // Reads the "data" object of a release answer. An update exists when has_update reads
    // "true" (string or boolean) and the app_id inside the user_defined JSON text is empty or
    // launcherId. For Update and Unusable *info receives the fields (*error the reason when
    // Unusable); for NoUpdate *info is left alone. Any document, however malformed, gives a
    // verdict.
    static Verdict fromReleaseAnswer(const QJsonDocument &doc, const QString &launcherId,
                                     AppVersionInfo *info, QString *error = nullptr);

    // Whether the updater can be started with these fields: an http(s) address that names a
    // file, a 32-digit hexadecimal MD5 and a size that is not negative.
    bool isUsable(QString *error = nullptr) const;

    bool operator==(const AppVersionInfo &other) const;
    bool operator!=(const AppVersionInfo &other) const { return !(*this == other); }

    // Queued connections and QVariant need the type by name.
    static void registerMetaType();

private:
    int m_updateType = kDefaultUpdateType;
    QString m_packageName;
    QString m_packageVersion;
    QString m_packageUrl;
    QString m_packageMd5;
    qint64 m_packageSize = 0;
    QJsonObject m_packageSignature;
};

Q_DECLARE_METATYPE(AppVersionInfo)
