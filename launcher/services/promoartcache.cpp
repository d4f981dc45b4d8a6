#include "promoartcache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "fileentries.h"

namespace {
const QString kSuffix = QStringLiteral(".img");
constexpr int kMaxRedirects = 10;
} // namespace

PromoArtCache::PromoArtCache(QObject *parent)
    : QObject(parent)
{
    connect(&m_network, &QNetworkAccessManager::finished, this, &PromoArtCache::onFinished);
}

PromoArtCache::~PromoArtCache()
{
    m_network.disconnect(this);
    if (m_reply)
        m_reply->abort();
}

QString PromoArtCache::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/promo");
}

QString PromoArtCache::fileNameFor(const QUrl &url)
{
    return QString::fromLatin1(QCryptographicHash::hash(url.toString(QUrl::FullyEncoded).toUtf8(),
                                                        QCryptographicHash::Sha256)
                                   .toHex()) +
           kSuffix;
}

QString PromoArtCache::cachedPath(const QString &name)
{
    static const QRegularExpression ownName(QStringLiteral("^[0-9a-f]{64}\\.img$"));
    if (!ownName.match(name).hasMatch())
        return QString();
    const QString path = folder() + QLatin1Char('/') + name;
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink() ? path : QString();
}

void PromoArtCache::fetch(const QUrl &url)
{
    if (m_reply) {
        QNetworkReply *old = m_reply;
        m_reply = nullptr;
        old->abort();
    }
    m_url = url;
    m_tooLarge = false;
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        QMetaObject::invokeMethod(
            this, [this, url] { emit fetched(url, QString()); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(url);
    // Redirects only to places at least as safe: HTTPS never continues over plain HTTP.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply *reply = m_network.get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply](qint64 received, qint64 total) {
                if (received > kMaxBytes || total > kMaxBytes) {
                    if (reply == m_reply)
                        m_tooLarge = true;
                    reply->abort();
                }
            });
}

void PromoArtCache::onFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    const QUrl url = m_url;
    QString name;
    if (m_tooLarge) {
        qWarning() << "promotional art larger than" << kMaxBytes << "bytes:" << url;
    } else if (reply->error() != QNetworkReply::NoError) {
        qWarning() << "promotional art:" << url << reply->errorString();
    } else {
        const QByteArray data = reply->readAll();
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        // A few bytes can declare a picture of gigabytes: the size is looked at first.
        const QSize size = reader.size();
        if (!size.isValid() || qint64(size.width()) * size.height() > kMaxPixels)
            qWarning() << "promotional art is no image of a sane size:" << url << size;
        else if (reader.read().isNull())
            qWarning() << "promotional art is no image:" << url << reader.errorString();
        else if (store(data, fileNameFor(url)))
            name = fileNameFor(url);
    }
    emit fetched(url, name);
}

bool PromoArtCache::store(const QByteArray &data, const QString &name)
{
    const QString dir = folder();
    if (!QDir().mkpath(dir))
        return false;
    // Written under a temporary name and put in place as an entry: whatever sits under the
    // final name (a link someone planted) is replaced, never written through.
    QTemporaryFile file(dir + QStringLiteral("/fetch-XXXXXX"));
    if (!file.open() || file.write(data) != data.size() || !file.flush())
        return false;
    file.close();
    if (!platform::replaceEntry(file.fileName().toStdString(),
                                QString(dir + QLatin1Char('/') + name).toStdString()))
        return false;
    file.setAutoRemove(false);
    return true;
}
