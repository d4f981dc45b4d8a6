#include <QtTest>

#include <QBitmap>
#include <QGraphicsDropShadowEffect>
#include <QMargins>
#include <QPainter>
#include <QTemporaryDir>

#include "cdlgframelesswindow.h"

Q_DECLARE_METATYPE(QMargins)

namespace {

const QColor kTopLeft(255, 0, 0);
const QColor kTopRight(0, 255, 0);
const QColor kBottomLeft(0, 0, 255);
const QColor kBottomRight(255, 255, 0);
const QColor kEdge(0, 255, 255);
const QColor kCentre(40, 40, 40);
const QColor kMarker(255, 255, 255);

// A stand-in for the card picture: four coloured 50 x 50 corners, each with a white pixel at
// its inner tip, edges in cyan, the centre in grey; the outermost top-left pixel is
// transparent, like a rounded corner.
QPixmap testCard(int width = 460, int height = 270)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(kCentre);
    QPainter painter(&image);
    painter.fillRect(50, 0, width - 100, 50, kEdge);
    painter.fillRect(50, height - 50, width - 100, 50, kEdge);
    painter.fillRect(0, 50, 50, height - 100, kEdge);
    painter.fillRect(width - 50, 50, 50, height - 100, kEdge);
    painter.fillRect(0, 0, 50, 50, kTopLeft);
    painter.fillRect(width - 50, 0, 50, 50, kTopRight);
    painter.fillRect(0, height - 50, 50, 50, kBottomLeft);
    painter.fillRect(width - 50, height - 50, 50, 50, kBottomRight);
    painter.end();
    image.setPixelColor(49, 49, kMarker);
    image.setPixelColor(width - 50, 49, kMarker);
    image.setPixelColor(49, height - 50, kMarker);
    image.setPixelColor(width - 50, height - 50, kMarker);
    image.setPixelColor(0, 0, Qt::transparent);
    return QPixmap::fromImage(image);
}

