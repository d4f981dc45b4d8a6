#include "pluginflow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include "downloadmanager.h"
#include "processes.h"
#include "setupmanager.h"
#include "signedpackages.h"
#include "updateversioninfo.h"

namespace {
// The launcher's own folder, not the current one: a shortcut may start it elsewhere.
QString launcherFolder()
{
    return QCoreApplication::applicationDirPath();
}
} // namespace

PluginFlow::PluginFlow(const UpdateVersionInfo *manifest, QObject *parent)
    : QObject(parent)
    , m_manifest(manifest)
{
    m_downloader = new downloadmanager();
    connect(m_downloader, &downloadmanager::downloadFinished, this, &PluginFlow::onDownloaded);
    connect(m_downloader, &downloadmanager::md5CheckFinish, this, &PluginFlow::onChecked);
    // A worker of its own, so the plug-in's events never reach the game's handlers.
    m_setup = new setupmanager();
    connect(m_downloader, &downloadmanager::downloadError, this,
            [this](ErrorDefine::ErrorCode error, const QString &msg) {
                if (error == ErrorDefine::PACKAGE_SIGNATURE_ERROR)
                    emit refused(error, msg);
            });
}

PluginFlow::~PluginFlow()
{
    delete m_downloader;
    delete m_setup;
}

QVariantMap PluginFlow::firstPlugin() const
{
    const QVariantList plugins = m_manifest ? m_manifest->plugins() : QVariantList();
    return plugins.isEmpty() ? QVariantMap() : plugins.first().toMap();
}

void PluginFlow::prepare()
{
    const QVariantMap plugin = firstPlugin();
    if (plugin.isEmpty())
        return;
    const QString url = plugin.value(QStringLiteral("path")).toString();
    m_downloader->setUrl(QUrl(url));
    m_downloader->setFilePath(launcherFolder());
    m_downloader->setFileMD5(plugin.value(QStringLiteral("md5")).toString());
    m_downloader->setExpectedPackage(SignedPackages::plugin(plugin, *m_manifest));
    m_setup->setZipFilePath(launcherFolder());
    m_setup->setZipFileName(m_downloader->fileName());
}

void PluginFlow::check(bool allowInstaller)
{
    const QVariantMap plugin = firstPlugin();
    if (plugin.isEmpty())
        return;
    const QString url = plugin.value(QStringLiteral("path")).toString();
    const QString fileName = m_downloader->savedFileName(QUrl(url));
    // The installer's folder is named after the address, whatever the download is saved as.
    const QString name = UpdateVersionInfo::pluginFolderName(url);
    if (name.isEmpty())
        return;
    const QString folder = launcherFolder() + QLatin1Char('/') + name;
    if (!QFileInfo(folder).isDir()) {
        if (QFileInfo::exists(launcherFolder() + QLatin1Char('/') + fileName))
            m_downloader->fileMd5(launcherFolder() + QLatin1Char('/') + fileName);
        m_downloader->startDownload();
        return;
    }
    if (allowInstaller) {
        const QString installer =
            folder + QLatin1Char('/') + name + QString::fromStdString(platform::executableSuffix());
        QProcess::startDetached(installer, {QStringLiteral("/silent")});
    }
}

void PluginFlow::onDownloaded()
{
    m_setup->setZipFileName(m_downloader->fileName());
    m_downloader->fileMd5(m_downloader->finalFilePath());
}

void PluginFlow::onChecked()
{
    m_setup->start(QThread::InheritPriority);
}
