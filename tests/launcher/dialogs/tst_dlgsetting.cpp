#include <QtTest>

#include <QBitmap>
#include <QDir>
#include <QTranslator>

#include <QCheckBox>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <memory>

#include "dlgsetting.h"
#include "launcherconfig.h"
#include "registryconfig.h"

namespace {

template<typename T>
T *part(QWidget *dialog, const char *name)
{
    T *child = dialog->findChild<T *>(QLatin1String(name));
    if (!child)
        qWarning() << "missing form part" << name;
    return child;
}

} // namespace

class TestDlgSetting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formKeepsItsSizeAndDrawsTheShadowOnTheFrame();
    void listSwitchesPagesAndMarksOnlyTheSelectedLabel();
    void everyRowStaysInSightWhicheverIsChosen_data();
    void everyRowStaysInSightWhicheverIsChosen();
    void withoutCompositorTheWindowIsCutToItsCard();
    void redDotSitsOnTheCheckButtonCorner();
    void redDotShowsOnlyForAStoredNewerVersion_data();
    void redDotShowsOnlyForAStoredNewerVersion();
    void showLoadsStoredValuesOnPageZero();
    void okWithMinimiseWritesExitTypeOneAndKeepsFirstExit();
    void okWithQuitWritesFirstExitFalseAndExitTypeTwo();
    void okWritesAutoUpdateAndAutoStart();
    void showAfterGameIsOffUntilChosen();
    void cancelWritesNothingAndReopeningShowsStoredValues();
    void checkUpdateEmitsEveryTimeAndMarksUserUpdate();
    void gameRepairButtonStartsStopsAndClosingStopsARunningCheck();

private:
    QString configFile() const { return m_dir->filePath(QStringLiteral("config.ini")); }
    QVariant stored(const QString &key) const
    {
        QSettings settings(configFile(), QSettings::IniFormat);
        return settings.value(key);
    }
    void store(const QString &key, const QVariant &value)
    {
        LauncherConfig::instance()->writeString(key, value.toString());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDlgSetting::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    LauncherConfig::setInstanceFilePath(configFile());
    RegistryConfig::instance()->setAutoStart(false);
}

void TestDlgSetting::cleanup()
{
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    m_dir.reset();
}

void TestDlgSetting::formKeepsItsSizeAndDrawsTheShadowOnTheFrame()
{
    DlgSetting dlg;
    // No shadow margins on the window: the form's own 10-pixel margins hold the shadow.
    QCOMPARE(dlg.size(), QSize(710, 444));
    QCOMPARE(dlg.shadowMargins(), QMargins());
    QVERIFY(dlg.graphicsEffect() == nullptr);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("title_set"));
    QVERIFY(dlg.windowFlags() & Qt::FramelessWindowHint);

    auto *frame = part<QFrame>(&dlg, "frame");
    QVERIFY(frame);
    auto *shadow = qobject_cast<QGraphicsDropShadowEffect *>(frame->graphicsEffect());
    QVERIFY(shadow);
    QCOMPARE(shadow->offset(), QPointF(0, 0));
    QCOMPARE(shadow->blurRadius(), 20.0);
    QCOMPARE(shadow->color(), QColor(0, 0, 0, 51));

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(!part<QPushButton>(&dlg, "btnClose")->isVisible());
    QCOMPARE(frame->geometry(), QRect(10, 10, 690, 424));
    QCOMPARE(part<QPushButton>(&dlg, "btnOk")->size(), QSize(190, 48));
    QCOMPARE(part<QPushButton>(&dlg, "btnCancel")->size(), QSize(190, 48));
    auto *list = part<QListWidget>(&dlg, "listWidget");
    QVERIFY(list->width() >= 180 && list->width() <= 200);
    // OK sits right of cancel, 34 pixels in from the card's right edge.
    QVERIFY(part<QPushButton>(&dlg, "btnOk")->x() > part<QPushButton>(&dlg, "btnCancel")->x());
}

void TestDlgSetting::everyRowStaysInSightWhicheverIsChosen_data()
{
    QTest::addColumn<QString>("file");
    const QDir folder(qEnvironmentVariable("LAUNCHER_BIN_DIR") + QStringLiteral("/language"));
    const QStringList files = folder.entryList({QStringLiteral("i18n_*.qm")}, QDir::Files);
    QCOMPARE(files.size(), 13);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << folder.filePath(file);
}

