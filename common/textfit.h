#pragma once

#include <QList>

class QFont;
class QLabel;
class QString;
class QWidget;

// Fits the text of a fixed-size label or button to its width the way the page does: the font
// shrinks pixel by pixel down to a floor, and a text still too wide is then elided, the whole
// text going to the tool tip. Translations differ a lot in length; this keeps the longest ones
// whole where the room allows and readable where it does not.
namespace TextFit {

// Fits widget (a QLabel without word wrap or a QAbstractButton) to its current width; call it
// after the text is set and the widget has its final size. Returns whether the text fits
// whole (not elided).
bool fitToWidth(QWidget *widget, int floorPixelSize);

// Fits widgets that are read as a group (the answers of a box) and gives them all the size
// the one that had to shrink most got, so that no answer looks smaller than its neighbour.
// Returns whether every text fits whole.
bool fitTogether(const QList<QWidget *> &widgets, int floorPixelSize);

// The narrowest width, at most width, at which text wraps (at Qt's line breaks, with the
// dictionary for Thai) into as many lines as at width: the lines come out about equally
// long, so the last one never holds one lonely word or a syllable or two.
int balancedWrapWidth(const QFont &font, const QString &text, int width);

// Narrows a word-wrapped label's text to its balanced width, keeping its alignment, now and
// whenever the label is resized or restyled; call it again after setting a new text. A label
// without word wrap is left alone.
void balanceWrap(QLabel *label);

// The smallest size a dialog's text shrinks to.
constexpr int kDefaultFloorPixelSize = 12;

} // namespace TextFit
