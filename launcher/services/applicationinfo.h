#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QObject>
#include <QString>
#include <QUrl>

#include "userquestion.h"

class HttpRequestAPI;

// Asks the release service whether a newer launcher exists and hands a readable answer on.
// Failed checks are resent twice at once; after the third failure in a row (or the service's
// 603 at once) the check gives up, silently unless the user asked for it.
class ApplicationInfo : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *kReleasePath = "/pelorin/marduvel/api/getLatestRelease";
    static constexpr const char *kAppId = "100638";
    static constexpr const char *kChannel = "official";
    // The service's "do not ask again" answer: no resend.
    static constexpr int kNoRetryStatus = 603;
    static constexpr int kAttempts = 3;

    explicit ApplicationInfo(QObject *parent = nullptr);
    ~ApplicationInfo() override;

    // The check's address: the configured release service with the three query items.
    static QUrl requestUrl();

    // Sends the check; the answer arrives later as programVerInfoReply.
    void requestProgramVerInfo();

    // Failures of the checks in a row so far (shared by every instance of the process).
    static int failureCount();

    // Where the offer to check again after the last failure is put.
    void setAsker(UserAsker asker) { m_ask = std::move(asker); }

signals:
    // A successful answer that parsed as a JSON object. Emitted from the event loop, never
    // from inside the network callback, so receivers may open modal boxes.
    void programVerInfoReply(QJsonDocument jsonDoc);

private:
    void onReply(bool ok, const QByteArray &body, const QString &error, int status);
    void askToRetry(int status);

    HttpRequestAPI *m_http = nullptr;
    UserAsker m_ask;
};
