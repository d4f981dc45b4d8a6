#include "scriptfont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLocale>
#include <QRawFont>
#include <QTranslator>

QFont ScriptFont::forLanguage(const QString &language, const QFont &base)
{
    QFontDatabase::WritingSystem system = QFontDatabase::Any;
    switch (QLocale(language).script()) {
    case QLocale::SimplifiedHanScript:
        system = QFontDatabase::SimplifiedChinese;
        break;
    case QLocale::TraditionalHanScript:
        system = QFontDatabase::TraditionalChinese;
        break;
    case QLocale::JapaneseScript:
        system = QFontDatabase::Japanese;
        break;
    case QLocale::KoreanScript:
        system = QFontDatabase::Korean;
        break;
    case QLocale::ThaiScript:
        system = QFontDatabase::Thai;
        break;
    default:
        return base;
    }
    // The face Qt itself would take for the script's characters: its Latin letters and
    // digits then come from it too.
    const QRawFont face = QRawFont::fromFont(base, system);
    if (!face.isValid() || face.familyName().isEmpty())
        return base;
    QFont font(base);
    font.setFamily(face.familyName());
    return font;
}

void ScriptFont::useLanguageOf(const QTranslator &translator)
{
    QGuiApplication::setFont(forLanguage(translator.language(), QGuiApplication::font()));
}
