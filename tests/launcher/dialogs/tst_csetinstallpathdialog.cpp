#include <QtTest>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTranslator>

#include <functional>
#include <memory>
#include <unistd.h>

#include "appenvironment.h"
#include "cdlgframelesswindow.h"
#include "cdlgyesno.h"
#include "csetinstallpathdialog.h"
#include "sizetext.h"
#include "diskspace.h"
#include "languageselection.h"
#include "launcherconfig.h"

using platform::InstallPathProblem;

Q_DECLARE_METATYPE(InstallPathProblem)

namespace {

template<typename T>
T *part(QWidget *dialog, const char *name)
{
    T *child = dialog->findChild<T *>(QLatin1String(name));
    if (!child)
        qWarning() << "missing form part" << name;
    return child;
}

// Runs action on the first modal dialog of type T that comes up; gives up after a bounded
// wait (rejecting whatever modal dialog is open) so a fault cannot hang the test.
template<typename T>
void whenModal(std::function<void(T *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        } else if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
            if (auto *open = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                open->reject();
            qWarning("expected dialog never appeared");
        }
    });
    timer->start();
}

// Answers the folder picker with folder (empty: cancel).
void pickFolder(const QString &folder)
{
    whenModal<QFileDialog>([folder](QFileDialog *picker) {
        if (folder.isEmpty()) {
            picker->reject();
            return;
        }
        picker->setDirectory(QFileInfo(folder).absolutePath());
        auto *name = picker->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (name)
            name->setText(folder);
        static_cast<QDialog *>(picker)->accept();
    });
}

} // namespace

class TestSetInstallPathDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pathRules_data();
    void pathRules();
    void existingFileOrFileOnTheWayIsRefused();
    void readOnlyParentIsRefused();
    void formMatchesTheBackgroundAndFixedPositions();
    void needAndFreeSpaceShowInGigabytes();
    void tooLittleSpaceDisablesInstallWithWarning();
    void freeSpaceEqualToNeedIsEnough();
    void invalidPathWarnsAndDisablesInstallUntilAValidOne();
    void settingTheSamePathAgainKeepsTheLabels();
    void confirmStoresPathThenEmitsPathAndStart();
    void refusedPathCannotBeConfirmed();
    void folderThatBecameAFileIsRefusedOnConfirm();
    void installFolderAddsGameFolder_data();
    void installFolderAddsGameFolder();
    void pickerCancelKeepsThePath();
    void pickerProposesGameSubFolder();
    void nonEmptyFolderIsAskedAboutAndCanBePickedAgain();
    void pickerSpeaksThePlayersLanguage_data();
    void pickerSpeaksThePlayersLanguage();
    void wholePathTipFollowsToolTipAndPress();
    void leftButtonDragsAndAnyPressTakesFocus();

private:
    QString tempPath(const QString &name) const { return m_dir->filePath(name); }
    QVariant stored(const QString &key) const
    {
        QSettings settings(m_dir->filePath(QStringLiteral("config.ini")), QSettings::IniFormat);
        return settings.value(key);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSetInstallPathDialog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    LauncherConfig::setInstanceFilePath(tempPath(QStringLiteral("config.ini")));
}

