#pragma once

#include <QObject>
#include <QSettings>
#include <QString>

#include <memory>

// The launcher's own config.ini (kept open for the process's life) and the game's config.ini
// in the install folder (opened around each access). Process-wide, GUI thread only.
class LauncherConfig : public QObject
{
    Q_OBJECT
public:
    static LauncherConfig *instance();

    // Tests and tools: points the process-wide object at another launcher file; reopens it
    // when the object already exists.
    static void setInstanceFilePath(const QString &filePath);

    // Opens filePath as the launcher file and runs the default steps of cps, channel and
    // sub_channel. The process-wide object opens defaultFilePath().
    explicit LauncherConfig(const QString &filePath, QObject *parent = nullptr);
    ~LauncherConfig() override;

    // config.ini beside the launcher's executable.
    static QString defaultFilePath();

    // Generic access to the launcher file; the empty group is the General section.
    bool readBool(const QString &key, const QString &group = {}, bool def = false);
    int readInt(const QString &key, const QString &group = {});
    QString readString(const QString &key, const QString &group = {});
    void writeBool(const QString &key, bool v, const QString &group = {});
    void writeInt(const QString &key, int v, const QString &group = {});
    void writeString(const QString &key, const QString &v, const QString &group = {});

    QString installPath();
    void setInstallPath(const QString &path);

    QString cps();
    QString channel();
    QString subChannel();

    // The installed game version from the game file, cached after the first non-empty read.
    QString gameVersion();
    // Records v in the cache and in the game file, then gives the game file an (empty) cps.
    void setGameVersion(const QString &v);

    // The default step: the game file keeps a non-empty key (and the launcher file is then
    // left alone); otherwise both files get the key unless they already hold a non-empty one.
    void applyDefault(const QString &key, const QString &value);

    QString gameDynamicBgName();
    void setGameDynamicBgName(const QString &v);
    QString gameDynamicVersionTitle();
    void setGameDynamicVersionTitle(const QString &v);
    QString gameDynamicVersionTitleColor();
    void setGameDynamicVersionTitleColor(const QString &v);
    QString gameDynamicVersionDesc();
    void setGameDynamicVersionDesc(const QString &v);
    QString gameDynamicVersionDescColor();
    void setGameDynamicVersionDescColor(const QString &v);

    // Service base addresses: the [services] override, else the compiled-in default; never
    // with a trailing "/".
    QString resourceUrl();
    QString releaseUrl();
    QString reportUrl();
    QString webUrl();
    // The launcher API base the web page receives: resourceUrl() + "/zt7q_cn".
    QString apiUrl();

    QString filePath() const;
    // The game's config.ini, or an empty string while no install path is set.
    QString gameFilePath();

    // Outcome of the writes to the launcher file: AccessError once a write since opening
    // could not reach the disk because the file or its folder is read-only (the values then
    // live on in memory for this run only), else NoError.
    QSettings::Status lastWriteStatus() const { return m_lastWriteStatus; }

    // Whether the "proxy" choice keeps the system proxy configuration; read through a
    // second QSettings on the same file, as the user may have edited it by hand.
    bool useSystemProxy() const;

    // Start-up housekeeping, in this order: the uninstall entry's DisplayVersion, the
    // launcher key's Version, is_user_update = false, and the proxy choice (an empty or "0"
    // proxy turns the system proxy configuration off).
    void runStartupHousekeeping();

private:
    void open(const QString &filePath);
    void write(const QString &key, const QVariant &value, const QString &group);
    QVariant read(const QString &key, const QString &group, const QVariant &def = {});
    QString serviceUrl(const char *key, const char *compiledDefault);

    std::unique_ptr<QSettings> m_settings;
    QString m_gameVersion;
    QSettings::Status m_lastWriteStatus = QSettings::NoError;
};
