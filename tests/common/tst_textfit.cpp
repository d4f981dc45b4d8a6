#include <QtTest>

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

#include <memory>

#include "textfit.h"

// Labels and buttons styled the way the forms style them: a bare declaration list, or rules
// with selectors.
class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void shrinksThenElides_data();
    void shrinksThenElides();
    void aShorterTextGetsTheFormsSizeBack();
    void fittingTwiceKeepsOneSizeOverride();
};

namespace {

std::unique_ptr<QWidget> makeWidget(const QString &kind)
{
    std::unique_ptr<QWidget> widget;
    if (kind == QLatin1String("label")) {
        widget = std::make_unique<QLabel>();
        widget->setStyleSheet(QStringLiteral("font-size:20px; color:rgba(57,59,64,1);"));
    } else {
        widget = std::make_unique<QPushButton>();
        widget->setStyleSheet(QStringLiteral(
            "QPushButton{font-size:20px; padding:0 8px;} QPushButton:hover{color:red;}"));
    }
    widget->setObjectName(QStringLiteral("fitted"));
    return widget;
}

void setText(QWidget *widget, const QString &text)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(text);
    else
        static_cast<QPushButton *>(widget)->setText(text);
}

QString textOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    return static_cast<QPushButton *>(widget)->text();
}

} // namespace

void TestTextFit::shrinksThenElides_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("widthAtFullSize"); // the widget's width as a share of the text's need
    QTest::addColumn<bool>("whole");
    QTest::addColumn<bool>("shrunk");
    for (const char *kind : {"label", "button"}) {
        QTest::addRow("%s that fits", kind) << kind << 100 << true << false;
        QTest::addRow("%s a little too long", kind) << kind << 85 << true << true;
        QTest::addRow("%s far too long", kind) << kind << 30 << false << true;
    }
}

void TestTextFit::shrinksThenElides()
{
    QFETCH(QString, kind);
    QFETCH(int, widthAtFullSize);
    QFETCH(bool, whole);
    QFETCH(bool, shrunk);

    const QString text = QStringLiteral("Installationsordner ändern");
    std::unique_ptr<QWidget> widget = makeWidget(kind);
    setText(widget.get(), text);
    widget->ensurePolished();
    QCOMPARE(QFontInfo(widget->font()).pixelSize(), 20);
    const int need = widget->sizeHint().width();
    widget->resize(need * widthAtFullSize / 100, 40);

    QCOMPARE(TextFit::fitToWidth(widget.get(), 14), whole);
    const int pixelSize = QFontInfo(widget->font()).pixelSize();
    QVERIFY(pixelSize >= 14);
    QCOMPARE(pixelSize < 20, shrunk);
    // Whatever happened, the widget now has room for what it shows.
    QVERIFY2(
        widget->sizeHint().width() <= widget->width(),
        qPrintable(QStringLiteral("%1 > %2").arg(widget->sizeHint().width()).arg(widget->width())));
    if (whole) {
        QCOMPARE(textOf(widget.get()), text);
        QVERIFY(widget->toolTip().isEmpty());
    } else {
        QCOMPARE(pixelSize, 14);
        QVERIFY(textOf(widget.get()).endsWith(QChar(0x2026)));
        QCOMPARE(widget->toolTip(), text);
    }
    // The form's own rules stay in force.
    QVERIFY(widget->styleSheet().contains(QStringLiteral("rgba(57,59,64,1)")) ||
            widget->styleSheet().contains(QStringLiteral("color:red")));
}

void TestTextFit::aShorterTextGetsTheFormsSizeBack()
{
    std::unique_ptr<QWidget> widget = makeWidget(QStringLiteral("label"));
    setText(widget.get(), QStringLiteral("Installationsordner ändern"));
    widget->ensurePolished();
    widget->resize(widget->sizeHint().width() / 3, 40);
    QVERIFY(!TextFit::fitToWidth(widget.get(), 14));
    QCOMPARE(widget->toolTip(), QStringLiteral("Installationsordner ändern"));

    setText(widget.get(), QStringLiteral("OK"));
    QVERIFY(TextFit::fitToWidth(widget.get(), 14));
    QCOMPARE(QFontInfo(widget->font()).pixelSize(), 20);
    QCOMPARE(textOf(widget.get()), QStringLiteral("OK"));
    QVERIFY(widget->toolTip().isEmpty());
}

void TestTextFit::fittingTwiceKeepsOneSizeOverride()
{
    std::unique_ptr<QWidget> widget = makeWidget(QStringLiteral("button"));
    setText(widget.get(), QStringLiteral("Aktualisieren"));
    widget->ensurePolished();
    const int need = widget->sizeHint().width();
    widget->resize(need * 8 / 10, 40);
    QVERIFY(TextFit::fitToWidth(widget.get(), 12));
    const int shrunk = QFontInfo(widget->font()).pixelSize();
    QVERIFY(shrunk < 20);
    // A second fit leaves one size override in the sheet, not one per call.
    QVERIFY(TextFit::fitToWidth(widget.get(), 12));
    QCOMPARE(QFontInfo(widget->font()).pixelSize(), shrunk);
    QCOMPARE(widget->styleSheet().count(QStringLiteral("/*fit*/")), 1);
}

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
