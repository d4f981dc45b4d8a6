#pragma once

#include <string>

namespace platform {

// The user's interface language as a Windows language id (LANGID): the primary language in
// the low 10 bits, the sub-language (territory) above them.
unsigned short userUiLanguageId();

// The same id for a locale name such as "zh_TW", "pt_BR.UTF-8" or "C"; exposed so the
// mapping can be checked without changing the process's locale.
unsigned short languageIdForLocale(const std::string &localeName);

} // namespace platform
