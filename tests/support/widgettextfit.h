#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QFile>
#include <QLabel>
#include <QRect>
#include <QStyle>
#include <QStringList>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextBrowser>
#include <QTextLayout>
#include <QTextDocument>
#include <QWidget>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

// Checks that the texts of a widget window fit, measured through the widgets themselves: the
// size each label or button asks for (its font, style-sheet padding and indicator included)
// against the size it was given, and its place against the visible card and its parents.
namespace widgettextfit {

inline QRect rectIn(const QWidget *widget, const QWidget *window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// The part of a widget where its text is drawn, in window coordinates: a label's text takes
// only the room it asks for, placed as the label aligns it; a button or text area draws its
// whole face.
inline QRect inkRectIn(const QWidget *widget, const QWidget *window)
{
    const QRect whole = rectIn(widget, window);
    const auto *label = qobject_cast<const QLabel *>(widget);
    if (!label)
        return whole;
    QSize need = label->wordWrap() ? QSize(label->width(), label->heightForWidth(label->width()))
                                   : label->sizeHint();
    need = need.boundedTo(whole.size());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), need, whole);
}

// WCAG's contrast ratio of two colours, 1 to 21.
inline double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The colour most of a rendered area has: a button's face or the card behind a label, the
// letters being the smaller part.
inline QColor dominantColour(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    }
    return QColor::fromRgba(best);
}

// Text the player must read against what it is drawn on needs 4.5:1 (WCAG AA).
constexpr double kMinimumContrast = 4.5;

inline QString describe(const QWidget *widget, const QString &text)
{
    return QStringLiteral("%1 \"%2\"").arg(widget->objectName(), text);
}

// Chinese and Japanese run their words together: a line of them is counted in characters.
inline bool isIdeographic(QChar c)
{
    return c.script() == QChar::Script_Han || c.script() == QChar::Script_Hiragana ||
           c.script() == QChar::Script_Katakana;
}

// The words of a line (Thai ones found with the dictionary), numbers included.
inline int wordCount(const QString &line)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, line);
    int words = 0;
    int start = 0;
    for (int end = finder.toNextBoundary(); end >= 0; end = finder.toNextBoundary()) {
        const QString piece = line.mid(start, end - start);
        if (std::any_of(piece.cbegin(), piece.cend(), [](QChar c) { return c.isLetterOrNumber(); }))
            ++words;
        start = end;
    }
    return words;
}

// Why the last of a paragraph's wrapped lines reads as left behind, or nothing: one word, one
// short Thai word, or one or two Chinese or Japanese characters before the final punctuation,
// under a line that had enough to give.
inline QString lonelyLastLine(const QStringList &lines)
{
    if (lines.size() < 2)
        return QString();
    QString last = lines.last().trimmed();
    while (!last.isEmpty() &&
           (last.at(last.size() - 1).isPunct() || last.at(last.size() - 1).isSymbol()))
        last.chop(1);
    const QString above = lines.at(lines.size() - 2).trimmed();
    const int ideographs = int(std::count_if(last.cbegin(), last.cend(), isIdeographic));
    const bool thai = std::any_of(last.cbegin(), last.cend(),
                                  [](QChar c) { return c.script() == QChar::Script_Thai; });
    const int letters = int(
        std::count_if(last.cbegin(), last.cend(), [](QChar c) { return c.isLetterOrNumber(); }));
    // A last line about as long as the one above is no leftover, whatever it holds.
    if (last.size() * 2 > above.size())
        return QString();
    bool lonely = false;
    if (ideographs > 0)
        lonely = letters <= 2 && above.size() >= 4;
    else
        lonely = (wordCount(last) <= 1 || (thai && letters <= 4)) && wordCount(above) >= 3;
    return lonely ? QStringLiteral(" ends on a lonely line \"%1\"").arg(lines.last().trimmed())
                  : QString();
}

