#include <QtTest>

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTranslator>

#include "cdlgappinfo.h"
#include "cdlgclosetip.h"
#include "cdlgyesno.h"
#include "csetinstallpathdialog.h"
#include "dlgsetting.h"
#include "launcherconfig.h"
#include "registryconfig.h"
#include "scriptfont.h"
#include "sizetext.h"
#include "widgettextfit.h"

// Every text of the launcher's dialogs, in every shipped language, fits the widget that shows
// it and stays on the dialog's card: the real forms with the real translation files.
class TestDialogTextsFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dialogsFitInEveryLanguage_data();
    void dialogsFitInEveryLanguage();

private:
    QTemporaryDir m_dir;
};

namespace {

QRect cardOf(const CDlgFramelessWindow &dialog)
{
    return dialog.rect().marginsRemoved(dialog.shadowMargins());
}

QStringList prefixed(const QString &what, const QStringList &misfits)
{
    QStringList out;
    for (const QString &misfit : misfits)
        out << what + QStringLiteral(": ") + misfit;
    return out;
}

// The settings card is spaced as the other cards: its title at the card's top margin, not
// floating in an empty band, and the list's first row and the page's first choice level with
// each other, clear of the line under the title.
QStringList settingsSpacingMisfits(DlgSetting &settings, int page)
{
    using widgettextfit::rectIn;
    QStringList found;
    const QRect card = rectIn(settings.findChild<QWidget *>(QStringLiteral("frame")), &settings);
    const QRect title = rectIn(settings.findChild<QWidget *>(QStringLiteral("label_2")), &settings);
    const int titleMargin = 40;
    if (title.top() - card.top() > titleMargin + 8)
        found << QStringLiteral("title %1 px below the card's top, margin %2")
                     .arg(title.top() - card.top())
                     .arg(titleMargin);
    const int divider =
        rectIn(settings.findChild<QWidget *>(QStringLiteral("line_2")), &settings).bottom();
    auto *list = settings.findChild<QListWidget *>(QStringLiteral("listWidget"));
    QRect row = list->visualItemRect(list->item(0));
    row.moveTopLeft(list->viewport()->mapTo(&settings, row.topLeft()));
    const QWidget *shown = settings.findChild<QStackedWidget *>()->currentWidget();
    QRect choice;
    for (const QWidget *child : shown->findChildren<QWidget *>()) {
        if (!child->isVisibleTo(&settings) || !qobject_cast<const QAbstractButton *>(child))
            continue;
        const QRect place = rectIn(child, &settings);
        if (choice.isNull() || place.top() < choice.top())
            choice = place;
    }
    const int minimumGap = 8;
    if (row.top() - divider < minimumGap)
        found << QStringLiteral("first row %1 px below the title line").arg(row.top() - divider);
    if (choice.top() - divider < minimumGap)
        found << QStringLiteral("first choice %1 px below the title line")
                     .arg(choice.top() - divider);
    // Page 3's buttons are placed where the form puts them; the choices follow the rows.
    if (page < 2 && qAbs(choice.center().y() - row.center().y()) > 4)
        found << QStringLiteral("first choice's middle at %1, first row's at %2")
                     .arg(choice.center().y())
                     .arg(row.center().y());
    return found;
}

} // namespace

void TestDialogTextsFit::initTestCase()
{
    QVERIFY(m_dir.isValid());
    LauncherConfig::setInstanceFilePath(m_dir.filePath(QStringLiteral("config.ini")));
    RegistryConfig::instance()->setAutoStart(false);
}

void TestDialogTextsFit::dialogsFitInEveryLanguage_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = widgettextfit::languageFiles(
        qEnvironmentVariable("LAUNCHER_BIN_DIR") + QStringLiteral("/language"));
    QCOMPARE(files.size(), 13);
    for (const QString &file : files)
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

