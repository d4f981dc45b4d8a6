#include "dlgprogress.h"

#include <QLayout>

#include "textfit.h"
#include "ui_dlgprogress.h"

namespace {
// How far the one-line texts of the window may shrink before they are elided.
const int kTitleFloorPixelSize = 20;
const int kButtonFloorPixelSize = 14;
} // namespace

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
    fitTexts();
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
    fitTexts();
    setBackground(picture);
    showNormal();
}

void DlgProgress::setProgressText(const QString &text)
{
    m_ui->lblProgressTip->setText(text);
    TextFit::fitToWidth(m_ui->lblProgressTip, TextFit::kDefaultFloorPixelSize);
}

// Translations differ in length: the one-line texts shrink, then elide, where a long one would
// run off the window.
void DlgProgress::fitTexts()
{
    layout()->activate();
    TextFit::fitToWidth(m_ui->lblProgressTip, TextFit::kDefaultFloorPixelSize);
    if (m_ui->wgtMsg->isVisibleTo(this)) {
        TextFit::fitToWidth(m_ui->lblMsgTitle, kTitleFloorPixelSize);
        TextFit::balanceWrap(m_ui->lblMsgText);
    }
    if (m_ui->stackedWidget->currentWidget() == m_ui->pageButton)
        TextFit::fitToWidth(m_ui->btnOk, kButtonFloorPixelSize);
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
