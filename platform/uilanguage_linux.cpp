#include "uilanguage.h"

#include <QLocale>

namespace platform {

namespace {

struct LanguageRow
{
    QLocale::Language language;
    unsigned short primary;
};

// Windows primary language ids (LANG_*) of the languages a player is likely to have.
const LanguageRow kPrimary[] = {
    {QLocale::Arabic, 0x01},     {QLocale::Bulgarian, 0x02},       {QLocale::Catalan, 0x03},
    {QLocale::Chinese, 0x04},    {QLocale::Czech, 0x05},           {QLocale::Danish, 0x06},
    {QLocale::German, 0x07},     {QLocale::Greek, 0x08},           {QLocale::English, 0x09},
    {QLocale::Spanish, 0x0A},    {QLocale::Finnish, 0x0B},         {QLocale::French, 0x0C},
    {QLocale::Hebrew, 0x0D},     {QLocale::Hungarian, 0x0E},       {QLocale::Icelandic, 0x0F},
    {QLocale::Italian, 0x10},    {QLocale::Japanese, 0x11},        {QLocale::Korean, 0x12},
    {QLocale::Dutch, 0x13},      {QLocale::NorwegianBokmal, 0x14}, {QLocale::Polish, 0x15},
    {QLocale::Portuguese, 0x16}, {QLocale::Romanian, 0x18},        {QLocale::Russian, 0x19},
    {QLocale::Croatian, 0x1A},   {QLocale::Slovak, 0x1B},          {QLocale::Swedish, 0x1D},
    {QLocale::Thai, 0x1E},       {QLocale::Turkish, 0x1F},         {QLocale::Indonesian, 0x21},
    {QLocale::Ukrainian, 0x22},  {QLocale::Vietnamese, 0x2A},      {QLocale::Malay, 0x3E},
    {QLocale::Hindi, 0x39},      {QLocale::Filipino, 0x64},
};

// Sub-language ids that differ from SUBLANG_DEFAULT (1) for the same primary language.
unsigned short subLanguage(QLocale::Language language, QLocale::Country country)
{
    switch (language) {
    case QLocale::Chinese:
        switch (country) {
        case QLocale::Taiwan:
            return 0x01;
        case QLocale::HongKong:
            return 0x03;
        case QLocale::Singapore:
            return 0x04;
        case QLocale::Macau:
            return 0x05;
        default:
            return 0x02; // mainland China
        }
    case QLocale::Portuguese:
        return country == QLocale::Brazil ? 0x01 : 0x02;
    case QLocale::English:
        switch (country) {
        case QLocale::UnitedKingdom:
            return 0x02;
        case QLocale::Australia:
            return 0x03;
        case QLocale::Canada:
            return 0x04;
        default:
            return 0x01;
        }
    case QLocale::Spanish:
        return country == QLocale::Mexico ? 0x02 : 0x03; // modern sort for Spain
    default:
        return 0x01;
    }
}

unsigned short languageId(const QLocale &locale)
{
    const QLocale::Language language = locale.language();
    if (language == QLocale::C)
        return 0x0409; // the POSIX locale reads as US English
    for (const LanguageRow &row : kPrimary) {
        if (row.language == language)
            return static_cast<unsigned short>(row.primary |
                                               (subLanguage(language, locale.country()) << 10));
    }
    return 0x0C00; // LOCALE_CUSTOM_DEFAULT: a language Windows has no id for
}

} // namespace

unsigned short languageIdForLocale(const std::string &localeName)
{
    std::string name = localeName;
    // "pt_BR.UTF-8@euro" -> "pt_BR"
    const auto cut = name.find_first_of(".@");
    if (cut != std::string::npos)
        name.resize(cut);
    if (name.empty() || name == "C" || name == "POSIX")
        return 0x0409;
    return languageId(QLocale(QString::fromStdString(name)));
}

unsigned short userUiLanguageId()
{
    return languageId(QLocale::system());
}

} // namespace platform
