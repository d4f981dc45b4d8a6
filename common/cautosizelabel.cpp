#include "cautosizelabel.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

namespace {

// The lines of a document as it is laid out now.
int laidOutLines(QTextDocument &document)
{
    document.size(); // lays the whole document out
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (const QTextLayout *layout = block.layout())
            lines += layout->lineCount();
    }
    return lines;
}

void setSideMargins(QTextDocument &document, int side)
{
    QTextFrameFormat format = document.rootFrame()->frameFormat();
    if (format.leftMargin() == side && format.rightMargin() == side)
        return;
    format.setLeftMargin(side);
    format.setRightMargin(side);
    document.rootFrame()->setFrameFormat(format);
}

} // namespace

CAutoSizeLabel::CAutoSizeLabel(QWidget *parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    // The height always fits the text; a scroll bar would only flash up and narrow the
    // text for one layout pass.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(document(), &QTextDocument::contentsChanged, this, &CAutoSizeLabel::OnTextAreaChanged);
}

// The narrowest width with as many lines: the lines come out about equally long. Found on
// the document itself, in the fonts and formats it is shown in (a copy lays out differently
// as soon as a style sheet or the HTML sets a font).
void CAutoSizeLabel::balanceLines()
{
    if (m_balancing)
        return;
    m_balancing = true;
    QTextDocument &text = *document();
    setSideMargins(text, 0);
    const int lines = laidOutLines(text);
    int fits = 0;
    if (lines >= 2) {
        // Each side takes at most a quarter: the text keeps at least half the width.
        int tooMuch = viewport()->width() / 4 + 1;
        while (tooMuch - fits > 1) {
            const int middle = (fits + tooMuch) / 2;
            setSideMargins(text, middle);
            if (laidOutLines(text) == lines)
                fits = middle;
            else
                tooMuch = middle;
        }
    }
    setSideMargins(text, fits);
    m_balancing = false;
}

void CAutoSizeLabel::OnTextAreaChanged()
{
    // The trial layouts of the balancing change the document too; only its result counts.
    if (m_balancing)
        return;
    balanceLines();
    const int height = static_cast<int>(document()->size().height() + 2 * frameWidth());
    setFixedHeight(height);
    emit hightChanged(height);
}

bool CAutoSizeLabel::event(QEvent *event)
{
    // A style sheet's font arrives when the widget is polished, after its text: the lines
    // are balanced again in the font they are shown in.
    const bool relayout = event->type() == QEvent::FontChange ||
                          event->type() == QEvent::StyleChange || event->type() == QEvent::Polish;
    const bool result = QTextBrowser::event(event);
    if (event->type() == QEvent::Show || relayout)
        OnTextAreaChanged();
    return result;
}

void CAutoSizeLabel::resizeEvent(QResizeEvent *event)
{
    QTextBrowser::resizeEvent(event);
    OnTextAreaChanged();
}
