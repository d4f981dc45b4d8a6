#include <QtTest>

#include <QLabel>
#include <QPushButton>
#include <QTextBlock>

#include <functional>

#include "cautosizelabel.h"
#include "cdlgyesno.h"

namespace {

// The box a modal exec() currently runs: the top of the modal stack.
CDlgYesNo *visibleBox()
{
    auto *box = qobject_cast<CDlgYesNo *>(QApplication::activeModalWidget());
    return box && box->isVisible() ? box : nullptr;
}

// Runs action on the message box once a modal exec() shows it. Gives up (closing every box)
// after a bounded wait so a fault cannot hang the test.
void whenBoxShown(std::function<void(CDlgYesNo *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        if (CDlgYesNo *box = visibleBox()) {
            timer->deleteLater();
            timer->stop();
            action(box);
        } else if (++*tries > 500) {
            timer->deleteLater();
            timer->stop();
            QFAIL("no message box appeared");
        }
    });
    timer->start();
}

template<typename T>
T *part(CDlgYesNo *box, const char *name)
{
    T *child = box->findChild<T *>(QLatin1String(name));
    if (!child)
        qWarning() << "missing form part" << name;
    return child;
}

} // namespace

class TestDlgYesNo : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void formGrowsByShadowMarginsAndHidesTitleParts();
    void messageShowsTextOnlyCloseButtonOnRequest();
    void askPlacesBoxOverArea();
    void askWithoutAreaKeepsSize();
    void askCentresBoxAtItsShownHeight_data();
    void askCentresBoxAtItsShownHeight();
    void openCountAfterOk();
    void openCountAfterCancel();
    void openCountAfterEscape();
    void openCountAfterWindowManagerCloseAndDestruction();
    void nestedBoxesCountEachOnce();
};

void TestDlgYesNo::cleanup()
{
    // Every test must leave no box on screen and the count at zero.
    QCOMPARE(CDlgYesNo::openCount(), 0);
}

void TestDlgYesNo::formGrowsByShadowMarginsAndHidesTitleParts()
{
    CDlgYesNo box;
    QCOMPARE(box.size(), QSize(490, 316));
    QCOMPARE(box.shadowMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(int(box.windowFlags()), 0xE803);
    QCOMPARE(box.windowTitle(), QStringLiteral("title_tip"));
    QVERIFY(part<QLabel>(&box, "lbl_ico")->isHidden());
    QVERIFY(part<QLabel>(&box, "lbl_title")->isHidden());
    QVERIFY(part<QPushButton>(&box, "btn_close")->isHidden());
    QVERIFY(!part<QPushButton>(&box, "btn_cancel")->isHidden());
    QCOMPARE(part<QPushButton>(&box, "btn_ok")->text(), QStringLiteral("button_confirm"));
    QCOMPARE(part<QPushButton>(&box, "btn_cancel")->text(), QStringLiteral("button_cancle"));
    auto *text = part<CAutoSizeLabel>(&box, "textBrowser");
    QVERIFY(text);
    QVERIFY(!text->isEnabled());
}

void TestDlgYesNo::messageShowsTextOnlyCloseButtonOnRequest()
{
    CDlgYesNo box;
    box.setMessage("title_tip", "Disk <b>full</b> 100%1");
    box.setConfirmText("Retry");
    box.setCancelText("Later");
    auto *text = part<CAutoSizeLabel>(&box, "textBrowser");
    QCOMPARE(text->toPlainText(), QStringLiteral("Disk full 100%1"));
    QCOMPARE(int(text->document()->begin().blockFormat().alignment() & Qt::AlignHCenter),
             int(Qt::AlignHCenter));
    QCOMPARE(part<QLabel>(&box, "lbl_title")->text(), QStringLiteral("title_tip"));
    QCOMPARE(part<QPushButton>(&box, "btn_ok")->text(), QStringLiteral("Retry"));
    QCOMPARE(part<QPushButton>(&box, "btn_cancel")->text(), QStringLiteral("Later"));

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(!part<QLabel>(&box, "lbl_title")->isVisible());
    QVERIFY(!part<QPushButton>(&box, "btn_close")->isVisible());
    QVERIFY(text->isVisible());
    box.showCloseButton(true);
    QVERIFY(part<QPushButton>(&box, "btn_close")->isVisible());
    box.hideCancelButton(true);
    QVERIFY(!part<QPushButton>(&box, "btn_cancel")->isVisible());
    box.hideCancelButton(false);
    QVERIFY(part<QPushButton>(&box, "btn_cancel")->isVisible());

    // The close button ends the box like cancel.
    QTest::mouseClick(part<QPushButton>(&box, "btn_close"), Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Rejected));
}

void TestDlgYesNo::askPlacesBoxOverArea()
{
    QRect seen;
    bool cancelShown = true;
    int countWhileOpen = -1;
    whenBoxShown([&](CDlgYesNo *box) {
        seen = box->geometry();
        cancelShown = part<QPushButton>(box, "btn_cancel")->isVisible();
        countWhileOpen = CDlgYesNo::openCount();
        QTest::mouseClick(part<QPushButton>(box, "btn_ok"), Qt::LeftButton);
    });
    const int result =
        CDlgYesNo::ask("title_tip", "text", false, nullptr, QRect(100, 50, 1280, 720));
    QCOMPARE(result, 1);
    QCOMPARE(seen, QRect(490, 260, 460, 300));
    QCOMPARE(cancelShown, false);
    QCOMPARE(countWhileOpen, 1);
}

