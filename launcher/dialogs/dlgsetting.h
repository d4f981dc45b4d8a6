#pragma once

#include "cdlgframelesswindow.h"

class QShowEvent;

class QAbstractButton;

namespace Ui {
class DlgSetting;
}

// The launcher's settings: auto-start and automatic launcher updates, what the close button
// does, and the launcher's version with a manual update check. Values are loaded on every
// show and stored only by OK.
class DlgSetting : public CDlgFramelessWindow
{
    Q_OBJECT
public:
    explicit DlgSetting(QWidget *parent = nullptr);
    ~DlgSetting() override;

signals:
    // The user asked for a launcher update check.
    void checkProgrameUpdate();
    // The game check-and-repair control: start, or stop the one that runs.
    void gameRepairRequested();
    void gameRepairCancelRequested();

public slots:
    // What the game check-and-repair shows while it runs and when it ends.
    void setGameRepairRunning(bool running);
    void setGameRepairStatus(const QString &text);

    void onTabSwitch(int nCurRow);
    void onBtnCancel();
    void onBtnOk();
    void onBtnMin();
    void onBtnClose();
    void onCheckUpdate();
    void onBtnGameRepairClicked();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void loadValues();
    void fitListToRows();
    void levelPagesWithRows();
    void cutToCard();

    void fitRepairButton();
    void fitChoices();

    Ui::DlgSetting *m_ui;
    QList<QAbstractButton *> m_choices;
    bool m_gameRepairRunning = false;
};
