#include <QtTest>

#include <QPainter>
#include <QRasterWindow>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include "cdlgyesno.h"
#include "compositing.h"

namespace {

const QColor kCard(40, 40, 40);

// A dark card with transparent rounded corners, standing in for the real picture.
QString writeCard(const QTemporaryDir &dir)
{
    QImage image(460, 270, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCard);
    painter.drawRoundedRect(QRectF(0, 0, 460, 270), 12, 12);
    painter.end();
    const QString path = dir.filePath("card.png");
    return image.save(path) ? path : QString();
}

bool isWhite(const QColor &c)
{
    return c.red() > 245 && c.green() > 245 && c.blue() > 245;
}

// The launcher's page is a QML window, no QWidget a box could take as its parent.
class PlainPage : public QRasterWindow
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(QRect(QPoint(), size()), Qt::red);
    }
};

} // namespace

class TestDlgYesNoX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void bareXServerHasNoCompositor();
    void shownBoxIsCutToCardAndRepaintsInPlace();
    void boxWithoutParentStaysAboveThePageRaisedAfterIt();
};

void TestDlgYesNoX11::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run under xvfb-run)");
}

void TestDlgYesNoX11::bareXServerHasNoCompositor()
{
    QCOMPARE(platform::desktopComposesTranslucentWindows(), false);
    QCOMPARE(platform::desktopComposesTranslucentWindows(":4242"), false);
}

void TestDlgYesNoX11::shownBoxIsCutToCardAndRepaintsInPlace()
{
    QTemporaryDir dir;
    const QString card = writeCard(dir);
    QVERIFY(!card.isEmpty());

    // The main window underneath, as in the launcher.
    QWidget page;
    page.setGeometry(0, 0, 900, 600);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    CDlgYesNo box;
    box.setBackgroundImage(card);
    box.resize(460, 300);
    box.move(200, 150);
    box.setMessage("title_tip", "Start the game now?");

    QRegion mask;
    bool buttonInPlace = false;
    QString seen;
    QTimer::singleShot(0, &box, [&] {
        if (!QTest::qWaitForWindowExposed(&box) || !QTest::qWaitForWindowActive(&box)) {
            box.reject();
            return;
        }
        mask = box.mask();
        // Repaint one button alone, as focus and hover changes do; repaint() has flushed the
        // window to the X server when it returns.
        auto *cancel = box.findChild<QPushButton *>("btn_cancel");
        cancel->setFocus();
        cancel->repaint();
        const QRect button(cancel->mapToGlobal(QPoint(0, 0)), cancel->size());
        buttonInPlace = QTest::qWaitFor(
            [&] {
                const QImage shot = box.screen()->grabWindow(0).toImage();
                const QColor top = shot.pixelColor(button.center().x(), button.top() + 4);
                const QColor bottom = shot.pixelColor(button.center().x(), button.bottom() - 4);
                const QColor outside = shot.pixelColor(button.left() - 4, button.center().y());
                seen = QStringLiteral("top %1 bottom %2 outside %3")
                           .arg(top.name(), bottom.name(), outside.name());
                return isWhite(top) && isWhite(bottom) && outside == kCard;
            },
            5000);
        box.accept();
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));

    // No compositor: the margins would show black, so the window is cut to the card.
    QCOMPARE(mask.boundingRect(), QRect(10, 10, 440, 280));
    QVERIFY(!mask.contains(QPoint(10, 10)));
    QVERIFY(mask.contains(QPoint(230, 150)));
    QVERIFY2(buttonInPlace, qPrintable(seen));
}

void TestDlgYesNoX11::boxWithoutParentStaysAboveThePageRaisedAfterIt()
{
    PlainPage page;
    page.setGeometry(0, 0, 900, 600);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.requestActivate();

    CDlgYesNo box;
    box.resize(460, 300);
    box.move(200, 150);
    box.setMessage("title_tip", "Update now?");
    QWindow *transientParent = nullptr;
    bool onTop = false;
    QString seen;
    QTimer::singleShot(0, &box, [&] {
        if (!QTest::qWaitForWindowExposed(&box)) {
            box.reject();
            return;
        }
        transientParent = box.windowHandle()->transientParent();
        // The launcher raises its page when it is restored, after the box has opened.
        page.raise();
        page.requestActivate();
        const QPoint centre = box.mapToGlobal(box.rect().center());
        onTop = QTest::qWaitFor(
            [&] {
                const QColor c = box.screen()->grabWindow(0).toImage().pixelColor(centre);
                seen = c.name();
                return c != QColor(Qt::red);
            },
            5000);
        box.accept();
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QCOMPARE(transientParent, static_cast<QWindow *>(&page));
    QVERIFY2(onTop, qPrintable(QStringLiteral("the page covers the box: ") + seen));
}

QTEST_MAIN(TestDlgYesNoX11)
#include "tst_cdlgyesno_x11.moc"
