#include "cdlgclosetip.h"

#include <QButtonGroup>

#include "launcherconfig.h"
#include "ui_cdlgclosetip.h"

namespace {
const int kExitMinimize = 1;
const int kExitQuit = 2;
} // namespace

CDlgCloseTip::CDlgCloseTip(QWidget *parent)
    : CDlgFramelessWindow(parent)
    , m_ui(new Ui::CDlgCloseTip)
{
    m_ui->setupUi(this);
    setBackgroundImage(QStringLiteral(":/pic/dlg_bg.png"));
    setShadowMargins(10, 10, 10, 10);

    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    m_group->addButton(m_ui->radio_min);
    m_group->addButton(m_ui->radio_exit);
    m_ui->radio_min->setChecked(true);
    if (LauncherConfig::instance()->readInt(QStringLiteral("exit_type")) == kExitQuit)
        m_ui->radio_exit->setChecked(true);
}

CDlgCloseTip::~CDlgCloseTip()
{
    delete m_ui;
}

int CDlgCloseTip::exitChoice() const
{
    return m_ui->radio_min->isChecked() ? kExitMinimize : kExitQuit;
}

void CDlgCloseTip::on_btn_ok_clicked()
{
    accept();
}

// The form has no cancel button; the slot stays for a form that brings one back.
void CDlgCloseTip::on_btn_cancel_clicked()
{
    close();
}