void TestSetInstallPathDialog::cleanup()
{
    QFile::setPermissions(tempPath(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir->setAutoRemove(!QTest::currentTestFailed());
    m_dir.reset();
}

void TestSetInstallPathDialog::pathRules_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<InstallPathProblem>("problem");
    const auto ok = InstallPathProblem::None;
    const auto bad = InstallPathProblem::ForbiddenCharacter;
    QTest::newRow("empty") << "" << false << InstallPathProblem::Empty;
    QTest::newRow("relative") << "games/Orvyndale Game" << false << InstallPathProblem::NoVolume;
    QTest::newRow("existing folder") << "" << true << ok;
    QTest::newRow("new folder") << "a/b/Orvyndale Game" << true << ok;
    QTest::newRow("ascii question mark") << "why?/Orvyndale Game" << true << ok;
    QTest::newRow("non-ascii name") << "游戏/Orvyndale Game" << true << ok;
    QTest::newRow("asterisk") << "a*b" << true << bad;
    QTest::newRow("full-width question mark") << "a？b" << true << bad;
    QTest::newRow("greater") << "a>b" << true << bad;
    QTest::newRow("less") << "a<b" << true << bad;
    QTest::newRow("bar") << "a|b" << true << bad;
    QTest::newRow("colon") << "a:b" << true << bad;
    QTest::newRow("double quote") << "a\"b" << true << bad;
    QTest::newRow("newline") << "a\nb" << true << bad;
    QTest::newRow("tab") << "a\tb" << true << bad;
    QTest::newRow("escape") << "a\x1b[2Jb" << true << bad;
    QTest::newRow("delete") << "a\x7f" << true << bad;
    QTest::newRow("trailing blank") << "game " << true << InstallPathProblem::SurroundingBlank;
    QTest::newRow("name of 255 bytes") << QString(255, QLatin1Char('n')) << true << ok;
    QTest::newRow("name of 256 bytes")
        << QString(256, QLatin1Char('n')) << true << InstallPathProblem::TooLong;
    // 85 three-byte characters are 255 bytes, 86 are 258: the limit counts bytes.
    QTest::newRow("name of 86 wide characters")
        << QString(86, QChar(0x6E38)) << true << InstallPathProblem::TooLong;
    QString deep;
    for (int i = 0; i < 50; ++i)
        deep += QString(100, QLatin1Char('d')) + QLatin1Char('/');
    QTest::newRow("path of 5050 bytes") << deep << true << InstallPathProblem::TooLong;
}

void TestSetInstallPathDialog::pathRules()
{
    QFETCH(QString, relative);
    QFETCH(bool, absolute);
    QFETCH(InstallPathProblem, problem);
    const QString path =
        absolute ? (relative.isEmpty() ? m_dir->path() : tempPath(relative)) : relative;
    QCOMPARE(CSetInstallPathDialog::checkPath(path), problem);
    QCOMPARE(CSetInstallPathDialog::isPathValid(path), problem == InstallPathProblem::None);
    // A blank in front of an otherwise good absolute path is refused as well.
    if (absolute && problem == InstallPathProblem::None)
        QCOMPARE(CSetInstallPathDialog::checkPath(QLatin1Char(' ') + path),
                 InstallPathProblem::SurroundingBlank);
}

void TestSetInstallPathDialog::existingFileOrFileOnTheWayIsRefused()
{
    const QString file = tempPath(QStringLiteral("game.bin"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QCOMPARE(CSetInstallPathDialog::checkPath(file), InstallPathProblem::NotAFolder);
    QCOMPARE(CSetInstallPathDialog::checkPath(file + QStringLiteral("/Orvyndale Game")),
             InstallPathProblem::NotAFolder);

    CSetInstallPathDialog dlg;
    dlg.setPathText(file);
    QVERIFY(!part<QPushButton>(&dlg, "btn_ok")->isEnabled());
    QCOMPARE(part<QLabel>(&dlg, "lbl_tip")->text(), QStringLiteral("messsage_path_invalid"));
}

void TestSetInstallPathDialog::readOnlyParentIsRefused()
{
    // root writes anywhere a mode allows nothing; /proc/sys refuses even root.
    QString parent = tempPath(QStringLiteral("locked"));
    if (::geteuid() == 0) {
        parent = QStringLiteral("/proc/sys");
    } else {
        QVERIFY(QDir().mkpath(parent));
        QVERIFY(QFile::setPermissions(parent, QFile::ReadOwner | QFile::ExeOwner));
    }
    QCOMPARE(CSetInstallPathDialog::checkPath(parent + QStringLiteral("/Orvyndale Game")),
             InstallPathProblem::NotWritable);
    QCOMPARE(CSetInstallPathDialog::checkPath(parent), InstallPathProblem::NotWritable);

    CSetInstallPathDialog dlg;
    dlg.setPathText(parent + QStringLiteral("/Orvyndale Game"));
    QVERIFY(!part<QPushButton>(&dlg, "btn_ok")->isEnabled());
}

void TestSetInstallPathDialog::formMatchesTheBackgroundAndFixedPositions()
{
    CSetInstallPathDialog dlg;
    QCOMPARE(dlg.size(), QSize(740, 536));
    QCOMPARE(dlg.windowFlags() & ~Qt::WindowType_Mask, Qt::FramelessWindowHint);
    QVERIFY(dlg.testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(!dlg.mask().isEmpty());
    QVERIFY(dlg.mask().boundingRect().width() <= 740);
    // Offscreen, like a bare X server, blends nothing: the picture's soft shadow would show
    // black, so the shape holds the opaque picture and none of its shadow.
    QVERIFY(!CDlgFramelessWindow::shadowsCanShow());
    const QImage picture(QStringLiteral(":/pic/setdlg.png"));
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    int shadowPixels = 0;
    for (int y = 0; y < argb.height(); y += 2) {
        for (int x = 0; x < argb.width(); x += 2) {
            const int alpha = qAlpha(argb.pixel(x, y));
            if (alpha == 255)
                QVERIFY2(dlg.mask().contains(QPoint(x, y)),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            else if (alpha > 0 && alpha < 100 && ++shadowPixels)
                QVERIFY2(!dlg.mask().contains(QPoint(x, y)),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(shadowPixels > 100);
    QCOMPARE(dlg.needSpace(), 0);
    QCOMPARE(part<QLineEdit>(&dlg, "edt_path")->geometry(), QRect(312, 217, 302, 30));
    QVERIFY(part<QLineEdit>(&dlg, "edt_path")->isReadOnly());
    QCOMPARE(part<QPushButton>(&dlg, "btn_chgPath")->geometry(), QRect(627, 217, 78, 30));
    QCOMPARE(part<QPushButton>(&dlg, "btn_ok")->geometry(), QRect(313, 392, 390, 64));
    QCOMPARE(part<QPushButton>(&dlg, "btn_close")->geometry(), QRect(685, 125, 20, 20));
    QCOMPARE(part<QLabel>(&dlg, "lbl_title")->text(), QStringLiteral("title_app_install_kv"));
    QCOMPARE(part<QLabel>(&dlg, "lblDefaultLang")->text(),
             AppEnvironment::isMainland() ? QStringLiteral("简体中文") : QStringLiteral("English"));

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(!part<QLabel>(&dlg, "lbl_tip")->isVisible());
    QVERIFY(part<QLabel>(&dlg, "lbl_selDirTip")->isVisible());
    QVERIFY(!part<QTextBrowser>(&dlg, "lbl_wholePathTip")->isVisible());
    // The close button only hides: the dialog is used again.
    QTest::mouseClick(part<QPushButton>(&dlg, "btn_close"), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
}

void TestSetInstallPathDialog::needAndFreeSpaceShowInGigabytes()
{
    QCOMPARE(CSetInstallPathDialog::gigabytes(21474836480LL), QStringLiteral("20.0"));
    QCOMPARE(CSetInstallPathDialog::gigabytes(0), QStringLiteral("0.0"));
    QCOMPARE(CSetInstallPathDialog::gigabytes(1610612736LL), QStringLiteral("1.5"));

    CSetInstallPathDialog dlg;
    dlg.setNeedSpace(21474836480LL);
    const QString path = tempPath(QStringLiteral("Orvyndale Game"));
    dlg.setPathText(path);
    // Both figures are written the way the page writes sizes.
    QCOMPARE(part<QLabel>(&dlg, "lbl_needSpace")->text(), SizeText::bytes(21474836480LL));
    const QString free = part<QLabel>(&dlg, "lbl_freeSpace")->text();
    QCOMPARE(free, SizeText::bytes(platform::availableBytes(path.toStdString())));
}

void TestSetInstallPathDialog::tooLittleSpaceDisablesInstallWithWarning()
{
    CSetInstallPathDialog dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QString path = tempPath(QStringLiteral("Orvyndale Game"));
    const qint64 free = platform::availableBytes(path.toStdString());
    QVERIFY(free > 0);
    // Far more than any disk here holds, so concurrent writers cannot change the outcome.
    dlg.setNeedSpace(free + (qint64(1) << 50));
    dlg.setPathText(path);
    auto *tip = part<QLabel>(&dlg, "lbl_tip");
    QVERIFY(tip->isVisible());
    QCOMPARE(tip->text(), QStringLiteral("message_floder_not_enough_space"));
    QVERIFY(tip->width() >= tip->sizeHint().width());
    QVERIFY(!part<QLabel>(&dlg, "lbl_selDirTip")->isVisible());
    QVERIFY(!part<QPushButton>(&dlg, "btn_ok")->isEnabled());

    dlg.setNeedSpace(1024);
    dlg.setPathText(m_dir->path());
    QVERIFY(!tip->isVisible());
    QVERIFY(part<QLabel>(&dlg, "lbl_selDirTip")->isVisible());
    QVERIFY(part<QPushButton>(&dlg, "btn_ok")->isEnabled());
}

void TestSetInstallPathDialog::freeSpaceEqualToNeedIsEnough()
{
    // sysfs reports no free space at all, and never changes it: a need of 0 is exactly
    // what is free there, a need of 1 byte is more.
    const QString path = QStringLiteral("/sys/Orvyndale Game");
    if (!CSetInstallPathDialog::isPathValid(path) ||
        platform::availableBytes(path.toStdString()) != 0)
        QSKIP("needs a writable-looking volume with 0 bytes free (/sys as root)");
    CSetInstallPathDialog dlg;
    dlg.setNeedSpace(0);
    dlg.setPathText(path);
    QVERIFY(part<QPushButton>(&dlg, "btn_ok")->isEnabled());
    QCOMPARE(part<QLabel>(&dlg, "lbl_freeSpace")->text(), SizeText::bytes(0));

    dlg.setNeedSpace(1);
    dlg.setPathText(QString());
    dlg.setPathText(path);
    QVERIFY(!part<QPushButton>(&dlg, "btn_ok")->isEnabled());
    QCOMPARE(part<QLabel>(&dlg, "lbl_tip")->text(),
             QStringLiteral("message_floder_not_enough_space"));
}

void TestSetInstallPathDialog::invalidPathWarnsAndDisablesInstallUntilAValidOne()
{
    CSetInstallPathDialog dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *tip = part<QLabel>(&dlg, "lbl_tip");
    auto *ok = part<QPushButton>(&dlg, "btn_ok");
    dlg.setNeedSpace(21474836480LL);
    for (const QString &bad :
         {QStringLiteral("relative/game"), tempPath(QStringLiteral("a*b")), QString()}) {
        dlg.setPathText(bad);
        // The space rows describe the refused path, not the folder shown before it.
        QCOMPARE(part<QLabel>(&dlg, "lbl_freeSpace")->text(), SizeText::bytes(0));
        QCOMPARE(part<QLabel>(&dlg, "lbl_needSpace")->text(), SizeText::bytes(21474836480LL));
        QVERIFY2(tip->isVisible(), qPrintable(bad));
        QCOMPARE(tip->text(), QStringLiteral("messsage_path_invalid"));
        QVERIFY(!part<QLabel>(&dlg, "lbl_selDirTip")->isVisible());
        QVERIFY(!ok->isEnabled());
        dlg.setPathText(m_dir->path());
        QVERIFY(!tip->isVisible());
        QVERIFY(ok->isEnabled());
    }
}

void TestSetInstallPathDialog::settingTheSamePathAgainKeepsTheLabels()
{
    CSetInstallPathDialog dlg;
    dlg.setNeedSpace(21474836480LL);
    dlg.setPathText(m_dir->path());
    dlg.setNeedSpace(10737418240LL);
    dlg.setPathText(m_dir->path());
    QCOMPARE(part<QLabel>(&dlg, "lbl_needSpace")->text(), SizeText::bytes(21474836480LL));
    dlg.setPathText(tempPath(QStringLiteral("Orvyndale Game")));
    QCOMPARE(part<QLabel>(&dlg, "lbl_needSpace")->text(), SizeText::bytes(10737418240LL));
}

void TestSetInstallPathDialog::confirmStoresPathThenEmitsPathAndStart()
{
    CSetInstallPathDialog dlg;
    QStringList order;
    QString emittedPath;
    connect(&dlg, &CSetInstallPathDialog::updateInstallPath, this,
            [&order, &emittedPath](const QString &path) {
                order << QStringLiteral("path");
                emittedPath = path;
            });
    connect(&dlg, &CSetInstallPathDialog::startInstallClicked, this,
            [&order] { order << QStringLiteral("start"); });
    const QString path = tempPath(QStringLiteral("Orvyndale Game"));
    dlg.setPathText(path);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(part<QPushButton>(&dlg, "btn_ok"), Qt::LeftButton);
    QCOMPARE(order, QStringList({QStringLiteral("path"), QStringLiteral("start")}));
    QCOMPARE(emittedPath, path);
    QCOMPARE(stored(QStringLiteral("game_install_path")).toString(), path);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));

    // Reused: shown again, it confirms again.
    dlg.show();
    QTest::mouseClick(part<QPushButton>(&dlg, "btn_ok"), Qt::LeftButton);
    QCOMPARE(order.size(), 4);
}

void TestSetInstallPathDialog::refusedPathCannotBeConfirmed()
{
    CSetInstallPathDialog dlg;
    QSignalSpy path(&dlg, &CSetInstallPathDialog::updateInstallPath);
    QSignalSpy start(&dlg, &CSetInstallPathDialog::startInstallClicked);
    LauncherConfig::instance()->setInstallPath(m_dir->path());
    dlg.setPathText(QStringLiteral("relative/game"));
    dlg.on_btn_ok_clicked();
    QCOMPARE(path.count(), 0);
    QCOMPARE(start.count(), 0);
    QCOMPARE(stored(QStringLiteral("game_install_path")).toString(), m_dir->path());
}

void TestSetInstallPathDialog::folderThatBecameAFileIsRefusedOnConfirm()
{
    const QString parent = tempPath(QStringLiteral("games"));
    QVERIFY(QDir().mkpath(parent));
    CSetInstallPathDialog dlg;
    QSignalSpy start(&dlg, &CSetInstallPathDialog::startInstallClicked);
    dlg.setPathText(parent + QStringLiteral("/Orvyndale Game"));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(part<QPushButton>(&dlg, "btn_ok")->isEnabled());

    QVERIFY(QDir(parent).removeRecursively());
    QFile file(parent);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QTest::mouseClick(part<QPushButton>(&dlg, "btn_ok"), Qt::LeftButton);
    QCOMPARE(start.count(), 0);
    QVERIFY(dlg.isVisible());
    QVERIFY(!part<QPushButton>(&dlg, "btn_ok")->isEnabled());
    QCOMPARE(part<QLabel>(&dlg, "lbl_tip")->text(), QStringLiteral("messsage_path_invalid"));
    QVERIFY(!stored(QStringLiteral("game_install_path")).isValid());
}

void TestSetInstallPathDialog::installFolderAddsGameFolder_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("folder");
    QTest::newRow("root") << "/"
                          << "/Orvyndale Game";
    QTest::newRow("drive root") << "D:/"
                                << "D:/Orvyndale Game";
    QTest::newRow("folder") << "/home/u/games"
                            << "/home/u/games/Orvyndale Game";
    QTest::newRow("game folder, other case") << "D:/games/orvyndale game"
                                             << "D:/games/orvyndale game";
    QTest::newRow("game folder") << "/g/Orvyndale Game"
                                 << "/g/Orvyndale Game";
    QTest::newRow("backslashes") << "C:\\games"
                                 << "C:\\games/Orvyndale Game";
    QTest::newRow("game folder after backslash") << "C:\\Orvyndale Game"
                                                 << "C:\\Orvyndale Game";
}

void TestSetInstallPathDialog::installFolderAddsGameFolder()
{
    QFETCH(QString, picked);
    QFETCH(QString, folder);
    QCOMPARE(CSetInstallPathDialog::installFolderFor(picked), folder);
}

void TestSetInstallPathDialog::pickerCancelKeepsThePath()
{
    CSetInstallPathDialog dlg;
    dlg.setPathText(m_dir->path());
    pickFolder(QString());
    dlg.on_btn_chgPath_clicked();
    QCOMPARE(part<QLineEdit>(&dlg, "edt_path")->text(), m_dir->path());
}

void TestSetInstallPathDialog::pickerProposesGameSubFolder()
{
    const QString games = tempPath(QStringLiteral("games"));
    QVERIFY(QDir().mkpath(games + QStringLiteral("/other")));
    CSetInstallPathDialog dlg;
    dlg.setPathText(m_dir->path());
    pickFolder(games);
    dlg.on_btn_chgPath_clicked();
    // games holds entries, but its game sub-folder does not exist: no question.
    QCOMPARE(part<QLineEdit>(&dlg, "edt_path")->text(), games + QStringLiteral("/Orvyndale Game"));
    QVERIFY(part<QPushButton>(&dlg, "btn_ok")->isEnabled());
}

void TestSetInstallPathDialog::nonEmptyFolderIsAskedAboutAndCanBePickedAgain()
{
    const QString full = tempPath(QStringLiteral("full/Orvyndale Game"));
    const QString empty = tempPath(QStringLiteral("empty/Orvyndale Game"));
    QVERIFY(QDir().mkpath(full));
    QVERIFY(QDir().mkpath(empty));
    QFile hidden(full + QStringLiteral("/.hidden"));
    QVERIFY(hidden.open(QIODevice::WriteOnly));
    hidden.close();

    CSetInstallPathDialog dlg;
    dlg.setPathText(m_dir->path());
    dlg.move(300, 200);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QStringList asked;
    QPoint boxCentre;
    // First the full game folder: "select again"; then the empty one, which is not asked about.
    pickFolder(full);
    whenModal<CDlgYesNo>([&asked, &boxCentre, empty](CDlgYesNo *box) {
        boxCentre = box->frameGeometry().center();
        asked << box->findChild<QTextBrowser *>()->toPlainText()
              << box->findChild<QPushButton *>(QStringLiteral("btn_ok"))->text()
              << box->findChild<QPushButton *>(QStringLiteral("btn_cancel"))->text();
        pickFolder(empty);
        QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("btn_cancel")),
                          Qt::LeftButton);
    });
    dlg.on_btn_chgPath_clicked();
    QCOMPARE(asked, QStringList({QStringLiteral("message_suggest_select_empty_folder"),
                                 QStringLiteral("button_continue"),
                                 QStringLiteral("button_select_again")}));
    // The question sits over the install path dialog, not in the screen's corner.
    QVERIFY2((boxCentre - dlg.frameGeometry().center()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("box centre %1,%2").arg(boxCentre.x()).arg(boxCentre.y())));
    QCOMPARE(part<QLineEdit>(&dlg, "edt_path")->text(), empty);

    // "Continue" takes the full folder as it is.
    pickFolder(full);
    whenModal<CDlgYesNo>([](CDlgYesNo *box) {
        QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("btn_ok")), Qt::LeftButton);
    });
    dlg.on_btn_chgPath_clicked();
    QCOMPARE(part<QLineEdit>(&dlg, "edt_path")->text(), full);
    QCOMPARE(CDlgYesNo::openCount(), 0);
}

void TestSetInstallPathDialog::pickerSpeaksThePlayersLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("choose");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("lookIn");
    // Debian's Qt translations...
    QTest::newRow("de-de") << "de-de" << QString::fromUtf8("&Auswählen") << "Abbrechen"
                           << "Suchen in:";
    QTest::newRow("zh-cn") << "zh-cn" << QString::fromUtf8("选择(&C)") << QString::fromUtf8("取消")
                           << QString::fromUtf8("查找范围：");
    QTest::newRow("fr-fr") << "fr-fr"
                           << "&Choisir"
                           << "Annuler"
                           << "Voir dans :";
    // ...and our own where Debian has none, or only Brazilian Portuguese.
    QTest::newRow("th-th") << "th-th" << QString::fromUtf8("เลือก(&C)") << QString::fromUtf8("ยกเลิก")
                           << QString::fromUtf8("ค้นหาใน:");
    QTest::newRow("vi-vn") << "vi-vn" << QString::fromUtf8("&Chọn") << QString::fromUtf8("Hủy")
                           << QString::fromUtf8("Tìm trong:");
    QTest::newRow("pt-pt") << "pt-pt"
                           << "&Escolher"
                           << "Cancelar"
                           << "Procurar em:";
}

void TestSetInstallPathDialog::pickerSpeaksThePlayersLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, choose);
    QFETCH(QString, cancel);
    QFETCH(QString, lookIn);

    // The shipped folder's files, loaded the way the launcher loads them at start-up.
    QTranslator qtTexts;
    QVERIFY(LanguageSelection::loadQtTranslations(
        qtTexts, code, qEnvironmentVariable("LAUNCHER_BIN_DIR") + QStringLiteral("/language/")));
    QVERIFY(QCoreApplication::installTranslator(&qtTexts));

    CSetInstallPathDialog dlg;
    dlg.setPathText(m_dir->path());
    QStringList seen;
    whenModal<QFileDialog>([&seen](QFileDialog *picker) {
        auto *buttons = picker->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        auto *label = picker->findChild<QLabel *>(QStringLiteral("lookInLabel"));
        if (buttons && buttons->button(QDialogButtonBox::Open) &&
            buttons->button(QDialogButtonBox::Cancel) && label) {
            seen << buttons->button(QDialogButtonBox::Open)->text()
                 << buttons->button(QDialogButtonBox::Cancel)->text() << label->text();
        }
        picker->reject();
    });
    dlg.on_btn_chgPath_clicked();
    QCoreApplication::removeTranslator(&qtTexts);
    QCOMPARE(seen, QStringList({choose, cancel, lookIn}));
}

