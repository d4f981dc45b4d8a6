#include <QtTest>

#include <QTranslator>

#include "sizetext.h"

// Sizes and speeds read the same wherever one language shows them: three significant digits
// in the unit that keeps them, the language's own number format, its own unit names, and a
// no-break space that keeps number and unit on one line.
class TestSizeText : public QObject
{
    Q_OBJECT

private slots:
    void sizesKeepThreeDigitsInTheLanguagesFormat_data();
    void sizesKeepThreeDigitsInTheLanguagesFormat();
};

void TestSizeText::sizesKeepThreeDigitsInTheLanguagesFormat_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("isSpeed");
    QTest::addColumn<double>("bytes");
    QTest::addColumn<QString>("expected");

    const double kb = 1024.0;
    const double mb = kb * 1024.0;
    const double gb = mb * 1024.0;
    QTest::newRow("a few MB are not 0.00 GB") << "en" << false << 3 * mb << "3.00 MB";
    QTest::newRow("nothing yet") << "en" << false << 0.0 << "0 KB";
    QTest::newRow("kilobytes") << "en" << false << 512 * kb << "512 KB";
    QTest::newRow("just under a thousand KB") << "en" << false << 999.6 * kb << "0.98 MB";
    QTest::newRow("tens of MB") << "en" << false << 34.5 * mb << "34.5 MB";
    QTest::newRow("a game") << "en" << false << 5.1 * gb << "5.10 GB";
    QTest::newRow("a big game") << "en" << false << 123.0 * gb << "123 GB";
    QTest::newRow("French comma and units") << "fr" << false << 5.1 * gb << "5,10 Go";
    QTest::newRow("Russian units") << "ru" << false << 34.5 * mb << "34,5 МБ";
    QTest::newRow("German comma") << "de" << false << 1.5 * gb << "1,50 GB";
    QTest::newRow("speed in MB/s") << "en" << true << 12.46 * mb << "12.5 MB/s";
    QTest::newRow("slow speed") << "en" << true << 900.0 * kb << "900 KB/s";
    QTest::newRow("French speed") << "fr" << true << 1.5 * mb << "1,50 Mo/s";
}

void TestSizeText::sizesKeepThreeDigitsInTheLanguagesFormat()
{
    QFETCH(QString, language);
    QFETCH(bool, isSpeed);
    QFETCH(double, bytes);
    QFETCH(QString, expected);

    QTranslator translator;
    QVERIFY(translator.load(qEnvironmentVariable("LAUNCHER_BIN_DIR") +
                            QStringLiteral("/language/i18n_%1.qm").arg(language)));
    QCoreApplication::installTranslator(&translator);
    SizeText::useLanguageOf(translator);
    const QString shown = isSpeed ? SizeText::speed(bytes) : SizeText::bytes(qint64(bytes));
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(shown, expected.replace(QLatin1Char(' '), QChar(0x00A0)));
}

QTEST_MAIN(TestSizeText)
#include "tst_sizetext.moc"
