#include "updateversioninfo.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>
#include <QVariantMap>

#include "appenvironment.h"
#include "packagefilename.h"

namespace {

// The JSON document's "data" object, or an explanation of why the body is not a manifest.
bool readData(const QByteArray &body, QJsonObject *data, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &parseError);
    qDebug() << doc;
    QString reason;
    if (parseError.error != QJsonParseError::NoError)
        reason = QStringLiteral("not JSON: %1").arg(parseError.errorString());
    else if (!doc.isObject())
        reason = QStringLiteral("the answer is not a JSON object");
    else if (!doc.object().value(QLatin1String("data")).isObject())
        reason = QStringLiteral("the answer has no \"data\" object");
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return false;
    }
    *data = doc.object().value(QLatin1String("data")).toObject();
    return true;
}

// A size sent as a JSON number or as a string of digits; anything else, a negative number or a
// number a 64-bit integer cannot hold, gives 0, which later means "ask the package server".
qint64 readSize(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const qint64 n = value.toLongLong();
        return n > 0 ? n : 0;
    }
    case QMetaType::Double: {
        const double d = value.toDouble();
        // 2^53: beyond it a JSON number has lost its units digits anyway.
        if (!(d >= 0 && d <= 9007199254740992.0))
            return 0;
        return static_cast<qint64>(d);
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = value.toString().trimmed().toLongLong(&ok);
        return ok && n > 0 ? n : 0;
    }
    default:
        return 0;
    }
}

qint64 readSizeText(const QString &text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok && n > 0 ? n : 0;
}

} // namespace

UpdateVersionInfo::UpdateVersionInfo(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{}

UpdateVersionInfo::~UpdateVersionInfo()
{
    if (m_sizeReply) {
        m_sizeReply->disconnect(this);
        m_sizeReply->abort();
    }
}

QUrl UpdateVersionInfo::resourceQueryUrl(const QString &apiBase)
{
    // The publisher's preview launcher reads the not-yet-released catalogue.
    const QString name =
        AppEnvironment::isPreview() ? QStringLiteral("prevResource") : QStringLiteral("resource");
    QUrl url(QStringLiteral("%1/xsk/launcher/api/%2").arg(apiBase, name));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("launcher_id"), QLatin1String(AppEnvironment::kLauncherId));
    url.setQuery(query);
    return url;
}

QUrl UpdateVersionInfo::contentQueryUrl(const QString &apiBase, const QString &languageCode)
{
    const QString name =
        AppEnvironment::isPreview() ? QStringLiteral("prevContent") : QStringLiteral("content");
    QUrl url(QStringLiteral("%1/xsk/launcher/api/%2").arg(apiBase, name));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("filter_adv"), QStringLiteral("true"));
    query.addQueryItem(QStringLiteral("language"), languageCode);
    query.addQueryItem(QStringLiteral("launcher_id"), QLatin1String(AppEnvironment::kLauncherId));
    url.setQuery(query);
    return url;
}

bool UpdateVersionInfo::parseResourceResponse(const QByteArray &body, QString *error)
{
    QJsonObject dataObject;
    if (!readData(body, &dataObject, error))
        return false;
    const QVariantMap data = dataObject.toVariantMap();
    const QVariantMap game = data.value(QStringLiteral("game")).toMap();
    const QVariantMap latest = game.value(QStringLiteral("latest")).toMap();
    m_path = latest.value(QStringLiteral("path")).toString();
    m_version = latest.value(QStringLiteral("version")).toString();
    m_entry = latest.value(QStringLiteral("entry")).toString();
    m_name = latest.value(QStringLiteral("name")).toString();
    m_md5 = latest.value(QStringLiteral("md5")).toString();
    m_size = readSize(latest.value(QStringLiteral("size")));
    const QVariantMap files = latest.value(QStringLiteral("files")).toMap();
    m_filesPath = files.value(QStringLiteral("path")).toString();
    m_filesSha256 = files.value(QStringLiteral("sha256")).toString();
    m_filesSize = readSize(files.value(QStringLiteral("size")));
    m_signature = dataObject.value(QLatin1String("game"))
                      .toObject()
                      .value(QLatin1String("latest"))
                      .toObject()
                      .value(QLatin1String("signature"))
                      .toObject();
    requestSize();

    if (data.contains(QStringLiteral("force_update"))) {
        const QVariantMap force = data.value(QStringLiteral("force_update")).toMap();
        m_minVersion = force.value(QStringLiteral("min_version")).toString();
        m_forceUpdateUrl = force.value(QStringLiteral("url")).toString();
    }

    const QJsonArray diffs =
        dataObject.value(QLatin1String("game")).toObject().value(QLatin1String("diffs")).toArray();
    for (const QJsonValue &item : diffs) {
        const QJsonObject o = item.toObject();
        DiffPackageInfo diff;
        diff.name = o.value(QLatin1String("name")).toString();
        diff.md5 = o.value(QLatin1String("md5")).toString();
        diff.path = o.value(QLatin1String("path")).toString();
        diff.version = o.value(QLatin1String("version")).toString();
        diff.size = o.value(QLatin1String("size")).toString();
        m_diffs.insert(diff.version, diff);
        m_diffSignatures.insert(diff.version, o.value(QLatin1String("signature")).toObject());
        const QJsonObject patchObject = o.value(QLatin1String("patch")).toObject();
        if (patchObject.isEmpty()) {
            m_patches.remove(diff.version);
            continue;
        }
        DiffPackageInfo patch;
        patch.name = patchObject.value(QLatin1String("name")).toString();
        patch.md5 = patchObject.value(QLatin1String("md5")).toString();
        patch.path = patchObject.value(QLatin1String("path")).toString();
        patch.version = diff.version;
        patch.size = patchObject.value(QLatin1String("size")).toString();
        m_patches.insert(diff.version, patch);
        m_patchSignatures.insert(diff.version,
                                 patchObject.value(QLatin1String("signature")).toObject());
    }

    m_plugins =
        data.value(QStringLiteral("plugin")).toMap().value(QStringLiteral("plugins")).toList();

    if (m_webUrl.isEmpty())
        m_webUrl = data.value(QStringLiteral("web_url")).toString();
    m_signedMetadata = dataObject.value(QLatin1String("signed")).toObject();
    m_signingKeys = dataObject.value(QLatin1String("signing_keys")).toObject();
    return true;
}

