#include <QtTest>

#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include "dlgprogress.h"
#include "dlgyesno.h"
#include "updatewindow.h"
#include "widgettextfit.h"
#include "sizetext.h"

// Every text of the updater's window and message dialog, in every shipped language, fits the
// widget that shows it and stays on the card: the real forms with the real translation files.
class TestWindowTextsFit : public QObject
{
    Q_OBJECT

private slots:
    void pagesAndQuestionsFitInEveryLanguage_data();
    void pagesAndQuestionsFitInEveryLanguage();
    void overlongTextsShrinkThenElide();
};

namespace {

// Less room than this on each side of a button's text reads as text touching its edges.
constexpr int kButtonTextMargin = 8;

QStringList prefixed(const QString &what, const QStringList &misfits)
{
    QStringList out;
    for (const QString &misfit : misfits)
        out << what + QStringLiteral(": ") + misfit;
    return out;
}

QRect cardOf(QWidget *dialog, const char *frame)
{
    return dialog->findChild<QFrame *>(QLatin1String(frame))->geometry();
}

} // namespace

void TestWindowTextsFit::pagesAndQuestionsFitInEveryLanguage_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = widgettextfit::languageFiles(
        qEnvironmentVariable("LAUNCHER_BIN_DIR") + QStringLiteral("/updateProgram/language"));
    QCOMPARE(files.size(), 13);
    for (const QString &file : files)
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

