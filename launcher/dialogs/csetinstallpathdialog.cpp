#include "csetinstallpathdialog.h"

#include <QBitmap>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QRegExp>
#include <QStorageInfo>
#include <QStyle>
#include <QStyleOptionFrame>

#include "appenvironment.h"
#include "cdlgframelesswindow.h"
#include "cdlgyesno.h"
#include "diskspace.h"
#include "launcherconfig.h"
#include "textfit.h"
#include "sizetext.h"
#include "ui_csetinstallpathdialog.h"

namespace {
const QString kGameFolderName = QStringLiteral("Orvyndale Game");
constexpr double kBytesPerGigabyte = 1024.0 * 1024.0 * 1024.0;

// A read-only line edit scrolls a long path to its end and cuts its start without a sign. Paints
// the frame and the path with its middle elided instead, so the drive and the game folder both
// show; the whole path stays the edit's text and appears in the tip. False when it fits.
bool paintElidedPath(QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->contentsRect();
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    // The same margins QLineEdit leaves around its text (2 px on each side inside the frame).
    const QRect text = edit->style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                           .marginsRemoved(edit->textMargins())
                           .adjusted(2, 0, -2, 0);
    const QFontMetrics metrics = edit->fontMetrics();
    if (metrics.horizontalAdvance(edit->text()) <= text.width())
        return false;
    QPainter painter(edit);
    edit->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, edit);
    painter.setPen(edit->palette().color(QPalette::Text));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(edit->text(), Qt::ElideMiddle, text.width()));
    return true;
}

bool holdsEntries(const QString &folder)
{
    const QDir dir(folder);
    return dir.exists() &&
           !dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                .isEmpty();
}
} // namespace

CSetInstallPathDialog::CSetInstallPathDialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::CSetInstallPathDialog)
{
    m_ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icon/launcher.ico")));
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    if (m_background.load(QStringLiteral(":/pic/setdlg.png"))) {
        resize(m_background.size());
        // Where the desktop cannot blend translucent pixels, the picture's soft shadow would
        // show as a black frame: the window is then cut to the picture's opaque part.
        setMask(CDlgFramelessWindow::shadowsCanShow()
                    ? m_background.mask()
                    : QBitmap::fromImage(
                          m_background.toImage().createAlphaMask(Qt::ThresholdAlphaDither)));
    }

    m_needSpace = 0;
    m_ui->edt_path->installEventFilter(this);
    m_ui->lbl_wholePathTip->hide();
    m_ui->lbl_wholePathTip->raise();
    m_ui->lbl_tip->hide();
    m_ui->lbl_selDirTip->show();
    // Paths are shown as they are, never as markup.
    m_ui->lbl_needSpace->setTextFormat(Qt::PlainText);
    m_ui->lbl_freeSpace->setTextFormat(Qt::PlainText);
    m_ui->lblDefaultLang->setText(AppEnvironment::isMainland() ? QStringLiteral("简体中文")
                                                               : QStringLiteral("English"));

    connect(m_ui->edt_path, &QLineEdit::textChanged, this,
            &CSetInstallPathDialog::onEdtPathTextChanged);

    // The controls sit at fixed places on the picture; a long translation shrinks to fit.
    for (QWidget *fixed : std::initializer_list<QWidget *>{
             m_ui->lbl_title, m_ui->lbl_selDirTip, m_ui->label_8, m_ui->btn_chgPath, m_ui->btn_ok})
        TextFit::fitToWidth(fixed, TextFit::kDefaultFloorPixelSize);
}

CSetInstallPathDialog::~CSetInstallPathDialog()
{
    delete m_ui;
}

void CSetInstallPathDialog::setPathText(const QString &path)
{
    m_ui->edt_path->setText(path);
}

void CSetInstallPathDialog::setNeedSpace(qint64 bytes)
{
    m_needSpace = bytes;
}

platform::InstallPathProblem CSetInstallPathDialog::checkPath(const QString &path)
{
    return platform::checkInstallPath(path.toStdString());
}

QString CSetInstallPathDialog::installFolderFor(const QString &picked)
{
    QString folder = picked;
    const QString last = picked.split(QRegExp(QStringLiteral("[\\\\/]"))).last();
    if (last.compare(kGameFolderName, Qt::CaseInsensitive) != 0)
        folder = QStringLiteral("%1/%2").arg(picked, kGameFolderName);
    return folder.replace(QStringLiteral("//"), QStringLiteral("/"));
}