void TestDlgSetting::everyRowStaysInSightWhicheverIsChosen()
{
    QFETCH(QString, file);
    QTranslator translator;
    QVERIFY(translator.load(file));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *list = part<QListWidget>(&dlg, "listWidget");
    for (int target : {1, 2, 0, 2}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(target)).center());
        QCOMPARE(list->currentRow(), target);
        for (int row = 0; row < list->count(); ++row) {
            const QRect rect = list->visualItemRect(list->item(row));
            QVERIFY2(list->viewport()->rect().contains(rect),
                     qPrintable(QStringLiteral("row %1 at %2,%3 %4x%5 after choosing row %6 in a "
                                               "list %7 high")
                                    .arg(row)
                                    .arg(rect.x())
                                    .arg(rect.y())
                                    .arg(rect.width())
                                    .arg(rect.height())
                                    .arg(target)
                                    .arg(list->viewport()->height())));
        }
    }
    QCoreApplication::removeTranslator(&translator);
}

void TestDlgSetting::withoutCompositorTheWindowIsCutToItsCard()
{
    // Offscreen, like a bare X server, blends no translucent pixels: the 10-pixel margins
    // around the card would show black, so the window is cut to the card.
    QVERIFY(!CDlgFramelessWindow::shadowsCanShow());
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QRect card = part<QFrame>(&dlg, "frame")->geometry();
    QCOMPARE(card, QRect(10, 10, 690, 424));
    const QRegion shape = dlg.mask();
    QCOMPARE(shape.boundingRect(), card);
    // The card's rounded corners are cut off too; its inside and edges stay.
    QVERIFY(!shape.contains(card.topLeft()));
    QVERIFY(!shape.contains(card.bottomRight()));
    QVERIFY(shape.contains(card.center()));
    QVERIFY(shape.contains(QPoint(card.center().x(), card.top() + 2)));
    // The shape follows the card when the dialog changes size.
    dlg.resize(dlg.width() + 40, dlg.height());
    QTRY_COMPARE(dlg.mask().boundingRect(), part<QFrame>(&dlg, "frame")->geometry());
}

void TestDlgSetting::listSwitchesPagesAndMarksOnlyTheSelectedLabel()
{
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *list = part<QListWidget>(&dlg, "listWidget");
    auto *pages = part<QStackedWidget>(&dlg, "stackedWidget");
    QCOMPARE(list->count(), 3);
    const QStringList texts = {QStringLiteral("label_launch_set"),
                               QStringLiteral("label_close_set"),
                               QStringLiteral("label_version_set")};
    auto labelOf = [list](int row) {
        QWidget *w = list->itemWidget(list->item(row));
        return w ? w->findChild<QLabel *>(QStringLiteral("label")) : nullptr;
    };
    for (int row = 0; row < 3; ++row) {
        QVERIFY(labelOf(row));
        QCOMPARE(labelOf(row)->text(), texts.at(row));
        QCOMPARE(list->item(row)->sizeHint(), QSize(180, 49));
    }

    for (int target : {2, 1, 0}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(target)).center());
        QCOMPARE(list->currentRow(), target);
        QCOMPARE(pages->currentIndex(), target);
        for (int row = 0; row < 3; ++row)
            QCOMPARE(labelOf(row)->property("labelState").toString(),
                     row == target ? QStringLiteral("select") : QStringLiteral("normal"));
    }
    QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("pageStartSet"));
    QCOMPARE(pages->widget(1)->objectName(), QStringLiteral("CloseSet"));
    QCOMPARE(pages->widget(2)->objectName(), QStringLiteral("versionSet"));

    // Every opening starts on the first page.
    dlg.onTabSwitch(2);
    dlg.hide();
    dlg.show();
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(list->currentRow(), 0);
}

void TestDlgSetting::redDotSitsOnTheCheckButtonCorner()
{
    DlgSetting dlg;
    auto *button = part<QPushButton>(&dlg, "btnCheckUpdate");
    auto *dot = part<QLabel>(&dlg, "lblRedPoint");
    QCOMPARE(dot->size(), QSize(10, 10));
    QCOMPARE(button->pos(), QPoint(30, 21));
    QCOMPARE(button->size(), button->sizeHint());
    QCOMPARE(dot->pos(), QPoint(button->x() + button->width() - 5, button->y() - 5));
    // The version stands right of its caption, on the same line.
    auto *caption = part<QLabel>(&dlg, "label_3");
    auto *version = part<QLabel>(&dlg, "lblVersion");
    QCOMPARE(version->y(), caption->y());
    QVERIFY(version->x() > caption->geometry().right());
    QVERIFY(caption->width() >= caption->sizeHint().width());
}

