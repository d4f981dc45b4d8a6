#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

#include "errordefine.h"

class HttpRequestAPI;
class PageItems;
class PromoArtCache;
class UpdateVersionInfo;

// The resource and content queries against the publisher's service, each with its budget of
// five resends before the player is asked, the manifest they fill, and the promotional art the
// content answer names. What an answer means for the game's state is the view model's
// business: it hears of each outcome by a signal, in the order the steps happen.
class ServerQueries : public QObject
{
    Q_OBJECT
public:
    // Shows a box with title and text; action (may be empty) gets the answer.
    using Ask = std::function<void(const QString &title, const QString &text, bool withCancel,
                                   std::function<void(bool)> action)>;

    // manifest and page are not owned and must outlive the queries.
    ServerQueries(UpdateVersionInfo *manifest, PageItems *page, QObject *parent = nullptr);
    ~ServerQueries() override;

    // The embedded web page's address for the language; empty when the build names no page.
    static QString webPageUrl(const QString &languageCode);

    void setAsk(Ask ask) { m_ask = std::move(ask); }
    void setLanguageCode(const QString &code) { m_languageCode = code; }

    // Sends within the budget left; the restart variants give the query its whole budget.
    void sendResource();
    void restartResource();
    void sendContent();
    void restartContent();

signals:
    void resourceSending();
    // Read and admitted; the launcher's minimum version is to be checked now.
    void resourceRead();
    void resourceAnswered();
    // The answer could not be read; the player was offered a resend.
    void resourceUnreadable();
    // The signed metadata refused the answer: it decides nothing.
    void resourceRefused(ErrorDefine::ErrorCode code, const QString &message);
    // The budget is spent; resourceFailed follows once the player answered the resend offer.
    void resourceGivenUp();
    void resourceFailed();
    void contentSending();
    // A later content answer names another web page or art; the first one arrives while the
    // page still loads.
    void contentChanged();
    // The background picture's file (a URL), or empty when the stored one is to be read again.
    void backgroundChanged(const QString &path);

private:
    void onResourceAnswer(bool ok, const QByteArray &body, const QString &error, int status);
    void askToRetryResource(bool withCancel);
    void onContentAnswer(bool ok, const QByteArray &body, const QString &error, int status);
    void retryContent();
    void askToRetryContent();
    void onBackgroundDownloaded(const QUrl &url, const QString &name);
    void onIconDownloaded(const QUrl &url, const QString &name);

    UpdateVersionInfo *m_manifest = nullptr;
    PageItems *m_page = nullptr;
    Ask m_ask;
    QString m_languageCode;
    HttpRequestAPI *m_resourceRequest = nullptr;
    HttpRequestAPI *m_contentRequest = nullptr;
    PromoArtCache *m_backgroundArt = nullptr;
    PromoArtCache *m_iconArt = nullptr;
    int m_resourceAttempts = 0;
    int m_contentAttempts = 0;
};
