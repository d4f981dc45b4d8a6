#include <QtTest>

#include <QTextDocument>

#include "cautosizelabel.h"

class TestAutoSizeLabel : public QObject
{
    Q_OBJECT

private slots:
    void heightFollowsTextAsItGrows();
    void showRecomputesHeightForFinalWidth();
};

namespace {
int expectedHeight(CAutoSizeLabel &label)
{
    return int(label.document()->size().height() + 2 * label.frameWidth());
}
} // namespace

void TestAutoSizeLabel::heightFollowsTextAsItGrows()
{
    CAutoSizeLabel label;
    label.resize(300, 10);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QSignalSpy heights(&label, &CAutoSizeLabel::hightChanged);

    label.setPlainText("one");
    QVERIFY(!heights.isEmpty());
    const int one = heights.last().at(0).toInt();
    QCOMPARE(one, label.height());
    QCOMPARE(one, expectedHeight(label));

    heights.clear();
    label.append("two");
    QVERIFY(!heights.isEmpty());
    const int two = heights.last().at(0).toInt();
    QCOMPARE(two, label.height());

    heights.clear();
    label.append("three");
    QVERIFY(!heights.isEmpty());
    const int three = heights.last().at(0).toInt();
    QCOMPARE(three, label.height());
    QCOMPARE(three, expectedHeight(label));

    QVERIFY2(one < two && two < three,
             qPrintable(QStringLiteral("%1 %2 %3").arg(one).arg(two).arg(three)));
    // Fixed: the layout cannot squeeze the text into a scroll area.
    QCOMPARE(label.minimumHeight(), three);
    QCOMPARE(label.maximumHeight(), three);

    heights.clear();
    label.setPlainText("one");
    QCOMPARE(heights.last().at(0).toInt(), one);
}

void TestAutoSizeLabel::showRecomputesHeightForFinalWidth()
{
    QWidget window;
    window.resize(600, 400);
    auto *label = new CAutoSizeLabel(&window);
    label->setGeometry(0, 0, 60, 10);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    label->setPlainText("a sentence long enough to wrap at sixty pixels");
    const int narrow = label->height();
    QCOMPARE(narrow, expectedHeight(*label));

    // Widened while hidden (as a dialog's layout does before it is shown): the show event
    // brings the height down to the single line the text now needs.
    window.hide();
    label->setGeometry(0, 0, 580, narrow);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(label->height(), expectedHeight(*label));
    QVERIFY2(label->height() < narrow,
             qPrintable(QStringLiteral("%1 >= %2").arg(label->height()).arg(narrow)));
}

QTEST_MAIN(TestAutoSizeLabel)
#include "tst_cautosizelabel.moc"
