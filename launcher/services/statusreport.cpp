#include "statusreport.h"

#include <QDateTime>
#include <QDebug>
#include <QGuiApplication>
#include <QHostInfo>
#include <QMetaEnum>
#include <QMutex>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>
#include <QTime>
#include <QUrl>
#include <QUuid>

#include <atomic>

#include "appenvironment.h"
#include "launcherconfig.h"
#include "systeminfo.h"

namespace {

std::atomic<StatusReport *> g_instance{nullptr};
QMutex g_instanceMutex;

// Values travel percent-encoded: a raw "&", "=", "#", "+" or ";" inside an error text or a URL
// would otherwise split or cut the parameter on the receiving side.
QString encoded(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

StatusReport *StatusReport::instance()
{
    StatusReport *report = g_instance.load();
    if (!report) {
        QMutexLocker lock(&g_instanceMutex);
        report = g_instance.load();
        if (!report) {
            report = new StatusReport;
            g_instance.store(report);
        }
    }
    return report;
}

StatusReport::StatusReport()
{
    // Its own failures must never produce further reports.
    m_request.setReport(false);

    LauncherConfig *config = LauncherConfig::instance();
    m_transactionNo = makeTransactionNo();
    QString deviceId = QString::fromLatin1(QSysInfo::machineUniqueId());
    if (deviceId.isEmpty())
        deviceId = QUuid::createUuid().toString();

    m_params.insert(QStringLiteral("device_id"), deviceId);
    m_params.insert(QStringLiteral("device_name"), deviceName());
    m_params.insert(QStringLiteral("register_cps"), config->cps());
    m_params.insert(QStringLiteral("os"), systemText());
    m_params.insert(QStringLiteral("gamekey"), QStringLiteral("zt7q_cn"));
    m_params.insert(QStringLiteral("transaction_no"), m_transactionNo);
    m_params.insert(QStringLiteral("appid"), QLatin1String(AppEnvironment::kLauncherId));
    m_params.insert(QStringLiteral("env"),
                    AppEnvironment::isMainland() ? QStringLiteral("1") : QStringLiteral("2"));
    m_params.insert(QStringLiteral("version"), QLatin1String(AppEnvironment::kLauncherVersion));
    m_params.insert(QStringLiteral("device_info"),
                    QStringLiteral("CPU:%1,GPU:%2,Memory: %3,System:%4")
                        .arg(processorText(), graphicsText(), memoryText(), systemText()));
    m_params.insert(QStringLiteral("client_language"), AppEnvironment::currentLanguageCode());
    m_params.insert(QStringLiteral("channel"), config->channel());
    m_params.insert(QStringLiteral("sub_channel"), config->subChannel());
    // So that every report, not only those of an install, tells which game the device runs.
    setContextField(QStringLiteral("game_version"), config->gameVersion());
}

QString StatusReport::deviceName()
{
#if LAUNCHER_REPORT_HOST_NAME
    return QHostInfo::localHostName();
#else
    // A host name is often the owner's name; a studio that need not know it can build
    // without it and keep the key, so report services that expect it still parse.
    return QString();
#endif
}

void StatusReport::setContextField(const QString &key, const QString &value)
{
    if (value.isEmpty())
        m_context.remove(key);
    else
        m_context.insert(key, value);
}

QString StatusReport::makeTransactionNo()
{
    static QRandomGenerator generator(
        static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay() / 1000));
    QString text = QString::number(QDateTime::currentMSecsSinceEpoch());
    for (int i = 0; i < 5; ++i)
        text += QString::number(generator.generate() % 9);
    return text;
}

QString StatusReport::processorText()
{
    return QString::fromStdString(platform::processorName());
}

QString StatusReport::graphicsText()
{
    // An OpenGL context needs a GUI application on this thread; without one there is nothing
    // to ask.
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app || app->thread() != QThread::currentThread())
        return QString();
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface))
        return QString();
    QOpenGLFunctions *gl = context.functions();
    QStringList parts;
    for (GLenum name : {GLenum(GL_VENDOR), GLenum(GL_RENDERER), GLenum(GL_VERSION)}) {
        const GLubyte *text = gl ? gl->glGetString(name) : nullptr;
        parts << (text ? QString::fromLatin1(reinterpret_cast<const char *>(text)) : QString());
    }
    context.doneCurrent();
    return parts.join(QLatin1Char(' '));
}

QString StatusReport::memoryText()
{
    unsigned long long available = 0;
    unsigned long long total = 0;
    platform::physicalMemory(&available, &total);
    const double gib = 1024.0 * 1024.0 * 1024.0;
    return QStringLiteral("可用 %1 GB / 共 %2 GB")
        .arg(QString::number(available / gib, 'f', 2), QString::number(total / gib, 'f', 2));
}

QString StatusReport::systemText()
{
    return QSysInfo::prettyProductName() + QLatin1Char(' ') + QSysInfo::buildCpuArchitecture();
}

QString StatusReport::parameterString() const
{
    QString text;
    for (auto it = m_params.cbegin(); it != m_params.cend(); ++it)
        text += it.key() + QLatin1Char('=') + encoded(it.value()) + QLatin1Char('&');
    return text;
}

QString StatusReport::buildQuery(StatusType type, const QMap<QString, QString> &extMsg,
                                 const QMap<QString, QString> &fields) const
{
    const char *action = QMetaEnum::fromType<StatusType>().valueToKey(type);
    QString query = QStringLiteral("action=%1&").arg(QLatin1String(action ? action : ""));
    query += parameterString();
    // After the base parameters, so the fields a report service already knows keep their
    // order; a field of this report wins over a context field of the same name.
    QMap<QString, QString> extra = m_context;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        extra.insert(it.key(), it.value());
    for (auto it = extra.cbegin(); it != extra.cend(); ++it) {
        if (!it.value().isEmpty() && !m_params.contains(it.key()))
            query += it.key() + QLatin1Char('=') + encoded(it.value()) + QLatin1Char('&');
    }
    if (!extMsg.isEmpty()) {
        QString ext;
        for (auto it = extMsg.cbegin(); it != extMsg.cend(); ++it)
            ext += it.key() + QLatin1Char(':') + it.value() + QLatin1Char(';');
        query += QStringLiteral("extMsg=") + encoded(ext);
    } else {
        query.chop(1);
    }
    return query;
}

void StatusReport::report(StatusType type, const QMap<QString, QString> &extMsg)
{
    report(type, extMsg, {});
}

void StatusReport::report(StatusType type, const QMap<QString, QString> &extMsg,
                          const QMap<QString, QString> &fields)
{
    const QDateTime now = QDateTime::currentDateTime();
    m_params.insert(QStringLiteral("cts"), now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")));
    m_params.insert(QStringLiteral("log_time"), QString::number(now.toSecsSinceEpoch()));

    m_request.setRawHeader("Cache-Control", "no-cache");
    const QString url = LauncherConfig::instance()->reportUrl() +
                        QStringLiteral("/client_report?") + buildQuery(type, extMsg, fields);
    qDebug() << "report url :" << url;
    m_request.get(url, [](bool ok, const QByteArray &, const QString &error, int) {
        if (!ok)
            qDebug() << "error : " << error;
    });
}