void TestDialogTextsFit::dialogsFitInEveryLanguage()
{
    QFETCH(QString, file);
    QTranslator translator;
    QVERIFY(translator.load(file));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    // The language's own face, as the launcher chooses it before it makes its dialogs.
    const QFont baseFont = QGuiApplication::font();
    ScriptFont::useLanguageOf(translator);
    SizeText::useLanguageOf(translator);
    QStringList found;

    {
        DlgSetting settings;
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        const QRect card = settings.findChild<QFrame *>(QStringLiteral("frame"))->geometry();
        for (int page = 0; page < 3; ++page) {
            settings.onTabSwitch(page);
            found << prefixed(QStringLiteral("settings page %1").arg(page),
                              widgettextfit::misfits(&settings, card, true));
            // Long texts must not widen the card: it would leave the page's centre.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            const QRect now = settings.findChild<QFrame *>(QStringLiteral("frame"))->geometry();
            if (settings.size() != QSize(710, 444) || now != QRect(10, 10, 690, 424))
                found << QStringLiteral("settings page %1: window %2x%3, card %4x%5 at %6,%7")
                             .arg(page)
                             .arg(settings.width())
                             .arg(settings.height())
                             .arg(now.width())
                             .arg(now.height())
                             .arg(now.x())
                             .arg(now.y());
            found << prefixed(QStringLiteral("settings page %1").arg(page),
                              settingsSpacingMisfits(settings, page));
        }
        // The game check's progress line at its longest, its stop button, and its result.
        settings.onTabSwitch(2);
        const auto flowText = [](const char *key) {
            return QCoreApplication::translate("GameRepairFlow", key);
        };
        settings.setGameRepairRunning(true);
        settings.setGameRepairStatus(
            flowText("label_repair_verifying")
                .arg(1234)
                .arg(2000)
                .arg(SizeText::bytes(qint64(612.4 * 1048576.0)),
                     SizeText::bytes(qint64(1023.9 * 1048576.0))) +
            QLatin1Char(' ') + flowText("label_repair_time_left").arg(QStringLiteral("00:12:34")));
        found << prefixed(QStringLiteral("settings, checking"),
                          widgettextfit::misfits(&settings, card));
        settings.setGameRepairStatus(flowText("label_repair_downloading").arg(42) +
                                     QStringLiteral(" (%1/%2) ")
                                         .arg(SizeText::bytes(qint64(612.4 * 1048576.0)),
                                              SizeText::bytes(qint64(1023.9 * 1048576.0))) +
                                     flowText("label_repair_time_left").arg("00:12:34"));
        found << prefixed(QStringLiteral("settings, downloading"),
                          widgettextfit::misfits(&settings, card));
        settings.setGameRepairRunning(false);
        settings.setGameRepairStatus(flowText("label_repair_result").arg(2000).arg(10).arg(10));
        found << prefixed(QStringLiteral("settings, repaired"),
                          widgettextfit::misfits(&settings, card));
    }
    {
        CSetInstallPathDialog install;
        install.setNeedSpace(qint64(20) << 30);
        install.show();
        QVERIFY(QTest::qWaitForWindowExposed(&install));
        const QRect card =
            install.mask().isEmpty() ? install.rect() : install.mask().boundingRect();
        const QString folder = m_dir.filePath(QStringLiteral("games"));
        QVERIFY(QDir().mkpath(folder));
        // A usable folder, a refused one, and one on a disk without room for the game.
        install.setPathText(folder);
        found << prefixed(QStringLiteral("install path"), widgettextfit::misfits(&install, card));
        install.setPathText(QStringLiteral("relative/folder"));
        found << prefixed(QStringLiteral("install path, invalid"),
                          widgettextfit::misfits(&install, card));
        install.setNeedSpace(std::numeric_limits<qint64>::max());
        install.setPathText(folder + QStringLiteral("/Orvyndale Game"));
        found << prefixed(QStringLiteral("install path, no room"),
                          widgettextfit::misfits(&install, card));
    }
    {
        CDlgCloseTip closeTip;
        closeTip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&closeTip));
        found << prefixed(QStringLiteral("close choice"),
                          widgettextfit::misfits(&closeTip, cardOf(closeTip)));
    }
    {
        CDlgAppInfo about;
        about.setInfo(QStringLiteral("1.10.200.3000"), QStringLiteral("OS_18"),
                      QStringLiteral("2.3.3.0"));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        found << prefixed(QStringLiteral("about"), widgettextfit::misfits(&about, cardOf(about)));
    }

    // Every message the launcher shows in its message box, at the size the box is asked in.
    const QString source = qEnvironmentVariable("LAUNCHER_SOURCE_DIR") +
                           QStringLiteral("/translations/launcher/i18n_en.ts");
    QList<QPair<QString, QString>> messages;
    for (const char *context :
         {"MainViewModel", "CSetInstallPathDialog", "ApplicationInfo", "UpdateProgram",
          "downloadmanager", "downloadtask", "setupmanager", "PackageTrust", "QObject"}) {
        for (const QString &key :
             widgettextfit::keysOf(source, QLatin1String(context), QStringLiteral("message"))) {
            messages << qMakePair(QLatin1String(context) + QLatin1Char('/') + key,
                                  translator.translate(context, key.toUtf8().constData()));
        }
    }
    QVERIFY(messages.size() > 30);
    const QStringList buttonPairs[] = {
        {translator.translate("CDlgYesNo", "button_confirm"),
         translator.translate("CDlgYesNo", "button_cancle")},
        {translator.translate("CSetInstallPathDialog", "button_continue"),
         translator.translate("CSetInstallPathDialog", "button_select_again")},
    };
    for (const auto &message : qAsConst(messages)) {
        for (const QStringList &buttons : buttonPairs) {
            CDlgYesNo box;
            box.hideCancelButton(false);
            box.resize(460, 300);
            box.setMessage(QString(), QStringLiteral("[1003]:") + message.second);
            box.setConfirmText(buttons.at(0));
            box.setCancelText(buttons.at(1));
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            found << prefixed(message.first, widgettextfit::misfits(&box, cardOf(box)));
        }
    }

    QCoreApplication::removeTranslator(&translator);
    QGuiApplication::setFont(baseFont);
    found.removeDuplicates();
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestDialogTextsFit)
#include "tst_dialogtextsfit.moc"
