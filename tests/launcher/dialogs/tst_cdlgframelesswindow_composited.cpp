#include <QtTest>

#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "cdlgframelesswindow.h"
#include "compositing.h"

namespace {
const QColor kPage(200, 200, 200);
const QColor kCard(40, 40, 40);
} // namespace

class TestFramelessComposited : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void shadowShowsAroundCardWhenComposited();

private:
    QProcess m_compositor;
};

void TestFramelessComposited::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run under xvfb-run)");
    const QString xcompmgr = QStandardPaths::findExecutable("xcompmgr");
    if (xcompmgr.isEmpty())
        QSKIP("xcompmgr is not installed");
    QVERIFY(!platform::desktopComposesTranslucentWindows());
    m_compositor.start(xcompmgr, {});
    QVERIFY(m_compositor.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(platform::desktopComposesTranslucentWindows(), 5000);
}

void TestFramelessComposited::cleanupTestCase()
{
    if (m_compositor.state() == QProcess::NotRunning)
        return;
    m_compositor.terminate();
    if (!m_compositor.waitForFinished(5000))
        m_compositor.kill();
    m_compositor.waitForFinished(5000);
}

void TestFramelessComposited::shadowShowsAroundCardWhenComposited()
{
    QTemporaryDir dir;
    QImage card(460, 270, QImage::Format_ARGB32);
    card.fill(kCard);
    QVERIFY(card.save(dir.filePath("card.png")));

    QWidget page;
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, kPage);
    page.setPalette(palette);
    page.setAutoFillBackground(true);
    page.setGeometry(0, 0, 900, 600);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    CDlgFramelessWindow w;
    w.setBackgroundImage(dir.filePath("card.png"));
    w.resize(440, 280);
    w.setShadowMargins(10, 10, 10, 10);
    w.move(200, 150);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(w.mask().isEmpty() && w.isVisible());

    // The card sits at (210, 160); 4 pixels left of it the page shows darkened by the
    // shadow, not black and not untouched; far outside the window the page is plain.
    const auto screenAt = [&](int x, int y) {
        return w.screen()->grabWindow(0, x, y, 1, 1).toImage().pixelColor(0, 0);
    };
    QTRY_COMPARE(screenAt(300, 250), kCard);
    QTRY_COMPARE(screenAt(150, 250), kPage);
    const QColor shadowed = screenAt(206, 250);
    QVERIFY2(shadowed.red() < kPage.red() - 5 && shadowed.red() > kPage.red() / 2,
             qPrintable(shadowed.name()));
}

QTEST_MAIN(TestFramelessComposited)
#include "tst_cdlgframelesswindow_composited.moc"
