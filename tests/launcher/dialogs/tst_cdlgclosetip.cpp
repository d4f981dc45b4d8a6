#include <QtTest>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

#include "cdlgappinfo.h"
#include "cdlgclosetip.h"
#include "launcherconfig.h"

namespace {

template<typename T>
T *part(QWidget *dialog, const char *name)
{
    T *child = dialog->findChild<T *>(QLatin1String(name));
    if (!child)
        qWarning() << "missing form part" << name;
    return child;
}

void clickRadio(QRadioButton *radio)
{
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(12, radio->height() / 2));
}

} // namespace

// The close-choice dialog and the about box: the two small dialogs on the frameless card.
class TestCloseTipAndAppInfo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void closeTipGrowsByTheShadowMargins();
    void closeTipPreselectsStoredExitType_data();
    void closeTipPreselectsStoredExitType();
    void closeTipReturnsTheChoiceAfterOk();
    void closeTipRunsModallyAndAcceptsOnOk();
    void appInfoGrowsByTheShadowMargins();
    void appInfoShowsExactlyTheGivenStrings();
    void appInfoButtonCloses();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCloseTipAndAppInfo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    LauncherConfig::setInstanceFilePath(m_dir->filePath(QStringLiteral("config.ini")));
}

void TestCloseTipAndAppInfo::cleanup()
{
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    m_dir.reset();
}

void TestCloseTipAndAppInfo::closeTipGrowsByTheShadowMargins()
{
    CDlgCloseTip dlg;
    QCOMPARE(dlg.size(), QSize(495, 319));
    QCOMPARE(dlg.shadowMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(dlg.shadowOffset(), QPoint(0, 0));
    QVERIFY(!dlg.backgroundImage().isNull());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.size(), QSize(495, 319));
    auto *ok = part<QPushButton>(&dlg, "btn_ok");
    QVERIFY(ok->width() <= 392);
    QCOMPARE(ok->height(), 48);
    QCOMPARE(part<QLabel>(&dlg, "lbl_title")->text(), QStringLiteral("label_close_select_tip"));
    QCOMPARE(part<QRadioButton>(&dlg, "radio_exit")->text(), QStringLiteral("button_close_quit"));
}

void TestCloseTipAndAppInfo::closeTipPreselectsStoredExitType_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("choice");
    QTest::newRow("never stored") << QString() << 1;
    QTest::newRow("0") << "0" << 1;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("2") << "2" << 2;
    QTest::newRow("unknown 3") << "3" << 1;
    QTest::newRow("not a number") << "quit" << 1;
}

void TestCloseTipAndAppInfo::closeTipPreselectsStoredExitType()
{
    QFETCH(QString, stored);
    QFETCH(int, choice);
    if (!stored.isNull())
        LauncherConfig::instance()->writeString(QStringLiteral("exit_type"), stored);
    CDlgCloseTip dlg;
    QCOMPARE(dlg.exitChoice(), choice);
    QCOMPARE(part<QRadioButton>(&dlg, "radio_min")->isChecked(), choice == 1);
    QCOMPARE(part<QRadioButton>(&dlg, "radio_exit")->isChecked(), choice == 2);
}

void TestCloseTipAndAppInfo::closeTipReturnsTheChoiceAfterOk()
{
    CDlgCloseTip dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *min = part<QRadioButton>(&dlg, "radio_min");
    auto *quit = part<QRadioButton>(&dlg, "radio_exit");
    clickRadio(quit);
    QVERIFY(quit->isChecked());
    QVERIFY(!min->isChecked());
    QCOMPARE(dlg.exitChoice(), 2);
    clickRadio(min);
    QVERIFY(!quit->isChecked());
    QCOMPARE(dlg.exitChoice(), 1);
    // Clicking the checked option again keeps one option chosen.
    clickRadio(min);
    QVERIFY(min->isChecked());
    // Choosing does not store anything: the owner stores the answer.
    QVERIFY(LauncherConfig::instance()->readString(QStringLiteral("exit_type")).isEmpty());
}

void TestCloseTipAndAppInfo::closeTipRunsModallyAndAcceptsOnOk()
{
    CDlgCloseTip dlg;
    QTimer::singleShot(0, &dlg, [&dlg] {
        clickRadio(part<QRadioButton>(&dlg, "radio_exit"));
        QTest::mouseClick(part<QPushButton>(&dlg, "btn_ok"), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QCOMPARE(dlg.exitChoice(), 2);

    // Escape (or the window manager) closes without accepting.
    QTimer::singleShot(0, &dlg, [&dlg] { QTest::keyClick(&dlg, Qt::Key_Escape); });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
}

void TestCloseTipAndAppInfo::appInfoGrowsByTheShadowMargins()
{
    CDlgAppInfo dlg;
    QCOMPARE(dlg.size(), QSize(480, 328));
    QCOMPARE(dlg.shadowMargins(), QMargins(10, 10, 10, 10));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.size(), QSize(480, 328));
    QCOMPARE(part<QPushButton>(&dlg, "pushButton")->size(), QSize(262, 48));
    QCOMPARE(part<QLabel>(&dlg, "lbl_title")->text(), QStringLiteral("title_app_info"));
}

void TestCloseTipAndAppInfo::appInfoShowsExactlyTheGivenStrings()
{
    CDlgAppInfo dlg;
    // A game version from the server is shown as it came, markup included.
    dlg.setInfo(QStringLiteral("1.0.<b>7</b>"), QStringLiteral("OS_18"), QStringLiteral("2.3.3.0"));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QStringList names = {QStringLiteral("lbl_gameInfo"), QStringLiteral("lbl_appInfo"),
                               QStringLiteral("lbl_launchVer")};
    const QStringList values = {QStringLiteral("1.0.<b>7</b>"), QStringLiteral("OS_18"),
                                QStringLiteral("2.3.3.0")};
    for (int i = 0; i < names.size(); ++i) {
        auto *label = dlg.findChild<QLabel *>(names.at(i));
        QVERIFY(label);
        QCOMPARE(label->text(), values.at(i));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(label->alignment() & Qt::AlignRight);
        QVERIFY(label->alignment() & Qt::AlignVCenter);
    }
    for (QLabel *label : dlg.findChildren<QLabel *>())
        QVERIFY(!label->text().contains(QStringLiteral("rw5_cn")));
}

void TestCloseTipAndAppInfo::appInfoButtonCloses()
{
    CDlgAppInfo dlg;
    dlg.setInfo(QStringLiteral("1"), QStringLiteral("18"), QStringLiteral("2.3.3.0"));
    QTimer::singleShot(0, &dlg, [&dlg] {
        QTest::mouseClick(part<QPushButton>(&dlg, "pushButton"), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(TestCloseTipAndAppInfo)
#include "tst_cdlgclosetip.moc"
