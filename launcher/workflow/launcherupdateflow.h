#pragma once

#include <QObject>
#include <QString>

#include "appversioninfo.h"
#include "errordefine.h"
#include "userquestion.h"

class ApplicationInfo;
class UpdateProgram;

// The launcher's own update: the check against the release service, the offer (through the
// asker), and the hand-off to the updater of a release the publisher signed, after which the
// launcher quits.
class LauncherUpdateFlow : public QObject
{
    Q_OBJECT
public:
    explicit LauncherUpdateFlow(const UserAsker &asker, QObject *parent = nullptr);
    ~LauncherUpdateFlow() override;

    // Whether the last check recorded a launcher newer than this one.
    static bool hasNewVersion();

    void check();
    // Starts the updater for info; a release whose signature does not hold is refused.
    void startUpdate(const AppVersionInfo &info);

signals:
    // The check recorded whether a newer launcher exists.
    void checked();
    // A compulsory update was declined.
    void quitWanted();
    void failed(const QString &headline, ErrorDefine::ErrorCode error, const QString &msg);
    void warned(const QString &title, const QString &text);

private:
    ApplicationInfo *m_appInfo = nullptr;
    UpdateProgram *m_updateProgram = nullptr;
};
