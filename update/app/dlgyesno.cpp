#include "dlgyesno.h"

#include "textfit.h"
#include "ui_dlgyesno.h"

#include <QCoreApplication>

DlgYesNo::DlgYesNo(QWidget *parent)
    : DlgFramelessWindow(parent)
    , m_ui(new Ui::CDlgYesNo)
{
    m_ui->setupUi(this);
    setModal(true);
    m_ui->lblTitle->hide();
    m_ui->lblIcon->hide();
    m_ui->btnClose->hide();
    m_ui->textBrowser->setOpenLinks(false);
    m_ui->textBrowser->setOpenExternalLinks(false);
    m_ui->textBrowser->setContextMenuPolicy(Qt::NoContextMenu);
    m_ui->textBrowser->setEnabled(false);
    // Same context as the launcher's box, so both programs share one translation of these.
    m_ui->btnOk->setText(QCoreApplication::translate("CDlgYesNo", "button_confirm"));
    m_ui->btnCancel->setText(QCoreApplication::translate("CDlgYesNo", "button_cancle"));
    matchButtonWidths();
    addShadow(m_ui->frame);
}

void DlgYesNo::matchButtonWidths()
{
    // Side by side, the two answers read as a pair only when they are the same size: the
    // longer text decides, never less than the form's width and never more than half the
    // card, where a text shrinks and then elides.
    const QMargins outer = m_ui->layoutOuter->contentsMargins();
    const QMargins bottom = m_ui->layoutBottom->contentsMargins();
    const int half = (width() - outer.left() - outer.right() - bottom.left() - bottom.right() -
                      m_ui->layoutBottom->spacing()) /
                     2;
    QPushButton *const buttons[] = {m_ui->btnOk, m_ui->btnCancel};
    int needed = kButtonMinimumWidth;
    for (QPushButton *button : buttons) {
        button->setFixedWidth(half);
        TextFit::fitToWidth(button, TextFit::kDefaultFloorPixelSize);
        needed = qMax(needed, button->sizeHint().width());
    }
    for (QPushButton *button : buttons)
        button->setFixedWidth(qMin(needed, half));
    TextFit::fitTogether({m_ui->btnOk, m_ui->btnCancel}, TextFit::kDefaultFloorPixelSize);
}

DlgYesNo::~DlgYesNo()
{
    delete m_ui;
}

void DlgYesNo::setTitleAndText(const QString &title, const QString &text)
{
    m_text = text;
    m_ui->lblTitle->setText(title);
    setWindowTitle(title);
    // The text comes from the command line too: shown as plain text, never as markup.
    m_ui->textBrowser->setHtml(
        QStringLiteral("<div align=\"center\">%1</div>")
            .arg(text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br/>"))));
}

void DlgYesNo::setOkButtonText(const QString &text)
{
    m_ui->btnOk->setText(text);
    matchButtonWidths();
}

void DlgYesNo::setCancelButtonText(const QString &text)
{
    m_ui->btnCancel->setText(text);
    matchButtonWidths();
}

void DlgYesNo::setCancelButtonVisible(bool visible)
{
    m_ui->btnCancel->setVisible(visible);
}

bool DlgYesNo::showNotice(const QString &title, const QString &text, bool withCancel)
{
    DlgYesNo dlg;
    dlg.setTitleAndText(title, text);
    dlg.setCancelButtonVisible(withCancel);
    return dlg.exec() == QDialog::Accepted;
}

void DlgYesNo::on_btnOk_clicked()
{
    accept();
}

void DlgYesNo::on_btnCancel_clicked()
{
    reject();
}