void UpdateVersionInfo::applySignedFields(const QJsonObject &fields)
{
    m_version = fields.value(QLatin1String("version")).toString();
    m_entry = fields.value(QLatin1String("entry")).toString();
    const QJsonObject files = fields.value(QLatin1String("files")).toObject();
    m_filesPath = files.value(QLatin1String("path")).toString();
    m_filesSha256 = files.value(QLatin1String("sha256")).toString();
    m_filesSize = readSize(files.value(QLatin1String("size")).toVariant());
    m_plugins = fields.value(QLatin1String("plugins")).toArray().toVariantList();
    const QJsonObject force = fields.value(QLatin1String("force_update")).toObject();
    m_minVersion = force.value(QLatin1String("min_version")).toString();
    m_forceUpdateUrl = force.value(QLatin1String("url")).toString();
    m_webUrl = fields.value(QLatin1String("web_url")).toString();
}

bool UpdateVersionInfo::hasPatch(const QString &fromVersion) const
{
    return !fromVersion.isEmpty() && m_patches.contains(fromVersion) &&
           m_diffs.contains(fromVersion) && !m_patches.value(fromVersion).path.isEmpty();
}

DiffPackageInfo UpdateVersionInfo::patch(const QString &fromVersion) const
{
    return m_patches.value(fromVersion);
}

QJsonObject UpdateVersionInfo::patchSignature(const QString &fromVersion) const
{
    return m_patchSignatures.value(fromVersion);
}

QJsonObject UpdateVersionInfo::packageSignature(const QString &fromVersion) const
{
    if (!fromVersion.isEmpty() && m_diffs.contains(fromVersion))
        return m_diffSignatures.value(fromVersion);
    return m_signature;
}

bool UpdateVersionInfo::parseContentResponse(const QByteArray &body, QString *error)
{
    QJsonObject dataObject;
    if (!readData(body, &dataObject, error))
        return false;
    const QVariantMap adv = dataObject.toVariantMap().value(QStringLiteral("adv")).toMap();
    if (adv.contains(QStringLiteral("background")))
        m_background = adv.value(QStringLiteral("background")).toString();
    if (adv.contains(QStringLiteral("url")))
        m_advUrl = adv.value(QStringLiteral("url")).toString();
    if (adv.contains(QStringLiteral("icon")))
        m_icon = adv.value(QStringLiteral("icon")).toString();
    return true;
}

void UpdateVersionInfo::requestSize()
{
    // A size request of an earlier answer may still run; its length belongs to that answer's
    // package, not to this one.
    if (m_sizeReply) {
        QNetworkReply *stale = m_sizeReply;
        m_sizeReply = nullptr;
        stale->disconnect(this);
        stale->abort();
        stale->deleteLater();
    }
    if (m_size != 0)
        return;
    const QUrl url(m_path);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return;
    m_sizeReply = m_manager->head(QNetworkRequest(url));
    connect(m_sizeReply, &QNetworkReply::finished, this,
            &UpdateVersionInfo::OnHeaderResponseFinished, Qt::DirectConnection);
}

void UpdateVersionInfo::OnHeaderResponseFinished()
{
    QNetworkReply *reply = m_sizeReply;
    if (!reply)
        return;
    m_sizeReply = nullptr;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError)
        return;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200 && status != 206)
        return;
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > 0)
        m_size = length.toLongLong();
}

QUrl UpdateVersionInfo::packageUrl(const QString &fromVersion) const
{
    if (!fromVersion.isEmpty() && m_diffs.contains(fromVersion))
        return QUrl(m_diffs.value(fromVersion).path);
    return QUrl(m_path);
}

QString UpdateVersionInfo::packageMd5(const QString &fromVersion) const
{
    if (!fromVersion.isEmpty() && m_diffs.contains(fromVersion))
        return m_diffs.value(fromVersion).md5;
    return m_md5;
}

QString UpdateVersionInfo::packageName(const QString &fromVersion) const
{
    if (!fromVersion.isEmpty() && m_diffs.contains(fromVersion))
        return m_diffs.value(fromVersion).name;
    return m_name;
}

qint64 UpdateVersionInfo::packageSize(const QString &fromVersion) const
{
    if (!fromVersion.isEmpty() && m_diffs.contains(fromVersion))
        return readSizeText(m_diffs.value(fromVersion).size);
    return m_size;
}

QString UpdateVersionInfo::fileNameOfUrl(const QString &url)
{
    if (url.isEmpty())
        return QString();
    return QUrl(url).fileName();
}

QString UpdateVersionInfo::baseNameOfUrl(const QString &url)
{
    const QString name = fileNameOfUrl(url);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

QString UpdateVersionInfo::pluginFolderName(const QString &url)
{
    const QString name = baseNameOfUrl(url);
    return PackageFileName::isPlainName(name) ? name : QString();
}

QString UpdateVersionInfo::background() const
{
    return m_background.isEmpty() ? QStringLiteral("") : m_background;
}
