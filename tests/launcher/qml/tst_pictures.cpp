#include <QImage>
#include <QImageReader>
#include <QtTest>

// The pictures are named by the page, the dialogs and the updater; a missing or misshapen one
// shows as an empty hole or a stretched smear, so check what they promise.
class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void everyNamedPictureExistsWithItsSize_data();
    void everyNamedPictureExistsWithItsSize();
    void dialogCardsHaveRoundedTransparentCorners();
    void installDialogControlsSitOnOpaquePixels();
    void launcherIconHoldsEverySize();
};

void TestPictures::everyNamedPictureExistsWithItsSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    auto add = [](const QString &path, QSize size) {
        QTest::newRow(qPrintable(path)) << path << size;
    };
    add(":/pic/bg.png", {1280, 730});
    add(":/pic/bg_mask.png", {1280, 224});
    add(":/pic/dlg_bg.png", {460, 270});
    add(":/pic/setdlg.png", {740, 536});
    add(":/pic/star.png", {20, 20});
    add(":/pic/change.png", {18, 18});
    for (const char *s : {"n", "o", "d"}) {
        const QString st = QString::fromLatin1(s);
        for (const char *b : {"btn_close_", "btn_min_", "btn_set_", "continue_", "pause_"})
            add(":/pic/" + QLatin1String(b) + st + ".png", {30, 30});
        add(":/pic/main_btn_" + st + ".png", {238, 64});
        add(":/pic/btn_" + st + ".png", {390, 64});
        add(":/pic/dialog_close_" + st + ".png", {20, 20});
        for (const char *b : {"check_", "uncheck_", "radio_", "radio_s_"})
            add(":/pic/" + QLatin1String(b) + st + ".png", {24, 24});
        add(":/pic/btn/btn_close_" + st + ".png", {30, 30});
        add(":/pic/btn/btn_min_" + st + ".png", {30, 30});
    }
    add(":/pic/btn/btn_close_dis.png", {30, 30});
    add(":/pic/bg/dlg_bg.png", {480, 314});
    for (const char *b : {"updateIng", "updateSucceed", "updateFaile"})
        add(":/pic/bg/" + QLatin1String(b) + ".png", {710, 400});
}

void TestPictures::everyNamedPictureExistsWithItsSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
}

void TestPictures::dialogCardsHaveRoundedTransparentCorners()
{
    // The frameless dialogs slice these with 50- (launcher) and 40-pixel (updater) corners:
    // the card must be opaque inside and rounded off at the very corner.
    for (const QString path : {":/pic/dlg_bg.png", ":/pic/bg/dlg_bg.png"}) {
        const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(image.width() >= 100 && image.height() >= 100);
        const int w = image.width() - 1, h = image.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(w, 0), QPoint(0, h), QPoint(w, h)})
            QVERIFY2(qAlpha(image.pixel(corner)) < 64, qPrintable(path));
        for (const QPoint inside : {QPoint(w / 2, h / 2), QPoint(12, h / 2), QPoint(w / 2, 12)})
            QCOMPARE(qAlpha(image.pixel(inside)), 255);
    }
}

void TestPictures::installDialogControlsSitOnOpaquePixels()
{
    // The install dialog takes its window shape from this picture, so any control placed on
    // a transparent pixel would be cut away and let clicks fall through.
    const QImage image = QImage(":/pic/setdlg.png").convertToFormat(QImage::Format_ARGB32);
    const QRect controls[] = {{312, 127, 20, 20},  {340, 120, 341, 31}, {685, 125, 20, 20},
                              {312, 169, 391, 1},  {320, 182, 367, 31}, {312, 217, 302, 30},
                              {627, 217, 78, 30},  {312, 250, 380, 28}, {312, 276, 380, 28},
                              {317, 309, 321, 31}, {317, 336, 341, 21}, {312, 374, 391, 1},
                              {313, 392, 390, 64}};
    for (const QRect &r : controls) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                if (qAlpha(image.pixel(x, y)) != 255)
                    QFAIL(qPrintable(QString("transparent at %1,%2").arg(x).arg(y)));
            }
        }
    }
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(739, 535)), 0);
}

void TestPictures::launcherIconHoldsEverySize()
{
    QImageReader reader(":/icon/launcher.ico");
    QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        sizes << image.width();
    }
    QCOMPARE(sizes, QList<int>({16, 24, 32, 48, 64, 128, 256}));
}

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
