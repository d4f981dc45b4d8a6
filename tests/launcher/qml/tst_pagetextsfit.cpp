#include <QApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTextLayout>
#include <QTranslator>
#include <QtTest>
#include <QtWebEngine/qtwebengineglobal.h>

#include <functional>
#include <memory>

#include "pagetestviewmodel.h"
#include "scriptfont.h"
#include "sizetext.h"

// Every text of the page, in every shipped language and every state of the page, fits the item
// that shows it: measured on the real page with the real translation files.
class TestPageTextsFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyTextFitsInEveryState_data();
    void everyTextFitsInEveryState();

private:
    void loadPage();
    QQuickItem *item(const char *name) const;
    QStringList misfits() const;

    std::unique_ptr<PageTestViewModel> m_model;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow *m_window = nullptr;
    QFont m_baseFont;
};

namespace {

QRectF sceneRect(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

// Where the letters of a text are drawn, in scene coordinates: its content box placed inside
// the item as its alignment says.
QRectF inkRect(const QQuickItem *text)
{
    const qreal contentWidth = text->property("contentWidth").toReal();
    const qreal contentHeight = text->property("contentHeight").toReal();
    const int align = text->property("horizontalAlignment").toInt();
    qreal x = 0;
    if (align & Qt::AlignHCenter)
        x = (text->width() - contentWidth) / 2;
    else if (align & Qt::AlignRight)
        x = text->width() - contentWidth;
    const int valign = text->property("verticalAlignment").toInt();
    qreal y = 0;
    if (valign & Qt::AlignVCenter)
        y = (text->height() - contentHeight) / 2;
    else if (valign & Qt::AlignBottom)
        y = text->height() - contentHeight;
    return text->mapRectToScene(QRectF(x, y, contentWidth, contentHeight));
}

// A fitted button label stays between the picture's ornaments, breaks a line only where its
// text has a line break (a break the text item makes itself may fall inside a word: Japanese and
// Thai have no spaces), and goes onto two lines only where one line would be much smaller.
QStringList buttonLabelMisfits(const QQuickItem *text, const QQuickItem *button, const QRectF &ink)
{
    QStringList found;
    const QString name =
        QStringLiteral("%1 \"%2\"").arg(button->objectName(), button->property("text").toString());
    const qreal margin = button->property("textMargin").toReal();
    const QRectF between = sceneRect(button).adjusted(margin - 0.5, -0.5, 0.5 - margin, 0.5);
    if (!between.contains(ink))
        found << name + QStringLiteral(" touches the ornaments (text %1 px, room %2 px)")
                            .arg(ink.width())
                            .arg(between.width() - 1);
    const QString shown = text->property("text").toString();
    const int lines = text->property("lineCount").toInt();
    if (lines > shown.count(QLatin1Char('\n')) + 1)
        found << name + QStringLiteral(" is broken inside a line (%1 lines)").arg(lines);
    const QString given = button->property("text").toString();
    if (lines > 1 && !given.contains(QLatin1Char('\n'))) {
        QFont font = text->property("font").value<QFont>();
        const int used = font.pixelSize();
        // One line at four fifths of the size reads better than two lines.
        font.setPixelSize(qCeil(used * 0.8));
        if (QFontMetricsF(font).horizontalAdvance(given) <= between.width() - 1)
            found << name + QStringLiteral(" wraps at %1 px though one line fits at %2 px")
                                .arg(used)
                                .arg(font.pixelSize());
    }
    return found;
}

// The digits of one text come from one face: numbers that change face in the middle of a
// line read as changing weight.
QString mixedDigitFaces(const QQuickItem *text)
{
    const QString shown = text->property("text").toString();
    QTextLayout layout(shown, text->property("font").value<QFont>());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(100000);
    layout.endLayout();
    QStringList faces;
    for (int i = 0; i < shown.size(); ++i) {
        if (!shown.at(i).isDigit())
            continue;
        for (const QGlyphRun &run : layout.glyphRuns(i, 1)) {
            if (!faces.contains(run.rawFont().familyName()))
                faces << run.rawFont().familyName();
        }
    }
    return faces.size() > 1 ? QStringLiteral(" draws its digits in %1").arg(faces.join(", "))
                            : QString();
}

bool isShown(const QQuickItem *item)
{
    for (const QQuickItem *it = item; it; it = it->parentItem()) {
        if (!it->isVisible() || it->opacity() <= 0)
            return false;
    }
    return true;
}

void collectTexts(QQuickItem *root, QList<QQuickItem *> &texts)
{
    for (QQuickItem *child : root->childItems()) {
        if (child->inherits("QQuickText") && isShown(child) &&
            !child->property("text").toString().isEmpty())
            texts << child;
        collectTexts(child, texts);
    }
}

QString nameOf(const QQuickItem *text)
{
    QString name = text->objectName();
    for (const QQuickItem *it = text->parentItem(); name.isEmpty() && it; it = it->parentItem())
        name = it->objectName().isEmpty() ? QString() : it->objectName() + QStringLiteral("/label");
    return QStringLiteral("%1 \"%2\"").arg(name, text->property("text").toString());
}

} // namespace

void TestPageTextsFit::initTestCase()
{
    m_model = std::make_unique<PageTestViewModel>();
    m_model->setProperty("installPath", QStringLiteral("/home/player/Games/Orvyndale Game"));
    m_baseFont = QGuiApplication::font();
    loadPage();
}

// The page as the launcher makes it once its language and font are chosen.
void TestPageTextsFit::loadPage()
{
    m_window = nullptr;
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->rootContext()->setContextProperty("mainViewModel", m_model.get());
    m_engine->load(QUrl("qrc:/main.qml"));
    QCOMPARE(m_engine->rootObjects().size(), 1);
    m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().first());
    QVERIFY(m_window);
    // The web page is not part of what is measured.
    item("bgWebView")->setVisible(false);
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestPageTextsFit::cleanupTestCase()
{
    m_engine.reset();
}

QQuickItem *TestPageTextsFit::item(const char *name) const
{
    auto *found = m_window->findChild<QQuickItem *>(QString::fromLatin1(name));
    if (!found)
        qFatal("page item %s is missing", name);
    return found;
}

// Each shown text must be drawn whole (not elided), inside its own item, inside the item that
// holds it, and clear of the other texts.
QStringList TestPageTextsFit::misfits() const
{
    QList<QQuickItem *> texts;
    collectTexts(m_window->contentItem(), texts);
    QStringList found;
    const QRectF window(0, 0, m_window->width(), m_window->height());
    for (QQuickItem *text : qAsConst(texts)) {
        const QRectF ink = inkRect(text);
        if (text->property("truncated").toBool())
            found << nameOf(text) + QStringLiteral(" is elided");
        const bool sized = text->property("fontSizeMode").toInt() != 0 ||
                           text->property("elide").toInt() != Qt::ElideNone;
        if (sized && !sceneRect(text).adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink))
            found << nameOf(text) + QStringLiteral(" overflows its own box");
        // A text may run past an invisible holder (a layout box) but not past one that draws:
        // a button's picture, a tinted strip.
        QQuickItem *holder = text->parentItem();
        const bool holderDraws =
            holder && (!holder->property("nomal_Image").toString().isEmpty() ||
                       (holder->inherits("QQuickRectangle") &&
                        holder->property("color").value<QColor>().alpha() > 0));
        if (holderDraws && !sceneRect(holder).adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink))
            found << nameOf(text) + QStringLiteral(" sticks out of %1 (%2 wide, text %3)")
                                        .arg(holder->objectName())
                                        .arg(holder->width())
                                        .arg(ink.width());
        if (!window.contains(ink))
            found << nameOf(text) + QStringLiteral(" leaves the window");
        const QString faces = mixedDigitFaces(text);
        if (!faces.isEmpty())
            found << nameOf(text) + faces;
        if (holder && holder->property("minimumPixelSize").toInt() > 0)
            found << buttonLabelMisfits(text, holder, ink);
        for (QQuickItem *other : qAsConst(texts)) {
            if (other != text && other->parentItem() == holder && inkRect(other).intersects(ink) &&
                text < other)
                found << nameOf(text) + QStringLiteral(" overlaps ") + nameOf(other);
        }
    }
    return found;
}