void TestDlgYesNo::askWithoutAreaKeepsSize()
{
    QSize seen;
    bool cancelShown = false;
    whenBoxShown([&](CDlgYesNo *box) {
        seen = box->size();
        cancelShown = part<QPushButton>(box, "btn_cancel")->isVisible();
        box->accept();
    });
    QCOMPARE(CDlgYesNo::ask("t", "x", true), 1);
    QCOMPARE(seen, QSize(460, 300));
    QCOMPARE(cancelShown, true);
}

void TestDlgYesNo::askCentresBoxAtItsShownHeight_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("grows");
    QTest::newRow("one line") << QStringLiteral("text") << false;
    QTest::newRow("two lines") << QStringLiteral("A new launcher is ready. Update now?<br/>"
                                                 "Version 2.4.0.0, 48.3 MB to download.")
                               << false;
    QTest::newRow("long message") << QStringLiteral("word ").repeated(80) << true;
}

// However tall its text makes the box, it ends up centred over the page, not hanging below.
void TestDlgYesNo::askCentresBoxAtItsShownHeight()
{
    QFETCH(QString, text);
    QFETCH(bool, grows);
    const QRect area(100, 50, 1280, 720);
    QRect seen;
    whenBoxShown([&](CDlgYesNo *box) {
        seen = box->geometry();
        box->accept();
    });
    QCOMPARE(CDlgYesNo::ask("title_tip", text, true, nullptr, area), 1);
    QCOMPARE(seen.height() > 300, grows);
    QVERIFY2(qAbs(seen.center().y() - area.center().y()) <= 1,
             qPrintable(QStringLiteral("box %1 px high, middle at %2, page's at %3")
                            .arg(seen.height())
                            .arg(seen.center().y())
                            .arg(area.center().y())));
    QCOMPARE(seen.x(), area.x() + (area.width() - 500) / 2);
}

void TestDlgYesNo::openCountAfterOk()
{
    CDlgYesNo box;
    QSignalSpy finished(&box, &CDlgYesNo::dlgFinish);
    whenBoxShown([](CDlgYesNo *shown) {
        QCOMPARE(CDlgYesNo::openCount(), 1);
        QTest::mouseClick(part<QPushButton>(shown, "btn_ok"), Qt::LeftButton);
    });
    QCOMPARE(box.exec(), 1);
    QCOMPARE(CDlgYesNo::openCount(), 0);
    // The outcome is exec()'s result; the buttons do not emit dlgFinish as well.
    QCOMPARE(finished.count(), 0);
}

void TestDlgYesNo::openCountAfterCancel()
{
    whenBoxShown([](CDlgYesNo *shown) {
        QCOMPARE(CDlgYesNo::openCount(), 1);
        QTest::mouseClick(part<QPushButton>(shown, "btn_cancel"), Qt::LeftButton);
    });
    QCOMPARE(CDlgYesNo::ask("t", "x", true), 0);
    QCOMPARE(CDlgYesNo::openCount(), 0);
}

void TestDlgYesNo::openCountAfterEscape()
{
    // The view model's long-lived box: it outlives exec(), so only its hiding can uncount it.
    CDlgYesNo box;
    box.resize(500, 300);
    box.hideCancelButton(true);
    for (int round = 0; round < 2; ++round) {
        whenBoxShown([](CDlgYesNo *shown) {
            QCOMPARE(CDlgYesNo::openCount(), 1);
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        QCOMPARE(box.exec(), 0);
        // A box closed without its buttons must not leave the main page dimmed.
        QCOMPARE(CDlgYesNo::openCount(), 0);
    }
}

void TestDlgYesNo::openCountAfterWindowManagerCloseAndDestruction()
{
    CDlgYesNo box;
    box.show();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(CDlgYesNo::openCount(), 1);
    QVERIFY(box.close());
    QCOMPARE(CDlgYesNo::openCount(), 0);
    box.hide();
    QCOMPARE(CDlgYesNo::openCount(), 0);

    box.show();
    QCOMPARE(CDlgYesNo::openCount(), 1);
    {
        CDlgYesNo second;
        second.show();
        QCOMPARE(CDlgYesNo::openCount(), 2);
    }
    QCOMPARE(CDlgYesNo::openCount(), 1);
    box.hide();
}

void TestDlgYesNo::nestedBoxesCountEachOnce()
{
    int inner = -1;
    int outerAfterInner = -1;
    whenBoxShown([&](CDlgYesNo *outer) {
        QTimer::singleShot(0, outer, [&, outer] {
            // A second question while the first is open: the page stays dimmed after it.
            whenBoxShown([&](CDlgYesNo *box) {
                inner = CDlgYesNo::openCount();
                QTest::keyClick(box, Qt::Key_Escape);
            });
            CDlgYesNo::ask("t", "inner", true, outer);
            outerAfterInner = CDlgYesNo::openCount();
            QTest::mouseClick(part<QPushButton>(outer, "btn_ok"), Qt::LeftButton);
        });
    });
    QCOMPARE(CDlgYesNo::ask("t", "outer", true), 1);
    QCOMPARE(inner, 2);
    QCOMPARE(outerAfterInner, 1);
}

QTEST_MAIN(TestDlgYesNo)
#include "tst_cdlgyesno.moc"
