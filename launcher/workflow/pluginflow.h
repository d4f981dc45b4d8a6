#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include "errordefine.h"

class UpdateVersionInfo;
class downloadmanager;
class setupmanager;

// The manifest's first plug-in beside the game: its package is fetched into the launcher's own
// folder and unpacked there by a setup worker of its own, and its installer runs silently
// when the game is set up. Its failures are not shown, except a package the publisher did not
// sign.
class PluginFlow : public QObject
{
    Q_OBJECT
public:
    // manifest is not owned and must outlive this flow.
    explicit PluginFlow(const UpdateVersionInfo *manifest, QObject *parent = nullptr);
    ~PluginFlow() override;

    // Gives the downloader the plug-in's address, digest and signed statement.
    void prepare();
    // Fetches the plug-in while its installer's folder is missing; once it is there and
    // allowInstaller is set, starts the installer.
    void check(bool allowInstaller);

signals:
    void refused(ErrorDefine::ErrorCode error, const QString &msg);

private:
    QVariantMap firstPlugin() const;
    void onDownloaded();
    void onChecked();

    const UpdateVersionInfo *m_manifest = nullptr;
    downloadmanager *m_downloader = nullptr;
    setupmanager *m_setup = nullptr;
};
