#include "dlgprogress.h"

#include "ui_dlgprogress.h"

DlgProgress::DlgProgress(QWidget *parent)
    : DlgFramelessWindow(parent)
    , m_ui(new Ui::DlgProgress)
{
    m_ui->setupUi(this);
    addShadow(m_ui->fram);
    retranslate();
    m_ui->wgtMsg->hide();
    connect(m_ui->btnMin, &QPushButton::clicked, this, &DlgProgress::showMinimized);
    connect(m_ui->btnClose, &QPushButton::clicked, this, &DlgProgress::closeProgressDlg);
    connect(m_ui->btnOk, &QPushButton::clicked, this, &DlgProgress::btnOnClicked);
}

DlgProgress::~DlgProgress()
{
    delete m_ui;
}

void DlgProgress::retranslate()
{
    m_ui->retranslateUi(this);
    m_ui->btnMin->setToolTip(tr("message_minimizing_continue_update_launcher"));
}

void DlgProgress::showProgressPage(const QString &text, const QString &picture)
{
    m_ui->stackedWidget->setCurrentWidget(m_ui->pageProgress);
    m_ui->lblProgressTip->setText(text);
    m_ui->wgtMsg->hide();
    setBackground(picture);
}

void DlgProgress::showResultPage(const QString &title, const QString &message,
                                 const QString &buttonText, const QString &picture)
{
    m_ui->stackedWidget->setCurrentWidget(m_ui->pageButton);
    m_ui->lblMsgTitle->setText(title);
    // Error messages can carry paths and server texts: never interpret them as markup.
    m_ui->lblMsgText->setTextFormat(Qt::PlainText);
    m_ui->lblMsgText->setText(message);
    m_ui->btnOk->setText(buttonText);
    m_ui->wgtMsg->show();
    setBackground(picture);
    showNormal();
}

void DlgProgress::setProgressText(const QString &text)
{
    m_ui->lblProgressTip->setText(text);
}

void DlgProgress::setProgressValue(int value)
{
    m_ui->progressBar->setValue(value);
    m_ui->progressBar->repaint();
}

void DlgProgress::setCloseEnabled(bool enabled)
{
    m_ui->btnClose->setEnabled(enabled);
}

void DlgProgress::setBackground(const QString &path)
{
    if (path.isEmpty())
        return;
    m_background = path;
    m_ui->wgtTop->setStyleSheet(QStringLiteral("#wgtTop{border-image: url(%1);}").arg(path));
    m_ui->wgtTop->repaint();
}

void DlgProgress::reject()
{
    if (m_ui->btnClose->isEnabled())
        emit closeProgressDlg();
}
