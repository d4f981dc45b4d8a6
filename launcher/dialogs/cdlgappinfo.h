#pragma once

#include "cdlgframelesswindow.h"

namespace Ui {
class CDlgAppInfo;
}

// The hidden about box: game version, launcher application id and launcher version.
class CDlgAppInfo : public CDlgFramelessWindow
{
    Q_OBJECT
public:
    explicit CDlgAppInfo(QWidget *parent = nullptr);
    ~CDlgAppInfo() override;

    void setInfo(const QString &gameVersion, const QString &appId, const QString &launcherVersion);

private slots:
    void on_pushButton_clicked();

private:
    Ui::CDlgAppInfo *m_ui;
};
