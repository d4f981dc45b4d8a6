#include "dlgsetting.h"

#include <QBitmap>
#include <QCheckBox>
#include <QRadioButton>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QListWidgetItem>
#include <QPixmap>
#include <QRegion>
#include <QShowEvent>
#include <QStyle>

#include "appenvironment.h"
#include "langtextwidget.h"
#include "launcherconfig.h"
#include "registryconfig.h"
#include "textfit.h"
#include "ui_dlgsetting.h"
#include "versioncompare.h"

namespace {
const QString kIsAutoUpdate = QStringLiteral("is_auto_update");
const QString kNewVersion = QStringLiteral("new_version");
const QString kExitType = QStringLiteral("exit_type");
const QString kIsFirstExit = QStringLiteral("is_first_exit");
const QString kIsUserUpdate = QStringLiteral("is_user_update");
const QString kShowAfterGame = QStringLiteral("show_after_game_exit");
const char kLabelState[] = "labelState";
// The frame's border image and its border width (the style sheet of the form's frame).
const QString kCardImage = QStringLiteral(":/pic/dlg_bg.png");
const int kCardBorder = 30;
const int kExitMinimize = 1;
const int kExitQuit = 2;
} // namespace

DlgSetting::DlgSetting(QWidget *parent)
    : CDlgFramelessWindow(parent)
    , m_ui(new Ui::DlgSetting)
{
    m_ui->setupUi(this);
    setWindowTitle(tr("title_set"));

    // The card is the frame's border image, so the shadow goes on the frame, not the window.
    auto *shadow = new QGraphicsDropShadowEffect(m_ui->frame);
    shadow->setOffset(0, 0);
    shadow->setColor(shadowColor());
    shadow->setBlurRadius(kShadowBlurRadius);
    m_ui->frame->setGraphicsEffect(shadow);

    m_ui->btnClose->hide();

    const QStringList rows = {tr("label_launch_set"), tr("label_close_set"),
                              tr("label_version_set")};
    for (const QString &text : rows) {
        auto *item = new QListWidgetItem(m_ui->listWidget);
        auto *widget = new LangTextWidget(text, m_ui->listWidget);
        item->setSizeHint(widget->size());
        m_ui->listWidget->setItemWidget(item, widget);
    }
    fitListToRows();
    levelPagesWithRows();

    connect(m_ui->btnCancel, &QPushButton::clicked, this, &DlgSetting::close);
    connect(m_ui->btnOk, &QPushButton::clicked, this, &DlgSetting::onBtnOk);
    connect(m_ui->btnClose, &QPushButton::clicked, this, &DlgSetting::close);
    connect(m_ui->listWidget, &QListWidget::currentRowChanged, this, &DlgSetting::onTabSwitch);
    connect(m_ui->btnCheckUpdate, &QPushButton::clicked, this, &DlgSetting::onCheckUpdate);
    connect(m_ui->btnGameRepair, &QPushButton::clicked, this, &DlgSetting::onBtnGameRepairClicked);
    m_ui->stackedWidget->setCurrentIndex(0);

    // The red dot sits on the check button's top-right corner whatever its translated width.
    m_ui->btnCheckUpdate->adjustSize();
    const QRect button = m_ui->btnCheckUpdate->geometry();
    m_ui->lblRedPoint->move(button.x() + button.width() - 5, button.y() - 5);
    m_ui->lblRedPoint->raise();
    // The version follows its caption whatever the caption's translated length.
    m_ui->label_3->adjustSize();
    m_ui->lblVersion->move(m_ui->label_3->geometry().right() + 1, m_ui->label_3->y());
    fitRepairButton();

    // Long translations must not widen the card, which would leave the page's centre: the
    // choices take the width the card gives them and their texts fit it.
    const QList<QAbstractButton *> choices = m_ui->stackedWidget->findChildren<QAbstractButton *>();
    for (QAbstractButton *choice : choices) {
        if (!qobject_cast<QCheckBox *>(choice) && !qobject_cast<QRadioButton *>(choice))
            continue;
        QSizePolicy policy = choice->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        choice->setSizePolicy(policy);
        m_choices << choice;
    }
    setFixedSize(size());

    loadValues();
    onTabSwitch(0);
}

