#include "cdlgyesno.h"

#include <QDebug>
#include <QHideEvent>
#include <QShowEvent>

#include "ui_cdlgyesno.h"

namespace {
int g_openCount = 0;
} // namespace

CDlgYesNo::CDlgYesNo(QWidget *parent)
    : CDlgFramelessWindow(parent)
    , m_ui(new Ui::CDlgYesNo)
{
    m_ui->setupUi(this);
    setWindowTitle(tr("title_tip"));
    m_ui->lbl_ico->hide();
    m_ui->lbl_title->hide();
    m_ui->btn_close->hide();
    setBackgroundImage(QStringLiteral(":/pic/dlg_bg.png"));
    setShadowMargins(10, 10, 10, 10);
}

CDlgYesNo::~CDlgYesNo()
{
    // A box destroyed while on screen must not keep the page dimmed.
    if (m_counted)
        --g_openCount;
    delete m_ui;
}

void CDlgYesNo::setMessage(const QString &title, const QString &text)
{
    m_ui->lbl_title->setText(title);
    m_ui->textBrowser->setHtml(QStringLiteral("<div align=\"center\">%1</div>").arg(text));
}

void CDlgYesNo::setConfirmText(const QString &text)
{
    m_ui->btn_ok->setText(text);
}

void CDlgYesNo::setCancelText(const QString &text)
{
    m_ui->btn_cancel->setText(text);
}

void CDlgYesNo::showCloseButton(bool show)
{
    m_ui->btn_close->setVisible(show);
}

void CDlgYesNo::hideCancelButton(bool hide)
{
    m_ui->btn_cancel->setVisible(!hide);
}

int CDlgYesNo::ask(const QString &title, const QString &text, bool withCancel, QWidget *parent,
                   const QRect &area)
{
    CDlgYesNo box(parent);
    box.hideCancelButton(!withCancel);
    box.resize(460, 300);
    box.setMessage(title, text);
    box.showCloseButton(false);
    box.placeOver(area);
    return box.exec();
}

void CDlgYesNo::placeOver(const QRect &area)
{
    m_area = area;
    if (area.isEmpty())
        return;
    // 500, not the box's 460: the box sits as the main window's boxes always have.
    move(area.x() + (area.width() - 500) / 2, area.y() + (area.height() - height()) / 2);
}

int CDlgYesNo::openCount()
{
    qDebug() << "CDlgYesNo openCount:" << g_openCount;
    return g_openCount;
}

// The buttons only end the dialog: the count follows showing and hiding, so a box closed
// with Escape or by the window manager is uncounted as well.
void CDlgYesNo::on_btn_ok_clicked()
{
    accept();
}

void CDlgYesNo::on_btn_cancel_clicked()
{
    close();
}

void CDlgYesNo::on_btn_close_clicked()
{
    close();
}

void CDlgYesNo::showEvent(QShowEvent *)
{
    // QDialog::showEvent is left out on purpose: it would centre the box over its parent
    // and undo the placement over the main page.
    if (!m_counted) {
        m_counted = true;
        ++g_openCount;
    }
    // The text has its lines now and the box grows to hold them before it is mapped:
    // centred at that height, not the one it was asked for.
    if (!m_area.isEmpty()) {
        if (layout())
            layout()->activate();
        placeOver(m_area);
    }
}

void CDlgYesNo::hideEvent(QHideEvent *event)
{
    // A minimised box is still open.
    if (m_counted && !event->spontaneous()) {
        m_counted = false;
        --g_openCount;
    }
    CDlgFramelessWindow::hideEvent(event);
}
