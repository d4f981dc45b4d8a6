#pragma once

#include <QMap>
#include <QObject>
#include <QString>

#include "httprequestapi.h"

// Process-wide telemetry: each event is one GET to the report service carrying the event's
// name, device and installation facts collected once, two time stamps and an optional extra
// message. Failures are logged and dropped; they never cause another report. GUI thread only.
class StatusReport : public QObject
{
    Q_OBJECT
public:
    enum StatusType {
        LAUNCHER_HOME_SHOW = 0,
        LAUNCHER_HOME_DOWNLOAD = 1,
        LAUNCHER_HOME_DOWNLOAD_FINISH = 2,
        LAUNCHER_HOME_INSTALL = 3,
        LAUNCHER_HOME_INSTALL_FINISH = 4,
        LAUNCHER_UPDATE_GAME = 5,
        LAUNCHER_HOME_UPDATEGAME_FINISH = 6,
        LAUNCHER_HOME_MD5 = 7,
        LAUNCHER_START_GAME = 8,
        LAUNCHER_HOME_AD = 9,
        LAUNCHER_QUIT = 10,
        LAUNCHER_CHANGE_INSTALL_PATH = 11,
        LAUNCHER_NETWORK_ERROR = 12,
        LAUNCHER_NETWORK_TIMEOUT = 13,
        LAUNCHER_DOWNLOAD_ERROR = 14,
        LAUNCHER_GAME_INSTALL_PATH_ERROR = 15,
        LAUNCHER_GAME_SETUP_ERROR = 16,
        GLOBAL_META_DATA_ERROR = 17,
        GLOBAL_META_DATA_DISSMISS_OR_ZERO = 18,
        LAUNCHER_GAME_REPAIR = 19,
        LAUNCHER_GAME_REPAIR_FINISH = 20,
        LAUNCHER_GAME_REPAIR_ERROR = 21,
    };
    Q_ENUM(StatusType)

    // Created on first use; lives until the process ends. Reads the launcher configuration
    // (cps, channels) when it is created.
    static StatusReport *instance();

    // Sends one report; extMsg entries travel as "extMsg=key:value;key:value;".
    void report(StatusType type, const QMap<QString, QString> &extMsg = {});

    // Every base parameter as "key=value&" in key order (so it ends with "&"), values
    // percent-encoded; the page appends it to its own report requests.
    QString parameterString() const;

private:
    StatusReport();

    QString buildQuery(StatusType type, const QMap<QString, QString> &extMsg) const;
    static QString makeTransactionNo();
    static QString processorText();
    static QString graphicsText();
    static QString memoryText();
    static QString systemText();

    QMap<QString, QString> m_params;
    QString m_transactionNo;
    HttpRequestAPI m_request;
};