void DlgSetting::fitChoices()
{
    if (layout())
        layout()->activate();
    QWidget *page = m_ui->stackedWidget->currentWidget();
    if (page && page->layout())
        page->layout()->activate();
    for (QAbstractButton *choice : qAsConst(m_choices)) {
        if (page && page->isAncestorOf(choice))
            TextFit::fitToWidth(choice, TextFit::kDefaultFloorPixelSize);
    }
    if (page && page->isAncestorOf(m_ui->lblUpdateTip))
        TextFit::balanceWrap(m_ui->lblUpdateTip);
}

DlgSetting::~DlgSetting()
{
    delete m_ui;
}

void DlgSetting::loadValues()
{
    LauncherConfig *config = LauncherConfig::instance();
    m_ui->checkBoxAutoRun->setChecked(RegistryConfig::instance()->isAutoStart());
    m_ui->checkBoxAutoUpdate->setChecked(config->readBool(kIsAutoUpdate, {}, false));
    const QString ownVersion = QString::fromLatin1(AppEnvironment::kLauncherVersion);
    m_ui->lblVersion->setText(ownVersion);
    const QString newVersion = config->readString(kNewVersion);
    m_ui->lblRedPoint->setVisible(!newVersion.isEmpty() &&
                                  compareVersion(ownVersion, newVersion) == 1);
    // Off unless chosen: the launcher stays in the tray while and after the game runs.
    m_ui->checkBoxShowAfterGame->setChecked(config->readBool(kShowAfterGame, {}, false));
    if (config->readInt(kExitType) == kExitQuit)
        m_ui->radioExit->setChecked(true);
    else
        m_ui->radioMin->setChecked(true);
}

void DlgSetting::showEvent(QShowEvent *)
{
    // Each opening starts from the stored values: what a cancelled visit changed is gone.
    loadValues();
    onTabSwitch(0);
    fitChoices();
    cutToCard();
}

void DlgSetting::hideEvent(QHideEvent *event)
{
    CDlgFramelessWindow::hideEvent(event);
    // A check is shown only here: closing the dialog stops it rather than leave it unseen.
    // (Minimising the launcher hides the dialog too, spontaneously; the check goes on.)
    if (m_gameRepairRunning && !event->spontaneous())
        emit gameRepairCancelRequested();
}

void DlgSetting::resizeEvent(QResizeEvent *event)
{
    CDlgFramelessWindow::resizeEvent(event);
    cutToCard();
}

// The list is as large as its rows: a list a few pixels short scrolls when a lower row is
// chosen, and the first row slides out of sight.
void DlgSetting::fitListToRows()
{
    QListWidget *list = m_ui->listWidget;
    // Each row takes the list's spacing on all four sides.
    int height = 2 * list->frameWidth();
    int width = 0;
    for (int row = 0; row < list->count(); ++row) {
        height += list->sizeHintForRow(row) + 2 * list->spacing();
        width = qMax(width, list->item(row)->sizeHint().width());
    }
    list->setMinimumHeight(height);
    // A fixed width: the pages beside it keep theirs whatever their texts ask for, so a
    // wrapped text balanced for one width is not shown at another.
    list->setFixedWidth(qBound(list->minimumWidth(),
                               width + 2 * list->spacing() + 2 * list->frameWidth(),
                               list->maximumWidth()));
}

// The first choice of each page sits level with the first row of the list beside it: both
// start the same distance below the title line, whatever size the fonts give them.
void DlgSetting::levelPagesWithRows()
{
    QListWidget *list = m_ui->listWidget;
    if (list->count() == 0)
        return;
    const int rowMiddle = list->frameWidth() + list->spacing() + list->sizeHintForRow(0) / 2;
    for (QWidget *page : {m_ui->pageStartSet, m_ui->CloseSet}) {
        QLayout *layout = page->layout();
        QWidget *first = layout && layout->count() > 0 ? layout->itemAt(0)->widget() : nullptr;
        if (!first)
            continue;
        // The page's style sheet sets the choice's font and indicator.
        first->ensurePolished();
        QMargins margins = layout->contentsMargins();
        margins.setTop(qMax(0, rowMiddle - first->sizeHint().height() / 2));
        layout->setContentsMargins(margins);
    }
}

