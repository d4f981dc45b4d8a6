#include "applicationinfo.h"

#include <QDebug>
#include <QPointer>
#include <QTimer>
#include <QUrlQuery>

#include "appenvironment.h"
#include "httprequestapi.h"
#include "launcherconfig.h"

namespace {
// Process-wide, as a retry by one instance continues the count of another.
int g_failureCount = 0;
} // namespace

ApplicationInfo::ApplicationInfo(QObject *parent)
    : QObject(parent)
{}

ApplicationInfo::~ApplicationInfo()
{
    // The client's callbacks capture this object: it must not outlive it.
    delete m_http;
}

QUrl ApplicationInfo::requestUrl()
{
    QUrl url(LauncherConfig::instance()->releaseUrl() + QLatin1String(kReleasePath));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("app_id"), QLatin1String(kAppId));
    query.addQueryItem(QStringLiteral("channel"), QLatin1String(kChannel));
    query.addQueryItem(QStringLiteral("app_version"),
                       QLatin1String(AppEnvironment::kLauncherVersion));
    url.setQuery(query);
    return url;
}

int ApplicationInfo::failureCount()
{
    return g_failureCount;
}

void ApplicationInfo::requestProgramVerInfo()
{
    if (!m_http) {
        m_http = new HttpRequestAPI;
        m_http->setRawHeader("content-type", "application/json");
    }
    m_http->get(requestUrl().toString(QUrl::FullyEncoded),
                [this](bool ok, const QByteArray &body, const QString &error, int status) {
                    onReply(ok, body, error, status);
                });
}

void ApplicationInfo::onReply(bool ok, const QByteArray &body, const QString &error, int status)
{
    if (ok && status == 200) {
        // "In a row": a good answer starts the count afresh.
        g_failureCount = 0;
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(body, &parseError);
        if (!doc.isObject()) {
            qDebug() << "update Info: unreadable answer:" << parseError.errorString();
            return;
        }
        QPointer<ApplicationInfo> self(this);
        QTimer::singleShot(0, this, [self, doc] {
            if (self)
                emit self->programVerInfoReply(doc);
        });
        return;
    }

    qDebug() << "update Info: request failed:" << status << error;
    const int failuresBefore = g_failureCount++;
    if (failuresBefore < kAttempts - 1 && status != kNoRetryStatus) {
        requestProgramVerInfo();
        return;
    }
    m_http->clearAccessCache();
    g_failureCount = 0;
    if (!LauncherConfig::instance()->readBool(QStringLiteral("is_user_update")))
        return;
    // The box runs its own event loop; open it from the event loop, not from inside the
    // network layer's completion.
    QTimer::singleShot(0, this, [this, status] { askToRetry(status); });
}

void ApplicationInfo::askToRetry(int status)
{
    UserQuestion question;
    question.title = tr("title_tip");
    question.text = tr("message_update_request_exception") + QStringLiteral("[%1]").arg(status);
    question.confirmText = tr("button_redo");
    question.withCancel = true;
    QPointer<ApplicationInfo> self(this);
    // A copy: the answer may come after this object (and its asker) went away.
    const UserAsker asker = m_ask;
    const bool again = asker && asker(question);
    if (again && self)
        requestProgramVerInfo();
}
