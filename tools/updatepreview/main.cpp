// Shows the updater's window in every page an update passes through, and its boxes over it,
// in one language, and saves a picture of each.
//
// Usage: updatepreview --gallery DIR [--lang zh-cn]   writes DIR/updater-<page>-<lang>.png
// --lang names the translation file: zh-cn reads updateProgram/language/i18n_zh_cn.qm.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

#include "dlgprogress.h"
#include "dlgyesno.h"
#include "updatewindow.h"
#include "scriptfont.h"
#include "sizetext.h"

namespace {

const QString kPictureRunning = QStringLiteral(":/pic/bg/updateIng.png");
const QString kPictureSucceeded = QStringLiteral(":/pic/bg/updateSucceed.png");
const QString kPictureFailed = QStringLiteral(":/pic/bg/updateFaile.png");
constexpr int kSettleMs = 300;

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString tr(const char *context, const char *key)
{
    return QCoreApplication::translate(context, key);
}

QString tr(const char *key)
{
    return tr("UpdateWindow", key);
}

// The window and, when a box is open, the box: both are centred on the same point.
bool grab(const QRect &area, const QString &file)
{
    const QImage image = QGuiApplication::primaryScreen()
                             ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                             .toImage();
    const bool ok = !image.isNull() && image.save(file);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(file));
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"gallery", "folder for the pictures", "dir"});
    parser.addOption({"lang", "language code such as zh-cn, en, pt", "lang", "zh-cn"});
    parser.process(app);
    const QString dir = parser.value("gallery");
    const QString lang = parser.value("lang");
    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        std::fprintf(stderr, "usage: updatepreview --gallery dir [--lang zh-cn]\n");
        return 2;
    }
    QTranslator translator;
    const QString qm = QStringLiteral("i18n_%1").arg(QString(lang).replace('-', '_'));
    if (translator.load(qm, QStringLiteral(PREVIEW_LANGUAGE_DIR)))
        app.installTranslator(&translator);
    SizeText::useLanguageOf(translator);
    ScriptFont::useLanguageOf(translator);
    if (translator.isEmpty())
        std::fprintf(stderr, "no translation %s, showing keys\n", qPrintable(qm));

    DlgProgress window;
    window.retranslate();
    window.show();
    const QPoint centre = window.screen()->availableGeometry().center();
    window.move(centre - window.rect().center());
    auto file = [&](const char *page) {
        return QStringLiteral("%1/updater-%2-%3.png").arg(dir, QLatin1String(page), lang);
    };
    bool ok = true;

    struct Step
    {
        const char *page;
        const char *label;
        int percent;
        bool closable;
    };
    for (const Step &step : {Step{"downloading", "label_resource_downloading", 42, true},
                             Step{"unzipping", "label_file_unziping", 67, false},
                             Step{"replacing", "label_file_replacing", 88, false}}) {
        window.setCloseEnabled(step.closable);
        // The download tells its sizes, speed and time left as the window does.
        const qint64 size = qint64(48.3 * 1024 * 1024);
        const QString details =
            qstrcmp(step.page, "downloading") == 0
                ? UpdateWindow::transferDetails(size * step.percent / 100, size,
                                                qint64(2.4 * 1024 * 1024) * 3, 3000)
                : QString();
        window.showProgressPage(UpdateWindow::progressText(tr(step.label), step.percent, false) +
                                    details,
                                kPictureRunning);
        window.setProgressValue(step.percent);
        wait(kSettleMs);
        ok = grab(window.frameGeometry(), file(step.page)) && ok;
    }

    struct Result
    {
        const char *page;
        QString title;
        QString message;
        QString button;
        QString picture;
    };
    window.setCloseEnabled(true);
    for (const Result &result :
         {Result{"succeeded", tr("title_update_success"), tr("message_click_button_open_launcher"),
                 tr("button_open_launcher"), kPictureSucceeded},
          Result{"download-failed", tr("title_download_error"),
                 tr("DownloadTask", "message_error_download_network"), tr("button_redo"),
                 kPictureFailed},
          Result{"unzip-failed", tr("title_unzip_error"),
                 tr("UncompressManager", "message_setup_zip_unzip_error"), tr("button_redo"),
                 kPictureFailed},
          Result{"replace-failed", tr("title_file_replace_failed"),
                 QStringLiteral("/home/player/Games/Lunmere/launcher"), tr("button_redo"),
                 kPictureFailed}}) {
        window.showResultPage(result.title, result.message, result.button, result.picture);
        wait(kSettleMs);
        ok = grab(window.frameGeometry(), file(result.page)) && ok;
    }

    // The boxes the update can ask, over the download page as the user meets them.
    window.showProgressPage(UpdateWindow::progressText(tr("label_resource_downloading"), 42, false),
                            kPictureRunning);
    window.setProgressValue(42);
    // As the update window builds each one; a notice (showNotice) hides the cancel button.
    struct Box
    {
        const char *page;
        QString title;
        QString text;
        QString ok;
        QString cancel;
        bool notice;
    };
    for (const Box &box :
         {Box{"close-question", QString(), tr("message_updating_do_not_close"),
              tr("button_continue_update"), tr("button_close_update"), false},
          Box{"init-failed", tr("title_tip"), tr("message_update_init_failed"), tr("button_redo"),
              QString(), false},
          Box{"bad-arguments", tr("title_tip"),
              tr("message_main_process_parameter_abnormal") + QStringLiteral("/tmp/x"), QString(),
              QString(), false},
          Box{"bad-address", tr("title_tip"), tr("message_update_address_abnormal"), QString(),
              QString(), true},
          Box{"backup-failed", tr("title_tip"), tr("message_failed_create_backup_folder_try_again"),
              tr("button_redo"), QString(), false},
          Box{"replace-exception", tr("title_tip"), tr("message_file_replace_exception"), QString(),
              QString(), true}}) {
        DlgYesNo dialog;
        dialog.setTitleAndText(box.title, box.text);
        if (!box.ok.isEmpty())
            dialog.setOkButtonText(box.ok);
        if (!box.cancel.isEmpty())
            dialog.setCancelButtonText(box.cancel);
        if (box.notice)
            dialog.setCancelButtonVisible(false);
        dialog.move(centre - dialog.rect().center());
        const QString name = file(box.page);
        QTimer::singleShot(kSettleMs, &dialog, [&] {
            ok = grab(window.frameGeometry().united(dialog.frameGeometry()), name) && ok;
            dialog.done(0);
        });
        dialog.exec();
    }
    return ok ? 0 : 1;
}