QColor pixel(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, w->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestFramelessWindow : public QObject
{
    Q_OBJECT

private slots:
    void frameAndTranslucency();
    void shadowMarginsGrowWindowAndPickOffset_data();
    void shadowMarginsGrowWindowAndPickOffset();
    void negativeMarginsChangeNothing();
    void nineSliceKeepsCornersAndStretchesRest_data();
    void nineSliceKeepsCornersAndStretchesRest();
    void nineSliceTooSmallScalesWhole();
    void cardPaintedInsideMarginsAndMaskFollowsIt();
    void offsetShadowFallsDownAndRight();
    void missingBackgroundPaintsPlainWithoutMask();
    void leftButtonDragsWindow();
    void rightButtonPressDoesNotDrag();
};

void TestFramelessWindow::frameAndTranslucency()
{
    CDlgFramelessWindow w;
    QCOMPARE(int(w.windowFlags()), 0xE803);
    QVERIFY(w.testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(w.backgroundImage().isNull());
    QCOMPARE(w.shadowMargins(), QMargins());
    QVERIFY(!w.graphicsEffect());
}

void TestFramelessWindow::shadowMarginsGrowWindowAndPickOffset_data()
{
    QTest::addColumn<QMargins>("margins");
    QTest::addColumn<QSize>("grown");
    QTest::addColumn<QPointF>("offset");
    QTest::newRow("all sides") << QMargins(10, 10, 10, 10) << QSize(490, 316) << QPointF(0, 0);
    QTest::newRow("right and bottom") << QMargins(0, 0, 5, 5) << QSize(475, 301) << QPointF(5, 5);
    QTest::newRow("left and right") << QMargins(4, 0, 6, 3) << QSize(480, 299) << QPointF(0, 0);
    QTest::newRow("top and bottom") << QMargins(0, 2, 7, 8) << QSize(477, 306) << QPointF(0, 0);
    QTest::newRow("none") << QMargins() << QSize(470, 296) << QPointF(0, 0);
}

void TestFramelessWindow::shadowMarginsGrowWindowAndPickOffset()
{
    QFETCH(QMargins, margins);
    QFETCH(QSize, grown);
    QFETCH(QPointF, offset);
    CDlgFramelessWindow w;
    w.resize(470, 296);
    w.setShadowMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
    QCOMPARE(w.size(), grown);
    QCOMPARE(w.shadowMargins(), margins);
    QCOMPARE(QPointF(w.shadowOffset()), offset);
    // The shadow is painted, not a window-level effect: Qt mis-places repaints through one.
    QVERIFY(!w.graphicsEffect());
}

void TestFramelessWindow::negativeMarginsChangeNothing()
{
    CDlgFramelessWindow w;
    w.resize(470, 296);
    w.setShadowMargins(-1, 10, 10, 10);
    w.setShadowMargins(10, 10, 10, -10);
    QCOMPARE(w.size(), QSize(470, 296));
    QCOMPARE(w.shadowMargins(), QMargins());

    w.setShadowMargins(3, 3, 3, 3);
    w.setShadowMargins(0, -3, 0, 0);
    QCOMPARE(w.size(), QSize(476, 302));
    QCOMPARE(w.shadowMargins(), QMargins(3, 3, 3, 3));
    QCOMPARE(w.shadowOffset(), QPoint(0, 0));
}

void TestFramelessWindow::nineSliceKeepsCornersAndStretchesRest_data()
{
    QTest::addColumn<QSize>("target");
    QTest::newRow("card of the message box") << QSize(440, 280);
    QTest::newRow("larger") << QSize(800, 600);
    QTest::newRow("exactly two corners") << QSize(100, 100);
}

void TestFramelessWindow::nineSliceKeepsCornersAndStretchesRest()
{
    QFETCH(QSize, target);
    const int w = target.width();
    const int h = target.height();
    const QPixmap scaled = CDlgFramelessWindow::nineSliceScaled(testCard(), w, h);
    QCOMPARE(scaled.size(), target);
    QVERIFY(scaled.hasAlpha());
    const QImage image = scaled.toImage();

    QCOMPARE(pixel(image, 0, 0).alpha(), 0);
    QCOMPARE(pixel(image, 1, 0), kTopLeft);
    QCOMPARE(pixel(image, w - 1, 0), kTopRight);
    QCOMPARE(pixel(image, 0, h - 1), kBottomLeft);
    QCOMPARE(pixel(image, w - 1, h - 1), kBottomRight);
    // The corners are copied 1:1: their inner tips sit 49 pixels in from each edge.
    QCOMPARE(pixel(image, 49, 49), kMarker);
    QCOMPARE(pixel(image, w - 50, 49), kMarker);
    QCOMPARE(pixel(image, 49, h - 50), kMarker);
    QCOMPARE(pixel(image, w - 50, h - 50), kMarker);
    QCOMPARE(pixel(image, 48, 48), kTopLeft);
    if (w > 100 && h > 100) {
        QCOMPARE(pixel(image, 50, 0), kEdge);
        QCOMPARE(pixel(image, w - 51, h - 1), kEdge);
        QCOMPARE(pixel(image, 0, h / 2), kEdge);
        QCOMPARE(pixel(image, w - 1, h / 2), kEdge);
        QCOMPARE(pixel(image, w / 2, h / 2), kCentre);
    }
}

void TestFramelessWindow::nineSliceTooSmallScalesWhole()
{
    const QPixmap small = CDlgFramelessWindow::nineSliceScaled(testCard(), 60, 40);
    QCOMPARE(small.size(), QSize(60, 40));
    const QPixmap fromSmall = CDlgFramelessWindow::nineSliceScaled(testCard(80, 300), 300, 300);
    QCOMPARE(fromSmall.size(), QSize(300, 300));
    QVERIFY(CDlgFramelessWindow::nineSliceScaled(testCard(), 0, 100).isNull());
    QVERIFY(CDlgFramelessWindow::nineSliceScaled(testCard(), 100, -5).isNull());
    QVERIFY(CDlgFramelessWindow::nineSliceScaled(QPixmap(), 100, 100).isNull());
}

void TestFramelessWindow::cardPaintedInsideMarginsAndMaskFollowsIt()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath("card.png");
    QVERIFY(testCard().save(file));

    CDlgFramelessWindow w;
    w.setBackgroundImage(file);
    QCOMPARE(w.backgroundImage().size(), QSize(460, 270));
    w.resize(470, 296);
    w.setShadowMargins(10, 10, 10, 10);
    w.resize(460, 300);
    const QImage image = w.grab().toImage();

    // The card: 440 x 280 at (10, 10).
    QCOMPARE(pixel(image, 11, 10), kTopLeft);
    QCOMPARE(pixel(image, 449, 10), kTopRight);
    QCOMPARE(pixel(image, 10, 289), kBottomLeft);
    QCOMPARE(pixel(image, 449, 289), kBottomRight);
    QCOMPARE(pixel(image, 59, 59), kMarker);
    // Around it a faint shadow, no darker than its colour, fading outwards.
    const int near = pixel(image, 8, 150).alpha();
    const int far = pixel(image, 1, 150).alpha();
    QVERIFY2(near > far && far > 0 && near <= 51,
             qPrintable(QStringLiteral("%1 %2").arg(near).arg(far)));
    QCOMPARE(pixel(image, 8, 150).red(), 0);
    QCOMPARE(pixel(image, 8, 150).alpha(), pixel(image, 451, 150).alpha());

    // The mask is the card's own shape where the card is drawn.
    const QRegion mask = w.mask();
    QCOMPARE(mask.boundingRect(), QRect(10, 10, 440, 280));
    QVERIFY(!mask.contains(QPoint(10, 10)));
    QVERIFY(mask.contains(QPoint(11, 10)));
    QVERIFY(mask.contains(QPoint(449, 289)));
    QVERIFY(!mask.contains(QPoint(450, 290)));

    // A new size rebuilds card and mask.
    w.resize(600, 400);
    w.grab();
    QCOMPARE(w.mask().boundingRect(), QRect(10, 10, 580, 380));
}

void TestFramelessWindow::offsetShadowFallsDownAndRight()
{
    const QImage shadow = CDlgFramelessWindow::dropShadow(
        testCard(100, 100), QSize(130, 130), QPoint(5, 5), CDlgFramelessWindow::kShadowBlurRadius,
        CDlgFramelessWindow::shadowColor());
    QCOMPARE(shadow.size(), QSize(130, 130));
    // Under the shape the shadow has its full colour; it fades to nothing far outside.
    QCOMPARE(shadow.pixelColor(55, 55).alpha(), 51);
    QCOMPARE(shadow.pixelColor(55, 55).red(), 0);
    QCOMPARE(shadow.pixelColor(129, 55).alpha(), 0);
    const int nearEdge = shadow.pixelColor(106, 55).alpha();
    const int further = shadow.pixelColor(112, 55).alpha();
    QVERIFY2(51 > nearEdge && nearEdge > further && further > 0,
             qPrintable(QStringLiteral("%1 %2").arg(nearEdge).arg(further)));

    CDlgFramelessWindow w;
    QVERIFY(CDlgFramelessWindow::dropShadow(QPixmap(), QSize(10, 10), {}, 20, Qt::black).size() ==
            QSize(10, 10));
    QTemporaryDir dir;
    QVERIFY(testCard().save(dir.filePath("card.png")));
    w.setBackgroundImage(dir.filePath("card.png"));
    w.resize(440, 280);
    w.setShadowMargins(0, 0, 5, 5);
    const QImage image = w.grab().toImage();
    QCOMPARE(pixel(image, 1, 0), kTopLeft);
    QVERIFY(pixel(image, 442, 150).alpha() > 0);
    QVERIFY(pixel(image, 220, 282).alpha() > 0);
}

void TestFramelessWindow::missingBackgroundPaintsPlainWithoutMask()
{
    CDlgFramelessWindow w;
    w.setBackgroundImage(":/pic/does_not_exist.png");
    QVERIFY(w.backgroundImage().isNull());
    w.resize(200, 100);
    const QImage image = w.grab().toImage();
    QCOMPARE(image.size(), QSize(200, 100));
    QVERIFY(w.mask().isEmpty());
}

void TestFramelessWindow::leftButtonDragsWindow()
{
    CDlgFramelessWindow w;
    w.resize(300, 200);
    w.move(100, 100);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint start = w.frameGeometry().topLeft();
    const QPoint grip = start + QPoint(30, 30);

    sendMouse(&w, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    sendMouse(&w, QEvent::MouseMove, grip + QPoint(40, 25), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(w.frameGeometry().topLeft(), start + QPoint(40, 25));
    sendMouse(&w, QEvent::MouseMove, grip + QPoint(-20, 5), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(w.frameGeometry().topLeft(), start + QPoint(-20, 5));
    sendMouse(&w, QEvent::MouseButtonRelease, grip + QPoint(-20, 5), Qt::LeftButton, Qt::NoButton);

    // After the release a move, even one claiming the left button, does not drag.
    sendMouse(&w, QEvent::MouseMove, grip + QPoint(90, 90), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(w.frameGeometry().topLeft(), start + QPoint(-20, 5));
}

void TestFramelessWindow::rightButtonPressDoesNotDrag()
{
    CDlgFramelessWindow w;
    w.resize(300, 200);
    w.move(100, 100);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint start = w.frameGeometry().topLeft();
    const QPoint grip = start + QPoint(30, 30);

    sendMouse(&w, QEvent::MouseButtonPress, grip, Qt::RightButton, Qt::RightButton);
    sendMouse(&w, QEvent::MouseMove, grip + QPoint(40, 25), Qt::NoButton, Qt::RightButton);
    QCOMPARE(w.frameGeometry().topLeft(), start);
    sendMouse(&w, QEvent::MouseButtonRelease, grip + QPoint(40, 25), Qt::RightButton, Qt::NoButton);
    QCOMPARE(w.frameGeometry().topLeft(), start);
}

QTEST_MAIN(TestFramelessWindow)
#include "tst_cdlgframelesswindow.moc"
