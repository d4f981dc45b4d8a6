#include "launcherconfig.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMutex>
#include <QNetworkProxyFactory>
#include <QUrl>

#include <atomic>

#include "buildconfig.h"
#include "inifile.h"
#include "registryconfig.h"

namespace {
std::atomic<LauncherConfig *> g_instance{nullptr};
QMutex g_instanceMutex;
QString g_instanceFilePath;

const QString kInstallPath = QStringLiteral("game_install_path");
const QString kCps = QStringLiteral("cps");
const QString kChannel = QStringLiteral("channel");
const QString kSubChannel = QStringLiteral("sub_channel");
const QString kGameVersion = QStringLiteral("game_version");
const QString kDefaultCps = QStringLiteral("velmora");
const QString kDefaultChannel = QStringLiteral("1");

QString orDefault(const QString &value, const QString &def)
{
    return value.isEmpty() ? def : value;
}
} // namespace

LauncherConfig *LauncherConfig::instance()
{
    LauncherConfig *config = g_instance.load();
    if (config)
        return config;
    QMutexLocker lock(&g_instanceMutex);
    config = g_instance.load();
    if (!config) {
        const QString path = g_instanceFilePath.isEmpty() ? defaultFilePath() : g_instanceFilePath;
        config = new LauncherConfig(path);
        g_instance.store(config);
    }
    return config;
}

void LauncherConfig::setInstanceFilePath(const QString &filePath)
{
    QMutexLocker lock(&g_instanceMutex);
    g_instanceFilePath = filePath;
    if (LauncherConfig *config = g_instance.load())
        config->open(filePath);
}

LauncherConfig::LauncherConfig(const QString &filePath, QObject *parent)
    : QObject(parent)
{
    open(filePath);
}

LauncherConfig::~LauncherConfig() = default;

QString LauncherConfig::defaultFilePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1String("/config.ini");
}

void LauncherConfig::open(const QString &filePath)
{
    // Keep a file QSettings cannot read before the default steps rewrite it.
    IniFile::keepUnreadableCopy(filePath);
    m_settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
    m_gameVersion.clear();
    m_lastWriteStatus = QSettings::NoError;
    applyDefault(kCps, kDefaultCps);
    applyDefault(kChannel, kDefaultChannel);
    applyDefault(kSubChannel, kDefaultChannel);
}

QVariant LauncherConfig::read(const QString &key, const QString &group, const QVariant &def)
{
    m_settings->beginGroup(group);
    const QVariant value = m_settings->value(key, def);
    m_settings->endGroup();
    return value;
}

void LauncherConfig::write(const QString &key, const QVariant &value, const QString &group)
{
    m_settings->beginGroup(group);
    m_settings->setValue(key, value);
    m_settings->endGroup();
    // Written at once so that a read-only file or folder shows up here, not at exit.
    m_settings->sync();
    // A FormatError only says the file held lines QSettings could not read (kept aside on
    // opening); the write itself went through. The status stays set once raised.
    m_lastWriteStatus = m_settings->status() == QSettings::AccessError ? QSettings::AccessError
                                                                       : QSettings::NoError;
    if (m_lastWriteStatus != QSettings::NoError)
        qWarning() << "config: could not write" << key << "to" << m_settings->fileName() << "status"
                   << m_lastWriteStatus;
}

bool LauncherConfig::readBool(const QString &key, const QString &group, bool def)
{
    return read(key, group, def).toBool();
}

int LauncherConfig::readInt(const QString &key, const QString &group)
{
    return read(key, group, 0).toInt();
}

QString LauncherConfig::readString(const QString &key, const QString &group)
{
    return IniFile::toText(read(key, group));
}

void LauncherConfig::writeBool(const QString &key, bool v, const QString &group)
{
    write(key, v, group);
}

void LauncherConfig::writeInt(const QString &key, int v, const QString &group)
{
    write(key, v, group);
}

void LauncherConfig::writeString(const QString &key, const QString &v, const QString &group)
{
    write(key, v, group);
}

QString LauncherConfig::installPath()
{
    return readString(kInstallPath);
}

void LauncherConfig::setInstallPath(const QString &path)
{
    writeString(kInstallPath, path);
}

QString LauncherConfig::cps()
{
    return orDefault(readString(kCps), kDefaultCps);
}

QString LauncherConfig::channel()
{
    return orDefault(readString(kChannel), kDefaultChannel);
}

QString LauncherConfig::subChannel()
{
    return orDefault(readString(kSubChannel), kDefaultChannel);
}

QString LauncherConfig::gameFilePath()
{
    const QString folder = installPath();
    if (folder.isEmpty())
        return {};
    return folder + QLatin1String("/config.ini");
}

