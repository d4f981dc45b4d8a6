// tools/gallery run for real in one language: every screen it promises is a picture of the
// right size that shows something, no two screens came out the same, and the index shows
// them all.
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kLang = QStringLiteral("en");

const QStringList kPageScreens{
    "notinstalled", "continue",   "downloading", "paused",      "verifying", "installing",
    "installed",    "update",     "queryfailed", "msgbox",      "notice",    "settings-1",
    "settings-2",   "settings-3", "repair",      "installpath", "closetip",  "about"};

const QStringList kUpdaterScreens{
    "updater-downloading",      "updater-unzipping",       "updater-replacing",
    "updater-succeeded",        "updater-download-failed", "updater-unzip-failed",
    "updater-replace-failed",   "updater-close-question",  "updater-init-failed",
    "updater-bad-arguments",    "updater-bad-address",     "updater-backup-failed",
    "updater-replace-exception"};

// Colours on a coarse grid: a blank or black grab has one or two.
int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class TestGallery : public QObject
{
    Q_OBJECT

private slots:
    void rendersEveryScreenOnceWithAnIndex()
    {
        QTemporaryDir out;
        QVERIFY(out.isValid());
        out.setAutoRemove(false);
        QProcess gallery;
        gallery.setProcessChannelMode(QProcess::ForwardedChannels);
        gallery.start(
            QStringLiteral("bash"),
            {qEnvironmentVariable("LAUNCHER_SOURCE_DIR") + QStringLiteral("/tools/gallery"),
             QStringLiteral("--no-build"), QStringLiteral("--lang"), kLang, out.path()});
        QVERIFY(gallery.waitForFinished(240000));
        QCOMPARE(gallery.exitCode(), 0);

        QFile index(out.filePath(QStringLiteral("index.html")));
        QVERIFY(index.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(index.readAll());
        QVERIFY(!html.contains(QStringLiteral("missing</td>")));

        QHash<QByteArray, QString> seen;
        for (const QString &screen : kPageScreens + kUpdaterScreens) {
            const QString name = screen + QLatin1Char('-') + kLang + QStringLiteral(".png");
            const QImage image(out.filePath(name));
            QVERIFY2(!image.isNull(), qPrintable(name));
            if (kPageScreens.contains(screen))
                QCOMPARE(image.size(), QSize(1280, 730));
            else
                QVERIFY2(image.width() >= 400 && image.height() >= 300, qPrintable(name));
            QVERIFY2(colourCount(image) > 40, qPrintable(name));
            QVERIFY2(html.contains(QStringLiteral("src=\"%1\"").arg(name)), qPrintable(name));
            // A state or dialog that did not apply leaves the picture of the one before.
            const QByteArray digest = QCryptographicHash::hash(
                QByteArray(reinterpret_cast<const char *>(image.constBits()),
                           int(image.sizeInBytes())),
                QCryptographicHash::Sha1);
            QVERIFY2(!seen.contains(digest),
                     qPrintable(name + QStringLiteral(" is the same as ") + seen.value(digest)));
            seen.insert(digest, name);
        }
        out.setAutoRemove(!QTest::currentTestFailed());
    }
};

QTEST_GUILESS_MAIN(TestGallery)
#include "tst_gallery.moc"
