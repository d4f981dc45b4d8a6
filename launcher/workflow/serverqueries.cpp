#include "serverqueries.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QUrlQuery>

#include <exception>

#include "appenvironment.h"
#include "httprequestapi.h"
#include "launcherconfig.h"
#include "manifestgate.h"
#include "packagetrust.h"
#include "pageitems.h"
#include "promoartcache.h"
#include "updateversioninfo.h"

// The boxes' texts keep the view model's translation context (QCoreApplication::translate),
// where the translation files have them.

namespace {
// The first content answer arrives while the web view is still loading its first page, so
// only later answers may show, hide or reload it.
bool g_firstContentAnswer = true;
} // namespace

ServerQueries::ServerQueries(UpdateVersionInfo *manifest, PageItems *page, QObject *parent)
    : QObject(parent)
    , m_manifest(manifest)
    , m_page(page)
{
    m_backgroundArt = new PromoArtCache(this);
    connect(m_backgroundArt, &PromoArtCache::fetched, this, &ServerQueries::onBackgroundDownloaded);
    m_iconArt = new PromoArtCache(this);
    connect(m_iconArt, &PromoArtCache::fetched, this, &ServerQueries::onIconDownloaded);
}

ServerQueries::~ServerQueries()
{
    delete m_resourceRequest;
    delete m_contentRequest;
}

QString ServerQueries::webPageUrl(const QString &languageCode)
{
    LauncherConfig *config = LauncherConfig::instance();
    const QString base = config->webUrl();
    if (base.isEmpty())
        return base;
    QUrl url(base + QLatin1Char('/') + QLatin1String(AppEnvironment::kLauncherId) +
             QLatin1Char('/') + languageCode);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("api_url"),
                       QString::fromLatin1(QUrl::toPercentEncoding(config->apiUrl())));
    if (AppEnvironment::isPreview()) {
        query.addQueryItem(QStringLiteral("timestamp"),
                           QString::number(QDateTime::currentSecsSinceEpoch()));
        query.addQueryItem(QStringLiteral("prev"), QStringLiteral("true"));
    } else {
        query.addQueryItem(QStringLiteral("prev"), QStringLiteral("false"));
    }
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

void ServerQueries::restartResource()
{
    m_resourceAttempts = 0;
    sendResource();
}

void ServerQueries::sendResource()
{
    emit resourceSending();
    if (!m_resourceRequest) {
        m_resourceRequest = new HttpRequestAPI();
        m_resourceRequest->setRawHeader("content-type", "application/json");
    }
    const QUrl url = UpdateVersionInfo::resourceQueryUrl(LauncherConfig::instance()->apiUrl());
    m_resourceRequest->get(url.toString(QUrl::FullyEncoded),
                           [this](bool ok, const QByteArray &body, const QString &error,
                                  int status) { onResourceAnswer(ok, body, error, status); });
}

void ServerQueries::onResourceAnswer(bool ok, const QByteArray &body, const QString &error,
                                     int status)
{
    if (ok && status == 200) {
        qDebug() << "update Info:" << body;
        QString parseError;
        bool processed = false;
        try {
            processed = m_manifest->parseResourceResponse(body, &parseError);
            ErrorDefine::ErrorCode refusal = ErrorDefine::METADATA_SIGNATURE_ERROR;
            if (processed && !ManifestGate::admit(m_manifest, &parseError, &refusal)) {
                // A refused answer decides nothing: no install, no start, no forced update.
                qWarning() << "update Info: signed metadata:" << parseError;
                m_manifest->applySignedFields({});
                m_resourceAttempts = 0;
                emit resourceRefused(refusal, PackageTrust::errorMessage(refusal, parseError));
                return;
            }
            if (processed)
                emit resourceRead();
        } catch (const std::exception &e) {
            parseError = QString::fromLocal8Bit(e.what());
        } catch (...) {
            parseError = QStringLiteral("unknown exception");
        }
        m_resourceAttempts = 0;
        // An answer that cannot be read would otherwise be taken for "no game published" and
        // offer a fresh install over an installed game: the state stays "query failed" until
        // a good answer comes.
        if (!processed) {
            qDebug() << "resource answer not usable:" << parseError;
            askToRetryResource(false);
            emit resourceUnreadable();
            return;
        }
        emit resourceAnswered();
        return;
    }

    m_page->setWebViewVisible(false);
    qDebug() << "request server game version error " << error;
    if (m_resourceAttempts > 4) {
        emit resourceGivenUp();
        askToRetryResource(true);
        emit resourceFailed();
        return;
    }
    ++m_resourceAttempts;
    sendResource();
}

