#pragma once

#include "cdlgframelesswindow.h"

class QShowEvent;

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

public slots:
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

private:
    void loadValues();
    void fitListToRows();
    void cutToCard();

    Ui::DlgSetting *m_ui;
};
