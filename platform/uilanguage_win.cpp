#include "uilanguage.h"

#include <windows.h>

namespace platform {

unsigned short userUiLanguageId()
{
    return GetUserDefaultUILanguage();
}

unsigned short languageIdForLocale(const std::string &localeName)
{
    wchar_t wide[LOCALE_NAME_MAX_LENGTH] = {};
    MultiByteToWideChar(CP_UTF8, 0, localeName.c_str(), -1, wide, LOCALE_NAME_MAX_LENGTH);
    for (wchar_t *c = wide; *c; ++c) {
        if (*c == L'_')
            *c = L'-';
    }
    return LANGIDFROMLCID(LocaleNameToLCID(wide, 0));
}

} // namespace platform