// The card is the frame's border image, not a picture the base class paints and shapes, so
// the window is cut to the card here where the desktop cannot show the translucent margins.
void DlgSetting::cutToCard()
{
    if (shadowsCanShow()) {
        clearMask();
        return;
    }
    const QRect card = m_ui->frame->geometry();
    const QPixmap shape =
        nineSliceScaled(QPixmap(kCardImage), card.width(), card.height(), kCardBorder, kCardBorder);
    setMask(shape.isNull() || !shape.hasAlpha() ? QRegion(card)
                                                : QRegion(shape.mask()).translated(card.topLeft()));
}

void DlgSetting::onTabSwitch(int nCurRow)
{
    if (nCurRow < 0 || nCurRow >= m_ui->stackedWidget->count())
        return;
    if (m_ui->listWidget->currentRow() != nCurRow)
        m_ui->listWidget->setCurrentRow(nCurRow);
    m_ui->stackedWidget->setCurrentIndex(nCurRow);
    for (int row = 0; row < m_ui->listWidget->count(); ++row) {
        QListWidgetItem *item = m_ui->listWidget->item(row);
        QWidget *widget = m_ui->listWidget->itemWidget(item);
        if (!widget)
            continue;
        auto *label = widget->findChild<QLabel *>(QStringLiteral("label"));
        if (!label)
            continue;
        // The current row, not the item's selection flag: the list reports the new row
        // before it moves the selection, so the flag still names the previous row here.
        label->setProperty(kLabelState,
                           row == nCurRow ? QStringLiteral("select") : QStringLiteral("normal"));
        // Setting the same sheet again makes Qt evaluate the property selector anew.
        label->setStyleSheet(label->styleSheet());
    }
    // A page gets its widths only when it is shown.
    fitChoices();
}

void DlgSetting::onBtnCancel()
{
    close();
}

void DlgSetting::onBtnOk()
{
    LauncherConfig *config = LauncherConfig::instance();
    RegistryConfig::instance()->setAutoStart(m_ui->checkBoxAutoRun->isChecked());
    config->writeBool(kIsAutoUpdate, m_ui->checkBoxAutoUpdate->isChecked());
    config->writeBool(kShowAfterGame, m_ui->checkBoxShowAfterGame->isChecked());
    if (m_ui->radioMin->isChecked()) {
        config->writeInt(kExitType, kExitMinimize);
    } else {
        config->writeBool(kIsFirstExit, false);
        config->writeInt(kExitType, kExitQuit);
    }
    accept();
}

void DlgSetting::onBtnMin()
{
    showMinimized();
}

void DlgSetting::onBtnClose()
{
    close();
}

void DlgSetting::onCheckUpdate()
{
    LauncherConfig::instance()->writeBool(kIsUserUpdate, true);
    emit checkProgrameUpdate();
}

void DlgSetting::onBtnGameRepairClicked()
{
    if (m_gameRepairRunning)
        emit gameRepairCancelRequested();
    else
        emit gameRepairRequested();
}

void DlgSetting::setGameRepairRunning(bool running)
{
    m_gameRepairRunning = running;
    m_ui->btnGameRepair->setText(running ? tr("button_game_repair_stop")
                                         : tr("button_game_repair"));
    fitRepairButton();
}

void DlgSetting::setGameRepairStatus(const QString &text)
{
    m_ui->lblRepairStatus->setText(text);
    TextFit::balanceWrap(m_ui->lblRepairStatus);
}

// The button takes its translated text's width, like the update check above it.
void DlgSetting::fitRepairButton()
{
    m_ui->btnGameRepair->adjustSize();
}
