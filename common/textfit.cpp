#include "textfit.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
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