// The lines of a paragraph laid out as a wrapping label lays them out.
inline QStringList wrappedLines(const QString &paragraph, const QFont &font, int width)
{
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << paragraph.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

// The wrapped texts of a label or text area whose last line is left alone.
inline QStringList lonelyLines(QWidget *widget)
{
    QStringList found;
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        // One width serves all paragraphs of a label: where one of them is a long path, the
        // others cannot be balanced by narrowing it, so only one-paragraph labels count.
        if (!label->wordWrap() || label->textFormat() == Qt::RichText ||
            label->text().contains(QLatin1Char('\n')))
            return found;
        const int width =
            label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent());
        const QStringList lines = wrappedLines(label->text(), label->font(), width);
        // The label draws through the font metrics, which may break a line that fits to the
        // pixel here: then the lines looked at are not the ones drawn, and what still counts
        // is that every drawn line has room in the label.
        const QFontMetrics metrics(label->font());
        const int height =
            metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, label->text())
                .height();
        const int drawn = 1 + qRound((height - metrics.height()) / qreal(metrics.lineSpacing()));
        if (drawn == lines.size())
            found << lonelyLastLine(lines);
        else if (label->contentsRect().height() < height)
            found << QStringLiteral(" is drawn in %1 lines, %2 px, in a label %3 px high")
                         .arg(drawn)
                         .arg(height)
                         .arg(label->contentsRect().height());
    } else if (auto *browser = qobject_cast<QTextBrowser *>(widget)) {
        QTextDocument *document = browser->document();
        document->size(); // lays the document out
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            const QTextLayout *layout = block.layout();
            QStringList lines;
            for (int i = 0; layout && i < layout->lineCount(); ++i)
                lines << block.text().mid(layout->lineAt(i).textStart(),
                                          layout->lineAt(i).textLength());
            found << lonelyLastLine(lines);
        }
    }
    found.removeAll(QString());
    return found;
}

// The shown texts of window that do not fit; card is the visible part of the window in its
// own coordinates. Layouts settle first, as they do before the window is next painted. With
// cutIsMisfit a text that had to be elided counts too.
inline QStringList misfits(QWidget *window, const QRect &card, bool cutIsMisfit = false)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList found;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window))
            continue;
        QString text;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            text = label->text();
            if (text.isEmpty())
                continue;
            if (label->wordWrap()) {
                const int needed = label->heightForWidth(label->width());
                if (needed > label->height())
                    found << describe(widget, text) +
                                 QStringLiteral(" needs %1 px of height, has %2")
                                     .arg(needed)
                                     .arg(label->height());
            } else if (label->sizeHint().width() > label->width()) {
                found << describe(widget, text) + QStringLiteral(" needs %1 px, has %2")
                                                      .arg(label->sizeHint().width())
                                                      .arg(label->width());
            }
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            text = button->text();
            if (text.isEmpty())
                continue;
            if (button->sizeHint().width() > button->width())
                found << describe(widget, text) + QStringLiteral(" needs %1 px, has %2")
                                                      .arg(button->sizeHint().width())
                                                      .arg(button->width());
            if (button->isEnabled()) {
                const QImage face = window->grab(rectIn(button, window))
                                        .toImage()
                                        .convertToFormat(QImage::Format_ARGB32);
                const QColor ground = dominantColour(face);
                const QColor ink = button->palette().color(button->foregroundRole());
                const double ratio = contrastRatio(ink, ground);
                if (ground.alpha() == 255 && ratio < kMinimumContrast)
                    found << describe(widget, text) +
                                 QStringLiteral(" has contrast %1:1 (%2 on %3)")
                                     .arg(ratio, 0, 'f', 2)
                                     .arg(ink.name(), ground.name());
            }
        } else if (auto *browser = qobject_cast<QTextBrowser *>(widget)) {
            text = browser->toPlainText();
            if (text.isEmpty())
                continue;
            const int needed = qCeil(browser->document()->size().height());
            if (needed > browser->viewport()->height())
                found << describe(widget, text) + QStringLiteral(" needs %1 px of height, has %2")
                                                      .arg(needed)
                                                      .arg(browser->viewport()->height());
        } else {
            continue;
        }
        for (const QString &lonely : lonelyLines(widget))
            found << describe(widget, text) + lonely;
        // TextFit elides what does not fit at its floor size: the player loses words.
        if (cutIsMisfit && widget->property("textFitToolTip").toBool())
            found << describe(widget, text) + QStringLiteral(" is cut short");
        const QRect place = inkRectIn(widget, window);
        if (!card.contains(place)) {
            found << describe(widget, text) + QStringLiteral(" leaves the card");
            continue;
        }
        for (QWidget *parent = widget->parentWidget(); parent && parent != window;
             parent = parent->parentWidget()) {
            if (!rectIn(parent, window).contains(place)) {
                found << describe(widget, text) +
                             QStringLiteral(" is cut by %1").arg(parent->objectName());
                break;
            }
        }
    }
    return found;
}

// The shipped translation files of a program's language folder.
inline QStringList languageFiles(const QString &folder)
{
    const QDir dir(folder);
    QStringList files;
    for (const QString &name : dir.entryList({QStringLiteral("i18n_*.qm")}, QDir::Files))
        files << dir.filePath(name);
    return files;
}

// The keys of one context of a .ts source file that start with prefix.
inline QStringList keysOf(const QString &tsFile, const QString &context, const QString &prefix)
{
    QFile file(tsFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QStringList keys;
    QString current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            current = xml.readElementText();
        else if (xml.name() == QLatin1String("source") && current == context) {
            const QString key = xml.readElementText();
            if (key.startsWith(prefix))
                keys << key;
        }
    }
    return keys;
}

} // namespace widgettextfit
