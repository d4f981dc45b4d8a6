#pragma once

#include <QFont>
#include <QString>

class QTranslator;

// The font of a language written in its own script (Chinese, Japanese, Korean, Thai) is the
// face that draws that script, whole lines included. Left to per-character fallback, digits
// take the face of the word before them: in "다운로드 중 45% (2.31 GB/5.10 GB)" the first
// numbers come from the Korean face and the ones after "GB/" from the default one, and the
// line changes weight in the middle of its numbers.
class ScriptFont
{
public:
    // base with the family that draws language ("ko_KR"); base itself for a language in
    // Latin or Cyrillic letters, which the default face draws.
    static QFont forLanguage(const QString &language, const QFont &base);

    // The application's font follows the language of translator (its file's language) from
    // now on: call it before the windows and the page are made.
    static void useLanguageOf(const QTranslator &translator);
};
