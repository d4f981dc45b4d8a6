#include "cdlgappinfo.h"

#include "ui_cdlgappinfo.h"

CDlgAppInfo::CDlgAppInfo(QWidget *parent)
    : CDlgFramelessWindow(parent)
    , m_ui(new Ui::CDlgAppInfo)
{
    m_ui->setupUi(this);
    setBackgroundImage(QStringLiteral(":/pic/dlg_bg.png"));
    setShadowMargins(10, 10, 10, 10);
    // The game version comes from the server: show it as it is, never as markup.
    for (QLabel *value : {m_ui->lbl_gameInfo, m_ui->lbl_appInfo, m_ui->lbl_launchVer})
        value->setTextFormat(Qt::PlainText);
}

CDlgAppInfo::~CDlgAppInfo()
{
    delete m_ui;
}

void CDlgAppInfo::setInfo(const QString &gameVersion, const QString &appId,
                          const QString &launcherVersion)
{
    m_ui->lbl_gameInfo->setText(gameVersion);
    m_ui->lbl_appInfo->setText(appId);
    m_ui->lbl_launchVer->setText(launcherVersion);
}

void CDlgAppInfo::on_pushButton_clicked()
{
    close();
}
