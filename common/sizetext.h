#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>

class QTranslator;

// Sizes and speeds as a player reads them, the same in every place of one language: the unit
// (KB, MB or GB) that keeps three significant digits, the number in the language's own
// format, and a no-break space so that a line never ends between a number and its unit.
class SizeText
{
    Q_DECLARE_TR_FUNCTIONS(SizeText)

public:
    // "34.5 MB", "5,10 Go", "812 KB".
    static QString bytes(qint64 bytes);
    // "1.23 MB/s", "512 KB/s".
    static QString speed(double bytesPerSecond);
    // The value alone with three significant digits, in the default locale's format.
    static QString significant(double value);

    // Numbers follow the language of translator (its file's language, "fr_FR") from now on.
    static void useLanguageOf(const QTranslator &translator);

    // Joins a number and its unit so that no line break falls between them.
    static QString joined(const QString &number, const QString &unit);
};
