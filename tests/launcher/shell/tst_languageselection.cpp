#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include "appenvironment.h"
#include "langtextwidget.h"
#include "languageselection.h"

class TestLanguageSelection : public QObject
{
    Q_OBJECT

private slots:
    void mainlandBuildAlwaysGetsSimplifiedChinese_data()
    {
        QTest::addColumn<QString>("environment");
        for (const char *env : {"testing", "sandbox", "pre", "prod"})
            QTest::newRow(env) << QString::fromLatin1(env);
    }

    void mainlandBuildAlwaysGetsSimplifiedChinese()
    {
        QFETCH(QString, environment);
        QVERIFY(AppEnvironment::isMainland(environment));
        for (unsigned short german : {0x0407, 0x0404, 0x0409}) {
            const LanguageSelection::Choice choice = LanguageSelection::choose(environment, german);
            QCOMPARE(choice.fileName, QStringLiteral("i18n_zh_cn.qm"));
            QCOMPARE(choice.code, QStringLiteral("zh-cn"));
        }
    }

    void overseasBuildFollowsTheUserLanguage_data()
    {
        QTest::addColumn<int>("languageId");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("code");
        QTest::newRow("Chinese, Taiwan") << 0x0404 << "i18n_zh_tw.qm"
                                         << "zh-tw";
        QTest::newRow("Chinese, Hong Kong") << 0x0C04 << "i18n_zh_cn.qm"
                                            << "zh-cn";
        QTest::newRow("Chinese, mainland") << 0x0804 << "i18n_zh_cn.qm"
                                           << "zh-cn";
        QTest::newRow("Portuguese, Portugal") << 0x0816 << "i18n_pt.qm"
                                              << "pt-pt";
        QTest::newRow("Portuguese, Brazil") << 0x0416 << "i18n_pt.qm"
                                            << "pt-pt";
        QTest::newRow("Italian falls back") << 0x0410 << "i18n_en.qm"
                                            << "en-us";
        QTest::newRow("German") << 0x0407 << "i18n_de.qm"
                                << "de-de";
        QTest::newRow("English, UK") << 0x0809 << "i18n_en.qm"
                                     << "en-us";
        QTest::newRow("Spanish, modern") << 0x0C0A << "i18n_es.qm"
                                         << "es-es";
        QTest::newRow("French") << 0x040C << "i18n_fr.qm"
                                << "fr-fr";
        QTest::newRow("Japanese") << 0x0411 << "i18n_ja.qm"
                                  << "ja-jp";
        QTest::newRow("Korean") << 0x0412 << "i18n_ko.qm"
                                << "ko-kr";
        QTest::newRow("Russian") << 0x0419 << "i18n_ru.qm"
                                 << "ru-ru";
        QTest::newRow("Thai") << 0x041E << "i18n_th.qm"
                              << "th-th";
        QTest::newRow("Indonesian") << 0x0421 << "i18n_id.qm"
                                    << "id-id";
        QTest::newRow("Vietnamese") << 0x042A << "i18n_vi.qm"
                                    << "vi-vn";
        QTest::newRow("custom locale") << 0x0C00 << "i18n_en.qm"
                                       << "en-us";
    }

    void overseasBuildFollowsTheUserLanguage()
    {
        QFETCH(int, languageId);
        QFETCH(QString, file);
        QFETCH(QString, code);
        const QString overseas = QStringLiteral("os_prod");
        QVERIFY(!AppEnvironment::isMainland(overseas));
        const LanguageSelection::Choice choice =
            LanguageSelection::choose(overseas, static_cast<unsigned short>(languageId));
        QCOMPARE(choice.fileName, file);
        QCOMPARE(choice.code, code);
    }

    void everyFileTheTableNamesIsShipped()
    {
        const QString folder =
            qEnvironmentVariable("LAUNCHER_BIN_DIR") + QStringLiteral("/language/");
        for (unsigned short id :
             {0x04, 0x0404, 0x07, 0x09, 0x0A, 0x0C, 0x11, 0x12, 0x16, 0x19, 0x1E, 0x21, 0x2A}) {
            const QString file = folder + LanguageSelection::choiceForLanguageId(id).fileName;
            QVERIFY2(QFile::exists(file), qPrintable(file));
        }
    }

