#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkReply;

// Fetches the promotional art the content service names into a cache folder of the launcher's
// own, under the user's cache location. The address decides only which file is fetched, never
// where it lands: the file is named after the address's digest, and kept only when it decodes
// as an image, so an answer can neither replace the launcher's files nor plant a program.
class PromoArtCache : public QObject
{
    Q_OBJECT
public:
    // Larger than any page background; an answer that grows past it is cut off.
    static constexpr qint64 kMaxBytes = 8 * 1024 * 1024;
    static constexpr qint64 kMaxPixels = 4096 * 4096;

    explicit PromoArtCache(QObject *parent = nullptr);
    ~PromoArtCache() override;

    static QString folder();
    // The cache's name for the art at this address.
    static QString fileNameFor(const QUrl &url);
    // The cached file under a name this cache made, or empty when the name is not one of its
    // own (an older launcher's setting, an edited one) or the file is gone.
    static QString cachedPath(const QString &name);

    // Replaces any fetch still under way; fetched follows exactly once for this address.
    void fetch(const QUrl &url);

signals:
    // name is the cached file's name, empty when the art could not be fetched or is no image.
    void fetched(const QUrl &url, const QString &name);

private:
    void onFinished(QNetworkReply *reply);
    bool store(const QByteArray &data, const QString &name);

    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QUrl m_url;
    bool m_tooLarge = false;
};
