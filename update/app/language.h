#pragma once

#include <QObject>
#include <QString>
#include <QTranslator>

// The updater's one translator: the launcher tells the updater which language its user reads,
// and every text of the updater follows it.
class Language : public QObject
{
    Q_OBJECT
public:
    static Language *instance();

    // Installs the translation of code (an empty code means "zh-cn"). False when the code is
    // unknown or its file is missing or unreadable; the translator is installed either way,
    // so the texts then show their keys.
    bool loadLanguage(const QString &code);

    QString languageCode() const { return m_languageCode; }

    // The file name that serves code, or an empty string for an unknown code.
    static QString fileNameFor(const QString &code);

private:
    explicit Language(QObject *parent = nullptr);

    QString m_languageCode = QStringLiteral("zh-cn");
    QTranslator m_translator;
};
