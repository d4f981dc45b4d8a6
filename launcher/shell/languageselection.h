#pragma once

#include <QString>

class QTranslator;

// Picks the one interface language of this run and loads its translation file.
class LanguageSelection
{
public:
    struct Choice
    {
        QString fileName; // "i18n_zh_cn.qm"
        QString code;     // "zh-cn"
    };

    // The row of the language table for a Windows language id (used outside mainland builds).
    static Choice choiceForLanguageId(unsigned short languageId);

    // The choice for an environment and a language id; mainland builds ignore the id.
    static Choice choose(const QString &environment, unsigned short languageId);

    // Loads "<folder>/<file>" into the translator (a missing file leaves it empty, so the
    // page shows raw keys), stores the code as the process-wide language code and returns it.
    static QString select(QTranslator &translator, const QString &environment,
                          unsigned short languageId, const QString &languageFolder);

    // The start-up call: this build's environment, the user's language, the "language"
    // folder beside the executable.
    static QString select(QTranslator &translator);

    static QString languageFolder();

    // Qt's own texts (the folder picker, the standard buttons) in the language of code
    // ("zh-cn"): loads "<folder>/qtbase_<suffix>.qm", the suffix being that of the
    // language's i18n file. Returns whether a file was loaded; without one Qt stays English.
    static bool loadQtTranslations(QTranslator &translator, const QString &languageCode,
                                   const QString &languageFolder);
    static bool loadQtTranslations(QTranslator &translator, const QString &languageCode);
};
