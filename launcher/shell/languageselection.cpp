#include "languageselection.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTranslator>

#include "appenvironment.h"
#include "uilanguage.h"
#include "sizetext.h"

namespace {

struct Row
{
    unsigned short key;
    const char *file;
    const char *code;
};

const Row kLanguages[] = {
    {0x04, "i18n_zh_cn.qm", "zh-cn"}, {0x7C04, "i18n_zh_tw.qm", "zh-tw"},
    {0x07, "i18n_de.qm", "de-de"},    {0x09, "i18n_en.qm", "en-us"},
    {0x0A, "i18n_es.qm", "es-es"},    {0x0C, "i18n_fr.qm", "fr-fr"},
    {0x11, "i18n_ja.qm", "ja-jp"},    {0x12, "i18n_ko.qm", "ko-kr"},
    {0x16, "i18n_pt.qm", "pt-pt"},    {0x19, "i18n_ru.qm", "ru-ru"},
    {0x1E, "i18n_th.qm", "th-th"},    {0x21, "i18n_id.qm", "id-id"},
    {0x2A, "i18n_vi.qm", "vi-vn"},
};

constexpr unsigned short kTraditionalChineseTaiwan = 0x0404;
constexpr unsigned short kTraditionalChineseKey = 0x7C04;

} // namespace

LanguageSelection::Choice LanguageSelection::choiceForLanguageId(unsigned short languageId)
{
    // Only Taiwan's id selects traditional Chinese; Hong Kong and Macau fall into the
    // plain Chinese row.
    const unsigned short key =
        languageId == kTraditionalChineseTaiwan ? kTraditionalChineseKey : (languageId & 0x3FF);
    for (const Row &row : kLanguages) {
        if (row.key == key)
            return {QLatin1String(row.file), QLatin1String(row.code)};
    }
    return {QStringLiteral("i18n_en.qm"), QStringLiteral("en-us")};
}

LanguageSelection::Choice LanguageSelection::choose(const QString &environment,
                                                    unsigned short languageId)
{
    if (AppEnvironment::isMainland(environment))
        return {QStringLiteral("i18n_zh_cn.qm"), QStringLiteral("zh-cn")};
    return choiceForLanguageId(languageId);
}

QString LanguageSelection::select(QTranslator &translator, const QString &environment,
                                  unsigned short languageId, const QString &languageFolder)
{
    const Choice choice = choose(environment, languageId);
    // Empty, not null: null delimiters and suffix make Qt fall back to "i18n_zh.qm" or
    // "i18n.qm" when the chosen file is missing.
    if (!translator.load(languageFolder + choice.fileName, QStringLiteral(""), QStringLiteral(""),
                         QStringLiteral("")))
        qDebug() << "language file not loaded:" << languageFolder + choice.fileName;
    SizeText::useLanguageOf(translator);
    AppEnvironment::setCurrentLanguageCode(choice.code);
    return choice.code;
}

QString LanguageSelection::select(QTranslator &translator)
{
    return select(translator, AppEnvironment::environment(), platform::userUiLanguageId(),
                  languageFolder());
}

QString LanguageSelection::languageFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/language/");
}

bool LanguageSelection::loadQtTranslations(QTranslator &translator, const QString &languageCode,
                                           const QString &languageFolder)
{
    for (const Row &row : kLanguages) {
        if (languageCode != QLatin1String(row.code))
            continue;
        QString file = QLatin1String(row.file);
        file.replace(QLatin1String("i18n_"), QLatin1String("qtbase_"));
        const bool loaded = translator.load(languageFolder + file);
        if (!loaded)
            qDebug() << "Qt translation not loaded:" << languageFolder + file;
        return loaded;
    }
    return false;
}

bool LanguageSelection::loadQtTranslations(QTranslator &translator, const QString &languageCode)
{
    return loadQtTranslations(translator, languageCode, languageFolder());
}
