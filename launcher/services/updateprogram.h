#pragma once

#include <QJsonDocument>
#include <QObject>
#include <QString>
#include <QStringList>

#include "appversioninfo.h"
#include "userquestion.h"

// Reads the release service's answer, records whether a newer launcher exists, asks the user
// (unless updates are automatic), checks the disk and asks for the updater to be started.
// Also builds the updater's command line for whoever starts it.
class UpdateProgram : public QObject
{
    Q_OBJECT
public:
    // The instance name the updater puts in its interlock's name.
    static constexpr const char *kInstanceName = "Lunmere";

    explicit UpdateProgram(QObject *parent = nullptr);
    ~UpdateProgram() override;

    // Where the offer and the notices are put, over the page.
    void setAsker(UserAsker asker) { m_ask = std::move(asker); }
    // The last release that reported a usable update.
    AppVersionInfo versionInfo() const { return m_info; }

    // "updateProgram/Update" (with the platform's executable suffix) in the launcher's folder.
    static QString updaterPath();
    // The updater's two arguments: the instance name and one compact JSON object with
    // "exe_dir" (launcherPath, with forward slashes), "lang", "pkg_md5" and "pkg_url".
    static QStringList updaterArguments(const AppVersionInfo &info, const QString &launcherPath,
                                        const QString &languageCode);
    // Starts program detached with the arguments for this launcher (its executable path and
    // the current language). False, without starting anything, when info is not usable or the
    // program cannot be started. The caller quits on true and warns on false.
    static bool startUpdater(const AppVersionInfo &info, const QString &program = updaterPath());

signals:
    void quitApp();
    void startUpdate(AppVersionInfo updateInfo);
    void newProgramVersionUpdate();

public slots:
    void onCheckProgramUpdate(QJsonDocument obj);

private:
    void prompt();
    // A question over the dimmed page; true when confirmed.
    bool ask(const QString &text, const QString &confirmText, bool withCancel) const;
    // A notice over the page, which stays as it is.
    void tell(const QString &text) const;

    AppVersionInfo m_info;
    UserAsker m_ask;
};
