#include "cautosizelabel.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <memory>

namespace {

int lineCount(QTextDocument &document, int width)
{
    document.setTextWidth(width);
    document.size(); // lays the whole document out
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (const QTextLayout *layout = block.layout())
            lines += layout->lineCount();
    }
    return lines;
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

int CAutoSizeLabel::balancedWidth(const QTextDocument &document, int width)
{
    if (width <= 0)
        return width;
    std::unique_ptr<QTextDocument> probe(document.clone());
    // A clone leaves out what the widget set on its document: its font above all.
    probe->setDefaultFont(document.defaultFont());
    probe->setDefaultTextOption(document.defaultTextOption());
    probe->setDocumentMargin(document.documentMargin());
    QTextFrameFormat format = probe->rootFrame()->frameFormat();
    format.setLeftMargin(0);
    format.setRightMargin(0);
    probe->rootFrame()->setFrameFormat(format);
    const int lines = lineCount(*probe, width);
    if (lines < 2)
        return width;
    // The narrowest width with as many lines: the lines come out about equally long.
    int tooNarrow = width / 2;
    int enough = width;
    while (enough - tooNarrow > 1) {
        const int middle = (tooNarrow + enough) / 2;
        if (lineCount(*probe, middle) == lines)
            enough = middle;
        else
            tooNarrow = middle;
    }
    return enough;
}

void CAutoSizeLabel::balanceLines()
{
    if (m_balancing)
        return;
    m_balancing = true;
    const int full = viewport()->width();
    const int side = (full - balancedWidth(*document(), full)) / 2;
    QTextFrameFormat format = document()->rootFrame()->frameFormat();
    if (format.leftMargin() != side || format.rightMargin() != side) {
        format.setLeftMargin(side);
        format.setRightMargin(side);
        document()->rootFrame()->setFrameFormat(format);
    }
    m_balancing = false;
}

void CAutoSizeLabel::OnTextAreaChanged()
{
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