void TestDlgSetting::redDotShowsOnlyForAStoredNewerVersion_data()
{
    QTest::addColumn<QString>("newVersion");
    QTest::addColumn<bool>("dot");
    QTest::newRow("newer") << "2.3.4.0" << true;
    QTest::newRow("newer by number, not by text") << "2.10.0.0" << true;
    QTest::newRow("same") << "2.3.3.0" << false;
    QTest::newRow("older") << "2.3.2.9" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("not a number") << "2.x" << false;
}

void TestDlgSetting::redDotShowsOnlyForAStoredNewerVersion()
{
    QFETCH(QString, newVersion);
    QFETCH(bool, dot);
    store(QStringLiteral("new_version"), newVersion);
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.onTabSwitch(2);
    QCOMPARE(part<QLabel>(&dlg, "lblRedPoint")->isVisible(), dot);
    QCOMPARE(part<QLabel>(&dlg, "lblVersion")->text(), QStringLiteral("2.3.3.0"));
}

void TestDlgSetting::showLoadsStoredValuesOnPageZero()
{
    DlgSetting dlg;
    QVERIFY(part<QRadioButton>(&dlg, "radioMin")->isChecked());
    QVERIFY(!part<QCheckBox>(&dlg, "checkBoxAutoUpdate")->isChecked());
    QVERIFY(!part<QCheckBox>(&dlg, "checkBoxAutoRun")->isChecked());

    // Values stored while the dialog already exists show at the next opening.
    LauncherConfig::instance()->writeBool(QStringLiteral("is_auto_update"), true);
    LauncherConfig::instance()->writeInt(QStringLiteral("exit_type"), 2);
    RegistryConfig::instance()->setAutoStart(true);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(part<QCheckBox>(&dlg, "checkBoxAutoUpdate")->isChecked());
    QVERIFY(part<QCheckBox>(&dlg, "checkBoxAutoRun")->isChecked());
    QVERIFY(part<QRadioButton>(&dlg, "radioExit")->isChecked());
    QVERIFY(!part<QRadioButton>(&dlg, "radioMin")->isChecked());
    QCOMPARE(part<QStackedWidget>(&dlg, "stackedWidget")->currentIndex(), 0);
}

void TestDlgSetting::okWithMinimiseWritesExitTypeOneAndKeepsFirstExit()
{
    LauncherConfig::instance()->writeBool(QStringLiteral("is_first_exit"), true);
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(!stored(QStringLiteral("exit_type")).isValid());
    QTest::mouseClick(part<QPushButton>(&dlg, "btnOk"), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(stored(QStringLiteral("exit_type")).toInt(), 1);
    QCOMPARE(stored(QStringLiteral("is_first_exit")).toBool(), true);
}

void TestDlgSetting::okWithQuitWritesFirstExitFalseAndExitTypeTwo()
{
    LauncherConfig::instance()->writeBool(QStringLiteral("is_first_exit"), true);
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.onTabSwitch(1);
    auto *quit = part<QRadioButton>(&dlg, "radioExit");
    QTest::mouseClick(quit, Qt::LeftButton, {}, QPoint(12, quit->height() / 2));
    QVERIFY(quit->isChecked());
    QVERIFY(!part<QRadioButton>(&dlg, "radioMin")->isChecked());
    QTest::mouseClick(part<QPushButton>(&dlg, "btnOk"), Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("exit_type")).toInt(), 2);
    QCOMPARE(stored(QStringLiteral("is_first_exit")).toBool(), false);
    QVERIFY(stored(QStringLiteral("is_first_exit")).isValid());
}

void TestDlgSetting::showAfterGameIsOffUntilChosen()
{
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.onTabSwitch(1);
    auto *box = part<QCheckBox>(&dlg, "checkBoxShowAfterGame");
    QVERIFY(box->isVisible());
    QVERIFY(!box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(12, box->height() / 2));
    QTest::mouseClick(part<QPushButton>(&dlg, "btnOk"), Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("show_after_game_exit")).toBool(), true);
    dlg.show();
    QVERIFY(box->isChecked());
}

