#include "language.h"

#include <QCoreApplication>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include "updatecontext.h"
#include "scriptfont.h"
#include "sizetext.h"

Language::Language(QObject *parent)
    : QObject(parent)
{}

Language *Language::instance()
{
    static Language *s_instance = nullptr;
    static QMutex s_mutex;
    if (!s_instance) {
        QMutexLocker locker(&s_mutex);
        if (!s_instance) {
            s_instance = new Language;
            // Lives until the application object goes, together with the texts it serves.
            if (QCoreApplication::instance())
                QObject::connect(QCoreApplication::instance(), &QObject::destroyed, s_instance, [] {
                    delete s_instance;
                    s_instance = nullptr;
                });
        }
    }
    return s_instance;
}

QString Language::fileNameFor(const QString &code)
{
    static const QHash<QString, QString> files = {
        {QStringLiteral("zh-cn"), QStringLiteral("i18n_zh_cn.qm")},
        {QStringLiteral("zh-tw"), QStringLiteral("i18n_zh_tw.qm")},
        {QStringLiteral("en-us"), QStringLiteral("i18n_en.qm")},
        {QStringLiteral("pt-pt"), QStringLiteral("i18n_pt.qm")},
        {QStringLiteral("fr-fr"), QStringLiteral("i18n_fr.qm")},
        {QStringLiteral("de-de"), QStringLiteral("i18n_de.qm")},
        {QStringLiteral("es-es"), QStringLiteral("i18n_es.qm")},
        {QStringLiteral("ru-ru"), QStringLiteral("i18n_ru.qm")},
        {QStringLiteral("ko-kr"), QStringLiteral("i18n_ko.qm")},
        {QStringLiteral("th-th"), QStringLiteral("i18n_th.qm")},
        {QStringLiteral("id-id"), QStringLiteral("i18n_id.qm")},
        {QStringLiteral("ja-jp"), QStringLiteral("i18n_ja.qm")},
        {QStringLiteral("vi-vn"), QStringLiteral("i18n_vi.qm")},
    };
    return files.value(code);
}

bool Language::loadLanguage(const QString &code)
{
    const QString folder = UpdateContext::languageFolder();
    const QString fileName = fileNameFor(code.isEmpty() ? QStringLiteral("zh-cn") : code);
    // Loading discards what an earlier call loaded, so an unknown code shows the keys.
    const bool loaded = m_translator.load(fileName.isEmpty() ? QString() : folder + fileName);
    QCoreApplication::installTranslator(&m_translator);
    SizeText::useLanguageOf(m_translator);
    ScriptFont::useLanguageOf(m_translator);
    return loaded;
}
