#pragma once

#include <QList>

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

// The smallest size a dialog's text shrinks to.
constexpr int kDefaultFloorPixelSize = 12;

} // namespace TextFit
