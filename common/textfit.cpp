#include "textfit.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPoint>
#include <QStyle>
#include <QTextLayout>
#include <QVariant>

namespace {

const QString kMarker = QStringLiteral("/*fit*/");
const char kToolTipSet[] = "textFitToolTip";

QString textOf(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    return QString();
}

void setTextOf(QWidget *widget, const QString &text)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
}

// Style sheets set the forms' font sizes, and a sheet's font wins over setFont(): the smaller
// size goes into the widget's own sheet, after what the form put there.
void setSheetFontPixelSize(QWidget *widget, int pixelSize)
{
    QString sheet = widget->styleSheet();
    const int mark = sheet.indexOf(kMarker);
    if (mark >= 0)
        sheet.truncate(mark);
    if (sheet.contains(QLatin1Char('{'))) {
        if (widget->objectName().isEmpty())
            widget->setObjectName(QStringLiteral("textFit"));
        sheet += QStringLiteral("%1#%2{font-size:%3px;}")
                     .arg(kMarker, widget->objectName())
                     .arg(pixelSize);
    } else {
        sheet += QStringLiteral("%1font-size:%2px;").arg(kMarker).arg(pixelSize);
    }
    widget->setStyleSheet(sheet);
}

// The form's own sheet, without what an earlier fit added.
void restoreFormFont(QWidget *widget)
{
    const QString sheet = widget->styleSheet();
    const int mark = sheet.indexOf(kMarker);
    if (mark >= 0)
        widget->setStyleSheet(sheet.left(mark));
    if (widget->property(kToolTipSet).toBool()) {
        widget->setToolTip(QString());
        widget->setProperty(kToolTipSet, false);
    }
}

} // namespace

bool TextFit::fitTogether(const QList<QWidget *> &widgets, int floorPixelSize)
{
    bool whole = true;
    int smallest = -1;
    for (QWidget *widget : widgets) {
        if (!widget || textOf(widget).isEmpty())
            continue;
        whole = fitToWidth(widget, floorPixelSize) && whole;
        const int size = QFontInfo(widget->font()).pixelSize();
        smallest = smallest < 0 ? size : qMin(smallest, size);
    }
    for (QWidget *widget : widgets) {
        if (widget && !textOf(widget).isEmpty() && QFontInfo(widget->font()).pixelSize() > smallest)
            setSheetFontPixelSize(widget, smallest);
    }
    return whole;
}

bool TextFit::fitToWidth(QWidget *widget, int floorPixelSize)
{
    if (!widget)
        return true;
    // Each fit starts from the form's size: a shorter text than last time may fit whole.
    restoreFormFont(widget);
    if (textOf(widget).isEmpty())
        return true;
    widget->ensurePolished();
    const auto fits = [widget] {
        return widget->sizeHint().width() <= widget->width();
    };
    int pixelSize = QFontInfo(widget->font()).pixelSize();
    while (!fits() && pixelSize > floorPixelSize) {
        --pixelSize;
        setSheetFontPixelSize(widget, pixelSize);
    }
    if (fits())
        return true;

    // What the widget needs beside its text (padding, indicator) stays; the text gets the rest.
    const QString text = textOf(widget);
    const QFontMetrics metrics(widget->font());
    const int besideText = widget->sizeHint().width() - metrics.horizontalAdvance(text);
    const int room = widget->width() - besideText;
    setTextOf(widget, metrics.elidedText(text, Qt::ElideRight, qMax(0, room)));
    widget->setToolTip(text);
    widget->setProperty(kToolTipSet, true);
    return false;
}

namespace {

// Lines of text wrapped at width as a word-wrapped label draws it.
int wrappedLineCount(const QFont &font, const QString &text, int width)
{
    // Counted as a plain-text label breaks and draws its lines, through the font metrics: a
    // separate text layout breaks CJK and Thai lines a little differently.
    const QFontMetrics metrics(font);
    const int height =
        metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, text).height();
    return 1 + qRound((height - metrics.height()) / qreal(metrics.lineSpacing()));
}

const char kBalancing[] = "textFitBalancing";
// The left and right margins the balancing added to a label (x and y of a point).
const char kBalanceMargins[] = "textFitBalanceMargins";

void balanceNow(QLabel *label);

// Balances its label again when the layout gives it another width or a style another font.
class BalanceKeeper : public QObject
{
public:
    explicit BalanceKeeper(QLabel *label)
        : QObject(label)
    {
        label->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Resize || type == QEvent::FontChange || type == QEvent::StyleChange)
            balanceNow(static_cast<QLabel *>(watched));
        return false;
    }
};

void balanceNow(QLabel *label)
{
    // Setting the margins resizes nothing, but a style change can come back here.
    if (label->property(kBalancing).toBool())
        return;
    label->setProperty(kBalancing, true);
    // The style sheet's padding is part of the contents margins too: only what an earlier
    // balancing added is given back to the text.
    const QMargins old = label->contentsMargins();
    const QPoint added = label->property(kBalanceMargins).toPoint();
    const int full = label->contentsRect().width() + added.x() + added.y() - 2 * label->margin() -
                     qMax(0, label->indent());
    const int spare = full - TextFit::balancedWrapWidth(label->font(), label->text(), full);
    const Qt::Alignment align =
        QStyle::visualAlignment(label->layoutDirection(), label->alignment());
    int left = 0;
    if (align & Qt::AlignHCenter)
        left = spare / 2;
    else if (align & Qt::AlignRight)
        left = spare;
    const QMargins wanted(old.left() - added.x() + left, old.top(),
                          old.right() - added.y() + spare - left, old.bottom());
    label->setProperty(kBalanceMargins, QPoint(left, spare - left));
    if (wanted != old)
        label->setContentsMargins(wanted);
    label->setProperty(kBalancing, false);
}

} // namespace

int TextFit::balancedWrapWidth(const QFont &font, const QString &text, int width)
{
    if (width <= 0)
        return width;
    const int lines = wrappedLineCount(font, text, width);
    if (lines <= text.count(QLatin1Char('\n')) + 1)
        return width;
    int tooNarrow = width / 2;
    int enough = width;
    while (enough - tooNarrow > 1) {
        const int middle = (tooNarrow + enough) / 2;
        if (wrappedLineCount(font, text, middle) == lines)
            enough = middle;
        else
            tooNarrow = middle;
    }
    // Half a character to spare: a line that fits to the pixel here may not where the label
    // draws it, and one character pushed down leaves the lonely line this avoids.
    return qMin(width, enough + QFontInfo(font).pixelSize() / 2);
}

void TextFit::balanceWrap(QLabel *label)
{
    if (!label || !label->wordWrap() || label->textFormat() == Qt::RichText)
        return;
    label->ensurePolished();
    if (!label->findChild<BalanceKeeper *>(QString(), Qt::FindDirectChildrenOnly))
        new BalanceKeeper(label);
    balanceNow(label);
}
