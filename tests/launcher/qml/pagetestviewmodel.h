#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWindow>

// Stands in for MainViewModel on the page: the same property and method names, every
// property settable, and a record of what the page called.
class PageTestViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString bgPath MEMBER m_bgPath NOTIFY bgPathChanged)
    Q_PROPERTY(bool downloading MEMBER m_downloading NOTIFY gameStateChanged)
    Q_PROPERTY(bool setupGameing MEMBER m_setupGameing NOTIFY gameStateChanged)
    Q_PROPERTY(
        bool hasNewProgramVersion MEMBER m_hasNewProgramVersion NOTIFY newProgramVersionUpdate)
    Q_PROPERTY(QString reportParam MEMBER m_reportParam NOTIFY reportParamChanged)
    Q_PROPERTY(QString mainBgUrl MEMBER m_mainBgUrl NOTIFY mainBgResChanged)
    Q_PROPERTY(bool installEnable MEMBER m_installEnable NOTIFY gameStateChanged)
    Q_PROPERTY(bool updateEnable MEMBER m_updateEnable NOTIFY gameStateChanged)
    Q_PROPERTY(bool startGameVisible MEMBER m_startGameVisible NOTIFY gameStateChanged)
    Q_PROPERTY(bool startGameEnable MEMBER m_startGameEnable NOTIFY gameStateChanged)
    // The real view model has invokables of the same names as these two properties; the
    // page must see the properties.
    Q_PROPERTY(bool isDownloadNotComplated READ isDownloadNotComplated WRITE setDownloadNotComplated
                   NOTIFY gameStateChanged)
    Q_PROPERTY(QString installPath MEMBER m_installPath NOTIFY installPathChanged)
    Q_PROPERTY(float progress MEMBER m_progress NOTIFY progressChanged)

public:
    explicit PageTestViewModel(QObject *parent = nullptr);

    // Sets the page flags the way the view model derives them from its game state.
    void setGameState(int state);
    void setDownloadNotComplated(bool value);
    void setHasNewProgramVersion(bool value);
    void setWindow(QWindow *window) { m_window = window; }

    QStringList calls;
    bool windowVisibleWhenGameStarted = true;
    QString promotionUrl;

    Q_INVOKABLE bool isDownloadNotComplated() const { return m_downloadNotComplated; }
    Q_INVOKABLE bool hasNewProgramVersion() const { return m_hasNewProgramVersion; }
    Q_INVOKABLE void onApplicationQuit() { calls << "onApplicationQuit"; }
    Q_INVOKABLE void UpdateInfoByHttp() { calls << "UpdateInfoByHttp"; }
    Q_INVOKABLE void btnExitClick() { calls << "btnExitClick"; }
    Q_INVOKABLE void btnSettingClick() { calls << "btnSettingClick"; }
    Q_INVOKABLE void appInfoAreaClick() { calls << "appInfoAreaClick"; }
    Q_INVOKABLE QString btnMoreActiveJumpUrl();
    Q_INVOKABLE void installEnsureBtnClicked() { calls << "installEnsureBtnClicked"; }
    Q_INVOKABLE void updateBtnClicked() { calls << "updateBtnClicked"; }
    Q_INVOKABLE void startGameBtnClicked();
    Q_INVOKABLE void changeInstallPathBtnClicked() { calls << "changeInstallPathBtnClicked"; }
    Q_INVOKABLE void pauseBtnClicked() { calls << "pauseBtnClicked"; }
    Q_INVOKABLE void singleReloadWeb() { calls << "singleReloadWeb"; }

signals:
    void gameStateChanged();
    void bgPathChanged(QString);
    void newProgramVersionUpdate();
    void reportParamChanged();
    void mainBgResChanged();
    void installPathChanged();
    void progressChanged();

private:
    QString m_bgPath = QStringLiteral("qrc:/pic/bg.png");
    bool m_downloading = false;
    bool m_setupGameing = false;
    bool m_hasNewProgramVersion = false;
    QString m_reportParam;
    QString m_mainBgUrl;
    bool m_installEnable = false;
    bool m_updateEnable = false;
    bool m_startGameVisible = true;
    bool m_startGameEnable = false;
    bool m_downloadNotComplated = false;
    QString m_installPath;
    float m_progress = 0.0f;
    QPointer<QWindow> m_window;
};