    void selectLoadsTheFileAndRecordsTheCode()
    {
        QTemporaryDir dir;
        dir.setAutoRemove(!QTest::currentTestFailed());
        const QString folder = dir.path() + QLatin1Char('/');
        QVERIFY(QFile::copy(QStringLiteral(SAMPLE_QM_DIR "sample_de.qm"), folder + "i18n_de.qm"));

        QTranslator translator;
        const QString code =
            LanguageSelection::select(translator, QStringLiteral("overseas"), 0x0407, folder);
        QCOMPARE(code, QStringLiteral("de-de"));
        QCOMPARE(AppEnvironment::currentLanguageCode(), QStringLiteral("de-de"));
        QCOMPARE(translator.translate("MainViewModel", "button_start_game"),
                 QStringLiteral("Spiel starten"));
    }

    void missingLanguageFolderLeavesKeysButKeepsTheCode()
    {
        QTemporaryDir dir;
        QTranslator translator;
        const QString code = LanguageSelection::select(translator, QStringLiteral("prod"), 0x0407,
                                                       dir.filePath(QStringLiteral("language/")));
        QCOMPARE(code, QStringLiteral("zh-cn"));
        QCOMPARE(AppEnvironment::currentLanguageCode(), QStringLiteral("zh-cn"));
        QVERIFY(translator.isEmpty());
        QVERIFY(translator.translate("MainViewModel", "button_start_game").isEmpty());
    }

    void missingFileIsNotReplacedByAShorterName()
    {
        QTemporaryDir dir;
        dir.setAutoRemove(!QTest::currentTestFailed());
        const QString folder = dir.path() + QLatin1Char('/');
        for (const char *name : {"i18n_zh.qm", "i18n_zh", "i18n.qm", "i18n"})
            QVERIFY(QFile::copy(QStringLiteral(SAMPLE_QM_DIR "sample_de.qm"),
                                folder + QLatin1String(name)));
        QTranslator translator;
        QCOMPARE(LanguageSelection::select(translator, QStringLiteral("overseas"), 0x0404, folder),
                 QStringLiteral("zh-tw"));
        QVERIFY(translator.isEmpty());
    }

    // The launcher's own update prompt must not offer to update the game.
    void launcherUpdateButtonDoesNotSpeakOfTheGame()
    {
        const QString folder =
            qEnvironmentVariable("LAUNCHER_BIN_DIR") + QStringLiteral("/language/");
        for (const char *file : {"i18n_zh_cn.qm", "i18n_zh_tw.qm"}) {
            QTranslator translator;
            QVERIFY(translator.load(folder + QLatin1String(file)));
            const QString text = translator.translate("UpdateProgram", "button_update");
            QVERIFY2(!text.isEmpty() && !text.contains(QStringLiteral("游戏")) &&
                         !text.contains(QStringLiteral("遊戲")),
                     qPrintable(QLatin1String(file) + QLatin1Char(' ') + text));
        }
    }

    void launcherIdTextFollowsTheEnvironment()
    {
        // This build is the shipped mainland one.
        QCOMPARE(AppEnvironment::environment(), QStringLiteral("prod"));
        QCOMPARE(AppEnvironment::launcherIdText(), QStringLiteral("18"));
        QCOMPARE(AppEnvironment::updaterMutexName(), QStringLiteral("Quillane_Lunmere_update"));
    }

    void langTextWidgetShowsItsRow()
    {
        LangTextWidget row(QStringLiteral("English"));
        QCOMPARE(row.objectName(), QStringLiteral("LangTextWidget"));
        QCOMPARE(row.size(), QSize(180, 49));
        auto *label = row.findChild<QLabel *>(QStringLiteral("label"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("English"));
        QCOMPARE(label->geometry(), QRect(0, 0, 180, 51));
        QVERIFY(label->wordWrap());
        QCOMPARE(label->alignment(), Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter);
        QVERIFY(label->styleSheet().contains(QLatin1String("labelState=\"select\"")));
    }
};

QTEST_MAIN(TestLanguageSelection)
#include "tst_languageselection.moc"