void TestDlgSetting::okWritesAutoUpdateAndAutoStart()
{
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *autoRun = part<QCheckBox>(&dlg, "checkBoxAutoRun");
    auto *autoUpdate = part<QCheckBox>(&dlg, "checkBoxAutoUpdate");
    QTest::mouseClick(autoRun, Qt::LeftButton, {}, QPoint(12, autoRun->height() / 2));
    QTest::mouseClick(autoUpdate, Qt::LeftButton, {}, QPoint(12, autoUpdate->height() / 2));
    QVERIFY(autoRun->isChecked() && autoUpdate->isChecked());
    QVERIFY(!RegistryConfig::instance()->isAutoStart());
    QTest::mouseClick(part<QPushButton>(&dlg, "btnOk"), Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("is_auto_update")).toBool(), true);
    QVERIFY(RegistryConfig::instance()->isAutoStart());

    // And off again.
    dlg.show();
    QVERIFY(autoRun->isChecked() && autoUpdate->isChecked());
    autoRun->setChecked(false);
    autoUpdate->setChecked(false);
    QTest::mouseClick(part<QPushButton>(&dlg, "btnOk"), Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("is_auto_update")).toBool(), false);
    QVERIFY(!RegistryConfig::instance()->isAutoStart());
}

void TestDlgSetting::cancelWritesNothingAndReopeningShowsStoredValues()
{
    LauncherConfig::instance()->writeInt(QStringLiteral("exit_type"), 2);
    DlgSetting dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QFile file(configFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    auto *autoUpdate = part<QCheckBox>(&dlg, "checkBoxAutoUpdate");
    auto *autoRun = part<QCheckBox>(&dlg, "checkBoxAutoRun");
    autoUpdate->setChecked(true);
    autoRun->setChecked(true);
    part<QRadioButton>(&dlg, "radioMin")->setChecked(true);
    QTest::mouseClick(part<QPushButton>(&dlg, "btnCancel"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    file.close();
    QVERIFY(!RegistryConfig::instance()->isAutoStart());

    dlg.show();
    QVERIFY(!autoUpdate->isChecked());
    QVERIFY(!autoRun->isChecked());
    QVERIFY(part<QRadioButton>(&dlg, "radioExit")->isChecked());
}

void TestDlgSetting::checkUpdateEmitsEveryTimeAndMarksUserUpdate()
{
    DlgSetting dlg;
    QSignalSpy spy(&dlg, &DlgSetting::checkProgrameUpdate);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.onTabSwitch(2);
    auto *button = part<QPushButton>(&dlg, "btnCheckUpdate");
    QVERIFY(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(stored(QStringLiteral("is_user_update")).toBool(), true);
    LauncherConfig::instance()->writeBool(QStringLiteral("is_user_update"), false);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(stored(QStringLiteral("is_user_update")).toBool(), true);
    // The check leaves the dialog open and stores no other choice.
    QVERIFY(dlg.isVisible());
    QVERIFY(!stored(QStringLiteral("exit_type")).isValid());
    QVERIFY(!stored(QStringLiteral("is_auto_update")).isValid());
}

void TestDlgSetting::gameRepairButtonStartsStopsAndClosingStopsARunningCheck()
{
    DlgSetting dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.onTabSwitch(2);
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("btnGameRepair"));
    auto *status = dialog.findChild<QLabel *>(QStringLiteral("lblRepairStatus"));
    QVERIFY(button && status && button->isVisible());
    QSignalSpy requested(&dialog, &DlgSetting::gameRepairRequested);
    QSignalSpy cancelled(&dialog, &DlgSetting::gameRepairCancelRequested);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(requested.size(), 1);
    dialog.setGameRepairRunning(true);
    dialog.setGameRepairStatus(QStringLiteral("Checking files: 3/10"));
    QCOMPARE(status->text(), QStringLiteral("Checking files: 3/10"));
    QVERIFY(button->text() != QStringLiteral("button_game_repair"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(requested.size(), 1);
    QCOMPARE(cancelled.size(), 1);
    // Nobody would see a check that goes on behind a closed dialog.
    dialog.close();
    QCOMPARE(cancelled.size(), 2);
    dialog.setGameRepairRunning(false);
    dialog.show();
    dialog.close();
    QCOMPARE(cancelled.size(), 2);
}

QTEST_MAIN(TestDlgSetting)
#include "tst_dlgsetting.moc"