void TestWindowTextsFit::pagesAndQuestionsFitInEveryLanguage()
{
    QFETCH(QString, file);
    QTranslator translator;
    QVERIFY(translator.load(file));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    SizeText::useLanguageOf(translator);
    const auto text = [&translator](const char *context, const QString &key) {
        return translator.translate(context, key.toUtf8().constData());
    };
    QStringList found;

    DlgProgress window;
    window.retranslate();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect card = cardOf(&window, "fram");
    // The three steps' progress lines, at their longest.
    for (const char *label :
         {"label_resource_downloading", "label_file_unziping", "label_file_replacing"}) {
        // The download shows its sizes, speed and time left, at their widest.
        const qint64 size = qint64(99.9 * 1073741824.0);
        const QString details =
            qstrcmp(label, "label_resource_downloading") == 0
                ? UpdateWindow::transferDetails(size / 2, size, qint64(999 * 1024) * 2, 2000)
                : QString();
        window.showProgressPage(
            UpdateWindow::progressText(text("UpdateWindow", QLatin1String(label)), 100, true) +
                details,
            QStringLiteral(":/pic/bg/updateIng.png"));
        found << prefixed(QLatin1String(label), widgettextfit::misfits(&window, card));
    }
    // The success page, and each failure page with each message a step can fail with.
    window.showResultPage(
        text("UpdateWindow", QStringLiteral("title_update_success")),
        text("UpdateWindow", QStringLiteral("message_click_button_open_launcher")),
        text("UpdateWindow", QStringLiteral("button_open_launcher")),
        QStringLiteral(":/pic/bg/updateSucceed.png"));
    found << prefixed(QStringLiteral("success"), widgettextfit::misfits(&window, card));
    const QString source = qEnvironmentVariable("LAUNCHER_SOURCE_DIR") +
                           QStringLiteral("/translations/update/i18n_en.ts");
    const QStringList titles = {QStringLiteral("title_download_error"),
                                QStringLiteral("title_unzip_error"),
                                QStringLiteral("title_file_replace_failed")};
    int failures = 0;
    for (const char *context : {"DownloadTask", "UncompressManager", "PackageTrust", "QObject"}) {
        for (const QString &key :
             widgettextfit::keysOf(source, QLatin1String(context), QStringLiteral("message_"))) {
            for (const QString &title : titles) {
                window.showResultPage(text("UpdateWindow", title), text(context, key),
                                      text("UpdateWindow", QStringLiteral("button_redo")),
                                      QStringLiteral(":/pic/bg/updateFaile.png"));
                found << prefixed(title + QLatin1Char('/') + key,
                                  widgettextfit::misfits(&window, card));
                ++failures;
            }
        }
    }
    QVERIFY(failures > 20);
    // The undo that could not put a held file back, naming it.
    window.showResultPage(text("UpdateWindow", QStringLiteral("title_rollback_failed")),
                          text("UpdateWindow", QStringLiteral("message_rollback_file_held"))
                              .arg(QStringLiteral("/home/player/Games/Lunmere/plugins/"
                                                  "platforms/libqxcb.so")),
                          text("UpdateWindow", QStringLiteral("button_quit_finish_later")),
                          QStringLiteral(":/pic/bg/updateFaile.png"));
    found << prefixed(QStringLiteral("rollback failed"), widgettextfit::misfits(&window, card));

    // The questions and notices of the update flow, with the buttons each one shows.
    struct Question
    {
        const char *text;
        const char *ok;
        const char *cancel;
    };
    const QList<Question> questions = {
        {"message_updating_do_not_close", "button_continue_update", "button_close_update"},
        {"message_update_init_failed", "button_redo", nullptr},
        {"message_failed_create_backup_folder_try_again", "button_redo", nullptr},
        {"message_create_backup_folder_failed", nullptr, nullptr},
        {"message_file_replace_exception", nullptr, nullptr},
        {"message_update_address_abnormal", nullptr, nullptr},
        {"message_main_process_parameter_abnormal", nullptr, nullptr},
    };
    for (const Question &question : questions) {
        DlgYesNo box;
        box.setTitleAndText(text("UpdateWindow", QStringLiteral("title_tip")),
                            text("UpdateWindow", QLatin1String(question.text)));
        if (question.ok)
            box.setOkButtonText(text("UpdateWindow", QLatin1String(question.ok)));
        if (question.cancel)
            box.setCancelButtonText(text("UpdateWindow", QLatin1String(question.cancel)));
        box.setCancelButtonVisible(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        found << prefixed(QLatin1String(question.text),
                          widgettextfit::misfits(&box, cardOf(&box, "frame")));
        // The two answers are a pair of equal buttons, each with room around its text.
        const auto *ok = box.findChild<QPushButton *>(QStringLiteral("btnOk"));
        const auto *cancel = box.findChild<QPushButton *>(QStringLiteral("btnCancel"));
        if (ok->width() != cancel->width())
            found << QStringLiteral("%1: buttons of %2 and %3 px")
                         .arg(QLatin1String(question.text))
                         .arg(ok->width())
                         .arg(cancel->width());
        if (QFontInfo(ok->font()).pixelSize() != QFontInfo(cancel->font()).pixelSize())
            found << QStringLiteral("%1: button texts of %2 and %3 px")
                         .arg(QLatin1String(question.text))
                         .arg(QFontInfo(ok->font()).pixelSize())
                         .arg(QFontInfo(cancel->font()).pixelSize());
        for (const QPushButton *button : {ok, cancel}) {
            const int room =
                button->width() - button->fontMetrics().horizontalAdvance(button->text());
            if (room < 2 * kButtonTextMargin)
                found << QStringLiteral("%1: \"%2\" runs to the edges of its button")
                             .arg(QLatin1String(question.text), button->text());
        }
    }

    QCoreApplication::removeTranslator(&translator);
    found.removeDuplicates();
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestWindowTextsFit::overlongTextsShrinkThenElide()
{
    DlgProgress window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect card = cardOf(&window, "fram");
    const QString title = QStringLiteral("Die Aktualisierung ist leider fehlgeschlagen, bitte "
                                         "versuche es später noch einmal");
    const QString button = QStringLiteral("Launcher jetzt öffnen und weiterspielen");
    window.showResultPage(title, QStringLiteral("message"), button,
                          QStringLiteral(":/pic/bg/updateFaile.png"));
    QVERIFY2(widgettextfit::misfits(&window, card).isEmpty(),
             qPrintable(widgettextfit::misfits(&window, card).join(QLatin1Char('\n'))));
    // Too long even at the floor: elided, the whole text in the tool tip.
    auto *titleLabel = window.findChild<QLabel *>(QStringLiteral("lblMsgTitle"));
    QVERIFY(titleLabel->text().endsWith(QChar(0x2026)));
    QCOMPARE(titleLabel->toolTip(), title);
    auto *ok = window.findChild<QPushButton *>(QStringLiteral("btnOk"));
    QVERIFY(QFontInfo(ok->font()).pixelSize() < 18);

    // The next page's short texts come back whole at the form's size.
    window.showResultPage(QStringLiteral("OK"), QStringLiteral("message"), QStringLiteral("OK"),
                          QStringLiteral(":/pic/bg/updateSucceed.png"));
    QCOMPARE(titleLabel->text(), QStringLiteral("OK"));
    QVERIFY(titleLabel->toolTip().isEmpty());
    QCOMPARE(QFontInfo(ok->font()).pixelSize(), 18);
}

QTEST_MAIN(TestWindowTextsFit)
#include "tst_windowtextsfit.moc"