QString LauncherConfig::gameVersion()
{
    if (!m_gameVersion.isEmpty())
        return m_gameVersion;
    const QString path = gameFilePath();
    if (!path.isEmpty()) {
        QSettings game(path, QSettings::IniFormat);
        const QString version = IniFile::toText(game.value(kGameVersion));
        if (!version.isEmpty())
            m_gameVersion = version;
    }
    return m_gameVersion;
}

void LauncherConfig::setGameVersion(const QString &v)
{
    m_gameVersion = v;
    const QString path = gameFilePath();
    if (path.isEmpty())
        return;
    IniFile::keepUnreadableCopy(path);
    {
        QSettings game(path, QSettings::IniFormat);
        game.setValue(kGameVersion, v);
        game.sync();
        if (game.status() == QSettings::AccessError)
            qWarning() << "config: could not write the game version to" << path;
    }
    applyDefault(kCps, QString());
}

void LauncherConfig::applyDefault(const QString &key, const QString &value)
{
    const QString path = gameFilePath();
    if (!path.isEmpty()) {
        IniFile::keepUnreadableCopy(path);
        QSettings game(path, QSettings::IniFormat);
        if (!IniFile::toText(game.value(key)).isEmpty())
            return;
        game.setValue(key, value);
        game.sync();
        if (game.status() == QSettings::AccessError)
            qWarning() << "config: could not write" << key << "to" << path;
    }
    if (!readString(key).isEmpty())
        return;
    writeString(key, value);
}

QString LauncherConfig::gameDynamicBgName()
{
    return readString(QStringLiteral("game_dynamic_bg_name"));
}

void LauncherConfig::setGameDynamicBgName(const QString &v)
{
    writeString(QStringLiteral("game_dynamic_bg_name"), v);
}

QString LauncherConfig::gameDynamicVersionTitle()
{
    return readString(QStringLiteral("game_dynamic_version_title"));
}

void LauncherConfig::setGameDynamicVersionTitle(const QString &v)
{
    writeString(QStringLiteral("game_dynamic_version_title"), v);
}

QString LauncherConfig::gameDynamicVersionTitleColor()
{
    return readString(QStringLiteral("game_dynamic_version_title_color"));
}

void LauncherConfig::setGameDynamicVersionTitleColor(const QString &v)
{
    writeString(QStringLiteral("game_dynamic_version_title_color"), v);
}

QString LauncherConfig::gameDynamicVersionDesc()
{
    return readString(QStringLiteral("game_dynamic_version_desc"));
}

void LauncherConfig::setGameDynamicVersionDesc(const QString &v)
{
    writeString(QStringLiteral("game_dynamic_version_desc"), v);
}

QString LauncherConfig::gameDynamicVersionDescColor()
{
    return readString(QStringLiteral("game_dynamic_version_desc_color"));
}

void LauncherConfig::setGameDynamicVersionDescColor(const QString &v)
{
    writeString(QStringLiteral("game_dynamic_version_desc_color"), v);
}

QString LauncherConfig::serviceUrl(const char *key, const char *compiledDefault)
{
    QString url = readString(QLatin1String(key), QStringLiteral("services")).trimmed();
    if (!url.isEmpty()) {
        const QUrl parsed(url, QUrl::StrictMode);
        const QString scheme = parsed.scheme();
        if (!parsed.isValid() || parsed.host().isEmpty() ||
            (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
            qWarning() << "config: [services]" << key << "=" << url
                       << "is not an http(s) address; using the built-in one";
            url.clear();
        }
    }
    if (url.isEmpty())
        url = QString::fromUtf8(compiledDefault);
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

QString LauncherConfig::resourceUrl()
{
    return serviceUrl("resource_url", LAUNCHER_DEFAULT_RESOURCE_URL);
}

QString LauncherConfig::releaseUrl()
{
    return serviceUrl("release_url", LAUNCHER_DEFAULT_RELEASE_URL);
}

QString LauncherConfig::reportUrl()
{
    return serviceUrl("report_url", LAUNCHER_DEFAULT_REPORT_URL);
}

QString LauncherConfig::webUrl()
{
    return serviceUrl("web_url", LAUNCHER_DEFAULT_WEB_URL);
}

QString LauncherConfig::apiUrl()
{
    return resourceUrl() + QLatin1String("/zt7q_cn");
}

QString LauncherConfig::filePath() const
{
    return m_settings->fileName();
}

bool LauncherConfig::useSystemProxy() const
{
    const QSettings fresh(m_settings->fileName(), QSettings::IniFormat);
    const QString proxy = IniFile::toText(fresh.value(QStringLiteral("proxy")));
    return !proxy.isEmpty() && proxy != QLatin1String("0");
}

void LauncherConfig::runStartupHousekeeping()
{
    RegistryConfig *registry = RegistryConfig::instance();
    registry->updateDisplayVersion();
    registry->updateLauncherVersion();
    writeBool(QStringLiteral("is_user_update"), false);
    if (!useSystemProxy())
        QNetworkProxyFactory::setUseSystemConfiguration(false);
}