void TestSetInstallPathDialog::wholePathTipFollowsToolTipAndPress()
{
    CSetInstallPathDialog dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    // Markup in a folder name is shown as text.
    const QString path = tempPath(QStringLiteral("<b>bold</b>/Orvyndale Game"));
    dlg.setPathText(path);
    auto *edit = part<QLineEdit>(&dlg, "edt_path");
    auto *tip = part<QTextBrowser>(&dlg, "lbl_wholePathTip");
    QCOMPARE(tip->toPlainText(), path);

    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit, &help);
    QVERIFY(tip->isVisible());
    QVERIFY(dlg.rect().contains(tip->geometry()));
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(!tip->isVisible());

    QApplication::sendEvent(edit, &help);
    QVERIFY(tip->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(edit, &leave);
    QVERIFY(!tip->isVisible());
}

void TestSetInstallPathDialog::leftButtonDragsAndAnyPressTakesFocus()
{
    CSetInstallPathDialog dlg;
    dlg.move(100, 100);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *edit = part<QLineEdit>(&dlg, "edt_path");
    edit->setFocus();
    const QPoint start = dlg.pos();
    const QPoint grip(400, 60);

    // The right button takes focus but does not drag.
    QMouseEvent rightPress(QEvent::MouseButtonPress, grip, dlg.mapToGlobal(grip), Qt::RightButton,
                           Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &rightPress);
    QTRY_VERIFY(dlg.hasFocus());
    QMouseEvent rightMove(QEvent::MouseMove, grip + QPoint(30, 20),
                          dlg.mapToGlobal(grip) + QPoint(30, 20), Qt::NoButton, Qt::RightButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&dlg, &rightMove);
    QCOMPARE(dlg.pos(), start);
    QMouseEvent rightRelease(QEvent::MouseButtonRelease, grip, dlg.mapToGlobal(grip),
                             Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &rightRelease);

    QMouseEvent press(QEvent::MouseButtonPress, grip, dlg.mapToGlobal(grip), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &press);
    QMouseEvent move(QEvent::MouseMove, grip + QPoint(30, 20),
                     dlg.mapToGlobal(grip) + QPoint(30, 20), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&dlg, &move);
    QCOMPARE(dlg.pos(), start + QPoint(30, 20));
    QMouseEvent release(QEvent::MouseButtonRelease, grip, dlg.mapToGlobal(grip), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &release);

    // After the release a move does nothing.
    QApplication::sendEvent(&dlg, &move);
    QCOMPARE(dlg.pos(), start + QPoint(30, 20));
}

QTEST_MAIN(TestSetInstallPathDialog)
#include "tst_csetinstallpathdialog.moc"