QString CSetInstallPathDialog::gigabytes(qint64 bytes)
{
    return QString::number(static_cast<double>(bytes) / kBytesPerGigabyte, 'f', 1);
}

void CSetInstallPathDialog::showTip(const QString &text)
{
    m_ui->lbl_tip->setText(text);
    m_ui->lbl_tip->adjustSize();
    m_ui->lbl_tip->show();
    m_ui->lbl_selDirTip->hide();
    m_ui->btn_ok->setEnabled(false);
}

void CSetInstallPathDialog::onEdtPathTextChanged(QString strText)
{
    m_ui->lbl_wholePathTip->setPlainText(strText);
    m_ui->btn_ok->setEnabled(true);
    m_ui->lbl_tip->hide();
    m_ui->lbl_selDirTip->show();

    m_ui->lbl_needSpace->setText(SizeText::bytes(m_needSpace));
    const platform::InstallPathProblem problem = checkPath(strText);
    if (problem != platform::InstallPathProblem::None) {
        qDebug() << "install path refused:" << strText << "problem" << static_cast<int>(problem);
        // No free space to offer there; the previous folder's figure would mislead.
        m_ui->lbl_freeSpace->setText(SizeText::bytes(0));
        showTip(tr("messsage_path_invalid"));
        return;
    }

    const qint64 freeBytes = platform::availableBytes(QFile::encodeName(strText).toStdString());
    qDebug() << "diskSpaceTips : " << freeBytes << "name :" << QStorageInfo(strText).rootPath();
    if (freeBytes == -1) {
        m_ui->lbl_freeSpace->setText(SizeText::bytes(0));
        showTip(tr("messsage_path_invalid"));
        return;
    }
    m_ui->lbl_freeSpace->setText(SizeText::bytes(freeBytes));
    if (freeBytes < m_needSpace)
        showTip(tr("message_floder_not_enough_space"));
}

void CSetInstallPathDialog::on_btn_chgPath_clicked()
{
    for (;;) {
        const QString picked =
            QFileDialog::getExistingDirectory(this, tr("label_select_install_path"),
                                              m_ui->edt_path->text(), QFileDialog::ShowDirsOnly);
        if (picked.isEmpty())
            return;
        const QString folder = installFolderFor(picked);
        if (holdsEntries(folder)) {
            CDlgYesNo box;
            box.setConfirmText(tr("button_continue"));
            box.setCancelText(tr("button_select_again"));
            box.setMessage(tr("title_tip"), tr("message_suggest_select_empty_folder"));
            // The box has no parent to centre it, and it would open in the screen's corner.
            box.move(frameGeometry().center() - box.rect().center());
            if (box.exec() != QDialog::Accepted)
                continue;
        }
        m_ui->edt_path->setText(folder);
        return;
    }
}

void CSetInstallPathDialog::on_btn_ok_clicked()
{
    const QString path = m_ui->edt_path->text();
    // The folder or the disk may have changed since the path was chosen: check again, so a
    // folder that became unusable is refused here instead of failing the installation.
    onEdtPathTextChanged(path);
    if (!m_ui->btn_ok->isEnabled())
        return;
    LauncherConfig::instance()->setInstallPath(path);
    emit updateInstallPath(path.trimmed());
    emit startInstallClicked();
    // Accepting hides the dialog for its next use and lets exec() tell a confirmation apart.
    accept();
}

void CSetInstallPathDialog::on_btn_close_clicked()
{
    close();
}

bool CSetInstallPathDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->edt_path) {
        switch (event->type()) {
        case QEvent::ToolTip:
            m_ui->lbl_wholePathTip->show();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::Leave:
            m_ui->lbl_wholePathTip->hide();
            break;
        case QEvent::Paint:
            if (paintElidedPath(m_ui->edt_path))
                return true;
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CSetInstallPathDialog::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    setFocus(Qt::OtherFocusReason);
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
    }
}

void CSetInstallPathDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPos() - m_dragOffset);
        event->accept();
    }
}

void CSetInstallPathDialog::mouseReleaseEvent(QMouseEvent *)
{
    m_pressed = false;
}

void CSetInstallPathDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}