void ServerQueries::askToRetryResource(bool withCancel)
{
    m_ask(QCoreApplication::translate("MainViewModel", "title_error"),
          QCoreApplication::translate("MainViewModel", "message_resource_check_failed"), withCancel,
          [this](bool confirmed) {
              if (!confirmed)
                  return;
              m_resourceAttempts = 0;
              sendResource();
          });
}

void ServerQueries::restartContent()
{
    m_contentAttempts = 0;
    sendContent();
}

void ServerQueries::sendContent()
{
    emit contentSending();
    if (!m_contentRequest) {
        m_contentRequest = new HttpRequestAPI();
        m_contentRequest->setRawHeader("content-type", "application/json");
    }
    const QUrl url =
        UpdateVersionInfo::contentQueryUrl(LauncherConfig::instance()->apiUrl(), m_languageCode);
    m_contentRequest->get(url.toString(QUrl::FullyEncoded),
                          [this](bool ok, const QByteArray &body, const QString &error,
                                 int status) { onContentAnswer(ok, body, error, status); });
}

void ServerQueries::onContentAnswer(bool ok, const QByteArray &body, const QString &error,
                                    int status)
{
    if (!(ok && status == 200)) {
        qDebug() << "request server content error " << error;
        retryContent();
        return;
    }

    bool processed = false;
    try {
        processed = m_manifest->parseContentResponse(body);
        if (processed) {
            const QString background = m_manifest->background();
            if (!background.isEmpty()) {
                const QString name = PromoArtCache::fileNameFor(QUrl(background));
                if (!PromoArtCache::cachedPath(name).isEmpty()) {
                    LauncherConfig::instance()->setGameDynamicBgName(name);
                    emit backgroundChanged(QString());
                } else {
                    m_backgroundArt->fetch(QUrl(background));
                }
            }
            const QString icon = m_manifest->icon();
            if (!icon.isEmpty())
                m_iconArt->fetch(QUrl(icon));
            if (g_firstContentAnswer) {
                g_firstContentAnswer = false;
            } else {
                m_page->setWebViewVisible(!m_manifest->webUrl().isEmpty());
                emit contentChanged();
            }
        }
    } catch (...) {
        processed = false;
    }
    // An answer that cannot be read is one more failed attempt, like a lost one.
    if (!processed)
        retryContent();
    else
        m_contentAttempts = 0;
}

void ServerQueries::retryContent()
{
    if (m_contentAttempts > 4) {
        askToRetryContent();
        return;
    }
    ++m_contentAttempts;
    sendContent();
}

void ServerQueries::askToRetryContent()
{
    m_ask(QCoreApplication::translate("MainViewModel", "title_error"),
          QCoreApplication::translate("MainViewModel", "message_launcher_check_failed"), true,
          [this](bool confirmed) {
              if (!confirmed)
                  return;
              m_contentAttempts = 0;
              sendContent();
          });
}

void ServerQueries::onBackgroundDownloaded(const QUrl &, const QString &name)
{
    LauncherConfig *config = LauncherConfig::instance();
    if (!name.isEmpty())
        config->setGameDynamicBgName(name);
    const QString stored = PromoArtCache::cachedPath(config->gameDynamicBgName());
    if (!stored.isEmpty())
        emit backgroundChanged(QUrl::fromLocalFile(stored).toString());
}

void ServerQueries::onIconDownloaded(const QUrl &, const QString &name)
{
    const QString file = PromoArtCache::cachedPath(name);
    const bool show = !file.isEmpty() && !m_manifest->advUrl().isEmpty();
    m_page->showActivityIcon(show, QUrl::fromLocalFile(file).toString());
}
