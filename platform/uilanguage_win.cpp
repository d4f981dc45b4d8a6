#include "uilanguage.h"

#include <windows.h>

namespace platform {

unsigned short userUiLanguageId()
{
    return GetUserDefaultUILanguage();
}

unsigned short languageIdForLocale(const std::string &localeName)
{
    // "pt_BR.UTF-8@euro" names the locale pt-BR; the code set and modifier are no part of it.
    const std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX")
        return 0x0409; // the POSIX locale reads as US English
    wchar_t wide[LOCALE_NAME_MAX_LENGTH] = {};
    MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, wide, LOCALE_NAME_MAX_LENGTH - 1);
    for (wchar_t *c = wide; *c; ++c) {
        if (*c == L'_')
            *c = L'-';
    }
    const LCID id = LocaleNameToLCID(wide, 0);
    return id ? LANGIDFROMLCID(id) : 0x0C00; // LOCALE_CUSTOM_DEFAULT: a language without an id
}

} // namespace platform
