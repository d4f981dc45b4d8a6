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
        // Failures by step, each with "error_code" and "error_reason": the older error
        // actions above stay as they were, so report services that know only those still
        // see them.
        LAUNCHER_DOWNLOAD_FAILED = 22,
        LAUNCHER_CHECK_FAILED = 23,
        LAUNCHER_UNPACK_FAILED = 24,
        LAUNCHER_REPAIR_FAILED = 25,
        LAUNCHER_SELF_UPDATE_FAILED = 26,
        LAUNCHER_SIGNATURE_FAILED = 27,
    };
    Q_ENUM(StatusType)

    // Created on first use; lives until the process ends. Reads the launcher configuration
    // (cps, channels) when it is created.
    static StatusReport *instance();

    // Sends one report; extMsg entries travel as "extMsg=key:value;key:value;".
    void report(StatusType type, const QMap<QString, QString> &extMsg = {});
    // The same with fields of this one report (an error code, a speed) after the base
    // parameters and the context fields; empty values are left out.
    void report(StatusType type, const QMap<QString, QString> &extMsg,
                const QMap<QString, QString> &fields);

    // A field every later report carries after the base parameters (the installed and the
    // target game version, the package kind); an empty value removes it. Kept out of the
    // page's parameter string and of the base parameters' order.
    void setContextField(const QString &key, const QString &value);
    QMap<QString, QString> contextFields() const { return m_context; }

    // What device_name holds: the host name, or nothing when the build leaves it out.
    static QString deviceName();

    // Every base parameter as "key=value&" in key order (so it ends with "&"), values
    // percent-encoded; the page appends it to its own report requests.
    QString parameterString() const;

private:
    StatusReport();

    QString buildQuery(StatusType type, const QMap<QString, QString> &extMsg,
                       const QMap<QString, QString> &fields) const;
    static QString makeTransactionNo();
    static QString processorText();
    static QString graphicsText();
    static QString memoryText();
    static QString systemText();

    QMap<QString, QString> m_params;
    QMap<QString, QString> m_context;
    QString m_transactionNo;
    HttpRequestAPI m_request;
};