void TestPageTextsFit::everyTextFitsInEveryState_data()
{
    QTest::addColumn<QString>("file");
    const QDir folder(qEnvironmentVariable("LAUNCHER_BIN_DIR") + QStringLiteral("/language"));
    const QStringList files = folder.entryList({QStringLiteral("i18n_*.qm")}, QDir::Files);
    QCOMPARE(files.size(), 13);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << folder.filePath(file);
}

void TestPageTextsFit::everyTextFitsInEveryState()
{
    QFETCH(QString, file);
    QTranslator translator;
    QVERIFY(translator.load(file));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QGuiApplication::setFont(m_baseFont);
    ScriptFont::useLanguageOf(translator);
    loadPage();
    if (QTest::currentTestFailed())
        return;
    const auto viewModelText = [&translator](const char *key) {
        return translator.translate("MainViewModel", key);
    };

    struct State
    {
        const char *name;
        int gameState;
        bool partial;
        std::function<void()> texts;
    };
    // The progress texts are written by the view model; here their longest forms.
    SizeText::useLanguageOf(translator);
    const QString sizes = QStringLiteral(" 100% (%1/%2)")
                              .arg(SizeText::bytes(qint64(99.9 * 1073741824.0)),
                                   SizeText::bytes(qint64(99.9 * 1073741824.0)));
    const auto setText = [this](const char *name, const QString &text) {
        item(name)->setProperty("text", text);
    };
    const QList<State> states = {
        {"not installed", 2, false, {}},
        {"continue download", 2, true, {}},
        {"installed", 3, false, {}},
        {"update available", 4, false, {}},
        {"continue update", 4, true, {}},
        {"downloading", 6, false,
         [&] {
             setText("download_percentage", viewModelText("label_downloading_percent") + sizes);
             setText("download_speed", viewModelText("label_download_speed") + QLatin1Char(' ') +
                                           SizeText::speed(999.0 * 1024.0));
             setText("task_needtime",
                     viewModelText("label_task_need_time") + QStringLiteral("99:59:59"));
         }},
        {"paused", 6, false,
         [&] {
             setText("download_percentage", viewModelText("label_download_paused") + sizes);
             setText("download_speed", viewModelText("label_download_speed") + QLatin1Char(' ') +
                                           viewModelText("label_value_paused"));
             setText("task_needtime",
                     viewModelText("label_task_need_time") + viewModelText("label_value_paused"));
         }},
        {"installing", 7, false,
         [&] {
             setText("setup_percentage", viewModelText("label_installing_progress") + sizes);
             setText("task_needtime",
                     viewModelText("label_task_need_time") + QStringLiteral("99:59:59"));
         }},
        {"verifying", 9, false,
         [&] {
             setText("setup_percentage",
                     viewModelText("label_checking_md5") + QStringLiteral("..."));
         }},
    };
    QStringList found;
    for (const State &state : states) {
        m_model->setDownloadNotComplated(state.partial);
        m_model->setGameState(state.gameState);
        if (state.texts)
            state.texts();
        for (const QString &misfit : misfits())
            found << QStringLiteral("%1: %2").arg(QLatin1String(state.name), misfit);
    }
    m_model->setDownloadNotComplated(false);
    QCoreApplication::removeTranslator(&translator);
    m_engine->retranslate();
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QtWebEngine::initialize();
    QApplication app(argc, argv);
    TestPageTextsFit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pagetextsfit.moc"
